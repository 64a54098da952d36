#include "FileReplace.h"

#include "Application.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemError(int Error)
{
    return QString::fromLocal8Bit(std::strerror(Error));
}

bool WriteAll(int Fd, const QByteArray &Bytes)
{
    for (qsizetype done = 0; done < Bytes.size();) {
        const ssize_t n = ::write(Fd, Bytes.constData() + done, size_t(Bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n == 0 ? EIO : errno; // a write that takes nothing would never end
            return false;
        }
        done += n;
    }
    return true;
}

// A sibling of Target to write first: the name with a random suffix, or a
// short hidden name when that suffix would make the name too long.
QByteArray TemporaryName(const QByteArray &Target)
{
    constexpr qsizetype kMaxName = NAME_MAX;
    const qsizetype slash = Target.lastIndexOf('/');
    if (Target.size() - slash - 1 + 7 <= kMaxName)
        return Target + ".XXXXXX";
    return Target.left(slash + 1) + ".cauchy-XXXXXX";
}

// The rename is kept across a crash only once its folder is written out.
void SyncFolderOf(const QByteArray &File)
{
    const qsizetype slash = File.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".")
        : slash == 0                    ? QByteArrayLiteral("/")
                                        : File.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Why an existing Target must stay as it is; empty when it may be replaced.
// The file's mode decides, for root as for anyone: a file nobody may write
// is refused, though root could open it. A file of several hard links is
// refused too: replacing it would part it from its other names, and writing
// it in place would lose the old contents when the write fails.
QString Refusal(const QByteArray &Target, const struct stat &Old)
{
    if ((Old.st_mode & 0222) == 0)
        return SystemError(EACCES);
    if (::faccessat(AT_FDCWD, Target.constData(), W_OK, AT_EACCESS) != 0)
        return SystemError(errno);
    if (Old.st_nlink > 1)
        return QStringLiteral("it has %1 hard links, which replacing it would part").arg(Old.st_nlink);
    return {};
}

// The new file gets the old one's owner, group and mode as far as this user
// may give them; a new one the mode the umask leaves.
void TakeOwnerAndMode(int Fd, const struct stat *Old)
{
    if (!Old) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(Fd, 0666 & ~mask);
        return;
    }
    // The owner only root may give; the group any member of it. A set-id bit
    // stays only with the owner or group it names.
    const bool owner = ::fchown(Fd, Old->st_uid, Old->st_gid) == 0;
    const bool group = owner || ::fchown(Fd, uid_t(-1), Old->st_gid) == 0;
    ::fchmod(Fd, Old->st_mode & (owner ? 07777 : group ? 02777 : 0777));
}

} // namespace

bool ReplaceFile(const QByteArray &File, const QByteArray &Bytes, QString &error)
{
    QByteArray target = File;
    if (char *real = ::realpath(File.constData(), nullptr)) {
        target = real; // a link keeps pointing at the picture
        std::free(real);
    }
    struct stat old = {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = QStringLiteral("not a regular file");
        return false;
    }
    if (const QString refusal = exists ? Refusal(target, old) : QString(); !refusal.isEmpty()) {
        error = refusal;
        return false;
    }
    // From the temporary file to the rename, a signal waits.
    const TTerminationDeferred deferred;
    QByteArray temp = TemporaryName(target);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    TakeOwnerAndMode(fd, exists ? &old : nullptr);
    bool ok = WriteAll(fd, Bytes) && ::fsync(fd) == 0;
    int cause = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        cause = errno;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        cause = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        error = SystemError(cause);
        return false;
    }
    SyncFolderOf(target);
    return true;
}
