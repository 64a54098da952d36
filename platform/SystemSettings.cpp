#include "SystemSettings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace {

const QString kOrganization = QStringLiteral("Ostrel");
const QString kApplication = QStringLiteral("quarvis");
// More than any settings file of the host holds.
constexpr off_t kMaxFileBytes = 1024 * 1024;

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

// QSettings opens and reads every file whole: a FIFO or a device would block
// it or never end, a huge file would fill the memory.
bool AllFilesAreSafe()
{
    for (const QString &file : SettingsFiles()) {
        struct stat st = {};
        if (::stat(QFile::encodeName(file).constData(), &st) == 0 &&
            (!S_ISREG(st.st_mode) || st.st_size > kMaxFileBytes))
            return false;
    }
    return true;
}

QString ReadNow(const QString &Key)
{
    if (!AllFilesAreSafe())
        return QString();
    const QSettings settings(QSettings::IniFormat, QSettings::SystemScope, kOrganization, kApplication);
    const QVariant value = settings.value(Key);
    // An unquoted INI value with commas reads as a list; the value is one string.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
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
    // Read on a thread of its own, so that a file that blocks (swapped for a
    // FIFO after the check, on a hung network mount) cannot hold the start;
    // after the deadline the thread is left to itself.
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
