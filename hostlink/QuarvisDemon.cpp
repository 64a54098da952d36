// Life cycle of the host-link component: construction, parameters,
// properties, entities, message streams and destruction.
#include "QuarvisDemon.h"

#include "InstanceLock.h"
#include "Lingwa2000.h"
#include "MessageChannel.h"
#include "SystemSettings.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

const QString SwitchServerHandle = QStringLiteral("/serverhandle=");

void DefaultEndProcess(int ExitStatus)
{
    std::fflush(nullptr);
    std::_Exit(ExitStatus);
}

void DefaultQuitApplication()
{
    QCoreApplication::quit();
}

TvrxCustomDemon::TEndProcessHook &EndProcessHook()
{
    static TvrxCustomDemon::TEndProcessHook hook = DefaultEndProcess;
    return hook;
}

TvrxCustomDemon::TQuitApplicationHook &QuitApplicationHook()
{
    static TvrxCustomDemon::TQuitApplicationHook hook = DefaultQuitApplication;
    return hook;
}

// A suffix becomes part of a socket path; it must not lead out of the
// runtime directory.
bool IsUsableSuffix(const QString &Suffix)
{
    return !Suffix.contains(QLatin1Char('/')) && !Suffix.contains(QChar(0));
}

QString ApplicationTitle()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::applicationDisplayName();
    return QCoreApplication::applicationName();
}

} // namespace

// ---------------------------------------------------------------- hooks

TvrxCustomDemon::TEndProcessHook TvrxCustomDemon::SetEndProcessHook(TEndProcessHook Hook)
{
    TEndProcessHook previous = EndProcessHook();
    EndProcessHook() = Hook ? std::move(Hook) : TEndProcessHook(DefaultEndProcess);
    return previous;
}

TvrxCustomDemon::TQuitApplicationHook TvrxCustomDemon::SetQuitApplicationHook(TQuitApplicationHook Hook)
{
    TQuitApplicationHook previous = QuitApplicationHook();
    QuitApplicationHook() = Hook ? std::move(Hook) : TQuitApplicationHook(DefaultQuitApplication);
    return previous;
}

// ---------------------------------------------------------------- TEntity

QString TEntity::Path()
{
    if (m_path.isEmpty())
        FetchFromHost();
    return m_path;
}

QString TEntity::Title()
{
    if (m_title.isEmpty())
        FetchFromHost();
    return m_title;
}

void TEntity::FetchFromHost()
{
    if (m_fetched || !m_demon || WindowHandle == 0)
        return;
    m_fetched = true; // ask once, even when the host knows nothing
    if (std::unique_ptr<TEntity> known = m_demon->FindEntityByHandle(WindowHandle)) {
        if (m_path.isEmpty())
            m_path = known->m_path;
        if (m_title.isEmpty())
            m_title = known->m_title;
    }
}

QString TEntity::EndpointName() const
{
    if (!m_endpointName.isEmpty())
        return m_endpointName;
    if (WindowHandle == 0)
        return {};
    return ProgramEndpointName(WindowHandle);
}

TEntityRecord TEntity::Record() const
{
    return {WindowHandle, MutexHandle, m_path, m_title};
}

void TEntity::Assign(const TEntityRecord &Record)
{
    WindowHandle = Record.WindowHandle;
    MutexHandle = Record.MutexHandle;
    m_path = Record.Path;
    m_title = Record.Title;
}

// ---------------------------------------------------------------- TKventoMessageStream

TKventoMessageStream::TKventoMessageStream(TvrxCustomDemon *Demon)
    : m_demon(Demon), m_sender(std::make_unique<TEntity>(Demon))
{
    open(QIODevice::ReadWrite);
}

void TKventoMessageStream::SetPayload(const QByteArray &Bytes)
{
    close();
    setData(Bytes);
    open(QIODevice::ReadWrite);
    seek(0);
}

QByteArray TKventoMessageStream::TakePayload()
{
    QByteArray bytes = std::move(buffer());
    SetPayload(QByteArray());
    return bytes;
}

void TKventoMessageStream::CopyFrom(const TKventoMessageStream &Other)
{
    TimeStamp = Other.TimeStamp;
    Code = Other.Code;
    *m_sender = *Other.m_sender;
    SetPayload(Other.data());
}

// ---------------------------------------------------------------- TvrxCustomDemon

TvrxCustomDemon::TvrxCustomDemon(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments,
                                 const QString &Title)
    : QObject(Owner),
      m_programPath(ProgramPath),
      m_server(std::make_unique<TEntity>(this)),
      m_own(std::make_unique<TEntity>(this)),
      m_lingwa(std::make_unique<TLingwa2000>(QString())),
      m_timeoutMs(KventoChannel::FrameTimeoutMs)
{
    // Finding the host: the settings value names its endpoint, else the last
    // "/serverhandle=" switch (compared and taken in lower case).
    QString suffix = ReadViewerHandle();
    if (suffix.isEmpty() || suffix == QLatin1String("00000000")) {
        suffix.clear();
        for (qsizetype i = 1; i < Arguments.size(); ++i) {
            const QString lower = Arguments[i].toLower();
            if (lower.startsWith(SwitchServerHandle))
                suffix = lower.mid(SwitchServerHandle.size());
        }
    }
    m_hostSuffix = suffix;
    if (IsUsableSuffix(suffix)) {
        const QString name = QLatin1String(HostEndpointPrefix) + suffix;
        if (EndpointAccepts(name))
            m_server->SetEndpointName(name);
    }

    // The parameter list leaves the switch out (exact spelling only).
    m_params.append(ProgramPath);
    for (qsizetype i = 1; i < Arguments.size(); ++i) {
        if (!Arguments[i].startsWith(SwitchServerHandle))
            m_params.append(Arguments[i]);
    }

    m_own->WindowHandle = quint32(QCoreApplication::applicationPid());
    m_own->SetPath(ProgramPath);
    m_own->SetTitle(Title.isNull() ? ApplicationTitle() : Title);
}

