// The message channel over real local sockets, inside this process: the
// sender runs on a worker thread while the main thread serves the endpoint.
#include "MessageChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class ChannelEndpoint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QString run = m_dir.path() + QStringLiteral("/run");
        ASSERT_TRUE(QDir().mkpath(run));
        QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }

    // Runs Work on another thread and serves this thread's events until it ends.
    template<class F> auto OffThread(F Work)
    {
        auto future = std::async(std::launch::async, Work);
        const bool finished = QTest::qWaitFor(
            [&] { return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000);
        EXPECT_TRUE(finished);
        return future.get();
    }

    QTemporaryDir m_dir;
    QByteArray m_oldRuntime;
};

struct TSendRecord
{
    TSendResult Result;
    QList<TFrame> Frames;
    qint64 Ms;
};

TSendRecord SendAndRecord(const QString &Name, quint32 Code, const QByteArray &Data, int TimeoutMs = 5000)
{
    TSendRecord rec;
    QElapsedTimer t;
    t.start();
    rec.Result = SendFrame(
        Name, 321, Code, Data, [&](const TFrame &F) { rec.Frames.append(F); }, TimeoutMs);
    rec.Ms = t.elapsed();
    return rec;
}

} // namespace

TEST_F(ChannelEndpoint, AnswersArriveBeforeTheDoneFrame)
{
    TMessageEndpoint endpoint;
    endpoint.SetHandle(99);
    QList<TFrame> received;
    endpoint.SetHandler([&](const TFrame &F, const TFrameReply &Reply) {
        received.append(F);
        EXPECT_TRUE(Reply(4097, "one"));
        EXPECT_TRUE(Reply(4097, QByteArray(200000, 'b'))); // larger than a socket buffer
        EXPECT_FALSE(Reply(KventoChannel::DoneCode, "x")); // the endpoint writes the done frame itself
    });
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-answers")));

    const TSendRecord rec = OffThread([] { return SendAndRecord(QStringLiteral("ep-answers"), 4104, "payload"); });
    EXPECT_EQ(rec.Result, TSendResult::Done);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].Sender, 321u);
    EXPECT_EQ(received[0].Code, 4104u);
    EXPECT_EQ(received[0].Data, QByteArray("payload"));
    ASSERT_EQ(rec.Frames.size(), 2);
    EXPECT_EQ(rec.Frames[0].Sender, 99u);
    EXPECT_EQ(rec.Frames[0].Data, QByteArray("one"));
    EXPECT_EQ(rec.Frames[1].Data.size(), 200000);
}

