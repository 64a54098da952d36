#include "Kesl_DigrelFormat.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace {

// Day numbers of 1 January 0001 and the day after 31 December 9999.
constexpr double kFirstDay = -693593.0;
constexpr double kPastLastDay = 2958466.0;

QString Pad2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

// Case-insensitive test for a word at position i of the pattern.
bool WordAt(const QString &s, qsizetype i, QLatin1StringView word)
{
    return s.mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

bool HasAmPm(const QString &pattern)
{
    QChar quote;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            quote = c;
        else if (WordAt(pattern, i, QLatin1StringView("am/pm")) || WordAt(pattern, i, QLatin1StringView("a/p")) ||
                 WordAt(pattern, i, QLatin1StringView("ampm")))
            return true;
    }
    return false;
}

// The parts of one value a pattern's fields are taken from.
struct TDateTimeFields
{
    QDate Date;
    QTime Time;
    QLocale Locale;
    bool TwelveHours = false;
};

QString NumberOrPad2(int v, qsizetype run)
{
    return run == 1 ? QString::number(v) : Pad2(v);
}

// Appends the text of a run of one date or time letter; false when lc is none.
// m and mm right after an hour are minutes, which afterHour tracks.
bool AppendField(QString &out, char lc, qsizetype run, const TDateTimeFields &f, bool &afterHour)
{
    const bool wasAfterHour = afterHour;
    afterHour = false;
    switch (lc) {
    case 'd':
        if (run <= 2)
            out += NumberOrPad2(f.Date.day(), run);
        else
            out += f.Locale.dayName(f.Date.dayOfWeek(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        return true;
    case 'm':
        if (wasAfterHour && run <= 2)
            out += NumberOrPad2(f.Time.minute(), run);
        else if (run <= 2)
            out += NumberOrPad2(f.Date.month(), run);
        else
            out += f.Locale.monthName(f.Date.month(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        return true;
    case 'y':
        out += run <= 2 ? Pad2(f.Date.year() % 100) : QStringLiteral("%1").arg(f.Date.year(), 4, 10, QLatin1Char('0'));
        return true;
    case 'h': {
        int h = f.Time.hour();
        if (f.TwelveHours) {
            h %= 12;
            if (h == 0)
                h = 12;
        }
        out += NumberOrPad2(h, run);
        afterHour = true;
        return true;
    }
    case 'n': out += NumberOrPad2(f.Time.minute(), run); return true;
    case 's': out += NumberOrPad2(f.Time.second(), run); return true;
    case 'z':
        out +=
            run < 3 ? QString::number(f.Time.msec()) : QStringLiteral("%1").arg(f.Time.msec(), 3, 10, QLatin1Char('0'));
        return true;
    default: afterHour = wasAfterHour; return false;
    }
}

// Appends the am/pm marker at position i; returns the pattern characters
// used, 0 when none starts there.
qsizetype AppendAmPm(QString &out, const QString &pattern, qsizetype i, const TDateTimeFields &f)
{
    const bool pm = f.Time.hour() >= 12;
    if (WordAt(pattern, i, QLatin1StringView("am/pm"))) {
        out += pattern.mid(i + (pm ? 3 : 0), 2);
        return 5;
    }
    if (WordAt(pattern, i, QLatin1StringView("a/p"))) {
        out += pattern.mid(i + (pm ? 2 : 0), 1);
        return 3;
    }
    if (WordAt(pattern, i, QLatin1StringView("ampm"))) {
        out += pm ? f.Locale.pmText() : f.Locale.amText();
        return 4;
    }
    return 0;
}

// Appends the quoted text opening at position i (to the pattern's end when
// unclosed); returns the position after it.
qsizetype AppendQuoted(QString &out, const QString &pattern, qsizetype i)
{
    const qsizetype end = pattern.indexOf(pattern[i], i + 1);
    const qsizetype stop = end < 0 ? pattern.size() : end;
    out += pattern.mid(i + 1, stop - i - 1);
    return end < 0 ? pattern.size() : end + 1;
}

// Length of the run of the same letter (either case) starting at position i.
qsizetype RunAt(const QString &pattern, qsizetype i)
{
    const QChar c = pattern[i].toLower();
    qsizetype run = 1;
    while (i + run < pattern.size() && pattern[i + run].toLower() == c)
        ++run;
    return run;
}

std::optional<TDateTimeFields> FieldsOf(double value, const QString &pattern)
{
    if (!std::isfinite(value) || value < kFirstDay || value >= kPastLastDay)
        return std::nullopt;
    const double days = std::trunc(value);
    // The time of day is the fraction's size, also before 1900 (negative values).
    const double ms = std::min(std::round(std::fabs(value - days) * 86400000.0), 86399999.0);
    TDateTimeFields f;
    f.Date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    f.Time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    f.TwelveHours = HasAmPm(pattern);
    return f;
}

} // namespace

std::optional<QString> DigrelDateTimeText(double value, const QString &pattern)
{
    const std::optional<TDateTimeFields> f = FieldsOf(value, pattern);
    if (!f)
        return std::nullopt;
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const char lc = pattern[i].toLower().toLatin1();
        if (lc == '"' || lc == '\'') {
            i = AppendQuoted(out, pattern, i);
            continue;
        }
        if (lc == 'a') {
            const qsizetype used = AppendAmPm(out, pattern, i, *f);
            if (used > 0) {
                i += used;
                continue;
            }
        }
        const qsizetype run = RunAt(pattern, i);
        if (lc == 'a' || !AppendField(out, lc, run, *f, afterHour))
            out += pattern.mid(i, run);
        i += run;
    }
    return out;
}
