#include "Kesl_DateTimePattern_p.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The parts of one value that the fields are taken from.
struct TMoment
{
    QDate Date;
    int Hour = 0, Minute = 0, Second = 0, Msec = 0;
};

// A field letter and, for the narrow letter set, the lengths it may have,
// longest first (0: none).
struct TFieldLetter
{
    char Letter;
    std::array<qsizetype, 2> NarrowLengths;
};

constexpr TFieldLetter kFieldLetters[] = {{'d', {2, 0}}, {'m', {3, 2}}, {'y', {4, 2}}, {'h', {2, 1}},
                                          {'n', {2, 0}}, {'s', {2, 0}}, {'z', {2, 0}}};

QString Pad(qint64 v, int width)
{
    return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

QString NumberOrPad2(int v, qsizetype length)
{
    return length == 1 ? QString::number(v) : Pad(v, 2);
}

bool WordAt(const QString &p, qsizetype i, QLatin1StringView word)
{
    return QStringView(p).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

bool IsQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// Position of the quote that closes the one at i; the pattern's end when unclosed.
qsizetype ClosingQuote(const QString &p, qsizetype i)
{
    const qsizetype end = p.indexOf(p[i], i + 1);
    return end < 0 ? p.size() : end;
}

// Length of the am/pm marker starting at i; 0 when none does.
qsizetype AmPmAt(const QString &p, qsizetype i, bool wide)
{
    if (WordAt(p, i, QLatin1StringView("am/pm")))
        return 5;
    if (wide && WordAt(p, i, QLatin1StringView("a/p")))
        return 3;
    if (wide && WordAt(p, i, QLatin1StringView("ampm")))
        return 4;
    return 0;
}

QString AmPmText(QStringView marker, bool pm, bool wide)
{
    if (!wide)
        return pm ? QStringLiteral("pm") : QStringLiteral("am");
    if (marker.size() == 5) // am/pm in the pattern's letter case
        return marker.mid(pm ? 3 : 0, 2).toString();
    if (marker.size() == 3) // a/p
        return marker.mid(pm ? 2 : 0, 1).toString();
    return pm ? QLocale().pmText() : QLocale().amText();
}

// Whether an am/pm marker occurs outside the quoted parts: the hours then
// follow a 12-hour clock.
bool HasAmPm(const QString &p, bool wide)
{
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (IsQuote(p[i]))
            i = ClosingQuote(p, i);
        else if (AmPmAt(p, i, wide) > 0)
            return true;
    }
    return false;
}

// Length of the run of one character at i, in either letter case when wide.
qsizetype RunAt(const QString &p, qsizetype i, bool wide)
{
    const QChar c = wide ? p[i].toLower() : p[i];
    qsizetype run = 1;
    while (i + run < p.size() && (wide ? p[i + run].toLower() : p[i + run]) == c)
        ++run;
    return run;
}

// Length of the field starting at i; 0 when none does.
qsizetype FieldAt(const QString &p, qsizetype i, bool wide)
{
    const QChar c = wide ? p[i].toLower() : p[i];
    for (const TFieldLetter &f : kFieldLetters) {
        if (c != QLatin1Char(f.Letter))
            continue;
        const qsizetype run = RunAt(p, i, wide);
        if (wide)
            return run;
        for (const qsizetype length : f.NarrowLengths) {
            if (length > 0 && length <= run)
                return length;
        }
        return 0;
    }
    return 0;
}

QString FractionText(const TMoment &t, qsizetype length, const TDateTimePatternOptions &o)
{
    if (o.WideLetters)
        return length < 3 ? QString::number(t.Msec) : Pad(t.Msec, 3);
    return Pad(o.Hundredths ? t.Msec / 10 : t.Msec, 2);
}

// The hour on a 12-hour clock: 0 and 12 are shown as 12.
int ClockHour(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

// The text of one field; minutes tells an m after an hour to give the minute.
QString FieldText(char letter, qsizetype length, const TMoment &t, bool twelveHours, bool minutes,
                  const TDateTimePatternOptions &o)
{
    const QLocale::FormatType nameForm = length == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
    switch (letter) {
    case 'd': return length <= 2 ? NumberOrPad2(t.Date.day(), length) : QLocale().dayName(t.Date.dayOfWeek(), nameForm);
    case 'm':
        if (length <= 2)
            return NumberOrPad2(minutes ? t.Minute : t.Date.month(), length);
        return QLocale().monthName(t.Date.month(), nameForm);
    case 'y': return length <= 2 ? Pad(t.Date.year() % 100, 2) : Pad(t.Date.year(), 4);
    case 'h': return NumberOrPad2(twelveHours ? ClockHour(t.Hour) : t.Hour, length);
    case 'n': return NumberOrPad2(t.Minute, length);
    case 's': return NumberOrPad2(t.Second, length);
    default: return FractionText(t, length, o);
    }
}

TMoment MomentOf(double value, const TDateTimePatternOptions &o)
{
    const double day = o.ContainingDay ? std::floor(value) : std::trunc(value);
    const double unitsPerDay = o.Hundredths ? 8640000.0 : 86400000.0;
    const double units = std::min(std::round(std::fabs(value - day) * unitsPerDay), unitsPerDay - 1);
    const qint64 ms = qint64(units) * (o.Hundredths ? 10 : 1);
    TMoment t;
    t.Date = QDate(1899, 12, 30).addDays(qint64(day));
    t.Hour = int(ms / 3600000);
    t.Minute = int(ms / 60000 % 60);
    t.Second = int(ms / 1000 % 60);
    t.Msec = int(ms % 1000);
    return t;
}

} // namespace

std::optional<QString> FormatDateTimePattern(const QString &pattern, double value,
                                             const TDateTimePatternOptions &options)
{
    if (!std::isfinite(value) || value < options.First || value >= options.End)
        return std::nullopt;
    const TMoment t = MomentOf(value, options);
    const bool wide = options.WideLetters;
    const bool twelveHours = HasAmPm(pattern, wide);
    QString out;
    bool afterHour = false; // m after an hour, in the wide set, is the minute
    for (qsizetype i = 0; i < pattern.size();) {
        qsizetype length = 0;
        if (IsQuote(pattern[i])) {
            const qsizetype close = ClosingQuote(pattern, i);
            out += pattern.mid(i + 1, close - i - 1);
            length = close + 1 - i;
        } else if ((length = AmPmAt(pattern, i, wide)) > 0) {
            out += AmPmText(QStringView(pattern).mid(i, length), t.Hour >= 12, wide);
        } else if ((length = FieldAt(pattern, i, wide)) > 0) {
            const char letter = pattern[i].toLower().toLatin1();
            out += FieldText(letter, length, t, twelveHours, wide && afterHour, options);
            afterHour = letter == 'h';
        } else {
            length = wide ? RunAt(pattern, i, wide) : 1;
            out += pattern.mid(i, length);
        }
        i += length;
    }
    return out;
}
