#pragma once

// Shared fixture of the in-process host-link client tests: a private runtime
// directory, recorded process hooks and a host served from a worker thread.
#include "MessageChannel.h"
#include "QuarvisDemon.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <future>

// Plays the host on its own thread. Answer is called on that thread for each
// message; it may write frames through Reply (see ReplyWith).
class TThreadHost : public QThread
{
public:
    using TAnswer = std::function<void(const TFrame &Frame, const TMessageData &Message, const TFrameReply &Reply)>;

    TThreadHost(const QString &Suffix, TAnswer Answer)
        : m_name(QLatin1String(TvrxCustomDemon::HostEndpointPrefix) + Suffix), m_answer(std::move(Answer))
    {
    }
    ~TThreadHost() override
    {
        quit();
        wait();
    }

    bool Begin()
    {
        std::future<bool> ready = m_ready.get_future();
        start();
        return ready.get();
    }

    struct TReceived
    {
        qint32 Code;
        quint32 Sender;
        QByteArray Payload;
    };
    QList<TReceived> Received() const
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }
    QList<qint32> Codes() const
    {
        QList<qint32> codes;
        for (const TReceived &r : Received())
            codes.append(r.Code);
        return codes;
    }

    // A reply with the request's time stamp.
    static void ReplyWith(const TFrameReply &Reply, const TMessageData &Message, const QByteArray &Payload)
    {
        Reply(kvReply, EncodeMessageData(Message.Stamp, Payload));
    }

protected:
    void run() override
    {
        TMessageEndpoint endpoint;
        endpoint.SetHandle(77);
        endpoint.SetHandler([this](const TFrame &Frame, const TFrameReply &Reply) {
            const std::optional<TMessageData> message = DecodeMessageData(Frame.Data);
            if (!message)
                return;
            {
                QMutexLocker lock(&m_mutex);
                m_received.append({qint32(Frame.Code), Frame.Sender, message->Payload});
            }
            if (m_answer)
                m_answer(Frame, *message, Reply);
        });
        const bool ok = endpoint.Listen(m_name);
        m_ready.set_value(ok);
        if (ok)
            exec();
    }

private:
    QString m_name;
    TAnswer m_answer;
    std::promise<bool> m_ready;
    mutable QMutex m_mutex;
    QList<TReceived> m_received;
};

class DemonFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_oldConfig = qgetenv("XDG_CONFIG_DIRS");
        const QString run = m_dir.path() + QStringLiteral("/run");
        ASSERT_TRUE(QDir().mkpath(run));
        QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
        // No machine-wide settings value may steer these tests to another host.
        qputenv("XDG_CONFIG_DIRS", (m_dir.path() + QStringLiteral("/etc")).toLocal8Bit());
        ASSERT_TRUE(QDir().mkpath(m_dir.path() + QStringLiteral("/app")));
        m_program = m_dir.path() + QStringLiteral("/app/prog");

        m_previousEnd = TvrxCustomDemon::SetEndProcessHook([this](int Status) { m_endStatuses.append(Status); });
        m_previousQuit = TvrxCustomDemon::SetQuitApplicationHook([this] { ++m_quits; });
    }

    void TearDown() override
    {
        TvrxCustomDemon::SetEndProcessHook(m_previousEnd);
        TvrxCustomDemon::SetQuitApplicationHook(m_previousQuit);
        qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
        qputenv("XDG_CONFIG_DIRS", m_oldConfig);
    }

    QString AppDir() const { return m_dir.path() + QStringLiteral("/app"); }

    void WriteFile(const QString &Path, const QByteArray &Bytes)
    {
        QFile f(Path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }

    QTemporaryDir m_dir;
    QString m_program;
    QList<int> m_endStatuses;
    int m_quits = 0;

private:
    QByteArray m_oldRuntime;
    QByteArray m_oldConfig;
    TvrxCustomDemon::TEndProcessHook m_previousEnd;
    TvrxCustomDemon::TQuitApplicationHook m_previousQuit;
};
