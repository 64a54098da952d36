// The message channel over real local sockets, inside this process: the
// sender runs on a worker thread while the main thread serves the endpoint.
#include "MessageChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <future>
#include <sys/stat.h>

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
        const TSendRecord rec = OffThread([] { return SendAndRecord(QStringLiteral("raw"), 4106, "k", 400); });
        EXPECT_EQ(rec.Result, c.expected);
        EXPECT_TRUE(rec.Frames.isEmpty());
        if (c.waitsForTimeout)
            EXPECT_GE(rec.Ms, 380);
        else
            EXPECT_LT(rec.Ms, 380);
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
        timer.start(50);
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
    constexpr int timeout = 400;
    const TSendRecord rec = OffThread([] { return SendAndRecord(QStringLiteral("trickle"), 4106, "k", timeout); });
    // The whole exchange is bounded by the one timeout, not by the gap between frames.
    EXPECT_EQ(rec.Result, TSendResult::TimedOut);
    EXPECT_GE(rec.Ms, timeout - 50);
    EXPECT_LT(rec.Ms, 2 * timeout);
    EXPECT_GT(rec.Frames.size(), 2);
}

TEST_F(ChannelEndpoint, ReceiverDropsBadConnections)
{
    TMessageEndpoint endpoint;
    endpoint.SetFrameTimeoutMs(300);
    int handled = 0;
    endpoint.SetHandler([&](const TFrame &, const TFrameReply &) { ++handled; });
    ASSERT_TRUE(endpoint.Listen(QStringLiteral("ep-bad")));

    struct Case
    {
        const char *name;
        QByteArray bytes;
        bool closesBeforeTimeout;
    };
    QByteArray huge = EncodeFrame(1, 4106, QByteArray());
    huge[11] = 0x04; // 64 MiB
    huge[8] = 1; // ... and one byte
    const Case cases[] = {
        {"byte count over 64 MiB", huge + QByteArray(100, 'x'), true},
        {"frame stays incomplete", EncodeFrame(1, 4106, QByteArray(50, 'y')).left(30), false},
        {"header stays incomplete", QByteArray(5, 'h'), false},
        {"nothing sent", QByteArray(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QLocalSocket client;
        client.connectToServer(EndpointPath(QStringLiteral("ep-bad")));
        ASSERT_TRUE(client.waitForConnected(1000));
        QElapsedTimer t;
        t.start();
        if (!c.bytes.isEmpty())
            client.write(c.bytes);
        client.flush();
        EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == QLocalSocket::UnconnectedState; }, 3000));
        if (c.closesBeforeTimeout)
            EXPECT_LT(t.elapsed(), 250);
        else
            EXPECT_GE(t.elapsed(), 250);
    }
    EXPECT_EQ(handled, 0);
    EXPECT_TRUE(endpoint.IsListening());
}

TEST_F(ChannelEndpoint, ReceiverAssemblesAFrameSentInPieces)
{
    TMessageEndpoint endpoint;
    endpoint.SetFrameTimeoutMs(2000);
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
