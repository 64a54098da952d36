#include "Kesl_DateTimePattern_p.h"
#include "Kesl_ScaleTicks.h"
#include "Kesl_ScaleTicksSink.h"

#include <cmath>

namespace {

// Beyond this many days either way the labels have no meaning.
constexpr double kMaxDays = 1e8;

QString Pad(qint64 v, int width)
{
    return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

} // namespace

QString TimeLabel(double Value, bool WithMilliseconds)
{
    if (!std::isfinite(Value))
        return {};
    // Whole milliseconds first, then the split, so that a rounded fraction
    // carries into the seconds instead of showing 1000. Halves go to the even
    // neighbour (0.0625 s reads .062).
    const double s = std::fmin(std::fabs(Value), 9e15);
    const qint64 total = qint64(std::nearbyint(s * 1000.0));
    const qint64 ms = total % 1000;
    const qint64 secs = total / 1000;
    QString text = Value >= 0 ? QStringLiteral(" ") : QStringLiteral("-");
    text += Pad(secs / 3600, 2) + QLatin1Char(':') + Pad(secs / 60 % 60, 2) + QLatin1Char(':') + Pad(secs % 60, 2);
    if (WithMilliseconds)
        text += QLatin1Char('.') + Pad(ms, 3);
    return text;
}

QString FormatDateTimeValue(const QString &Pattern, double Value, bool Hundredths)
{
    if (std::fabs(Value) < 1e-8)
        Value = 0;
    // The narrow letter set; a negative value is read as the day containing it.
    static const double pastMaxDays = std::nextafter(kMaxDays, 2 * kMaxDays);
    const TDateTimePatternOptions options {
        .ContainingDay = true, .Hundredths = Hundredths, .First = -kMaxDays, .End = pastMaxDays};
    return FormatDateTimePattern(Pattern, Value, options).value_or(QString());
}

QString DateLinePattern(bool MonthName, TYearLength YearLength, TDateOrder DateOrder, QChar Separator)
{
    const QString m = MonthName ? QStringLiteral("mmm") : QStringLiteral("mm");
    const QString d = QStringLiteral("dd");
    const QString s = QuotedSeparator(Separator);
    QString y;
    if (YearLength == ylYY)
        y = QStringLiteral("yy");
    else if (YearLength == ylYYYY)
        y = QStringLiteral("yyyy");
    const bool withYear = !y.isEmpty();
    switch (DateOrder) {
    case doMMDDYY: return withYear ? m + s + d + s + y : m + s + d;
    case doYYMMDD: return withYear ? y + s + m + s + d : m + s + d;
    case doDDMMYY:
    default: return withYear ? d + s + m + s + y : d + s + m;
    }
}

QString QuotedSeparator(QChar c)
{
    // A double quote as separator cannot sit between double quotes.
    const QChar q = c == QLatin1Char('"') ? QLatin1Char('\'') : QLatin1Char('"');
    return QString(q) + c + q;
}