TvrxCustomDemon::~TvrxCustomDemon()
{
    Shutdown();
}

void TvrxCustomDemon::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_pending.clear();
    // The lock goes first: a starting instance that finds the endpoint closed
    // takes the lock over, and must not lose its new lock file to this one.
    m_lock.reset();
    m_endpoint.reset(); // closes the endpoint and removes its socket file
    m_own->MutexHandle = 0;
    m_lingwa.reset(); // may write the missing-key table
    QuitApplicationHook()();
    m_params.clear();
}

void TvrxCustomDemon::CreateEndpoint()
{
    const QString name = ProgramEndpointName(m_own->WindowHandle);
    if (!EndpointPossible(name)) {
        const QString path = EndpointPath(name);
        Warn((path.isEmpty() ? QStringLiteral("no private runtime directory for the message endpoint")
                             : QStringLiteral("the message endpoint's path is too long (%1)").arg(path)) +
             QStringLiteral("; running without the host link and the single-instance rule"));
        return;
    }
    RemoveStaleProgramEndpoints(); // left by programs that were killed
    auto endpoint = std::make_unique<TMessageEndpoint>();
    endpoint->SetHandle(m_own->WindowHandle);
    endpoint->SetFrameTimeoutMs(m_timeoutMs);
    endpoint->SetHandler([this](TFrame &Frame, const TFrameReply &) { ReceiveFrame(std::move(Frame)); });
    if (!endpoint->Listen(name))
        throw EKvento(QStringLiteral("Could not create window handle"));
    m_endpoint = std::move(endpoint);
}

void TvrxCustomDemon::EndThisProcess()
{
    // The host should not keep a registration of a process that is gone.
    if (m_registered && !m_serverDown) {
        SendHostMessage(*m_server, kvUnregister, EncodeEntityRecord(m_own->Record()));
        m_registered = false;
    }
    m_endpoint.reset();
    EndProcessHook()(0);
}

bool TvrxCustomDemon::HoldsInstanceLock() const
{
    return m_lock && m_lock->IsHeld();
}

TInstanceLock::TResult TvrxCustomDemon::AcquireInstanceLock(qint64 &Owner)
{
    auto lock = std::make_unique<TInstanceLock>(TInstanceLock::NameForProgram(m_programPath));
    // A running instance always listens on its endpoint (it opens it before it
    // takes the lock, and closes it after letting the lock go).
    lock->SetOwnerCheck([](qint64 Pid) { return EndpointListens(ProgramEndpointName(quint32(Pid))); });
    const TInstanceLock::TResult result = lock->TryAcquire();
    Owner = lock->OwnerPid();
    if (result == TInstanceLock::TResult::Acquired) {
        m_lock = std::move(lock);
        m_own->MutexHandle = 1;
    } else if (result == TInstanceLock::TResult::Failed) {
        // Rather run twice than refuse to start.
        Warn(QStringLiteral("cannot use the instance lock: %1; running without the single-instance rule")
                 .arg(lock->ErrorString()));
    }
    return result;
}

void TvrxCustomDemon::SetTimeoutMs(int Ms)
{
    m_timeoutMs = Ms > 0 ? Ms : KventoChannel::FrameTimeoutMs;
    if (m_endpoint)
        m_endpoint->SetFrameTimeoutMs(m_timeoutMs);
}

bool TvrxCustomDemon::HasEndpoint() const
{
    return m_endpoint && m_endpoint->IsListening();
}

void TvrxCustomDemon::Warn(const QString &Text)
{
    m_warnings.append(Text);
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(Text));
    std::fflush(stderr);
}

QString TvrxCustomDemon::ParamStr(int Index) const
{
    if (Index == 0)
        return m_programPath;
    if (Index >= 1 && Index <= ParamCount())
        return m_params[Index];
    throw EKvento(QStringLiteral("Illegal \"ParamStr\" parameter: %1").arg(Index));
}

int TvrxCustomDemon::ParamCount() const
{
    return int(m_params.size()) - 1;
}

bool TvrxCustomDemon::AutoCreateItlFile() const
{
    return m_lingwa && m_lingwa->AutoCreateItlFile();
}

void TvrxCustomDemon::SetAutoCreateItlFile(bool Value)
{
    if (m_lingwa)
        m_lingwa->SetAutoCreateItlFile(Value);
}

bool TvrxCustomDemon::HostFound() const
{
    return !m_server->EndpointName().isEmpty();
}

TTimeStamp TvrxCustomDemon::NextTimeStamp()
{
    // Strictly increasing, so two requests within one millisecond never share
    // a stamp and cannot collect each other's replies.
    TTimeStamp stamp = TTimeStamp::FromDateTime(QDateTime::currentDateTime());
    if (!(m_lastStamp < stamp))
        stamp = m_lastStamp.Next();
    m_lastStamp = stamp;
    return stamp;
}
