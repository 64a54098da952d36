// The host-link client against a host served from a worker thread: what the
// requests put on the wire, how replies are matched and read, registration.
#include "test_demon_support.h"

#include "Lingwa2000.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QWidget>

namespace {

using DemonHost = DemonFixture;

const QString Suffix = QStringLiteral("th");
const QStringList Args = {"prog", "/serverhandle=TH"};

QString PayloadString(const QByteArray &Payload)
{
    return DecodeStringReply(Payload);
}

} // namespace

TEST_F(DemonHost, LoadRegistersAndFetchesTheTableThroughTheHost)
{
    TThreadHost host(Suffix, [](const TFrame &F, const TMessageData &M, const TFrameReply &Reply) {
        if (F.Code == kvGetPath)
            TThreadHost::ReplyWith(Reply, M, EncodeStringPayload(QStringLiteral("/book/sims/prog.exe")));
        else if (F.Code == kvGetFile && PayloadString(M.Payload) == QLatin1String("/book/sims/prog.itl"))
            TThreadHost::ReplyWith(Reply, M, QByteArray(1, 1) + "[Greeting]=Servus|$$");
        else if (F.Code == kvGetFile)
            TThreadHost::ReplyWith(Reply, M, QByteArray(1, 0));
    });
    ASSERT_TRUE(host.Begin());
    {
        QWidget form;
        auto *label = new QLabel(QStringLiteral("LW_Greeting"), &form);
        auto *cli = new TvrxDemonClient(&form, m_program, Args, QStringLiteral("Probe Title"));
        cli->Loaded();
        EXPECT_EQ(label->text(), QStringLiteral("Servus"));
        EXPECT_TRUE(m_endStatuses.isEmpty());

        const auto received = host.Received();
        ASSERT_EQ(received.size(), 3);
        EXPECT_EQ(received[0].Code, kvRegister);
        EXPECT_EQ(received[0].Sender, quint32(QCoreApplication::applicationPid()));
        const auto record = DecodeEntityReply(received[0].Payload);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->WindowHandle, quint32(QCoreApplication::applicationPid()));
        EXPECT_EQ(record->Path, m_program);
        EXPECT_EQ(record->Title, QStringLiteral("Probe Title"));
        EXPECT_EQ(received[1].Code, kvGetPath);
        EXPECT_EQ(PayloadString(received[1].Payload), m_program);
        EXPECT_EQ(received[2].Code, kvGetFile);
    }
    // Destroying the form unregisters, with the lock now held.
    const auto received = host.Received();
    ASSERT_EQ(received.size(), 4);
    EXPECT_EQ(received[3].Code, kvUnregister);
    const auto record = DecodeEntityReply(received[3].Payload);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->MutexHandle, 1u);
    EXPECT_EQ(m_quits, 1);
}

