#include "RuntimeDirectory.h"

#include <QDir>
#include <QFileInfo>
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

QString RuntimeDirectory()
{
    // Qt checks that its runtime directory belongs to this user and is private.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        return dir;
    }
    return PrivateDirectory(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation),
                            QStringLiteral("kvento-runtime"));
}
