// The host-link client without a host: parameters, the work area, the load
// step with a table file, the single-instance rule and message dispatch.
#include "test_demon_support.h"

#include "InstanceLock.h"
#include "Lingwa2000.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWidget>

namespace {

using DemonLocal = DemonFixture;

struct TForm
{
    QWidget Widget;
    QLabel *Label = new QLabel(QStringLiteral("LW_Greeting"), &Widget);
};

} // namespace

TEST_F(DemonLocal, WorkAreaWithoutHost)
{
    const struct
    {
        const char *program;
        const char *key;
        const char *value;
    } cases[] = {
        {"/opt/books/sim/cauchy", "QuarvisWorkArea", "/opt/books/sim/"},
        {"/opt/books/sim/cauchy", "QuarvisHomeDir", "/opt/books/sim/"},
        {"/opt/books/sim/cauchy", "quarvisworkarea", ""},
        {"/opt/books/sim/cauchy", "QUARVISWORKAREA", ""},
        {"/opt/books/sim/cauchy", "AppIconName", ""},
        {"/opt/books/sim/cauchy", "", ""},
        {"/cauchy", "QuarvisWorkArea", "/"},
    };
    for (const auto &c : cases) {
        // One client at a time: its endpoint is named by the process id.
        TvrxDemonClient cli(nullptr, QString::fromUtf8(c.program), {"cauchy"}, "T");
        cli.SetUseQuarvisServer(false);
        EXPECT_EQ(cli.GetHostValue(QString::fromUtf8(c.key)), QString::fromUtf8(c.value)) << c.program << " " << c.key;
    }
}