TEST_F(DemonHost, RequestsAndTheirReplies)
{
    const TEntityRecord other {4242, 1, QStringLiteral("/x/other"), QStringLiteral("Other")};
    TThreadHost host(Suffix, [&](const TFrame &F, const TMessageData &M, const TFrameReply &Reply) {
        TPayloadReader in(M.Payload);
        switch (F.Code) {
        case kvGetValue:
        case kvGetText:
        case kvGetPath: {
            QString s;
            in.ReadString(s);
            TThreadHost::ReplyWith(Reply, M, EncodeStringPayload(QString::number(F.Code) + QLatin1Char(':') + s));
            break;
        }
        case kvFindEntity: {
            quint8 sub = 0;
            in.ReadByte(sub);
            QString title;
            qint32 handle = 0;
            if (sub == 2)
                in.ReadString(title);
            else
                in.ReadInt32(handle);
            const bool hit = title == other.Title || quint32(handle) == other.WindowHandle;
            TThreadHost::ReplyWith(Reply, M, hit ? EncodeEntityRecord(other) : QByteArray());
            break;
        }
        case kvGetFile: {
            QString name;
            in.ReadString(name);
            TThreadHost::ReplyWith(Reply, M,
                                   name == QLatin1String("icon.ico") ? QByteArray("\x01ICON", 5) : QByteArray(1, 0));
            break;
        }
        case kvExecute: {
            QString program;
            in.ReadString(program);
            TThreadHost::ReplyWith(Reply, M,
                                   TPayloadWriter().WriteInt32(program == QLatin1String("good") ? 31337 : 0).Data());
            break;
        }
        }
    });
    ASSERT_TRUE(host.Begin());
    TvrxDemonClient cli(nullptr, m_program, Args, QStringLiteral("T"));

    EXPECT_EQ(cli.GetHostValue(QStringLiteral("QuarvisWorkArea")), QStringLiteral("4106:QuarvisWorkArea"));
    EXPECT_EQ(cli.GetHostText(QStringLiteral("t")), QStringLiteral("4105:t"));
    EXPECT_EQ(cli.GetHostPath(QStringLiteral("/p")), QStringLiteral("4104:/p"));

    std::unique_ptr<TEntity> byTitle = cli.FindEntityByTitle(QStringLiteral("Other"));
    ASSERT_TRUE(byTitle);
    EXPECT_EQ(byTitle->Record(), other);
    std::unique_ptr<TEntity> byHandle = cli.FindEntityByHandle(4242);
    ASSERT_TRUE(byHandle);
    EXPECT_EQ(byHandle->StoredTitle(), QStringLiteral("Other"));
    EXPECT_FALSE(cli.FindEntityByTitle(QStringLiteral("Nobody")));
    EXPECT_FALSE(cli.FindEntityByHandle(1));

    std::unique_ptr<QBuffer> file = cli.GetHostFile(QStringLiteral("icon.ico"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->pos(), 0);
    EXPECT_EQ(file->readAll(), QByteArray("ICON"));
    EXPECT_FALSE(cli.GetHostFile(QStringLiteral("missing.ico")));

    EXPECT_EQ(cli.ExecuteProgram(QStringLiteral("good"), QStringLiteral("-a \"b c\""), 7, false), 31337);
    try {
        cli.ExecuteProgram(QStringLiteral("bad"), QString(), 0, false);
        ADD_FAILURE() << "no error";
    } catch (const EKvento &e) {
        EXPECT_STREQ(e.what(), "Could not execute \"bad.\"");
    }

    // The execute request carries program, parameters, wait flag and mode.
    QByteArray execute;
    for (const auto &r : host.Received())
        if (r.Code == kvExecute && execute.isEmpty())
            execute = r.Payload;
    EXPECT_EQ(execute, EncodeExecute(QStringLiteral("good"), QStringLiteral("-a \"b c\""), false, 7));
    EXPECT_EQ(cli.PendingReplyCount(), 0);
}

TEST_F(DemonHost, EntityPathAndTitleAreFetchedOnFirstUse)
{
    TThreadHost host(Suffix, [](const TFrame &F, const TMessageData &M, const TFrameReply &Reply) {
        if (F.Code == kvFindEntity)
            TThreadHost::ReplyWith(Reply, M, EncodeEntityRecord({9, 0, "/far/away", "Far"}));
    });
    ASSERT_TRUE(host.Begin());
    TvrxDemonClient cli(nullptr, m_program, Args, QStringLiteral("T"));
    TEntity entity(&cli);
    entity.WindowHandle = 9;
    EXPECT_EQ(entity.Title(), QStringLiteral("Far"));
    EXPECT_EQ(entity.Path(), QStringLiteral("/far/away"));
    EXPECT_EQ(host.Codes(), QList<qint32> {kvFindEntity}); // asked once
    EXPECT_EQ(host.Received()[0].Payload, EncodeFindByHandle(9));
}

TEST_F(DemonHost, RepliesAreMatchedByTimeStamp)
{
    enum Mode { WrongThenRight, OnlyWrong, Flood, TooShort };
    Mode mode = WrongThenRight;
    TThreadHost host(Suffix, [&](const TFrame &, const TMessageData &M, const TFrameReply &Reply) {
        const TTimeStamp wrong {M.Stamp.Time, M.Stamp.Date + 1};
        const QByteArray right = EncodeStringPayload(QStringLiteral("right"));
        switch (mode) {
        case WrongThenRight:
            Reply(kvReply, EncodeMessageData(wrong, EncodeStringPayload(QStringLiteral("wrong"))));
            TThreadHost::ReplyWith(Reply, M, right);
            break;
        case OnlyWrong: Reply(kvReply, EncodeMessageData(wrong, right)); break;
        case Flood:
            for (int i = 0; i < 500; ++i)
                Reply(kvReply, EncodeMessageData({i, 1}, right));
            TThreadHost::ReplyWith(Reply, M, right);
            break;
        case TooShort: Reply(kvReply, QByteArray("1234567")); break;
        }
    });
    ASSERT_TRUE(host.Begin());
    TvrxDemonClient cli(nullptr, m_program, Args, QStringLiteral("T"));

    EXPECT_EQ(cli.GetHostText(QStringLiteral("k")), QStringLiteral("right"));
    EXPECT_EQ(cli.PendingReplyCount(), 1); // the stray reply waits, uncollected
    mode = OnlyWrong;
    EXPECT_EQ(cli.GetHostText(QStringLiteral("k")), QString());
    EXPECT_EQ(cli.PendingReplyCount(), 2);
    mode = Flood;
    EXPECT_EQ(cli.GetHostText(QStringLiteral("k")), QStringLiteral("right"));
    EXPECT_LE(cli.PendingReplyCount(), TvrxCustomDemon::MaxPendingReplies);
    mode = TooShort;
    EXPECT_EQ(cli.GetHostText(QStringLiteral("k")), QString());
}

TEST_F(DemonHost, QuitRequestFromTheHost)
{
    // Only a host the client registered with, and that is not going down, hears that it goes.
    for (const auto &[registered, down] : {std::pair {true, false}, {true, true}, {false, false}}) {
        SCOPED_TRACE(testing::Message() << registered << down);
        TThreadHost host(Suffix, nullptr);
        ASSERT_TRUE(host.Begin());
        const int quitsBefore = m_quits;
        QPointer<TvrxDemonClient> cli = new TvrxDemonClient(nullptr, m_program, Args, QStringLiteral("T"));
        cli->SetMultiStart(true);
        if (registered)
            cli->Loaded();
        bool seenDown = !down;
        cli->OnQuitMsgReceived = [&](QObject *, bool Down, bool &) { seenDown = Down; };
        const QString endpoint = ProgramEndpointName(cli->OwnEntity().WindowHandle);
        auto sent = std::async(std::launch::async, [&] {
            return SendFrame(endpoint, 77, kvQuit, EncodeMessageData({1, 1}, QByteArray(1, down ? 1 : 0)), nullptr);
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return cli.isNull(); }, 5000));
        EXPECT_EQ(sent.get(), TSendResult::Done);
        EXPECT_EQ(seenDown, down);
        EXPECT_EQ(m_quits, quitsBefore + 1);
        EXPECT_EQ(host.Codes().contains(kvUnregister), registered && !down);
    }
}

