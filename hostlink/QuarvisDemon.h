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
    /// An error that reads Message.
    explicit EKvento(const QString &Message) : EKeslError(Message.toStdString()) { }
};

/// A participant of the host link: the host or a running program.
class TEntity
{
public:
    /// An entity known to Demon (which asks the host about it), with no handle yet.
    explicit TEntity(TvrxCustomDemon *Demon = nullptr) : m_demon(Demon) { }

    /// The component that received the message.
    TvrxCustomDemon *Demon() const { return m_demon; }

    /// The process id of a program; 0 when unknown.
    quint32 WindowHandle = 0;
    /// Non-zero while the program holds its instance lock.
    quint32 MutexHandle = 0;

    /// Path and title; fetched from the host on first use when empty.
    QString Path();
    /// Title of the entity's main window; fetched from the host on first use when empty.
    QString Title();
    /// The stored values, without asking the host.
    const QString &StoredPath() const { return m_path; }
    /// The stored title, without asking the host.
    const QString &StoredTitle() const { return m_title; }
    /// Stores the program path.
    void SetPath(const QString &Path) { m_path = Path; }
    /// Stores the title.
    void SetTitle(const QString &Title) { m_title = Title; }

    /// The endpoint messages to this entity go to: the host's class-named
    /// endpoint when set, otherwise "kvento-<WindowHandle>"; empty when there is
    /// no window (handle 0).
    QString EndpointName() const;
    /// Names the endpoint explicitly (the host's); empty returns to the handle's.
    void SetEndpointName(const QString &Name) { m_endpointName = Name; }

    /// The entity as a record of the wire format.
    TEntityRecord Record() const;
    /// Takes over handle, lock handle, path and title of a record.
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
    /// An empty message of code 0 received by Demon.
    explicit TKventoMessageStream(TvrxCustomDemon *Demon = nullptr);

    /// Time stamp of the message; a reply carries that of its request.
    TTimeStamp TimeStamp;
    /// Message code (a TKventoCode).
    qint32 Code = 0;

    /// The component that received the message.
    TvrxCustomDemon *Demon() const { return m_demon; }
    /// The entity that sent the message.
    TEntity &Sender() { return *m_sender; }
    /// The entity that sent the message.
    const TEntity &Sender() const { return *m_sender; }

    /// Replaces the payload; the stream is open for reading and writing at position 0.
    void SetPayload(const QByteArray &Bytes);
    /// The payload bytes.
    QByteArray Payload() const { return data(); }
    /// Hands the payload's bytes over (no copy) and leaves the stream empty.
    QByteArray TakePayload();
    /// Takes over time stamp, sender, code and bytes of another message.
    void CopyFrom(const TKventoMessageStream &Other);

private:
    TvrxCustomDemon *m_demon;
    std::unique_ptr<TEntity> m_sender;
};