TEST_F(DemonLocal, ParametersLeaveOutTheServerSwitch)
{
    TvrxDemonClient cli(nullptr, m_program, {"./prog", "a", "/serverhandle=ABC", "/ServerHandle=Kept", "b"}, "T");
    // The switch is found in any case, the last one wins, and its value is lower-cased.
    EXPECT_EQ(cli.HostSuffix(), QStringLiteral("kept"));
    EXPECT_FALSE(cli.HostFound());
    EXPECT_EQ(cli.ParamCount(), 3);
    EXPECT_EQ(cli.ParamStr(0), m_program);
    EXPECT_EQ(cli.ParamStr(1), QStringLiteral("a"));
    EXPECT_EQ(cli.ParamStr(2), QStringLiteral("/ServerHandle=Kept"));
    EXPECT_EQ(cli.ParamStr(3), QStringLiteral("b"));
    for (int bad : {4, -1, 1000}) {
        try {
            cli.ParamStr(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const EKvento &e) {
            EXPECT_EQ(std::string(e.what()), "Illegal \"ParamStr\" parameter: " + std::to_string(bad));
        }
    }
}

TEST_F(DemonLocal, ServerSwitchSelectsTheHostEndpoint)
{
    TThreadHost host(QStringLiteral("abc"), nullptr);
    ASSERT_TRUE(host.Begin());
    {
        TvrxDemonClient cli(nullptr, m_program, {"prog", "/serverhandle=ABC"}, "T");
        EXPECT_EQ(cli.HostSuffix(), QStringLiteral("abc"));
        EXPECT_TRUE(cli.HostFound());
        EXPECT_EQ(cli.ParamCount(), 0);
    }
    {
        // A suffix that would leave the runtime directory is never used.
        TvrxDemonClient cli(nullptr, m_program, {"prog", "/serverhandle=../run/x"}, "T");
        EXPECT_FALSE(cli.HostFound());
    }
    {
        TvrxDemonClient cli(nullptr, m_program, {"prog", "/serverhandle=other"}, "T");
        EXPECT_FALSE(cli.HostFound());
    }
}

TEST_F(DemonLocal, LoadWithoutRunningHostFails)
{
    TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
    EXPECT_TRUE(cli.UseQuarvisServer()); // the default
    try {
        cli.Loaded();
        ADD_FAILURE() << "no error";
    } catch (const EKvento &e) {
        EXPECT_STREQ(e.what(), "Kvento server application is not running");
    }
    EXPECT_TRUE(m_endStatuses.isEmpty());
}

TEST_F(DemonLocal, LoadTranslatesTheOwnerFromTheTableBesideTheProgram)
{
    WriteFile(m_program + QStringLiteral(".itl"), "[Greeting]=Hallo|$$\r\n[Stop]=Anhalten|$$");
    struct Case
    {
        const char *name;
        bool autoTranslate;
        bool withTable;
        const char *label;
    };
    const Case cases[] = {
        {"table", true, true, "Hallo"},
        {"no translation", false, true, "LW_Greeting"},
        {"no table", true, false, "Greeting"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TForm form;
        const QString program = c.withTable ? m_program : AppDir() + QStringLiteral("/other");
        auto *cli = new TvrxDemonClient(&form.Widget, program, {"prog"}, "T");
        cli->SetUseQuarvisServer(false);
        cli->SetAutoTranslate(c.autoTranslate);
        cli->SetMultiStart(true);
        cli->Loaded();
        EXPECT_EQ(form.Label->text(), QString::fromUtf8(c.label));
        EXPECT_EQ(cli->Lingwa().LookupText(QStringLiteral("STOP")),
                  c.withTable ? QStringLiteral("Anhalten") : QStringLiteral("STOP"));
    }
}

TEST_F(DemonLocal, TableNamedLikeADirectoryOrMissingIsIgnored)
{
    ASSERT_TRUE(QDir().mkpath(m_program + QStringLiteral(".itl")));
    TForm form;
    auto *cli = new TvrxDemonClient(&form.Widget, m_program, {"prog"}, "T");
    cli->SetUseQuarvisServer(false);
    cli->SetMultiStart(true);
    cli->Loaded();
    EXPECT_EQ(form.Label->text(), QStringLiteral("Greeting"));
    EXPECT_EQ(cli->Lingwa().Count(), 0);
}

TEST_F(DemonLocal, SingleInstanceRule)
{
    const QString lockName = TInstanceLock::NameForProgram(m_program);
    EXPECT_EQ(lockName, QStringLiteral("KV_prog"));
    struct Case
    {
        const char *name;
        bool otherHolds;
        bool multiStart;
        bool ends;
    };
    const Case cases[] = {
        {"first instance", false, false, false},
        {"second instance", true, false, true},
        {"second instance, several allowed", true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_endStatuses.clear();
        TInstanceLock other(lockName);
        if (c.otherHolds) {
            ASSERT_EQ(other.TryAcquire(), TInstanceLock::TResult::Acquired);
        }
        TForm form;
        auto *cli = new TvrxDemonClient(&form.Widget, m_program, {"prog"}, "T");
        const QString endpoint = EndpointPath(ProgramEndpointName(cli->OwnEntity().WindowHandle));
        EXPECT_TRUE(QFile::exists(endpoint));
        cli->SetUseQuarvisServer(false);
        cli->SetMultiStart(c.multiStart);
        cli->Loaded();
        ASSERT_EQ(m_endStatuses.size(), c.ends ? 1 : 0);
        if (c.ends) {
            EXPECT_EQ(m_endStatuses[0], 0);
            EXPECT_EQ(
                cli->Warnings(),
                QStringList {QStringLiteral("already running (process %1)").arg(QCoreApplication::applicationPid())});
        }
        // An instance that steps aside has already closed its endpoint.
        EXPECT_EQ(QFile::exists(endpoint), !c.ends);
        const bool holds = !c.otherHolds && !c.multiStart;
        EXPECT_EQ(cli->OwnEntity().MutexHandle != 0, holds);
        if (holds) {
            TInstanceLock probe(lockName);
            EXPECT_EQ(probe.TryAcquire(), TInstanceLock::TResult::HeldByOther);
        }
    }
    // Every client above was destroyed with its form: the lock is free again.
    TInstanceLock after(lockName);
    EXPECT_EQ(after.TryAcquire(), TInstanceLock::TResult::Acquired);
}

TEST_F(DemonLocal, LockFromAnotherMachineHoldsOnlyWhileItsOwnerListens)
{
    for (const bool listens : {false, true}) {
        SCOPED_TRACE(listens);
        WriteFile(TInstanceLock(QStringLiteral("KV_prog")).FilePath(), "999999\ncauchy\nelsewhere.example\n\n");
        TMessageEndpoint owner;
        ASSERT_EQ(owner.Listen(listens ? ProgramEndpointName(999999) : QString()), listens);
        TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
        cli.SetTimeoutMs(100); // this thread serves the owner: the parameters go unanswered
        cli.SetUseQuarvisServer(false);
        cli.Loaded();
        EXPECT_EQ(m_endStatuses.size(), listens ? 1 : 0);
    }
}

TEST_F(DemonLocal, OneEndpointPerProcess)
{
    TvrxDemonClient first(nullptr, m_program, {"prog"}, "T");
    try {
        TvrxDemonClient second(nullptr, m_program, {"prog"}, "T");
        ADD_FAILURE() << "second endpoint created";
    } catch (const EKvento &e) {
        EXPECT_STREQ(e.what(), "Could not create window handle");
    }
}

TEST_F(DemonLocal, DestroyAsksTheApplicationToQuit)
{
    {
        TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
        EXPECT_EQ(m_quits, 0);
    }
    EXPECT_EQ(m_quits, 1);
}

TEST_F(DemonLocal, RequestsWithoutHostGiveNothing)
{
    TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
    EXPECT_FALSE(cli.FindEntityByTitle(QStringLiteral("T")));
    EXPECT_FALSE(cli.FindEntityByHandle(1));
    EXPECT_FALSE(cli.GetHostFile(QStringLiteral("x.itl")));
    EXPECT_EQ(cli.GetHostPath(QStringLiteral("/a")), QString());
    EXPECT_EQ(cli.GetHostValue(QStringLiteral("QuarvisWorkArea")), QString()); // asks the (absent) host
    try {
        cli.ExecuteProgram(QStringLiteral("notepad"), QString(), 1, false);
        ADD_FAILURE() << "no error";
    } catch (const EKvento &e) {
        EXPECT_STREQ(e.what(), "Could not execute \"notepad.\"");
    }
}

TEST_F(DemonLocal, PublishedProperties)
{
    TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
    EXPECT_EQ(cli.property("AutoTranslate"), QVariant(true));
    EXPECT_EQ(cli.property("MultiStart"), QVariant(false));
    EXPECT_EQ(cli.property("UseQuarvisServer"), QVariant(true));
    EXPECT_EQ(cli.property("AutoCreateItlFile"), QVariant(false));
    ASSERT_TRUE(cli.setProperty("AutoCreateItlFile", true));
    EXPECT_TRUE(cli.Lingwa().AutoCreateItlFile());
    ASSERT_TRUE(cli.setProperty("UseQuarvisServer", false));
    EXPECT_FALSE(cli.UseQuarvisServer());
    cli.Lingwa().SetAutoCreateItlFile(false); // no table file from this test
}

TEST_F(DemonLocal, DispatchOfReceivedMessages)
{
    TvrxDemonClient cli(nullptr, m_program, {"prog", "x"}, "T");
    int paramsChanged = 0;
    QList<qint32> others;
    QList<bool> quitDown;
    bool allow = false;
    cli.OnParamsChange = [&](QObject *Sender) {
        EXPECT_EQ(Sender, &cli);
        ++paramsChanged;
    };
    cli.OnGotAMessage = [&](QObject *, TKventoMessageStream &Msg) {
        others.append(Msg.Code);
        EXPECT_EQ(Msg.readAll(), QByteArray("data"));
        EXPECT_EQ(Msg.Sender().WindowHandle, 555u);
    };
    cli.OnQuitMsgReceived = [&](QObject *, bool Down, bool &Allow) {
        quitDown.append(Down);
        Allow = allow;
    };
    auto frame = [](qint32 Code, const QByteArray &Payload) {
        return TFrame {555, quint32(Code), EncodeMessageData({1, 2}, Payload)};
    };

    cli.ReceiveFrame(frame(kvParams, "/other/prog\r\none\r\ntwo\r\n"));
    EXPECT_EQ(paramsChanged, 1);
    EXPECT_EQ(cli.ParamCount(), 2);
    EXPECT_EQ(cli.ParamStr(2), QStringLiteral("two"));
    EXPECT_EQ(cli.ParamStr(0), m_program); // always this program's path
    // More than any command line holds is not a forwarded parameter list.
    cli.ReceiveFrame(frame(kvParams, QByteArray(TvrxCustomDemon::MaxForwardedParamBytes + 1, 'p')));
    cli.ReceiveFrame(frame(kvParams, QByteArray(4 << 20, '\n'))); // 4 Mi entries: 96 MiB of list for 4 MiB
    EXPECT_EQ(paramsChanged, 1);
    EXPECT_EQ(cli.ParamCount(), 2);

    cli.ReceiveFrame(frame(5000, "data"));
    cli.ReceiveFrame(TFrame {555, 5001, QByteArray("short")}); // no time stamp: not a message
    EXPECT_EQ(others, QList<qint32> {5000});

    for (int i = 0; i < 100; ++i)
        cli.ReceiveFrame(frame(kvReply, "r"));
    EXPECT_EQ(cli.PendingReplyCount(), TvrxCustomDemon::MaxPendingReplies);

    cli.ReceiveFrame(frame(kvQuit, QByteArray(1, 1)));
    cli.ReceiveFrame(frame(kvQuit, QByteArray()));
    EXPECT_EQ(quitDown, (QList<bool> {true, false}));
    EXPECT_FALSE(cli.ServerDown());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_quits, 0); // quitting was refused, the client lives on
}

TEST_F(DemonLocal, PendingRepliesAreBoundedInBytes)
{
    TvrxDemonClient cli(nullptr, m_program, {"prog"}, "T");
    const qsizetype mib = 1024 * 1024;
    auto reply = [](qint32 Time, qsizetype Size) {
        return TFrame {1, kvReply, EncodeMessageData({Time, 1}, QByteArray(Size, 'r'))};
    };
    for (int i = 0; i < 24; ++i)
        cli.ReceiveFrame(reply(i, mib));
    EXPECT_EQ(cli.PendingReplyCount(), TvrxCustomDemon::MaxPendingReplyBytes / mib);
    // A reply larger than the bound on its own is still kept for its request.
    cli.ReceiveFrame(reply(99, TvrxCustomDemon::MaxPendingReplyBytes + 1));
    EXPECT_EQ(cli.PendingReplyCount(), 1);
    cli.ReceiveFrame(reply(100, 10));
    EXPECT_EQ(cli.PendingReplyCount(), 1);
}

TEST_F(DemonLocal, QuitRequestFreesTheClient)
{
    QPointer<TvrxDemonClient> cli = new TvrxDemonClient(nullptr, m_program, {"prog"}, "T");
    cli->ReceiveFrame(TFrame {1, kvQuit, EncodeMessageData({1, 2}, QByteArray(1, 1))});
    EXPECT_TRUE(cli); // freed from the event loop, not inside the receive step
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(cli);
    EXPECT_EQ(m_quits, 1);
}

TEST_F(DemonLocal, HandlerThatFreesTheClientIsSafe)
{
    struct Case
    {
        const char *name;
        qint32 code;
        QByteArray payload;
    };
    const Case cases[] = {
        {"any other message", 5000, "x"},
        {"forwarded parameters", kvParams, "/p\r\nalpha\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int quitsBefore = m_quits;
        QPointer<TvrxDemonClient> cli = new TvrxDemonClient(nullptr, m_program, {"prog"}, "T");
        cli->OnGotAMessage = [&](QObject *, TKventoMessageStream &) { delete cli.data(); };
        cli->OnParamsChange = [&](QObject *) { delete cli.data(); };
        const QString endpoint = ProgramEndpointName(cli->OwnEntity().WindowHandle);
        auto sent = std::async(std::launch::async, [&] {
            return SendFrame(endpoint, 42, quint32(c.code), EncodeMessageData({3, 4}, c.payload), nullptr);
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return cli.isNull(); }, 5000));
        EXPECT_EQ(sent.get(), TSendResult::Done);
        EXPECT_EQ(m_quits, quitsBefore + 1);
        EXPECT_FALSE(QFile::exists(EndpointPath(endpoint)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(DemonLocal, ParametersArriveOverTheChannelAndBringTheWindowForward)
{
    TForm form;
    form.Widget.showMinimized();
    TvrxDemonClient cli(&form.Widget, m_program, {"prog"}, "T");
    int changes = 0;
    cli.OnParamsChange = [&](QObject *) { ++changes; };
    const QString endpoint = ProgramEndpointName(cli.OwnEntity().WindowHandle);
    auto sent = std::async(std::launch::async, [&] {
        return SendFrame(endpoint, 42, kvParams, EncodeMessageData({3, 4}, EncodeParamLines({"/p", "alpha"})), nullptr);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 5000));
    EXPECT_EQ(sent.get(), TSendResult::Done);
    EXPECT_EQ(cli.ParamStr(1), QStringLiteral("alpha"));
    EXPECT_FALSE(form.Widget.windowState() & Qt::WindowMinimized);
}