TEST_F(ChannelEndpoint, SocketIsUserOnlyAndRemovedOnClose)
{
    TMessageEndpoint endpoint;
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-perm")));
    const QString path = EndpointPath(QStringLiteral("ep-perm"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_TRUE(EndpointAccepts(QStringLiteral("ep-perm")));
    endpoint.Close();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(EndpointAccepts(QStringLiteral("ep-perm")));
}

TEST_F(ChannelEndpoint, NameRulesAndStaleSocketFiles)
{
    EXPECT_EQ(ProgramEndpointName(4711), QStringLiteral("kvento-4711"));
    TMessageEndpoint endpoint;
    EXPECT_FALSE(endpoint.Listen(QString()));
    EXPECT_FALSE(endpoint.Listen(QStringLiteral("../escape")));

    // A file nobody listens on is replaced; a live endpoint keeps its name.
    QFile stale(EndpointPath(QStringLiteral("ep-stale")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(EndpointAccepts(QStringLiteral("ep-stale")));
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-stale")));
    TMessageEndpoint rival;
    EXPECT_FALSE(rival.Listen(QStringLiteral("ep-stale")));
    EXPECT_TRUE(endpoint.IsListening());
}

TEST_F(ChannelEndpoint, SenderOutcomesTable)
{
    // A raw server that misbehaves in a chosen way once a frame has arrived.
    enum Mode { Silent, HalfFrame, HugeCount, CloseAtOnce };
    struct Case
    {
        const char *name;
        Mode mode;
        TSendResult expected;
        bool waitsForTimeout;
    };
    const Case cases[] = {
        {"never answers", Silent, TSendResult::TimedOut, true},
        {"half a frame, then closes", HalfFrame, TSendResult::Broken, false},
        {"byte count over the limit", HugeCount, TSendResult::Broken, false},
        {"closes without a frame", CloseAtOnce, TSendResult::Broken, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QLocalServer server;
        ASSERT_TRUE(server.listen(EndpointPath(QStringLiteral("raw"))));
        QList<QLocalSocket *> kept;
        QObject::connect(&server, &QLocalServer::newConnection, [&] {
            QLocalSocket *s = server.nextPendingConnection();
            kept.append(s);
            QObject::connect(s, &QLocalSocket::readyRead, [s, &c] {
                s->readAll();
                const QByteArray frame = EncodeFrame(5, 4097, "0123456789");
                if (c.mode == HalfFrame) {
                    s->write(frame.left(15));
                    s->flush();
                    s->disconnectFromServer();
                } else if (c.mode == HugeCount) {
                    QByteArray h = frame.left(12);
                    h[11] = 0x7f;
                    s->write(h);
                    s->flush();
                } else if (c.mode == CloseAtOnce) {
                    s->disconnectFromServer();
                }
            });
        });
        const int deadline = c.waitsForTimeout ? 200 : 600000; // the others end long before theirs
        const TSendRecord rec =
            OffThread([deadline] { return SendAndRecord(QStringLiteral("raw"), 4106, "k", deadline); });
        EXPECT_EQ(rec.Result, c.expected);
        EXPECT_TRUE(rec.Frames.isEmpty());
        server.close();
    }
    const TSendRecord none = SendAndRecord(QStringLiteral("nobody-here"), 4106, "k", 400);
    EXPECT_EQ(none.Result, TSendResult::NoReceiver);
}

TEST_F(ChannelEndpoint, ReceiverTricklingFramesCannotHoldTheSender)
{
    // Every frame comes well within the frame timeout, but the done frame never does.
    QLocalServer server;
    ASSERT_TRUE(server.listen(EndpointPath(QStringLiteral("trickle"))));
    QTimer timer;
    QLocalSocket *peer = nullptr;
    int ticks = 0;
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        timer.start(20);
    });
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // Bounded, so that even a sender without an overall limit ends this test.
        if (++ticks > 100) {
            timer.stop();
            return;
        }
        peer->write(EncodeFrame(5, 4097, "tick"));
        peer->flush();
    });
    constexpr int timeout = 1000;
    const TSendRecord rec = OffThread([] { return SendAndRecord(QStringLiteral("trickle"), 4106, "k", timeout); });
    // The whole exchange is bounded by the one timeout, not by the gap between frames.
    EXPECT_EQ(rec.Result, TSendResult::TimedOut);
    EXPECT_GE(rec.Ms, timeout - 50);
    EXPECT_GT(rec.Frames.size(), 2);
    EXPECT_LT(rec.Frames.size(), 100);
}

TEST_F(ChannelEndpoint, ReceiverDropsBadConnections)
{
    TMessageEndpoint endpoint;
    int handled = 0;
    endpoint.SetHandler([&](const TFrame &, const TFrameReply &) { ++handled; });
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-bad")));

    struct Case
    {
        const char *name;
        QByteArray bytes;
        int timeoutMs; // a bad count is dropped at once, long before its deadline
    };
    QByteArray huge = EncodeFrame(1, 4106, QByteArray());
    huge[11] = 0x04; // 64 MiB
    huge[8] = 1; // ... and one byte
    const Case cases[] = {
        {"byte count over 64 MiB", huge + QByteArray(100, 'x'), 600000},
        {"frame stays incomplete", EncodeFrame(1, 4106, QByteArray(50, 'y')).left(30), 100},
        {"header stays incomplete", QByteArray(5, 'h'), 100},
        {"nothing sent", QByteArray(), 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        endpoint.SetFrameTimeoutMs(c.timeoutMs);
        QLocalSocket client;
        client.connectToServer(EndpointPath(QStringLiteral("ep-bad")));
        ASSERT_TRUE(client.waitForConnected(5000));
        QElapsedTimer t;
        t.start();
        if (!c.bytes.isEmpty())
            client.write(c.bytes);
        client.flush();
        EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == QLocalSocket::UnconnectedState; }, 60000));
        EXPECT_GE(t.elapsed(), c.timeoutMs < 1000 ? c.timeoutMs / 2 : 0); // not as soon as the bytes are in
    }
    EXPECT_EQ(handled, 0);
    EXPECT_TRUE(endpoint.IsListening());
}

