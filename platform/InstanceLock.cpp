#include "InstanceLock.h"
#include "FileGuards.h"
#include "RuntimeDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <limits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What a lock file says about its owner (the lines QLockFile writes).
struct TLockOwner
{
    qint64 Pid = 0;
    QString Host;
    QByteArray MachineId;
    QByteArray BootId;
    dev_t Device = 0; // the file read, for a regular file
    ino_t Inode = 0;
};

enum class TFound {
    Nothing, // no file at the path
    Lock, // a regular file naming an owner
    Garbled, // a regular file that names none (empty, still being written, damaged)
    Directory,
    Other, // a FIFO, socket, device or link: never a lock, never opened
};

// Reads a lock file without ever blocking: only a regular file is opened,
// never through a link, and only its first few KiB are read.
TFound ReadLockFile(const QString &Path, TLockOwner &Owner)
{
    const QByteArray path = QFile::encodeName(Path);
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? TFound::Nothing : TFound::Garbled;
    if (S_ISDIR(st.st_mode))
        return TFound::Directory;
    if (!S_ISREG(st.st_mode))
        return TFound::Other;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? TFound::Nothing : TFound::Garbled;
    char buffer[4096];
    qsizetype size = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        Owner.Device = st.st_dev;
        Owner.Inode = st.st_ino;
        ssize_t n = 0;
        while (size < qsizetype(sizeof buffer) &&
               ((n = ::read(fd, buffer + size, sizeof buffer - size_t(size))) > 0 || (n < 0 && errno == EINTR)))
            size += n > 0 ? n : 0;
    }
    ::close(fd);
    const QList<QByteArray> lines = QByteArray(buffer, size).split('\n');
    bool ok = false;
    Owner.Pid = lines.value(0).toLongLong(&ok);
    if (!ok || Owner.Pid <= 0)
        return TFound::Garbled;
    Owner.Host = QString::fromUtf8(lines.value(2));
    Owner.MachineId = lines.value(3);
    Owner.BootId = lines.value(4);
    return TFound::Lock;
}

bool ProcessRuns(qint64 Pid)
{
    return Pid > 0 && Pid <= std::numeric_limits<pid_t>::max() && (::kill(pid_t(Pid), 0) == 0 || errno == EPERM);
}

// True when the owner named in a lock file may still hold it.
bool OwnerAlive(const TLockOwner &Owner, const QString &Path, const TInstanceLock::TOwnerCheck &Check)
{
    if (Owner.Pid == QCoreApplication::applicationPid())
        return HeldHere().contains(Path);
    const bool sameMachine = (Owner.Host.isEmpty() || Owner.Host == QSysInfo::machineHostName()) &&
        (Owner.MachineId.isEmpty() || Owner.MachineId == QSysInfo::machineUniqueId());
    if (sameMachine) {
        if (!Owner.BootId.isEmpty() && Owner.BootId != QSysInfo::bootUniqueId())
            return false; // written before the last restart
        if (!ProcessRuns(Owner.Pid))
            return false;
    }
    return Check ? Check(Owner.Pid) : true;
}

bool SameFile(int Fd, const QByteArray &Path)
{
    struct stat opened = {}, there = {};
    return ::fstat(Fd, &opened) == 0 && ::lstat(Path.constData(), &there) == 0 && opened.st_dev == there.st_dev &&
        opened.st_ino == there.st_ino;
}

// A lock file judged stale goes only while it is still the file judged and
// no process holds it: a starting instance holds its new file (flock) from
// the moment it made it, so two starts that both saw the same stale lock
// never remove each other's new one. Otherwise it is looked at again, after
// a moment when another start holds it (it is taking it over).
void RemoveStaleLock(const QString &Path, const TLockOwner &Judged)
{
    const QByteArray path = QFile::encodeName(Path);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_dev != Judged.Device || st.st_ino != Judged.Inode) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        QThread::msleep(20);
    else if (SameFile(fd, path))
        ::unlink(path.constData());
    ::close(fd);
}

// Makes the lock file, never opening anything that is there already: with
// O_EXCL even a FIFO at the path is an error, not a wait. -1 when it cannot
// be made (errno tells why; EEXIST when something is or was there).
int CreateLockFile(const QString &Path)
{
    const QByteArray path = QFile::encodeName(Path);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    // Taken by another start that found it empty and stale, or removed by it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !SameFile(fd, path)) {
        ::close(fd);
        errno = EEXIST;
        return -1;
    }
    const QByteArray owner = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
        QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' +
        QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
    qsizetype done = 0;
    while (done < owner.size()) {
        const ssize_t n = ::write(fd, owner.constData() + done, size_t(owner.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    if (done == owner.size())
        return fd;
    const int cause = errno;
    ::unlink(path.constData());
    ::close(fd);
    errno = cause;
    return -1;
}

bool RemoveBrokenLock(const QString &Path, TFound Found)
{
    if (Found == TFound::Directory)
        return QDir().rmdir(Path); // only an empty one: nothing of the user's is deleted
    // A link goes itself; what it points to stays.
    return ::unlink(QFile::encodeName(Path).constData()) == 0 || errno == ENOENT;
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
    ino_t graced = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        TLockOwner owner;
        const TFound found = ReadLockFile(m_filePath, owner);
        if (found == TFound::Lock && OwnerAlive(owner, m_filePath, m_ownerCheck)) {
            m_ownerPid = owner.Pid;
            return TResult::HeldByOther;
        }
        // A starting instance writes its lock right after creating it: look
        // once more at each empty file before calling it broken.
        if (found == TFound::Garbled && owner.Inode != graced) {
            graced = owner.Inode;
            QThread::msleep(50);
            continue;
        }
        if (found == TFound::Lock || found == TFound::Garbled)
            RemoveStaleLock(m_filePath, owner);
        else if (found != TFound::Nothing && !RemoveBrokenLock(m_filePath, found)) {
            m_error = QStringLiteral("%1 is not a lock and cannot be removed").arg(ShownPath(m_filePath));
            return TResult::Failed;
        }
        m_fd = CreateLockFile(m_filePath);
        if (m_fd >= 0) {
            HeldHere().insert(m_filePath);
            return TResult::Acquired;
        }
        if (errno != EEXIST)
            break;
        // Another instance made it in between: look at it again.
    }
    m_error = QStringLiteral("cannot create %1").arg(ShownPath(m_filePath));
    return TResult::Failed;
}

bool TInstanceLock::IsHeld() const
{
    return m_fd >= 0;
}

void TInstanceLock::Release()
{
    if (m_fd < 0)
        return;
    HeldHere().remove(m_filePath);
    // Only the file this object made: one put in its place is another's.
    const QByteArray path = QFile::encodeName(m_filePath);
    struct stat made = {}, there = {};
    if (::fstat(m_fd, &made) == 0 && ::lstat(path.constData(), &there) == 0 && made.st_dev == there.st_dev &&
        made.st_ino == there.st_ino)
        ::unlink(path.constData());
    ::close(m_fd);
    m_fd = -1;
}
