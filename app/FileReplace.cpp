#include "FileReplace.h"

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
    // A write-protected file is kept, as a save from the window keeps it.
    if (exists && ::access(target.constData(), W_OK) != 0) {
        error = SystemError(errno);
        return false;
    }
    QByteArray temp = TemporaryName(target);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = SystemError(errno);
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, exists ? (old.st_mode & 07777) : (0666 & ~mask));
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
