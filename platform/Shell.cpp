#include "Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {

constexpr int kHandedOver = 42;
constexpr int kFailed = 2;

TShellOpenHandler &Handler()
{
    static TShellOpenHandler handler;
    return handler;
}

// "scheme://..." or "mailto:...": never a program file name. A "file://"
// address is a document for its default viewer as well.
bool IsWebAddress(const QString &target)
{
    static const QRegularExpression web(QStringLiteral("^(https?|ftp|file)://|^mailto:"),
                                        QRegularExpression::CaseInsensitiveOption);
    return web.match(target).hasMatch();
}

int StartProgram(const QString &program, const QString &parameters)
{
    if (program.trimmed().isEmpty())
        return kFailed;
    const QStringList args = QProcess::splitCommand(parameters);
    return QProcess::startDetached(program, args) ? kHandedOver : kFailed;
}

int RealShellOpen(const QString &verb, const QString &target, const QString &parameters)
{
    if (verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
        return StartProgram(target, parameters);
    if (!verb.isEmpty())
        return kFailed;
    if (IsWebAddress(target)) {
        // A web address is never run as a program, even when it does not parse.
        const QUrl url(target, QUrl::TolerantMode);
        return url.isValid() && QDesktopServices::openUrl(url) ? kHandedOver : kFailed;
    }
    return StartProgram(target, parameters);
}

} // namespace

int ShellOpen(const QString &target, const QString &parameters, const QString &verb)
{
    if (const TShellOpenHandler &h = Handler())
        return h(verb, target, parameters);
    return RealShellOpen(verb, target, parameters);
}

TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler)
{
    TShellOpenHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}
