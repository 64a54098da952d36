// The real program, started as separate processes.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class Program : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_run.isValid());
        QFile::setPermissions(m_run.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_program = qEnvironmentVariable("CAUCHY_BIN_DIR") + QStringLiteral("/cauchy");
        ASSERT_TRUE(QFileInfo(m_program).isExecutable()) << m_program.toStdString();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run.path());
        m_env.insert(QStringLiteral("XDG_CONFIG_DIRS"), m_run.path() + QStringLiteral("/etc"));
    }

    void Start(QProcess &p)
    {
        p.setProcessEnvironment(m_env);
        p.setProgram(m_program);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    bool WaitFor(const std::function<bool()> &condition, int ms)
    {
        for (int waited = 0; waited < ms; waited += 20) {
            if (condition())
                return true;
            QTest::qWait(20);
        }
        return condition();
    }

    QString LockFile() const { return m_run.path() + QStringLiteral("/KV_cauchy.lock"); }

    QTemporaryDir m_run;
    QString m_program;
    QProcessEnvironment m_env;
};

} // namespace

TEST_F(Program, ASecondStartEndsAtOnceAndTheFirstKeepsRunning)
{
    QProcess first;
    Start(first);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(LockFile()); }, 15000)) << "first start never took its lock";

    QProcess second;
    Start(second);
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains(
        QStringLiteral("already running (process %1)").arg(first.processId()).toUtf8()));

    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);

    // Once the first is gone, a new start runs again.
    QProcess third;
    Start(third);
    EXPECT_FALSE(third.waitForFinished(1500));
    EXPECT_EQ(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished(5000);
}

TEST_F(Program, SnapshotsAreRepeatableWithASeedAndShowTheChosenView)
{
    struct Run
    {
        QStringList args;
        QString file;
    };
    const QString dir = m_run.path();
    auto snapshot = [&](const QStringList &args, const QString &file) {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start(m_program, QStringList {"--snapshot", dir + "/" + file} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QImage(dir + "/" + file);
    };
    const QImage a = snapshot({"--seed", "7"}, "a.png");
    const QImage b = snapshot({"--seed", "7"}, "b.png");
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.size(), QSize(752, 384));
    EXPECT_EQ(a, b);
    const QImage means = snapshot({"--seed", "7", "--view", "means", "--samples", "20"}, "m.png");
    EXPECT_NE(means, a);

    QProcess bad;
    bad.setProcessEnvironment(m_env);
    bad.start(m_program, {"--snapshot", dir + "/no/such/dir/x.png"});
    ASSERT_TRUE(bad.waitForFinished(60000));
    EXPECT_NE(bad.exitCode(), 0);
    EXPECT_TRUE(bad.readAllStandardError().contains("cannot write"));

    QProcess unknown;
    unknown.setProcessEnvironment(m_env);
    unknown.start(m_program, {"--frobnicate"});
    ASSERT_TRUE(unknown.waitForFinished(30000));
    EXPECT_EQ(unknown.exitCode(), 2);
    EXPECT_TRUE(unknown.readAllStandardError().contains("--help"));
}

TEST_F(Program, EndsCleanlyOnSignalsAndStartsOverBrokenLocks)
{
    // Signal, what is left where the lock goes, and whether the start warns.
    const std::tuple<int, std::function<void()>, bool> cases[] = {
        {SIGTERM, [] {}, false},
        {SIGINT, [&] { QFile(LockFile()).open(QIODevice::WriteOnly); }, false},
        {SIGTERM, [&] { QDir().mkpath(LockFile() + "/x"); }, true},
    };
    for (const auto &[signal, plant, warns] : cases) {
        SCOPED_TRACE(signal);
        plant();
        QProcess p;
        Start(p);
        const QString endpoint = m_run.path() + QStringLiteral("/kvento-%1").arg(p.processId());
        ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(endpoint); }, 15000));
        EXPECT_FALSE(p.waitForFinished(1500)) << "the start stepped aside";
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(15000));
        EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 0);
        EXPECT_FALSE(QFileInfo::exists(endpoint) || QFileInfo(LockFile()).isFile());
        EXPECT_EQ(p.readAllStandardError().contains("running without the single-instance rule"), warns);
        QDir(LockFile()).removeRecursively();
    }
}

TEST_F(Program, WithoutDisplayOrRuntimeDirectoryItSaysSoInsteadOfAborting)
{
    const QString tooLong = m_run.path() + QLatin1Char('/') + QString(100, QLatin1Char('r'));
    QDir().mkpath(tooLong);
    QFile::setPermissions(tooLong, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString file = m_run.path() + QStringLiteral("/file"), snap = m_run.path() + QStringLiteral("/s.png");
    QFile(file).open(QIODevice::WriteOnly); // nothing can be made below it
    const QStringList noDisplay {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const QStringList elsewhere {"TMPDIR", "HOME", "XDG_CACHE_HOME"};
    // Variables removed, runtime directory, variables pointed below the file, arguments, exit code, message.
    const std::tuple<QStringList, QString, QStringList, QStringList, int, const char *> cases[] = {
        {noDisplay, m_run.path(), {}, {}, 1, "no display found; to get a picture of the window instead, run: cauchy"},
        {{}, tooLong, {}, {"--snapshot", snap}, 0, "running without the host link"},
        {{}, file + "/run", elsewhere, {"--snapshot", snap}, 0, "no private runtime directory"},
    };
    for (const auto &[unset, runtime, blocked, args, exitCode, says] : cases) {
        SCOPED_TRACE(says);
        QProcessEnvironment env = m_env;
        for (const QString &v : unset)
            env.remove(v);
        for (const QString &v : blocked)
            env.insert(v, file);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(m_program, args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, exitCode);
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(err.contains(says) && err.count("cauchy:") == 1) << err.toStdString();
    }
}
