#include "Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

int ShellOpen(const QString &target, const QString &parameters)
{
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp"))
        return QDesktopServices::openUrl(url) ? 42 : 2;
    if (target.isEmpty())
        return 2;
    const QStringList args = QProcess::splitCommand(parameters);
    return QProcess::startDetached(target, args) ? 42 : 2;
}
