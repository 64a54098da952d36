#include "Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kHandedOver = 42;
constexpr int kFailed = 2;

TShellOpenHandler &Handler()
{
    static TShellOpenHandler handler;
    return handler;
}

// The extension of the file name: from its last "." on; empty without one.
QString Extension(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.mid(dot) : QString();
}

// A document: an address with a scheme as it is, anything else a local path.
// A one-letter scheme is a drive letter.
QUrl DocumentUrl(const QString &target)
{
    const QUrl url(target, QUrl::TolerantMode);
    return url.scheme().size() > 1 ? url : QUrl::fromLocalFile(target);
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
    const TLinkTarget kind = LinkTargetKind(target);
    if (kind == TLinkTarget::Program)
        return StartProgram(target, parameters);
    if (target.trimmed().isEmpty())
        return kFailed;
    // A web address is never taken for a local path, even when it does not parse.
    const QUrl url = kind == TLinkTarget::WebAddress ? QUrl(target, QUrl::TolerantMode) : DocumentUrl(target);
    return url.isValid() && QDesktopServices::openUrl(url) ? kHandedOver : kFailed;
}

} // namespace

TLinkTarget LinkTargetKind(const QString &target)
{
    // "https://" as well: a link label that refused every secured site would
    // be of little use today.
    if (target.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        target.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return TLinkTarget::WebAddress;
    if (Extension(target).compare(QLatin1String(".exe"), Qt::CaseInsensitive) == 0)
        return TLinkTarget::Program;
    return TLinkTarget::None;
}

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
