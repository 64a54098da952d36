#pragma once

/// @file
/// The client of the electronic-textbook host: registration, translation table, single instance.

#include "Component.h"
#include "InstanceLock.h"
#include "KeslError.h"
#include "QuarvisDemonWire.h"

#include <QBuffer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TLingwa2000;
class TMessageEndpoint;
class TvrxCustomDemon;
struct TFrame;

/// Errors of the host link.
class EKvento : public EKeslError
{
public:
    explicit EKvento(const QString &Message) : EKeslError(Message.toStdString()) { }
};

/// A participant of the host link: the host or a running program.
class TEntity
{
public:
    explicit TEntity(TvrxCustomDemon *Demon = nullptr) : m_demon(Demon) { }

    TvrxCustomDemon *Demon() const { return m_demon; }

    /// The process id of a program; 0 when unknown.
    quint32 WindowHandle = 0;
    /// Non-zero while the program holds its instance lock.
    quint32 MutexHandle = 0;

    /// Path and title; fetched from the host on first use when empty.
    QString Path();
    QString Title();
    /// The stored values, without asking the host.
    const QString &StoredPath() const { return m_path; }
    const QString &StoredTitle() const { return m_title; }
    void SetPath(const QString &Path) { m_path = Path; }
    void SetTitle(const QString &Title) { m_title = Title; }

    /// The endpoint messages to this entity go to: the host's class-named
    /// endpoint when set, otherwise "kvento-<WindowHandle>"; empty when there is
    /// no window (handle 0).
    QString EndpointName() const;
    void SetEndpointName(const QString &Name) { m_endpointName = Name; }

    TEntityRecord Record() const;
    void Assign(const TEntityRecord &Record);

private:
    void FetchFromHost();

    TvrxCustomDemon *m_demon;
    QString m_path;
    QString m_title;
    QString m_endpointName;
    bool m_fetched = false;
};

/// A received (or reply) message: the payload bytes plus code, time stamp and sender.
class TKventoMessageStream : public QBuffer
{
public:
    explicit TKventoMessageStream(TvrxCustomDemon *Demon = nullptr);

    TTimeStamp TimeStamp;
    qint32 Code = 0;

    TvrxCustomDemon *Demon() const { return m_demon; }
    TEntity &Sender() { return *m_sender; }
    const TEntity &Sender() const { return *m_sender; }

    /// Replaces the payload; the stream is open for reading and writing at position 0.
    void SetPayload(const QByteArray &Bytes);
    QByteArray Payload() const { return data(); }
    /// Hands the payload's bytes over (no copy) and leaves the stream empty.
    QByteArray TakePayload();
    /// Takes over time stamp, sender, code and bytes of another message.
    void CopyFrom(const TKventoMessageStream &Other);

private:
    TvrxCustomDemon *m_demon;
    std::unique_ptr<TEntity> m_sender;
};

using TKventoMessageEvent = std::function<void(QObject *Sender, TKventoMessageStream &Msg)>;
using TQuitMsgEvent = std::function<void(QObject *Sender, bool ServerDown, bool &AllowQuit)>;

/// Base of the host-link component: the message endpoint, the pending replies,
/// the parameter list, the translation engine and the dispatch of messages.
class TvrxCustomDemon : public QObject, public TLoadable
{
    Q_OBJECT

public:
    /// Replaceable process hooks, so that tests can observe them. Setting an
    /// empty function restores the default; the previous hook is returned.
    ///
    /// EndProcess ends a second instance at once. The default flushes the C
    /// streams and ends the process with the given status (always 0 here:
    /// an instance that steps aside is not a failure); no destructors run.
    using TEndProcessHook = std::function<void(int ExitStatus)>;
    static TEndProcessHook SetEndProcessHook(TEndProcessHook Hook);
    /// QuitApplication asks the application to end its event loop; it runs
    /// whenever the component is destroyed. Default: QCoreApplication::quit().
    using TQuitApplicationHook = std::function<void()>;
    static TQuitApplicationHook SetQuitApplicationHook(TQuitApplicationHook Hook);

