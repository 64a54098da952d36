#include "InstanceLock.h"
#include "RuntimeDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

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

TInstanceLock::TResult TInstanceLock::TryAcquire()
{
    if (IsHeld())
        return TResult::Acquired;
    if (m_filePath.isEmpty())
        return TResult::Failed;
    auto lock = std::make_unique<QLockFile>(m_filePath);
    // Only a dead owner makes a lock stale; a long-running instance keeps it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return TResult::Acquired;
    }
    return lock->error() == QLockFile::LockFailedError ? TResult::HeldByOther : TResult::Failed;
}

bool TInstanceLock::IsHeld() const
{
    return m_lock && m_lock->isLocked();
}

void TInstanceLock::Release()
{
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}
