#include "InstanceLock.h"
#include "RuntimeDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>
#include <QThread>

TInstanceLock::TInstanceLock(const QString &Name) : m_name(Name)
{
    QString file = Name;
    file.replace(QLatin1Char('/'), QLatin1Char('_')); // never leave the directory
    const QString dir = RuntimeDirectory();
    // Without a private directory there is no lock file (TryAcquire fails).
    if (!dir.isEmpty())
        m_filePath = dir + QLatin1Char('/') + file + QStringLiteral(".lock");
}

TInstanceLock::~TInstanceLock()
{
    Release();
}

QString TInstanceLock::NameForProgram(const QString &ProgramPath)
{
    QString name = QStringLiteral("KV_") + QFileInfo(ProgramPath).fileName();
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return name;
}

QString TInstanceLock::FilePath() const
{
    return m_filePath;
}

namespace {

// Lock files held by this process, so that a file naming this process but
// left by an earlier one of the same id (after a restart) is seen as stale.
QSet<QString> &HeldHere()
{
    static QSet<QString> paths;
    return paths;
}

// The running owner of a lock file, or 0 when none can be shown: an empty or
// garbled file, a directory, a file that cannot be read.
qint64 LiveOwner(QLockFile &Lock, const QString &Path)
{
    qint64 pid = 0;
    QString host, app;
    if (!Lock.getLockInfo(&pid, &host, &app) || pid <= 0)
        return 0;
    if (pid == QCoreApplication::applicationPid() && !HeldHere().contains(Path))
        return 0;
    // Otherwise QLockFile has already found that the process named runs.
    return pid;
}

bool RemoveBrokenLock(const QString &Path)
{
    if (QFileInfo(Path).isDir())
        return QDir().rmdir(Path); // only an empty one: nothing of the user's is deleted
    return QFile::remove(Path) || !QFileInfo::exists(Path);
}

} // namespace

TInstanceLock::TResult TInstanceLock::TryAcquire()
{
    if (IsHeld())
        return TResult::Acquired;
    m_ownerPid = 0;
    m_error.clear();
    if (m_filePath.isEmpty()) {
        m_error = QStringLiteral("no private runtime directory");
        return TResult::Failed;
    }
    auto lock = std::make_unique<QLockFile>(m_filePath);
    // Only a dead owner makes a lock stale; a long-running instance keeps it.
    lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            HeldHere().insert(m_filePath);
            return TResult::Acquired;
        }
        if (lock->error() != QLockFile::LockFailedError)
            break;
        if ((m_ownerPid = LiveOwner(*lock, m_filePath)) != 0)
            return TResult::HeldByOther;
        // A starting instance writes its lock right after creating it: look
        // once more before calling an empty file broken.
        if (attempt == 0) {
            QThread::msleep(50);
            continue;
        }
        if (!RemoveBrokenLock(m_filePath)) {
            m_error = QStringLiteral("%1 is not a lock and cannot be removed").arg(m_filePath);
            return TResult::Failed;
        }
    }
    if (m_error.isEmpty())
        m_error = QStringLiteral("cannot create %1").arg(m_filePath);
    return TResult::Failed;
}

bool TInstanceLock::IsHeld() const
{
    return m_lock && m_lock->isLocked();
}

void TInstanceLock::Release()
{
    if (m_lock) {
        HeldHere().remove(m_filePath);
        m_lock->unlock();
        m_lock.reset();
    }
}