TEST_F(ChannelEndpoint, ConnectionsShareOneBufferAndAreCounted)
{
    TMessageEndpoint endpoint;
    endpoint.SetFrameTimeoutMs(600000);
    endpoint.SetLimits(300000, 3);
    QList<qsizetype> got;
    endpoint.SetHandler([&](const TFrame &F, const TFrameReply &) { got.append(F.Data.size()); });
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-share")));
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    auto open = [&](const QByteArray &Bytes) {
        QLocalSocket *c = clients.emplace_back(std::make_unique<QLocalSocket>()).get();
        c->connectToServer(EndpointPath(QStringLiteral("ep-share")));
        c->write(Bytes);
        return c;
    };
    auto closes = [](QLocalSocket *C) {
        return QTest::qWaitFor([C] { return C->state() == QLocalSocket::UnconnectedState; }, 20000);
    };
    const QByteArray big = EncodeFrame(1, 4106, QByteArray(200000, 'b'));
    QLocalSocket *first = open(big.left(100000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return endpoint.BufferedBytes() == 200000; }, 20000));
    EXPECT_TRUE(closes(open(big.left(50)))); // another 200000 would pass the limit
    EXPECT_TRUE(closes(open(EncodeFrame(1, 4106, "short")))); // always taken, and answered
    open({}), open({});
    EXPECT_TRUE(closes(open(EncodeFrame(1, 4106, "fourth")))); // refused
    first->write(big.mid(100000));
    EXPECT_TRUE(closes(first));
    EXPECT_EQ(got, (QList<qsizetype> {5, 200000}));
}

TEST_F(ChannelEndpoint, SocketsOfEndedProgramsAreRemoved)
{
    qint64 dead = 4194000;
    while (QFileInfo::exists(QStringLiteral("/proc/%1").arg(dead)))
        --dead;
    auto leftBehind = [](const QString &Name) { // a socket file nobody listens on
        sockaddr_un address {AF_UNIX, {}};
        const QByteArray path = QFile::encodeName(EndpointPath(Name));
        qstrcpy(address.sun_path, path.constData());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        return Name;
    };
    const QString kept[] = {leftBehind(ProgramEndpointName(quint32(::getpid()))), // its process runs
                            leftBehind(QStringLiteral("other-%1").arg(dead))};
    const QString gone = leftBehind(ProgramEndpointName(quint32(dead)));
    EXPECT_EQ(RemoveStaleProgramEndpoints(), 1);
    EXPECT_FALSE(QFileInfo::exists(EndpointPath(gone)));
    for (const QString &name : kept)
        EXPECT_TRUE(QFileInfo::exists(EndpointPath(name))) << qPrintable(name);
}

TEST_F(ChannelEndpoint, ReceiverAssemblesAFrameSentInPieces)
{
    TMessageEndpoint endpoint;
    endpoint.SetFrameTimeoutMs(600000);
    QByteArray got;
    endpoint.SetHandler([&](const TFrame &F, const TFrameReply &) { got = F.Data; });
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-pieces")));

    QByteArray data(300000, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7);
    const QByteArray frame = EncodeFrame(8, 4103, data);
    QLocalSocket client;
    client.connectToServer(EndpointPath(QStringLiteral("ep-pieces")));
    ASSERT_TRUE(client.waitForConnected(1000));
    TFrameDecoder answer;
    QObject::connect(&client, &QLocalSocket::readyRead, [&] { answer.Append(client.readAll()); });
    for (qsizetype pos = 0; pos < frame.size(); pos += 70000) {
        client.write(frame.mid(pos, 70000));
        client.flush();
        QTest::qWait(30);
    }
    TFrame done;
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.Next(done); }, 3000));
    EXPECT_EQ(done.Code, KventoChannel::DoneCode);
    EXPECT_EQ(got, data);
}