TEST_F(DemonHost, ExecuteAndWaitReturnsTheExitCodeTheHostReports)
{
    struct Case
    {
        const char *name;
        const char *reported;
        int expected;
    };
    const Case cases[] = {{"code reported", "7", 7}, {"no code known", "", -1}, {"garbage", "seven", -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        qint64 pid = 0;
        // Started detached, like a program the host starts: not a child of this process.
        const QString done = m_dir.path() + QStringLiteral("/done-") + QString::number(&c - cases);
        ASSERT_TRUE(QProcess::startDetached(QStringLiteral("/bin/sh"), {"-c", "sleep 0.3; : > '" + done + "'; exit 7"},
                                            QString(), &pid));
        QString asked;
        TThreadHost host(Suffix, [&](const TFrame &F, const TMessageData &M, const TFrameReply &Reply) {
            if (F.Code == kvExecute)
                TThreadHost::ReplyWith(Reply, M, TPayloadWriter().WriteInt32(qint32(pid)).Data());
            if (F.Code == kvGetValue) {
                asked = PayloadString(M.Payload);
                TThreadHost::ReplyWith(Reply, M, EncodeStringPayload(QString::fromUtf8(c.reported)));
            }
        });
        ASSERT_TRUE(host.Begin());
        TvrxDemonClient cli(nullptr, m_program, Args, QStringLiteral("T"));
        cli.SetUseQuarvisServer(false); // the exit code is the host's answer all the same
        EXPECT_EQ(cli.ExecuteProgram(QStringLiteral("/bin/sh"), QString(), 0, true), c.expected);
        EXPECT_TRUE(QFile::exists(done)); // it waited for the program's last step
        EXPECT_EQ(asked, QStringLiteral("$exitcode$:%1").arg(pid));
    }
}
