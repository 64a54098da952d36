#include "Kesl_ScaleTicks.h"
#include "Kesl_ScaleTicksSink.h"

#include <QDate>

#include <array>
#include <cmath>

namespace {

struct TTimeStep
{
    double Seconds;
    int Sub;
};

// Index 1..28 of the time table; entry 0 is a placeholder below the table.
constexpr std::array<TTimeStep, 29> kTimeTable {
    {{0, 1},   {0.001, 5}, {0.002, 4}, {0.005, 5}, {0.01, 5}, {0.02, 4},  {0.05, 5},  {0.1, 5},   {0.2, 4},  {0.5, 5},
     {1, 5},   {2, 4},     {5, 5},     {10, 5},    {20, 4},   {30, 6},    {60, 6},    {120, 6},   {180, 6},  {300, 5},
     {600, 5}, {1200, 6},  {1800, 6},  {3600, 6},  {7200, 4}, {14400, 4}, {21600, 6}, {43200, 6}, {86400, 6}}};

constexpr qint64 kJulianDayZero = 2415019;
constexpr double kFirstDay = -693593; // 1 January 0001
constexpr double kLastDay = 2958465; // 31 December 9999
constexpr double kLastAccepted = 3000000;

// Time and date passes read MinTicks 0 (a tick per unit, which has no meaning
// for clock and calendar steps) as the densest setting a scale accepts.
int DateMinTicks(int minTicks)
{
    return minTicks <= 0 ? 10 : minTicks;
}

QDate DecodeDate(double v)
{
    return QDate::fromJulianDay(qint64(std::floor(v)) + kJulianDayZero);
}

double EncodeDate(int y, int m, int d)
{
    return double(QDate(y, m, d).toJulianDay() - kJulianDayZero);
}

// ---- Time of day ----

struct TClockPass
{
    qint64 UnitsPerDay;
    std::array<int, 6> Long;
    std::array<int, 6> Short;
};

constexpr TClockPass kHours {24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}};
constexpr TClockPass kMinutes {1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TClockPass kSeconds {86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}};
constexpr TClockPass kHundredths {8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}};

QString ClockPattern(const TClockPass &pass, const TDTLabelSettings &f)
{
    const QString s = QuotedSeparator(f.TimeSeparator);
    const QString dot = QStringLiteral("\".\"");
    const int level = &pass == &kHours ? 0 : &pass == &kMinutes ? 1 : &pass == &kSeconds ? 2 : 3;
    switch (f.TimeFormat) {
    case tfHHhMM: {
        const QString hh = QStringLiteral("h\"h\"");
        switch (level) {
        case 0: return hh;
        case 1: return hh + QStringLiteral("nn");
        case 2: return hh + QStringLiteral("nn") + s + QStringLiteral("ss");
        default: return hh + QStringLiteral("nn") + s + QStringLiteral("ss.zz");
        }
    }
    case tfAMPM:
        switch (level) {
        case 0: return QStringLiteral("ham/pm");
        case 1: return QStringLiteral("h") + s + QStringLiteral("nnam/pm");
        case 2: return QStringLiteral("h") + s + QStringLiteral("nn") + dot + QStringLiteral("ssam/pm");
        default: return QStringLiteral("h") + s + QStringLiteral("nn") + dot + QStringLiteral("ss.zzam/pm");
        }
    case tfHHMMSS:
    default:
        switch (level) {
        case 0:
        case 1: return QStringLiteral("hh") + s + QStringLiteral("nn");
        case 2: return QStringLiteral("hh") + s + QStringLiteral("nn") + s + QStringLiteral("ss");
        default: return QStringLiteral("hh") + s + QStringLiteral("nn") + s + QStringLiteral("ss.zz");
        }
    }
}

// Whether a long tick's label gets a date line.
bool WithDate(TDateForTime mode, bool firstLong, bool newDay)
{
    switch (mode) {
    case dtNone: return false;
    case dtOnePerChart: return firstLong;
    case dtOnePerDay: return newDay;
    case dtAllTicks: return true;
    }
    return false;
}

