// The per-user instance lock: naming, holding, releasing and taking over the
// lock of a process that no longer runs.
#include "InstanceLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

namespace {

class InstanceLock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_old = qgetenv("XDG_RUNTIME_DIR");
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", m_old); }

    // A lock file as another process would have left it.
    void Plant(const QString &File, qint64 Pid, const QString &AppName, const QDateTime &Modified)
    {
        QFile f(File);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("%1\n%2\n%3\n").arg(Pid).arg(AppName, QSysInfo::machineHostName()).toUtf8());
        f.close();
        ASSERT_TRUE(f.open(QIODevice::Append));
        ASSERT_TRUE(f.setFileTime(Modified, QFileDevice::FileModificationTime));
    }

    QTemporaryDir m_dir;
    QByteArray m_old;
};

} // namespace

TEST_F(InstanceLock, NameFromTheProgramPath)
{
    const struct
    {
        const char *path;
        const char *name;
    } cases[] = {
        {"/opt/sim/bin/cauchy", "KV_cauchy"},
        {"cauchy.exe", "KV_cauchy.exe"},
        {"/opt/odd\\name", "KV_odd_name"},
        {"/opt/sim/", "KV_"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TInstanceLock::NameForProgram(QString::fromUtf8(c.path)), QString::fromUtf8(c.name)) << c.path;
}

TEST_F(InstanceLock, FileLivesInTheRuntimeDirectory)
{
    TInstanceLock lock(QStringLiteral("KV_cauchy"));
    EXPECT_EQ(lock.FilePath(), m_dir.path() + QStringLiteral("/KV_cauchy.lock"));
    TInstanceLock sneaky(QStringLiteral("KV_../../etc/x"));
    EXPECT_EQ(QFileInfo(sneaky.FilePath()).absolutePath(), m_dir.path());
}

TEST_F(InstanceLock, HeldUntilReleased)
{
    auto first = std::make_unique<TInstanceLock>(QStringLiteral("KV_a"));
    EXPECT_FALSE(first->IsHeld());
    ASSERT_EQ(first->TryAcquire(), TInstanceLock::TResult::Acquired);
    EXPECT_TRUE(first->IsHeld());
    EXPECT_TRUE(QFile::exists(first->FilePath()));
    EXPECT_EQ(first->TryAcquire(), TInstanceLock::TResult::Acquired); // asking again keeps it

    TInstanceLock second(QStringLiteral("KV_a"));
    EXPECT_EQ(second.TryAcquire(), TInstanceLock::TResult::HeldByOther);
    EXPECT_FALSE(second.IsHeld());
    TInstanceLock unrelated(QStringLiteral("KV_b"));
    EXPECT_EQ(unrelated.TryAcquire(), TInstanceLock::TResult::Acquired);

    first->Release();
    EXPECT_FALSE(QFile::exists(first->FilePath()));
    EXPECT_EQ(second.TryAcquire(), TInstanceLock::TResult::Acquired);
    second.Release();

    ASSERT_EQ(first->TryAcquire(), TInstanceLock::TResult::Acquired);
    first.reset(); // destruction releases
    EXPECT_EQ(second.TryAcquire(), TInstanceLock::TResult::Acquired);
}

TEST_F(InstanceLock, LockOfAnEndedProcessIsTakenOver)
{
    qint64 deadPid = 4194000;
    while (QFileInfo::exists(QStringLiteral("/proc/%1").arg(deadPid)))
        --deadPid;
    TInstanceLock lock(QStringLiteral("KV_crashed"));
    // Even a fresh lock file goes when its process is gone.
    Plant(lock.FilePath(), deadPid, QStringLiteral("cauchy"), QDateTime::currentDateTime());
    EXPECT_EQ(lock.TryAcquire(), TInstanceLock::TResult::Acquired);
}

TEST_F(InstanceLock, LockOfALiveProcessNeverGoesStaleByAge)
{
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(sleeper.waitForStarted(5000));
    TInstanceLock lock(QStringLiteral("KV_longrunning"));
    Plant(lock.FilePath(), sleeper.processId(), QStringLiteral("sleep"), QDateTime::currentDateTime().addDays(-2));
    EXPECT_EQ(lock.TryAcquire(), TInstanceLock::TResult::HeldByOther);
    EXPECT_EQ(lock.OwnerPid(), sleeper.processId());
    sleeper.kill();
    ASSERT_TRUE(sleeper.waitForFinished(5000));
    EXPECT_EQ(lock.TryAcquire(), TInstanceLock::TResult::Acquired);
}

TEST_F(InstanceLock, ALockWhoseOwnerCannotBeShownRunningIsTakenOver)
{
    const QString path = m_dir.path() + QStringLiteral("/KV_broken.lock");
    auto write = [&](const QByteArray &Bytes) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(Bytes);
    };
    const std::pair<std::function<void()>, bool> cases[] = {
        {[&] { write({}); }, true}, // a crash between creating and writing it
        {[&] { write(QByteArray(300, '\xa7')); }, true},
        {[&] { QDir().mkdir(path); }, true},
        {[&] { ::mkfifo(QFile::encodeName(path).constData(), 0600); }, true}, // opening it would block
        {[&] { ::mkfifo(QFile::encodeName(path + "f").constData(), 0600), QFile::link(path + "f", path); }, true},
        {[&] { Plant(path, QCoreApplication::applicationPid(), "x", QDateTime::currentDateTime()); }, true},
        {[&] { QDir().mkpath(path + QStringLiteral("/keep")); }, false}, // cannot be removed
    };
    for (const auto &[plant, taken] : cases) {
        SCOPED_TRACE(&taken - &cases[0].second);
        plant();
        TInstanceLock lock(QStringLiteral("KV_broken"));
        EXPECT_EQ(lock.TryAcquire(), taken ? TInstanceLock::TResult::Acquired : TInstanceLock::TResult::Failed);
        EXPECT_EQ(lock.ErrorString().isEmpty(), taken);
        lock.Release();
        QDir(path).removeRecursively();
    }
}

TEST_F(InstanceLock, AFifoThatAppearsWhileTheLockIsTakenIsNeverOpened)
{
    TInstanceLock lock(QStringLiteral("KV_race"));
    const QByteArray path = QFile::encodeName(lock.FilePath());
    std::atomic<bool> stop {false};
    std::thread planter([&] {
        while (!stop)
            ::mkfifo(path.constData(), 0600);
    });
    for (int i = 0; i < 200; ++i) {
        EXPECT_NE(lock.TryAcquire(), TInstanceLock::TResult::HeldByOther);
        lock.Release();
    }
    stop = true;
    planter.join();
}
