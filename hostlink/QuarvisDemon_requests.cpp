// TvrxDemonClient: the load step, the requests to the host and destruction.
#include "QuarvisDemon.h"

#include "Lingwa2000.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

// True while the process exists and has not yet ended (a zombie has ended).
bool ProcessRuns(qint32 ProcessId)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(ProcessId));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line[close + 2];
    return state != 'Z' && state != 'X';
}

} // namespace

TvrxDemonClient::TvrxDemonClient(QObject *Owner)
    : TvrxDemonClient(Owner, QCoreApplication::applicationFilePath(), QCoreApplication::arguments(), QString())
{
}

TvrxDemonClient::TvrxDemonClient(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments,
                                 const QString &Title)
    : TvrxCustomDemon(Owner, ProgramPath, Arguments, Title)
{
    BeginLoading();
    CreateEndpoint();
}

TvrxDemonClient::~TvrxDemonClient()
{
    // Only a host this program registered with hears that it goes.
    if (m_registered && !m_serverDown)
        SendHostMessage(ServerEntity(), kvUnregister, EncodeEntityRecord(OwnEntity().Record()));
    Shutdown();
}

void TvrxDemonClient::Loaded()
{
    TvrxCustomDemon::Loaded();
    if (m_loadDone)
        return;
    m_loadDone = true;

    if (m_useQuarvisServer) {
        if (!HostFound())
            throw EKvento(QStringLiteral("Kvento server application is not running"));
        SendHostMessage(ServerEntity(), kvRegister, EncodeEntityRecord(OwnEntity().Record()));
        m_registered = true;
    }
    LoadTranslationTable();
    if (m_autoTranslate && parent())
        Lingwa().TranslateComponent(parent());
    if (!m_multiStart)
        EnforceSingleInstance();
}

void TvrxDemonClient::LoadTranslationTable()
{
    if (m_useQuarvisServer) {
        const QString hostPath = GetHostPath(m_programPath);
        if (hostPath.isEmpty())
            return;
        if (std::unique_ptr<QBuffer> stream = GetHostFile(TLingwa2000::ItlPathFor(hostPath)))
            Lingwa().LoadTable(*stream);
        return;
    }
    // Only a regular file: opening a FIFO of that name would block the start.
    const QString name = TLingwa2000::ItlPathFor(m_programPath);
    if (!QFileInfo(name).isFile())
        return;
    QFile file(name);
    if (file.open(QIODevice::ReadOnly))
        Lingwa().LoadTable(file);
}

void TvrxDemonClient::EnforceSingleInstance()
{
    if (!HasEndpoint())
        return; // already said: no endpoint, no rule
    qint64 owner = 0;
    if (AcquireInstanceLock(owner) != TInstanceLock::TResult::HeldByOther)
        return;
    Warn(QStringLiteral("already running (process %1)").arg(owner));
    std::unique_ptr<TEntity> other = FindEntityByTitle(OwnEntity().StoredTitle());
    if (!other || other->WindowHandle == 0) {
        // Without a host the lock's owner is reached on its own endpoint.
        other = std::make_unique<TEntity>(this);
        other->WindowHandle = quint32(owner);
    }
    // The parameters bring the running window to the front. Never to itself:
    // this process cannot answer while it is sending.
    if (other->WindowHandle != OwnEntity().WindowHandle)
        SendHostMessage(*other, kvParams, EncodeParamLines(m_params));
    EndThisProcess();
}

QString TvrxDemonClient::GetWindowClassName() const
{
    return QStringLiteral("ThisIsTheKventoClientComponentWindowClass");
}

QString TvrxDemonClient::GetWindowName() const
{
    return QString();
}

std::unique_ptr<TEntity> TvrxDemonClient::FindEntity(const QByteArray &Request)
{
    TKventoMessageStream reply(this);
    if (!SendHostMessage(ServerEntity(), kvFindEntity, Request, &reply))
        return nullptr;
    const std::optional<TEntityRecord> record = DecodeEntityReply(reply.Payload());
    if (!record)
        return nullptr;
    auto entity = std::make_unique<TEntity>(this);
    entity->Assign(*record);
    return entity;
}

std::unique_ptr<TEntity> TvrxDemonClient::FindEntityByTitle(const QString &Title)
{
    return FindEntity(EncodeFindByTitle(Title));
}

std::unique_ptr<TEntity> TvrxDemonClient::FindEntityByHandle(quint32 Handle)
{
    return FindEntity(EncodeFindByHandle(Handle));
}

qint32 TvrxDemonClient::ExecuteProgram(const QString &Program, const QString &Parameters, qint32 Mode, bool Wait)
{
    TKventoMessageStream reply(this);
    SendHostMessage(ServerEntity(), kvExecute, EncodeExecute(Program, Parameters, Wait, Mode), &reply);
    const qint32 processId = DecodeProcessIdReply(reply.Payload());
    const QString failure = QStringLiteral("Could not execute \"%1.\"").arg(Program);
    if (processId == 0)
        throw EKvento(failure);
    if (!Wait)
        return processId;
    if (processId < 0)
        throw EKvento(failure); // no process can be waited for
    return WaitForProgram(processId);
}

qint32 TvrxDemonClient::WaitForProgram(qint32 ProcessId)
{
    while (ProcessRuns(ProcessId))
        QThread::msleep(20);
    bool ok = false;
    const qint32 code =
        AskString(kvGetValue, QLatin1String(ExitCodeKeyPrefix) + QString::number(ProcessId)).trimmed().toInt(&ok);
    return ok ? code : -1;
}

std::unique_ptr<QBuffer> TvrxDemonClient::GetHostFile(const QString &Name)
{
    TKventoMessageStream reply(this);
    if (!SendHostMessage(ServerEntity(), kvGetFile, EncodeStringPayload(Name), &reply))
        return nullptr;
    std::optional<QByteArray> bytes = DecodeFileReply(reply.TakePayload());
    if (!bytes)
        return nullptr;
    auto stream = std::make_unique<QBuffer>();
    stream->setData(*bytes);
    stream->open(QIODevice::ReadWrite);
    return stream;
}

QString TvrxDemonClient::AskString(qint32 Code, const QString &Value)
{
    TKventoMessageStream reply(this);
    if (!SendHostMessage(ServerEntity(), Code, EncodeStringPayload(Value), &reply))
        return QString();
    return DecodeStringReply(reply.Payload());
}

QString TvrxDemonClient::GetHostPath(const QString &Value)
{
    return AskString(kvGetPath, Value);
}

QString TvrxDemonClient::GetHostText(const QString &Value)
{
    return AskString(kvGetText, Value);
}

QString TvrxDemonClient::GetHostValue(const QString &Key)
{
    if (m_useQuarvisServer)
        return AskString(kvGetValue, Key);
    if (Key == QLatin1String("QuarvisWorkArea") || Key == QLatin1String("QuarvisHomeDir")) {
        QString dir = QFileInfo(m_programPath).absolutePath();
        if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
            dir += QLatin1Char('/');
        return dir;
    }
    return QString();
}