void ClockTicks(const TScaleTickSettings &s, const TClockPass &pass, double d, TScaleTickResult &r)
{
    r.Pass = TScaleTickPass::TimeOfDay;
    TTickSink sink(r);
    const double low = s.RangeLow;
    const double high = s.RangeHigh;
    const double b = double(pass.UnitsPerDay);
    // Day numbers of today's dates hold the time of day to about a
    // microsecond, so a span of exactly 5 hundredths or 20 minutes per tick
    // may arrive a few parts in a million short. Steps of the table lie at
    // least 1.5 apart, so this tolerance only absorbs that rounding.
    const double x = b * d * (1 + 1e-4);
    int i = 5;
    while (x < pass.Long[i] && i > 0)
        --i;
    const qint64 longU = pass.Long[i];
    const qint64 shortU = pass.Short[i];
    const qint64 stepU = s.ShortTicks ? shortU : longU;

    // Ticks are whole units counted from midnight of the day that contains
    // the range start (also for negative days), so labels see exact values.
    const double day = std::floor(low);
    const double u = b * (low - day);
    const qint64 c = qint64(std::ceil(u));
    qint64 n = (c + longU - 1) / longU * longU;
    auto valueOf = [&](qint64 units) { return day + double(units) / b; };
    if (s.ShortTicks) {
        for (int k = 0; k < 1000 && valueOf(n) > low; ++k)
            n -= shortU;
    }

    const QString pattern = ClockPattern(pass, s.DateFormat);
    const QString datePattern = DateLinePattern(s.DateFormat.MonthName, s.DateFormat.YearLength, s.DateFormat.DateOrder,
                                                s.DateFormat.DateSeparator);
    const bool hundredths = &pass == &kHundredths;
    int lastDateDay = -1; // day of month of the last date line; none yet
    bool firstLong = true;
    for (;; n += stepU) {
        const double v = valueOf(n);
        if (!(v - high < 1e-8))
            break;
        if (v < low)
            continue;
        TScaleTick t {v, true, {}, {}, true, true};
        if (s.ShortTicks && FloorMod(n, longU) != 0) {
            t.Long = false;
        } else {
            t.Label = FormatDateTimeValue(pattern, v, hundredths);
            const int dom = DecodeDate(v).day();
            if (WithDate(s.DateFormat.DateForTime, firstLong, dom != lastDateDay)) {
                t.DateLine = FormatDateTimeValue(datePattern, v);
                lastDateDay = dom;
            }
            firstLong = false;
        }
        if (!sink.Add(std::move(t)))
            break;
    }
}

// ---- Calendar passes ----

void DayTicks(const TScaleTickSettings &s, double d, TScaleTickResult &r)
{
    r.Pass = TScaleTickPass::Days;
    TTickSink sink(r);
    static constexpr std::array<int, 6> kDays {1, 2, 3, 7, 14, 28};
    int i = 5;
    while (d < kDays[i] && i > 0)
        --i;
    const qint64 step = kDays[i];
    const qint64 minor = step >= 14 ? 7 : 1;
    const QDate start = DecodeDate(s.RangeLow);
    const qint64 jan1 = qint64(EncodeDate(start.year(), 1, 1));
    const qint64 first = jan1 + step * (qint64(std::trunc(s.RangeLow - double(jan1))) / step);
    const qint64 rem = FloorMod(first, step);
    const QString pattern = DateLinePattern(s.DateFormat.MonthName, s.DateFormat.YearLength, s.DateFormat.DateOrder,
                                            s.DateFormat.DateSeparator);
    // Days after 31 December 9999 have no four-digit year: the pass ends there.
    for (qint64 day = first; double(day) - s.RangeHigh < 1e-8 && double(day) <= kLastDay;
         day += s.ShortTicks ? minor : step) {
        if (double(day) < s.RangeLow)
            continue;
        TScaleTick t {double(day), true, {}, {}, true, true};
        if (s.ShortTicks && FloorMod(day, step) != rem)
            t.Long = false;
        else
            t.Label = FormatDateTimeValue(pattern, double(day));
        if (!sink.Add(std::move(t)))
            break;
    }
}

