#include "DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString RegularFile(const QString &path)
{
    return QFileInfo(path).isFile() ? QDir::cleanPath(path) : QString();
}

// Only plain relative names: a table or a host never leads outside the folders.
bool IsInsideName(const QString &relative)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative) || relative.contains(QLatin1Char('\\')))
        return false;
    const QStringList parts = relative.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QString());
}

QString Find(const QString &besideProgram, const QString &installed)
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = RegularFile(dir + QLatin1Char('/') + besideProgram);
    return !beside.isEmpty() ? beside : RegularFile(dir + QStringLiteral("/../") + installed);
}

} // namespace

QString FindDataFile(const QString &relative, const char *installedFolder)
{
    if (!IsInsideName(relative))
        return QString();
    return Find(relative, QLatin1String(installedFolder) + QLatin1Char('/') + relative);
}

QString FindDocFile(const QString &page)
{
    if (!IsInsideName(page))
        return QString();
    return Find(QStringLiteral("doc/") + page, QLatin1String(kDocFolder) + QLatin1Char('/') + page);
}
