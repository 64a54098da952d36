#include "FileGuards.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> ReadRegularFile(const QByteArray &Path, qint64 MaxBytes, bool FollowLinks)
{
    // Opening a FIFO without O_NONBLOCK waits for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (FollowLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(Path.constData(), flags);
    if (fd < 0)
        return std::nullopt;
    struct stat st = {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxBytes) {
        QByteArray read(qsizetype(MaxBytes) + 1, Qt::Uninitialized);
        qsizetype size = 0;
        while (size < read.size()) {
            const ssize_t n = ::read(fd, read.data() + size, size_t(read.size() - size));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            size += n;
        }
        // A file that grew past the limit while it was read counts as too large.
        if (size <= MaxBytes)
            bytes = read.left(size);
    }
    ::close(fd);
    return bytes;
}

QString ShownPath(const QString &Path)
{
    constexpr qsizetype kKept = 40; // characters kept at each end
    if (Path.size() <= 2 * kKept + 1)
        return Path;
    // Never half of a character that takes two UTF-16 units.
    const qsizetype head = Path.at(kKept - 1).isHighSurrogate() ? kKept - 1 : kKept;
    const qsizetype tail = Path.at(Path.size() - kKept).isLowSurrogate() ? kKept - 1 : kKept;
    return Path.left(head) + QChar(0x2026) + Path.right(tail);
}