void MonthTicks(const TScaleTickSettings &s, int minTicks, TScaleTickResult &r)
{
    r.Pass = TScaleTickPass::Months;
    TTickSink sink(r);
    static constexpr std::array<int, 5> kMonths {1, 2, 3, 4, 6};
    const double a = (s.RangeHigh - s.RangeLow) / 30.4375 / minTicks;
    int i = 4;
    while (a < kMonths[i] && i > 0)
        --i;
    const int step = kMonths[i];
    const QDate start = DecodeDate(s.RangeLow);
    int y = start.year();
    int m = start.month();
    // Without short ticks start at a month that fits the step; the start
    // month itself counts when its first day lies in the range (the loop
    // skips it otherwise).
    if (step > 1 && !s.ShortTicks) {
        while (m % step != 1) {
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    const TDTLabelSettings &f = s.DateFormat;
    const QString mm = f.MonthName ? QStringLiteral("mmm") : QStringLiteral("mm");
    const QString yy = f.YearLength == ylYY ? QStringLiteral("yy") : QStringLiteral("yyyy");
    const QString sep = QuotedSeparator(f.DateSeparator);
    QString pattern = mm;
    if (f.YearLength != ylNone)
        pattern = f.DateOrder == doYYMMDD ? yy + sep + mm : mm + sep + yy;

    while (y <= 9999) {
        const double v = EncodeDate(y, m, 1);
        if (!(v - s.RangeHigh < 1e-8))
            break;
        if (v >= s.RangeLow) {
            TScaleTick t {v, true, {}, {}, true, true};
            if (s.ShortTicks && step != 1 && m % step != 1)
                t.Long = false;
            else
                t.Label = FormatDateTimeValue(pattern, v);
            if (!sink.Add(std::move(t)))
                break;
        }
        m += s.ShortTicks ? 1 : step;
        if (m > 12) {
            m -= 12;
            ++y;
        }
    }
}

void YearTicks(const TScaleTickSettings &s, int minTicks, TScaleTickResult &r)
{
    r.Pass = TScaleTickPass::Years;
    TTickSink sink(r);
    const QDate start = DecodeDate(s.RangeLow);
    double a = (s.RangeHigh - s.RangeLow) / 365.25 / minTicks;
    if (a < 1)
        a = 1;
    const double e = std::log10(a);
    const double t = std::pow(10.0, e - std::trunc(e));
    const int f = t < 2 ? 1 : t < 5 ? 2 : 5;
    const int L = int(std::nearbyint(std::trunc(std::pow(10.0, std::trunc(e))) * f));
    int S = L;
    if (s.ShortTicks && L > 1)
        S = int(std::nearbyint(f == 5 ? L / 5.0 : L / 2.0));
    if (S < 1)
        S = 1;

    int y = ((start.year() - 1) / S + 1) * S;
    if (y == start.year() && (start.month() > 1 || start.day() > 1))
        y += S;

    for (bool last = false; !last;) {
        double v;
        if (y > 9999) {
            // The calendar ends here: one more tick on its last day.
            v = kLastDay;
            last = true;
        } else {
            v = EncodeDate(y, 1, 1);
        }
        if (!(v - s.RangeHigh < 1e-8))
            break;
        // No tick before the range, also when it starts on 1 January after midnight.
        if (v >= s.RangeLow) {
            const int year = DecodeDate(v).year();
            TScaleTick tick {v, true, {}, {}, true, true};
            if (s.ShortTicks && year % L != 0) {
                tick.Long = false;
            } else if (s.DateFormat.YearLength == ylYY) {
                tick.Label = FormatDateTimeValue(QStringLiteral("yy"), v);
            } else if (s.DateFormat.YearLength == ylYYYY) {
                tick.Label = FormatDateTimeValue(QStringLiteral("yyyy"), v);
                while (tick.Label.startsWith(QLatin1Char('0')))
                    tick.Label.remove(0, 1);
            }
            if (!sink.Add(std::move(tick)))
                break;
        }
        y += S;
    }
}

void Message(const TScaleTickSettings &s, const QStringList &lines, TScaleTickResult &r)
{
    r.Pass = TScaleTickPass::Message;
    r.MessageLines = lines;
    double mid = (s.RangeLow + s.RangeHigh) / 2;
    if (!std::isfinite(mid))
        mid = std::isfinite(s.RangeLow) ? s.RangeLow : std::isfinite(s.RangeHigh) ? s.RangeHigh : 0.0;
    r.MessageValue = mid;
}

} // namespace

std::optional<TScaleTickResult> TimeTableTickPass(const TScaleTickSettings &s)
{
    const double low = s.RangeLow;
    const double high = s.RangeHigh;
    if (!std::isfinite(low) || !std::isfinite(high) || low == high)
        return std::nullopt;
    const double x = std::fabs(high - low) / DateMinTicks(s.MinTicks);
    int index = 28;
    while (index > 0 && x < kTimeTable[index].Seconds)
        --index;
    if (index == 28 || index == 0)
        return std::nullopt;

    TScaleTickResult r;
    r.Pass = TScaleTickPass::TimeTable;
    TTickSink sink(r);
    const double dir = high > low ? 1.0 : -1.0;
    const double major = dir * kTimeTable[index].Seconds;
    const double minor = major / kTimeTable[index].Sub;
    const double first = std::floor(low / major / 0.999999999) * major;
    // The tolerance widens the range outwards in its own direction, so that a
    // reversed range keeps the same end ticks as the forward one.
    const double lowLimit = low - dir * 1e-9 * std::fabs(low);
    const double highLimit = high + dir * 1e-9 * std::fabs(high);
    const bool withMs = index <= 9;
    // From 1000 hours on with milliseconds (10 million without) a clock
    // label no longer fits its 14 characters: numbers label such a range.
    if (TimeLabel(std::fmax(std::fabs(lowLimit), std::fabs(highLimit)), withMs).size() > 14)
        return std::nullopt;
    auto inside = [&](double v) { return dir * v >= dir * lowLimit && dir * v <= dir * highLimit; };
    // Candidates run from the first multiple to the end of the range.
    auto forEach = [&](auto &&visit) {
        double prev = 0;
        for (long long j = 0;; ++j) {
            const double v = first + double(j) * minor;
            if (dir * v > dir * highLimit || (j > 0 && v == prev))
                break;
            prev = v;
            if (inside(v) && !visit(v))
                break;
        }
    };
    if (s.ShortTicks)
        forEach([&](double v) { return sink.Add({v, false, {}, {}, true, true}); });
    const bool record = s.Vertical || !s.ShortTicks;
    forEach([&](double v) {
        const double q = v / major;
        if (std::fabs(q - std::round(q)) >= 0.01)
            return true;
        return sink.Add({v, true, TimeLabel(v, withMs), {}, true, record});
    });
    return r;
}

TScaleTickResult DateTimeTickPass(const TScaleTickSettings &s)
{
    TScaleTickResult r;
    r.LabelHeightOfZero = false;
    const double low = s.RangeLow;
    const double high = s.RangeHigh;
    if (!(high >= low && low >= kFirstDay && high <= kLastAccepted)) {
        Message(s,
                s.Vertical
                    ? QStringList {QStringLiteral("invalid"), QStringLiteral("DateTime"), QStringLiteral("scale")}
                    : QStringList {QStringLiteral("invalid DateTime scale")},
                r);
        return r;
    }
    const int minTicks = DateMinTicks(s.MinTicks);
    const double d = (high - low) / minTicks;
    const bool tooShort = s.Vertical ? d <= 1.1574074074074074e-7 : d <= 1.1574e-5;
    if (tooShort) {
        Message(s,
                s.Vertical ? QStringList {QStringLiteral("DateTime"), QStringLiteral("range is"),
                                          QStringLiteral("below 1"), QStringLiteral("second")}
                           : QStringList {QStringLiteral("DateTime range is below 1 second")},
                r);
        return r;
    }
    if (s.Vertical && d <= 1.1574074074074073e-5)
        ClockTicks(s, kHundredths, d, r);
    else if (d <= (s.Vertical ? 6.9444444444444445e-4 : 6.9444e-4))
        ClockTicks(s, kSeconds, d, r);
    else if (d <= 0.041667)
        ClockTicks(s, kMinutes, d, r);
    else if (d <= 1)
        ClockTicks(s, kHours, d, r);
    else if (d <= 30)
        DayTicks(s, d, r);
    else if (d <= 366)
        MonthTicks(s, minTicks, r);
    else
        YearTicks(s, minTicks, r);
    return r;
}
