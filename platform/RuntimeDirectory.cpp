#include "RuntimeDirectory.h"

#include <QDir>
#include <QStandardPaths>

QString RuntimeDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}