    static constexpr const char *HostEndpointPrefix = "ThisIsTheKventoServerComponentWindowClass";
    /// Most replies kept waiting for collection, and most bytes they may hold
    /// together; older ones are dropped first, the newest is always kept.
    static constexpr int MaxPendingReplies = 64;
    static constexpr qsizetype MaxPendingReplyBytes = 16 * 1024 * 1024;
    /// Largest forwarded parameter list kept, in bytes and in entries: more
    /// than any command line holds.
    static constexpr qsizetype MaxForwardedParamBytes = 4 * 1024 * 1024;
    static constexpr qsizetype MaxForwardedParams = 64 * 1024;

    /// ProgramPath is ParamStr(0); Arguments[0] (the program as started) is
    /// replaced by it. Title names this program to the host.
    TvrxCustomDemon(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments, const QString &Title);
    ~TvrxCustomDemon() override;

    /// Dispatch of a received message. A handler that keeps the message takes
    /// it out of Msg (leaving it empty); otherwise the caller frees it.
    virtual void HandleMessage(std::unique_ptr<TKventoMessageStream> &Msg);
    virtual QString GetWindowClassName() const = 0;
    virtual QString GetWindowName() const = 0;
    virtual std::unique_ptr<TEntity> FindEntityByTitle(const QString &Title) = 0;
    virtual std::unique_ptr<TEntity> FindEntityByHandle(quint32 Handle) = 0;
    virtual qint32 ExecuteProgram(const QString &Program, const QString &Parameters, qint32 Mode, bool Wait) = 0;
    virtual std::unique_ptr<QBuffer> GetHostFile(const QString &Name) = 0;
    virtual QString GetHostPath(const QString &Value) = 0;
    virtual QString GetHostText(const QString &Value) = 0;
    virtual QString GetHostValue(const QString &Key) = 0;

    /// ParamStr(0) is the program path, 1..ParamCount the parameters.
    QString ParamStr(int Index) const;
    int ParamCount() const;
    const QStringList &Params() const { return m_params; }

    TLingwa2000 &Lingwa() { return *m_lingwa; }

    bool AutoTranslate() const { return m_autoTranslate; }
    void SetAutoTranslate(bool Value) { m_autoTranslate = Value; }
    bool MultiStart() const { return m_multiStart; }
    void SetMultiStart(bool Value) { m_multiStart = Value; }
    bool UseQuarvisServer() const { return m_useQuarvisServer; }
    void SetUseQuarvisServer(bool Value) { m_useQuarvisServer = Value; }
    bool AutoCreateItlFile() const;
    void SetAutoCreateItlFile(bool Value);

    TEntity &ServerEntity() { return *m_server; }
    TEntity &OwnEntity() { return *m_own; }
    bool HostFound() const;
    /// The endpoint suffix looked for at construction (settings value or switch).
    QString HostSuffix() const { return m_hostSuffix; }
    bool ServerDown() const { return m_serverDown; }
    /// False when no endpoint could be had here (no private runtime directory,
    /// or one whose path is too long for a socket): the program then runs
    /// without the host link and without the single-instance rule.
    bool HasEndpoint() const;
    /// What this instance said on standard error about running with less.
    const QStringList &Warnings() const { return m_warnings; }
    qsizetype PendingReplyCount() const { return qsizetype(m_pending.size()); }

    /// Sends a message to Target and waits until it has been handled. Replies
    /// arriving meanwhile are handled at once; the one with this message's time
    /// stamp is collected into Reply (when given). False when no reply came.
    bool SendHostMessage(TEntity &Target, qint32 Code, QByteArrayView Payload, TKventoMessageStream *Reply = nullptr);

    /// The receive step: a frame from the channel becomes a message (keeping
    /// the frame's buffer) and is handled.
    void ReceiveFrame(TFrame Frame);

