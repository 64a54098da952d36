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

} // namespace

std::optional<QString> DigrelDateTimeText(double value, const QString &pattern)
{
    if (!std::isfinite(value) || value < kFirstDay || value >= kPastLastDay)
        return std::nullopt;
    const double days = std::trunc(value);
    // The time of day is the fraction's size, also before 1900 (negative values).
    const double ms = std::min(std::round(std::fabs(value - days) * 86400000.0), 86399999.0);
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    const QLocale locale;
    const bool twelveHours = HasAmPm(pattern);

    QString out;
    bool afterHour = false; // m and mm right after an hour are minutes
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        const char lc = c.toLower().toLatin1();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c.toLower())
            ++run;
        switch (lc) {
        case '"':
        case '\'': {
            const qsizetype end = pattern.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = end < 0 ? pattern.size() : end + 1;
            continue;
        }
        case 'd':
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += Pad2(date.day());
            else
                out += locale.dayName(date.dayOfWeek(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            afterHour = false;
            break;
        case 'm':
            if (afterHour && run <= 2) {
                out += run == 1 ? QString::number(time.minute()) : Pad2(time.minute());
            } else if (run <= 2) {
                out += run == 1 ? QString::number(date.month()) : Pad2(date.month());
            } else {
                out += locale.monthName(date.month(), run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            }
            afterHour = false;
            break;
        case 'y':
            out += run <= 2 ? Pad2(date.year() % 100) : QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            afterHour = false;
            break;
        case 'h': {
            int h = time.hour();
            if (twelveHours) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += run == 1 ? QString::number(h) : Pad2(h);
            afterHour = true;
            break;
        }
        case 'n':
            out += run == 1 ? QString::number(time.minute()) : Pad2(time.minute());
            afterHour = false;
            break;
        case 's':
            out += run == 1 ? QString::number(time.second()) : Pad2(time.second());
            afterHour = false;
            break;
        case 'z':
            out +=
                run < 3 ? QString::number(time.msec()) : QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'));
            afterHour = false;
            break;
        case 'a': {
            const bool pm = time.hour() >= 12;
            if (WordAt(pattern, i, QLatin1StringView("am/pm"))) {
                const QString word = pattern.mid(i + (pm ? 3 : 0), 2);
                out += word;
                i += 5;
                continue;
            }
            if (WordAt(pattern, i, QLatin1StringView("a/p"))) {
                out += pattern.mid(i + (pm ? 2 : 0), 1);
                i += 3;
                continue;
            }
            if (WordAt(pattern, i, QLatin1StringView("ampm"))) {
                out += pm ? locale.pmText() : locale.amText();
                i += 4;
                continue;
            }
            out += pattern.mid(i, run);
            break;
        }
        default: out += pattern.mid(i, run); break;
        }
        i += run;
    }
    return out;
}
