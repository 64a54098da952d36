#include "SystemSettings.h"
#include "FileGuards.h"
#include "RuntimeDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

const QString kOrganization = QStringLiteral("Ostrel");
const QString kApplication = QStringLiteral("quarvis");
// More than any settings file of the host holds.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

// The files QSettings reads for the system scope, in its order: the
// application's file, then the organisation's, in every configuration
// directory but the user's own.
QStringList SettingsFiles()
{
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    if (!dirs.isEmpty())
        dirs.removeFirst();
    QStringList files;
    for (const QString &name : {kOrganization + QLatin1Char('/') + kApplication + QStringLiteral(".ini"),
                                kOrganization + QStringLiteral(".ini")})
        for (const QString &dir : std::as_const(dirs))
            files << dir + QLatin1Char('/') + name;
    return files;
}

// The value in one INI file, read from a copy in memory: QSettings opens the
// file by its name, and the name may stand for something else by then.
std::optional<QString> ValueIn(const QString &File, const QString &Key)
{
    const std::optional<QByteArray> bytes = ReadRegularFile(QFile::encodeName(File), kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    const int fd = ::memfd_create("settings", MFD_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QString> value;
    if (::write(fd, bytes->constData(), size_t(bytes->size())) == bytes->size()) {
        const QSettings settings(QStringLiteral("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        const QVariant v = settings.value(Key);
        // An unquoted INI value with commas reads as a list; the value is one string.
        if (v.typeId() == QMetaType::QStringList)
            value = v.toStringList().join(QLatin1Char(','));
        else if (v.isValid())
            value = v.toString();
    }
    ::close(fd);
    return value;
}

// As QSettings looks: the first file that has the key.
QString ReadNow(const QString &Key)
{
    for (const QString &file : SettingsFiles())
        if (std::optional<QString> value = ValueIn(file, Key))
            return *value;
    return QString();
}

struct TPendingRead
{
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
    QString Value;
};

} // namespace

QString ReadHostSystemSetting(const QString &Key, int DeadlineMs)
{
    // Read on a thread of its own, so that a file that blocks (on a hung
    // network mount) cannot hold the start; after the deadline the thread is
    // left to itself.
    auto pending = std::make_shared<TPendingRead>();
    try {
        std::thread([pending, Key] {
            QString value = ReadNow(Key);
            const std::lock_guard lock(pending->Mutex);
            pending->Value = std::move(value);
            pending->Finished = true;
            pending->Done.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return ReadNow(Key); // no thread to spare
    }
    std::unique_lock lock(pending->Mutex);
    pending->Done.wait_for(lock, std::chrono::milliseconds(DeadlineMs), [&] { return pending->Finished; });
    return pending->Finished ? pending->Value : QString();
}

QString ReadViewerHandle()
{
    return ReadHostSystemSetting(QStringLiteral("demon/ViewerHandle"));
}

namespace {

constexpr QSettings::Format kFormats[] = {QSettings::NativeFormat, QSettings::IniFormat};
const QString kQtFile = QStringLiteral("QtProject.conf");

void PointQtSettingsAt(const QString &User, const QString &System)
{
    for (const QSettings::Format format : kFormats) {
        QSettings::setPath(format, QSettings::UserScope, User);
        QSettings::setPath(format, QSettings::SystemScope, System);
    }
}

const QString kCopyPrefix = QStringLiteral("qt-settings-");

// Copies of processes that ended without removing theirs (killed, or ended
// by a signal while writing).
void RemoveLeftCopies(const QString &Base)
{
    for (const QString &name : QDir(Base).entryList({kCopyPrefix + QLatin1Char('*')}, QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = name.mid(kCopyPrefix.size()).toLongLong(&ok);
        const bool runs = ok && pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
        if (ok && (!runs || pid == QCoreApplication::applicationPid()))
            QDir(Base + QLatin1Char('/') + name).removeRecursively();
    }
}

} // namespace

TPrivateQtSettings::TPrivateQtSettings()
    : m_file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + kQtFile),
      m_read(ReadRegularFile(QFile::encodeName(m_file), kMaxFileBytes))
{
    const QString runtime = RuntimeDirectory();
    if (!runtime.isEmpty()) {
        RemoveLeftCopies(runtime);
        m_dir = runtime + QLatin1Char('/') + kCopyPrefix + QString::number(QCoreApplication::applicationPid());
    }
    const QString user = m_dir + QStringLiteral("/user"), system = m_dir + QStringLiteral("/system");
    QFile copy(user + QLatin1Char('/') + kQtFile);
    if (m_dir.isEmpty() || !QDir().mkpath(user) || !QDir().mkpath(system) ||
        (m_read && !(copy.open(QIODevice::WriteOnly) && copy.write(*m_read) == m_read->size() && copy.flush()))) {
        if (!m_dir.isEmpty())
            QDir(m_dir).removeRecursively();
        m_dir.clear();
        // Nowhere to keep a copy: no state at all, rather than a wait.
        PointQtSettingsAt(QStringLiteral("/dev/null/none"), QStringLiteral("/dev/null/none"));
        return;
    }
    PointQtSettingsAt(user, system);
}

TPrivateQtSettings::~TPrivateQtSettings()
{
    if (m_dir.isEmpty())
        return;
    const std::optional<QByteArray> now =
        ReadRegularFile(QFile::encodeName(m_dir + QStringLiteral("/user/") + kQtFile), kMaxFileBytes);
    QDir(m_dir).removeRecursively();
    struct stat st = {};
    const bool missing = ::lstat(QFile::encodeName(m_file).constData(), &st) != 0 && errno == ENOENT;
    // Written back only over the regular file it was made from, or where there was none.
    if (!now || now == m_read || !(m_read || missing))
        return;
    QSaveFile file(m_file);
    if (file.open(QIODevice::WriteOnly) && file.write(*now) == now->size())
        file.commit();
}