/// A message arrived that no built-in handling consumed; Msg is the message.
using TKventoMessageEvent = std::function<void(QObject *Sender, TKventoMessageStream &Msg)>;
/// The host asked the program to quit; ServerDown tells whether the host is
/// closing, and setting AllowQuit to false keeps the program running.
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
    /// Installs the EndProcess hook; returns the previous one.
    static TEndProcessHook SetEndProcessHook(TEndProcessHook Hook);
    /// QuitApplication asks the application to end its event loop; it runs
    /// whenever the component is destroyed. Default: QCoreApplication::quit().
    using TQuitApplicationHook = std::function<void()>;
    /// Installs the QuitApplication hook; returns the previous one.
    static TQuitApplicationHook SetQuitApplicationHook(TQuitApplicationHook Hook);

    /// Window class of the host; its endpoint name is this plus the host suffix.
    static constexpr const char *HostEndpointPrefix = "ThisIsTheKventoServerComponentWindowClass";
    /// Most replies kept waiting for collection, and most bytes they may hold
    /// together; older ones are dropped first, the newest is always kept.
    static constexpr int MaxPendingReplies = 64;
    /// Most bytes the replies kept waiting may hold together.
    static constexpr qsizetype MaxPendingReplyBytes = 16 * 1024 * 1024;
    /// Largest forwarded parameter list kept, in bytes and in entries: more
    /// than any command line holds.
    static constexpr qsizetype MaxForwardedParamBytes = 4 * 1024 * 1024;
    /// Most entries of a forwarded parameter list kept.
    static constexpr qsizetype MaxForwardedParams = 64 * 1024;

    /// ProgramPath is ParamStr(0); Arguments[0] (the program as started) is
    /// replaced by it. Title names this program to the host.
    TvrxCustomDemon(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments, const QString &Title);
    /// Unregisters from the host (when registered), frees the translation
    /// engine and asks the application to quit.
    ~TvrxCustomDemon() override;

    /// Dispatch of a received message. A handler that keeps the message takes
    /// it out of Msg (leaving it empty); otherwise the caller frees it.
    virtual void HandleMessage(std::unique_ptr<TKventoMessageStream> &Msg);
    /// Window class this program names itself by to the host.
    virtual QString GetWindowClassName() const = 0;
    /// Window title this program names itself by to the host.
    virtual QString GetWindowName() const = 0;
    /// Asks the host for the entity whose window has Title; nullptr when none.
    virtual std::unique_ptr<TEntity> FindEntityByTitle(const QString &Title) = 0;
    /// Asks the host for the entity with window handle Handle; nullptr when none.
    virtual std::unique_ptr<TEntity> FindEntityByHandle(quint32 Handle) = 0;
    /// Asks the host to start Program with Parameters in window mode Mode;
    /// with Wait, waits for it to end and returns its exit code, else returns
    /// its process id (0 when it could not be started).
    virtual qint32 ExecuteProgram(const QString &Program, const QString &Parameters, qint32 Mode, bool Wait) = 0;
    /// The host's file Name as a buffer open for reading; nullptr when the host has none.
    virtual std::unique_ptr<QBuffer> GetHostFile(const QString &Name) = 0;
    /// The host's path for Value; empty without an answer.
    virtual QString GetHostPath(const QString &Value) = 0;
    /// The host's text for Value; empty without an answer.
    virtual QString GetHostText(const QString &Value) = 0;
    /// The host's value for Key; empty without an answer.
    virtual QString GetHostValue(const QString &Key) = 0;

    /// ParamStr(0) is the program path, 1..ParamCount the parameters.
    QString ParamStr(int Index) const;
    /// Number of parameters, the program path not counted.
    int ParamCount() const;
    /// The program path followed by the parameters.
    const QStringList &Params() const { return m_params; }

    /// The translation engine the component owns.
    TLingwa2000 &Lingwa() { return *m_lingwa; }

    /// Whether the load step translates the owner (default true).
    bool AutoTranslate() const { return m_autoTranslate; }
    /// Sets AutoTranslate; takes effect at the load step.
    void SetAutoTranslate(bool Value) { m_autoTranslate = Value; }
    /// Whether more than one instance may run (default false).
    bool MultiStart() const { return m_multiStart; }
    /// Sets MultiStart; takes effect at the load step.
    void SetMultiStart(bool Value) { m_multiStart = Value; }
    /// Whether the component registers with a host (default true).
    bool UseQuarvisServer() const { return m_useQuarvisServer; }
    /// Sets UseQuarvisServer; takes effect at the load step.
    void SetUseQuarvisServer(bool Value) { m_useQuarvisServer = Value; }
    /// Whether the engine collects missing keys into a table file (default false).
    bool AutoCreateItlFile() const;
    /// Sets AutoCreateItlFile on the engine.
    void SetAutoCreateItlFile(bool Value);

    /// The host.
    TEntity &ServerEntity() { return *m_server; }
    /// This program as the host knows it.
    TEntity &OwnEntity() { return *m_own; }
    /// Whether a host answered at construction.
    bool HostFound() const;
    /// The endpoint suffix looked for at construction (settings value or switch).
    QString HostSuffix() const { return m_hostSuffix; }
    /// Whether the host said it is closing.
    bool ServerDown() const { return m_serverDown; }
    /// False when no endpoint could be had here (no private runtime directory,
    /// or one whose path is too long for a socket): the program then runs
    /// without the host link and without the single-instance rule.
    bool HasEndpoint() const;
    /// What this instance said on standard error about running with less.
    const QStringList &Warnings() const { return m_warnings; }
    /// Replies kept waiting for collection.
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
    /// Sets TimeoutMs in milliseconds; 0 or below restores the default (5 s).
    void SetTimeoutMs(int Ms);

    /// Raised for a received message no built-in handling consumed.
    TKventoMessageEvent OnGotAMessage;
    /// Raised when the host asks the program to quit.
    TQuitMsgEvent OnQuitMsgReceived;
    /// Raised after another instance forwarded its parameters (Params() holds them).
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
    /// A time stamp later than every one this component used before.
    TTimeStamp NextTimeStamp();
    /// Brings the window of the owner forward, when it is shown.
    void RaiseOwnerWindow();
    /// Whether this instance holds the instance lock.
    bool HoldsInstanceLock() const;
    /// Takes the instance lock; on HeldByOther, Owner is the running instance's
    /// process id. A lock that cannot be used is warned about.
    TInstanceLock::TResult AcquireInstanceLock(qint64 &Owner);

    /// The program path (ParamStr(0)).
    QString m_programPath;
    /// See HostSuffix().
    QString m_hostSuffix;
    /// See Params().
    QStringList m_params;
    /// See ServerDown().
    bool m_serverDown = false;
    /// See AutoTranslate().
    bool m_autoTranslate = true;
    /// See MultiStart().
    bool m_multiStart = false;
    /// See UseQuarvisServer().
    bool m_useQuarvisServer = true;
    /// Whether this component registered with the host.
    bool m_registered = false;
    /// Set while the component is being destroyed.
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
    /// Whether the load step translates the owner's texts (default true).
    Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
    /// Whether more than one instance may run (default false).
    Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
    /// Whether the component registers with a host (default true).
    Q_PROPERTY(bool UseQuarvisServer READ UseQuarvisServer WRITE SetUseQuarvisServer)
    /// Whether keys asked for but not found are written to a table file (default false).
    Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)

public:
    /// Value key that asks the host for a process's exit code, followed by its id.
    static constexpr const char *ExitCodeKeyPrefix = "$exitcode$:";

    /// Program path, arguments and title of the running application.
    explicit TvrxDemonClient(QObject *Owner);
    /// A client with an explicit program path, arguments and title.
    TvrxDemonClient(QObject *Owner, const QString &ProgramPath, const QStringList &Arguments, const QString &Title);
    /// See ~TvrxCustomDemon().
    ~TvrxDemonClient() override;

    /// Runs the load step (see the class notes) once.
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