    /// Longest wait for a request's exchange and for a frame sent to the own
    /// endpoint to complete; tests shorten it.
    int TimeoutMs() const { return m_timeoutMs; }
    void SetTimeoutMs(int Ms);

    TKventoMessageEvent OnGotAMessage;
    TQuitMsgEvent OnQuitMsgReceived;
    TNotifyEvent OnParamsChange;

protected:
    /// Opens the own endpoint; raises EKvento when that fails although an
    /// endpoint is possible here, and warns when none is.
    void CreateEndpoint();
    /// One line on standard error, kept in Warnings().
    void Warn(const QString &Text);
    /// Ends this instance at once (second start).
    void EndThisProcess();
    /// Frees everything owned and asks the application to quit; runs once.
    void Shutdown();
    TTimeStamp NextTimeStamp();
    /// Brings the window of the owner forward, when it is shown.
    void RaiseOwnerWindow();
    bool HoldsInstanceLock() const;
    /// Takes the instance lock; on HeldByOther, Owner is the running instance's
    /// process id. A lock that cannot be used is warned about.
    TInstanceLock::TResult AcquireInstanceLock(qint64 &Owner);

    QString m_programPath;
    QString m_hostSuffix;
    QStringList m_params;
    bool m_serverDown = false;
    bool m_autoTranslate = true;
    bool m_multiStart = false;
    bool m_useQuarvisServer = true;
    bool m_registered = false;
    bool m_freeing = false;

private:
    std::unique_ptr<TEntity> m_server;
    std::vector<std::unique_ptr<TKventoMessageStream>> m_pending;
    std::unique_ptr<TEntity> m_own;
    std::unique_ptr<TLingwa2000> m_lingwa;
    std::unique_ptr<TMessageEndpoint> m_endpoint;
    std::unique_ptr<TInstanceLock> m_lock;
    TTimeStamp m_lastStamp;
    QStringList m_warnings;
    int m_timeoutMs;
    bool m_shutDown = false;
};

/// The host-link component placed on a form (owner = Qt parent).
///
/// Loaded() runs the load step: registration with the host (when
/// UseQuarvisServer), loading the translation table (from the host, or from
/// the file next to the program), translating the owner (AutoTranslate) and
/// the single-instance rule (unless MultiStart): a second instance forwards its
/// parameters to the first through the host and ends at once.
///
/// ExecuteProgram with Wait: the host starts the program, so its exit code
/// cannot be read here. The call waits (without limit, like any blocking wait)
/// until the process no longer runs, then asks the host for the exit code with
/// the value key "$exitcode$:<process id>"; a host without an answer gives -1.
class TvrxDemonClient : public TvrxCustomDemon
{
    Q_OBJECT
    Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
    Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
    Q_PROPERTY(bool UseQuarvisServer READ UseQuarvisServer WRITE SetUseQuarvisServer)
    Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)

public:
    static constexpr const char *ExitCodeKeyPrefix = "$exitcode$:";

    /// Program path, arguments and title of the running application.
    explicit TvrxDemonClient(QObject *Owner);
    TvrxDemonClient(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments, const QString &Title);
    ~TvrxDemonClient() override;

    void Loaded() override;

    QString GetWindowClassName() const override;
    QString GetWindowName() const override;
    std::unique_ptr<TEntity> FindEntityByTitle(const QString &Title) override;
    std::unique_ptr<TEntity> FindEntityByHandle(quint32 Handle) override;
    qint32 ExecuteProgram(const QString &Program, const QString &Parameters, qint32 Mode, bool Wait) override;
    std::unique_ptr<QBuffer> GetHostFile(const QString &Name) override;
    QString GetHostPath(const QString &Value) override;
    QString GetHostText(const QString &Value) override;
    QString GetHostValue(const QString &Key) override;

private:
    void LoadTranslationTable();
    void EnforceSingleInstance();
    std::unique_ptr<TEntity> FindEntity(const QByteArray &Request);
    QString AskString(qint32 Code, const QString &Value);
    qint32 WaitForProgram(qint32 ProcessId);

    bool m_loadDone = false;
};
