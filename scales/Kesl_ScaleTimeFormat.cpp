#include "Kesl_ScaleTicks.h"
#include "Kesl_ScaleTicksSink.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Julian day of 30 December 1899, day 0 of the date/time values.
constexpr qint64 kJulianDayZero = 2415019;
// Beyond this many days either way QDate and the labels have no meaning.
constexpr double kMaxDays = 1e8;

QString Pad(qint64 v, int width)
{
    return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

bool StartsWith(const QString &p, qsizetype i, QLatin1StringView word)
{
    return QStringView(p).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Whether am/pm occurs outside the literal parts of the pattern.
bool HasAmPm(const QString &p)
{
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (StartsWith(p, i, QLatin1StringView("am/pm"))) {
            return true;
        }
    }
    return false;
}

QString Quoted(QChar c)
{
    // A double quote as separator cannot sit between double quotes.
    const QChar q = c == QLatin1Char('"') ? QLatin1Char('\'') : QLatin1Char('"');
    return QString(q) + c + q;
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

namespace {

// The parts of a date and time a pattern can show.
struct TDateTimeFields
{
    QDate date;
    int hour, clockHour, minute, second;
    QString fraction;
};

// The pattern with its fields filled in and its quoted parts as they are.
QString RenderDateTime(const QString &p, const TDateTimeFields &f)
{
    QString out;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                end = p.size();
            out += p.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (StartsWith(p, i, QLatin1StringView("am/pm"))) {
            out += f.hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            i += 5;
        } else if (p.mid(i, 4) == QLatin1StringView("yyyy")) {
            out += Pad(f.date.year(), 4);
            i += 4;
        } else if (p.mid(i, 2) == QLatin1StringView("yy")) {
            out += Pad(f.date.year() % 100, 2);
            i += 2;
        } else if (p.mid(i, 3) == QLatin1StringView("mmm")) {
            out += QLocale().monthName(f.date.month(), QLocale::ShortFormat);
            i += 3;
        } else if (p.mid(i, 2) == QLatin1StringView("mm")) {
            out += Pad(f.date.month(), 2);
            i += 2;
        } else if (p.mid(i, 2) == QLatin1StringView("dd")) {
            out += Pad(f.date.day(), 2);
            i += 2;
        } else if (p.mid(i, 2) == QLatin1StringView("hh")) {
            out += Pad(f.clockHour, 2);
            i += 2;
        } else if (c == QLatin1Char('h')) {
            out += QString::number(f.clockHour);
            i += 1;
        } else if (p.mid(i, 2) == QLatin1StringView("nn")) {
            out += Pad(f.minute, 2);
            i += 2;
        } else if (p.mid(i, 2) == QLatin1StringView("ss")) {
            out += Pad(f.second, 2);
            i += 2;
        } else if (p.mid(i, 2) == QLatin1StringView("zz")) {
            out += f.fraction;
            i += 2;
        } else {
            out += c;
            i += 1;
        }
    }
    return out;
}

} // namespace

QString FormatDateTimeValue(const QString &Pattern, double Value, bool Hundredths)
{
    if (!std::isfinite(Value) || std::fabs(Value) > kMaxDays)
        return {};
    if (std::fabs(Value) < 1e-8)
        Value = 0;
    // The day is the one that contains the value, also for negative values;
    // the time of day is rounded within it and never spills into the next
    // day, so date and time of one label always agree.
    const double day = std::floor(Value);
    const qint64 unitsPerDay = Hundredths ? 8640000 : 86400000;
    qint64 t = std::llround((Value - day) * double(unitsPerDay));
    t = std::clamp<qint64>(t, 0, unitsPerDay - 1);
    const qint64 ms = Hundredths ? t * 10 : t;
    const int hour = int(ms / 3600000);
    const int minute = int(ms / 60000 % 60);
    const int second = int(ms / 1000 % 60);
    const QString fraction = Hundredths ? Pad(t % 100, 2) : Pad(ms % 1000, 2);
    const QDate date = QDate::fromJulianDay(qint64(day) + kJulianDayZero);
    const bool twelve = HasAmPm(Pattern);
    const int clockHour = twelve ? (hour % 12 == 0 ? 12 : hour % 12) : hour;

    return RenderDateTime(Pattern, {date, hour, clockHour, minute, second, fraction});
}

QString DateLinePattern(bool MonthName, TYearLength YearLength, TDateOrder DateOrder, QChar Separator)
{
    const QString m = MonthName ? QStringLiteral("mmm") : QStringLiteral("mm");
    const QString d = QStringLiteral("dd");
    const QString s = Quoted(Separator);
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

// Quoting a separator for the other patterns of the date/time passes.
QString QuotedSeparator(QChar c)
{
    return Quoted(c);
}
