#include "RuntimeDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

#include <unistd.h>

QString PrivateDirectory(const QString &base, const QString &name)
{
    if (base.isEmpty())
        return QString();
    const QString path = base + QLatin1Char('/') + name;
    QDir().mkpath(path);
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink() || info.ownerId() != ::geteuid())
        return QString();
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if ((info.permissions() & ~(owner | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser)) &&
        !QFile::setPermissions(path, owner))
        return QString();
    return path;
}

namespace {

// Qt's runtime directory, or else the base for a private one in the cache.
struct TLocated
{
    QString Runtime;
    QString CacheBase;
};

// Looked up once for each setting of the variables Qt follows, so that its
// warnings about a runtime directory it cannot use are printed once, not at
// every use.
TLocated Locate()
{
    static QMutex mutex;
    static QHash<QByteArray, TLocated> located;
    QByteArray key = QStandardPaths::isTestModeEnabled() ? "test" : "";
    for (const char *variable : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME", "HOME"})
        key += '\0' + qgetenv(variable);
    const QMutexLocker lock(&mutex);
    if (const auto it = located.constFind(key); it != located.constEnd())
        return *it;
    // Qt checks that its runtime directory belongs to this user and is private.
    TLocated where {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), QString()};
    if (where.Runtime.isEmpty())
        where.CacheBase = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    located.insert(key, where);
    return where;
}

} // namespace

QString RuntimeDirectory()
{
    const TLocated where = Locate();
    QString dir = where.Runtime;
    if (!dir.isEmpty())
        QDir().mkpath(dir);
    else
        dir = PrivateDirectory(where.CacheBase, QStringLiteral("kvento-runtime"));
    // A directory where nothing can be made (a read-only file system) is none.
    if (dir.isEmpty() || ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) != 0)
        return QString();
    return dir;
}
