// Time-table and date/time passes: steps, alignment, kinds, labels, date
// lines and messages.
#include "Kesl_ScaleTicks.h"
#include "qt_printers.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

double Day(int y, int m, int d)
{
    return double(QDate(y, m, d).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

struct Expect
{
    double value;
    bool isLong;
    const char *label = "";
    const char *dateLine = "";
};

void ExpectTicks(const TScaleTickResult &r, const std::vector<Expect> &expected)
{
    ASSERT_EQ(r.Ticks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TScaleTick &t = r.Ticks[i];
        EXPECT_NEAR(t.Value, expected[i].value, 1e-9 * std::max(1.0, std::fabs(expected[i].value))) << "tick " << i;
        EXPECT_EQ(t.Long, expected[i].isLong) << "tick " << i;
        EXPECT_EQ(t.Label, QString::fromUtf8(expected[i].label)) << "tick " << i;
        EXPECT_EQ(t.DateLine, QString::fromUtf8(expected[i].dateLine)) << "tick " << i;
    }
}

std::vector<Expect> LongOnly(const TScaleTickResult &r)
{
    std::vector<Expect> v;
    for (const TScaleTick &t : r.Ticks)
        if (t.Long)
            v.push_back({t.Value, true});
    return v;
}

TScaleTickSettings Time(double low, double high, int minTicks, bool shortTicks = false)
{
    TScaleTickSettings s;
    s.RangeLow = low;
    s.RangeHigh = high;
    s.MinTicks = minTicks;
    s.ShortTicks = shortTicks;
    s.LabelType = ftTime;
    s.DecPlaces = 4;
    return s;
}

TScaleTickSettings Date(double low, double high, int minTicks, bool shortTicks = false)
{
    TScaleTickSettings s = Time(low, high, minTicks, shortTicks);
    s.LabelType = ftDateTime;
    return s;
}

class ScaleTimeTicks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

TEST_F(ScaleTimeTicks, TimeTable)
{
    struct Case
    {
        const char *name;
        TScaleTickSettings s;
        std::vector<Expect> ticks;
    };
    const Case cases[] = {
        {"0..3600 s",
         Time(0, 3600, 3),
         {{0, true, " 00:00:00"}, {1200, true, " 00:20:00"}, {2400, true, " 00:40:00"}, {3600, true, " 01:00:00"}}},
        {"0..1 s with milliseconds",
         Time(0, 1, 4),
         {{0, true, " 00:00:00.000"},
          {0.2, true, " 00:00:00.200"},
          {0.4, true, " 00:00:00.400"},
          {0.6, true, " 00:00:00.600"},
          {0.8, true, " 00:00:00.800"},
          {1, true, " 00:00:01.000"}}},
        {"4800..1100 s",
         Time(4800, 1100, 3),
         {{4800, true, " 01:20:00"}, {3600, true, " 01:00:00"}, {2400, true, " 00:40:00"}, {1200, true, " 00:20:00"}}},
        {"negative seconds",
         Time(-30, 30, 3),
         {{-20, true, "-00:00:20"}, {0, true, " 00:00:00"}, {20, true, " 00:00:20"}}},
        {"one day in 6 h steps",
         Time(0, 86400, 4),
         {{0, true, " 00:00:00"},
          {21600, true, " 06:00:00"},
          {43200, true, " 12:00:00"},
          {64800, true, " 18:00:00"},
          {86400, true, " 24:00:00"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(c.s);
        EXPECT_EQ(r.Pass, TScaleTickPass::TimeTable);
        EXPECT_TRUE(r.LabelHeightOfZero);
        EXPECT_FALSE(r.NotifyBeforeLabel);
        ExpectTicks(r, c.ticks);
    }
}

TEST_F(ScaleTimeTicks, TimeTableShortTicksAndRecording)
{
    struct Case
    {
        double low, high;
        bool vertical;
        std::size_t shorts;
        double firstShort, lastShort;
    };
    const Case cases[] = {
        {0, 3600, false, 19, 0, 3600}, // every 200 s
        {3600, 0, true, 19, 3600, 0}, // reversed, same ticks backwards
        {1100, 4800, false, 19, 1200, 4800},
        {0, 1, true, 21, 0, 1}, // every 0.05 s
    };
    for (const Case &c : cases) {
        TScaleTickSettings s = Time(c.low, c.high, c.low == 0 && c.high == 1 ? 4 : 3, true);
        s.Vertical = c.vertical;
        const TScaleTickResult r = ComputeScaleTicks(s);
        std::vector<double> shorts;
        for (const TScaleTick &t : r.Ticks) {
            if (!t.Long)
                shorts.push_back(t.Value);
            else
                EXPECT_EQ(t.Recorded, c.vertical) << "horizontal scales record the short ticks only";
        }
        ASSERT_EQ(shorts.size(), c.shorts) << c.low << ".." << c.high;
        EXPECT_NEAR(shorts.front(), c.firstShort, 1e-9);
        EXPECT_NEAR(shorts.back(), c.lastShort, 1e-9);
        // Long ticks follow all short ticks.
        EXPECT_FALSE(r.Ticks.front().Long);
        EXPECT_TRUE(r.Ticks.back().Long);
    }
}

TEST_F(ScaleTimeTicks, TimeTableDeclinesToNumbers)
{
    struct Case
    {
        double low, high;
        int minTicks;
        TScaleTickPass pass;
    };
    const Case cases[] = {
        {0, 400000, 3, TScaleTickPass::Linear}, // a day or more per tick
        {0, 0.002, 3, TScaleTickPass::Linear}, // below a millisecond per tick
        {kNaN, 10, 3, TScaleTickPass::None}, // nothing to draw
        {0, kInf, 3, TScaleTickPass::None},
        {5, 5, 3, TScaleTickPass::None},
        {0, 3600, 0, TScaleTickPass::TimeTable}, // MinTicks 0 reads as 10
        {3599990, 3599991, 3, TScaleTickPass::TimeTable}, // " 999:59:51.000" fits 14 characters
        {3600000, 3600001, 3, TScaleTickPass::Linear}, // 1000 hours with milliseconds would not
    };
    for (const Case &c : cases) {
        const TScaleTickResult r = ComputeScaleTicks(Time(c.low, c.high, c.minTicks));
        EXPECT_EQ(r.Pass, c.pass) << c.low << ".." << c.high;
        EXPECT_LE(r.Ticks.size(), std::size_t(kMaxPassTicks));
    }
    const TScaleTickResult r = ComputeScaleTicks(Time(0, 400000, 3));
    ASSERT_FALSE(r.Ticks.empty());
    EXPECT_EQ(r.Ticks[1].Label, QStringLiteral("100000.0000"));
    EXPECT_EQ(LongOnly(ComputeScaleTicks(Time(0, 3600, 0))).size(), 13u); // 300 s steps
}

TEST_F(ScaleTimeTicks, TimeOfDay)
{
    const double d0 = Day(2026, 12, 6);
    struct Case
    {
        const char *name;
        TScaleTickSettings s;
        std::vector<Expect> ticks;
    };
    TScaleTickSettings withShort = Date(d0, d0 + 1, 4, true);
    TScaleTickSettings hMM = Date(d0, d0 + 1, 4);
    hMM.DateFormat.TimeFormat = tfHHhMM;
    hMM.DateFormat.DateForTime = dtNone;
    TScaleTickSettings ampm = hMM;
    ampm.DateFormat.TimeFormat = tfAMPM;
    TScaleTickSettings allTicks = Date(d0 + 0.25, d0 + 0.75, 2);
    allTicks.DateFormat.DateForTime = dtAllTicks;
    allTicks.DateFormat.MonthName = false;
    allTicks.DateFormat.DateOrder = doYYMMDD;
    TScaleTickSettings perChart = Date(d0, d0 + 2, 4);
    perChart.DateFormat.DateForTime = dtOnePerChart;
    TScaleTickSettings minutes = Date(d0 + 0.5, d0 + 0.5 + 1.0 / 24, 3);
    minutes.DateFormat.TimeSeparator = QLatin1Char('.');
    TScaleTickSettings seconds = Date(d0 + 0.5, d0 + 0.5 + 60.0 / 86400, 3);
    seconds.DateFormat.DateForTime = dtNone;
    TScaleTickSettings secondsAmPm = seconds;
    secondsAmPm.DateFormat.TimeFormat = tfAMPM;
    const Case cases[] = {
        {"one day in 6 h",
         Date(d0, d0 + 1, 4),
         {{d0, true, "00:00", "06-Dec-2026"},
          {d0 + 0.25, true, "06:00"},
          {d0 + 0.5, true, "12:00"},
          {d0 + 0.75, true, "18:00"},
          {d0 + 1, true, "00:00", "07-Dec-2026"}}},
        {"one day with short ticks",
         withShort,
         {{d0, true, "00:00", "06-Dec-2026"},
          {d0 + 2 / 24.0, false},
          {d0 + 4 / 24.0, false},
          {d0 + 0.25, true, "06:00"},
          {d0 + 8 / 24.0, false},
          {d0 + 10 / 24.0, false},
          {d0 + 0.5, true, "12:00"},
          {d0 + 14 / 24.0, false},
          {d0 + 16 / 24.0, false},
          {d0 + 0.75, true, "18:00"},
          {d0 + 20 / 24.0, false},
          {d0 + 22 / 24.0, false},
          {d0 + 1, true, "00:00", "07-Dec-2026"}}},
        {"h\"h\" labels",
         hMM,
         {{d0, true, "0h"},
          {d0 + 0.25, true, "6h"},
          {d0 + 0.5, true, "12h"},
          {d0 + 0.75, true, "18h"},
          {d0 + 1, true, "0h"}}},
        {"am/pm labels",
         ampm,
         {{d0, true, "12am"},
          {d0 + 0.25, true, "6am"},
          {d0 + 0.5, true, "12pm"},
          {d0 + 0.75, true, "6pm"},
          {d0 + 1, true, "12am"}}},
        {"date line at every tick",
         allTicks,
         {{d0 + 0.25, true, "06:00", "2026-12-06"},
          {d0 + 0.5, true, "12:00", "2026-12-06"},
          {d0 + 0.75, true, "18:00", "2026-12-06"}}},
        {"one date line per chart",
         perChart,
         {{d0, true, "00:00", "06-Dec-2026"},
          {d0 + 0.5, true, "12:00"},
          {d0 + 1, true, "00:00"},
          {d0 + 1.5, true, "12:00"},
          {d0 + 2, true, "00:00"}}},
        {"minutes with a dot separator",
         minutes,
         {{d0 + 0.5, true, "12.00", "06-Dec-2026"},
          {d0 + 0.5 + 20 / 1440.0, true, "12.20"},
          {d0 + 0.5 + 40 / 1440.0, true, "12.40"},
          {d0 + 0.5 + 60 / 1440.0, true, "13.00"}}},
        {"seconds",
         seconds,
         {{d0 + 0.5, true, "12:00:00"},
          {d0 + 0.5 + 20 / 86400.0, true, "12:00:20"},
          {d0 + 0.5 + 40 / 86400.0, true, "12:00:40"},
          {d0 + 0.5 + 60 / 86400.0, true, "12:01:00"}}},
        {"seconds am/pm",
         secondsAmPm,
         {{d0 + 0.5, true, "12:00.00pm"},
          {d0 + 0.5 + 20 / 86400.0, true, "12:00.20pm"},
          {d0 + 0.5 + 40 / 86400.0, true, "12:00.40pm"},
          {d0 + 0.5 + 60 / 86400.0, true, "12:01.00pm"}}},
        {"across day zero",
         Date(-0.5, 0.5, 4),
         {{-0.5, true, "12:00", "29-Dec-1899"},
          {-0.25, true, "18:00"},
          {0, true, "00:00", "30-Dec-1899"},
          {0.25, true, "06:00"},
          {0.5, true, "12:00"}}},
        {"start between ticks",
         Date(d0 + 0.1, d0 + 1.1, 4),
         {{d0 + 0.25, true, "06:00", "06-Dec-2026"},
          {d0 + 0.5, true, "12:00"},
          {d0 + 0.75, true, "18:00"},
          {d0 + 1, true, "00:00", "07-Dec-2026"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(c.s);
        EXPECT_EQ(r.Pass, TScaleTickPass::TimeOfDay);
        EXPECT_FALSE(r.LabelHeightOfZero);
        EXPECT_FALSE(r.NotifyBeforeLabel);
        ExpectTicks(r, c.ticks);
        for (const TScaleTick &t : r.Ticks)
            EXPECT_TRUE(t.Recorded && t.Drawn);
    }
}

TEST_F(ScaleTimeTicks, Calendar)
{
    const double jan1 = Day(2000, 1, 1);
    struct Case
    {
        const char *name;
        TScaleTickSettings s;
        TScaleTickPass pass;
        std::vector<Expect> ticks;
    };
    TScaleTickSettings daysShort = Date(jan1 + 4, jan1 + 14, 3, true);
    TScaleTickSettings months = Date(Day(2000, 1, 15), Day(2000, 1, 15) + 400, 3);
    TScaleTickSettings monthsShort = months;
    monthsShort.ShortTicks = true;
    TScaleTickSettings monthsYMD = months;
    monthsYMD.DateFormat.DateOrder = doYYMMDD;
    monthsYMD.DateFormat.MonthName = false;
    monthsYMD.DateFormat.YearLength = ylYY;
    monthsYMD.DateFormat.DateSeparator = QLatin1Char('/');
    TScaleTickSettings monthsNoYear = months;
    monthsNoYear.DateFormat.YearLength = ylNone;
    TScaleTickSettings century = Date(Day(1900, 1, 1), Day(2000, 1, 1), 3, true);
    TScaleTickSettings centuryNoYear = Date(Day(1900, 1, 1), Day(2000, 1, 1), 3);
    centuryNoYear.DateFormat.YearLength = ylNone;
    TScaleTickSettings centuryYY = centuryNoYear;
    centuryYY.DateFormat.YearLength = ylYY;
    const Case cases[] = {
        {"10 days in 3-day steps from 1 January",
         Date(jan1 + 4, jan1 + 14, 3),
         TScaleTickPass::Days,
         {{jan1 + 6, true, "07-Jan-2000"}, {jan1 + 9, true, "10-Jan-2000"}, {jan1 + 12, true, "13-Jan-2000"}}},
        {"10 days with short ticks",
         daysShort,
         TScaleTickPass::Days,
         {{jan1 + 4, false},
          {jan1 + 5, false},
          {jan1 + 6, true, "07-Jan-2000"},
          {jan1 + 7, false},
          {jan1 + 8, false},
          {jan1 + 9, true, "10-Jan-2000"},
          {jan1 + 10, false},
          {jan1 + 11, false},
          {jan1 + 12, true, "13-Jan-2000"},
          {jan1 + 13, false},
          {jan1 + 14, false}}},
        {"400 days from 15 January",
         months,
         TScaleTickPass::Months,
         {{Day(2000, 5, 1), true, "May-2000"},
          {Day(2000, 9, 1), true, "Sep-2000"},
          {Day(2001, 1, 1), true, "Jan-2001"}}},
        {"400 days with short ticks",
         monthsShort,
         TScaleTickPass::Months,
         {{Day(2000, 2, 1), false},
          {Day(2000, 3, 1), false},
          {Day(2000, 4, 1), false},
          {Day(2000, 5, 1), true, "May-2000"},
          {Day(2000, 6, 1), false},
          {Day(2000, 7, 1), false},
          {Day(2000, 8, 1), false},
          {Day(2000, 9, 1), true, "Sep-2000"},
          {Day(2000, 10, 1), false},
          {Day(2000, 11, 1), false},
          {Day(2000, 12, 1), false},
          {Day(2001, 1, 1), true, "Jan-2001"},
          {Day(2001, 2, 1), false}}},
        {"months year first",
         monthsYMD,
         TScaleTickPass::Months,
         {{Day(2000, 5, 1), true, "00/05"}, {Day(2000, 9, 1), true, "00/09"}, {Day(2001, 1, 1), true, "01/01"}}},
        {"months without year",
         monthsNoYear,
         TScaleTickPass::Months,
         {{Day(2000, 5, 1), true, "May"}, {Day(2000, 9, 1), true, "Sep"}, {Day(2001, 1, 1), true, "Jan"}}},
        {"1900..2000",
         century,
         TScaleTickPass::Years,
         {{Day(1900, 1, 1), true, "1900"},
          {Day(1910, 1, 1), false},
          {Day(1920, 1, 1), true, "1920"},
          {Day(1930, 1, 1), false},
          {Day(1940, 1, 1), true, "1940"},
          {Day(1950, 1, 1), false},
          {Day(1960, 1, 1), true, "1960"},
          {Day(1970, 1, 1), false},
          {Day(1980, 1, 1), true, "1980"},
          {Day(1990, 1, 1), false},
          {Day(2000, 1, 1), true, "2000"}}},
        {"1900..2000 without year",
         centuryNoYear,
         TScaleTickPass::Years,
         {{Day(1900, 1, 1), true},
          {Day(1920, 1, 1), true},
          {Day(1940, 1, 1), true},
          {Day(1960, 1, 1), true},
          {Day(1980, 1, 1), true},
          {Day(2000, 1, 1), true}}},
        {"1900..2000 two-digit years",
         centuryYY,
         TScaleTickPass::Years,
         {{Day(1900, 1, 1), true, "00"},
          {Day(1920, 1, 1), true, "20"},
          {Day(1940, 1, 1), true, "40"},
          {Day(1960, 1, 1), true, "60"},
          {Day(1980, 1, 1), true, "80"},
          {Day(2000, 1, 1), true, "00"}}},
        {"early years lose their leading zeros",
         Date(Day(1, 1, 1), Day(100, 1, 1), 3),
         TScaleTickPass::Years,
         {{Day(20, 1, 1), true, "20"},
          {Day(40, 1, 1), true, "40"},
          {Day(60, 1, 1), true, "60"},
          {Day(80, 1, 1), true, "80"},
          {Day(100, 1, 1), true, "100"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(c.s);
        EXPECT_EQ(r.Pass, c.pass);
        ExpectTicks(r, c.ticks);
    }
    // With short ticks the century from noon still starts in 2010.
    const TScaleTickResult r = ComputeScaleTicks(Date(jan1 + 0.5, Day(2100, 1, 1) + 0.5, 3, true));
    ASSERT_FALSE(r.Ticks.empty());
    EXPECT_EQ(r.Ticks.front().Value, Day(2010, 1, 1));
    EXPECT_FALSE(r.Ticks.front().Long);
}

TEST_F(ScaleTimeTicks, CalendarEndsAtYear9999)
{
    const double last = Day(9999, 12, 31);
    struct Case
    {
        const char *name;
        double low, high;
        int minTicks;
        TScaleTickPass pass;
        double lastTick;
        const char *lastLabel;
    };
    const Case cases[] = {
        {"years to the end", Day(9000, 1, 1), last, 3, TScaleTickPass::Years, last, "9999"},
        {"years past the end", Day(9000, 1, 1), 3000000, 3, TScaleTickPass::Years, last, "9999"},
        {"months past the end", last - 200, last + 200, 3, TScaleTickPass::Months, Day(9999, 9, 1), "Sep-9999"},
        {"wholly after the end", last + 5, last + 50, 3, TScaleTickPass::Days, 0, ""},
        {"days past the end", last - 10, last + 10, 3, TScaleTickPass::Days, Day(9999, 12, 30), "30-Dec-9999"},
        {"years from the first day", Day(1, 1, 1), last, 3, TScaleTickPass::Years, last, "9999"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(Date(c.low, c.high, c.minTicks));
        EXPECT_EQ(r.Pass, c.pass);
        if (c.lastTick == 0) {
            EXPECT_TRUE(r.Ticks.empty());
            continue;
        }
        ASSERT_FALSE(r.Ticks.empty());
        EXPECT_EQ(r.Ticks.back().Value, c.lastTick);
        EXPECT_EQ(r.Ticks.back().Label, QString::fromUtf8(c.lastLabel));
        for (const TScaleTick &t : r.Ticks) {
            EXPECT_LE(t.Value, last);
            EXPECT_GE(t.Value, c.low);
        }
    }
}

TEST_F(ScaleTimeTicks, Messages)
{
    const QStringList invalidH {QStringLiteral("invalid DateTime scale")};
    const QStringList invalidV {QStringLiteral("invalid"), QStringLiteral("DateTime"), QStringLiteral("scale")};
    const QStringList shortH {QStringLiteral("DateTime range is below 1 second")};
    const QStringList shortV {QStringLiteral("DateTime"), QStringLiteral("range is"), QStringLiteral("below 1"),
                              QStringLiteral("second")};
    const double d0 = Day(2026, 12, 6);
    struct Case
    {
        const char *name;
        double low, high;
        bool vertical;
        QStringList lines; // empty: ticks are drawn
        double messageValue; // checked when lines is not empty
    };
    const Case cases[] = {
        {"reversed", 10, 5, false, invalidH, 7.5},
        {"reversed vertical", 10, 5, true, invalidV, 7.5},
        {"before year 1", -693594, 0, false, invalidH, -346797},
        {"first day", -693593, -693590, false, {}, 0},
        {"after day 3000000", 0, 3000001, true, invalidV, 1500000.5},
        {"NaN", kNaN, 10, false, invalidH, 10},
        {"both NaN", kNaN, kNaN, true, invalidV, 0},
        {"infinite", 0, kInf, false, invalidH, 0},
        {"equal ends", d0, d0, false, shortH, d0},
        {"2 s horizontal", d0, d0 + 2 / 86400.0, false, shortH, d0 + 1 / 86400.0},
        {"2 s vertical", d0, d0 + 2 / 86400.0, true, {}, 0},
        {"0.01 s vertical", d0, d0 + 0.01 / 86400.0, true, shortV, d0 + 0.005 / 86400.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TScaleTickSettings s = Date(c.low, c.high, 3);
        s.Vertical = c.vertical;
        const TScaleTickResult r = ComputeScaleTicks(s);
        if (c.lines.isEmpty()) {
            EXPECT_NE(r.Pass, TScaleTickPass::Message);
            EXPECT_FALSE(r.Ticks.empty());
            continue;
        }
        EXPECT_EQ(r.Pass, TScaleTickPass::Message);
        EXPECT_EQ(r.MessageLines, c.lines);
        EXPECT_TRUE(r.Ticks.empty());
        EXPECT_TRUE(std::isfinite(r.MessageValue));
        EXPECT_NEAR(r.MessageValue, c.messageValue, 1e-9 * std::max(1.0, std::fabs(c.messageValue)));
    }
}

TEST_F(ScaleTimeTicks, DispatcherChoosesPassBySpanPerTick)
{
    const double d0 = Day(2026, 12, 6);
    struct Case
    {
        double span; // days
        bool vertical;
        TScaleTickPass pass;
        std::size_t longs;
    };
    const Case cases[] = {
        {1.0 / 86400, true, TScaleTickPass::TimeOfDay, 6}, // hundredths, 0.2 s steps
        {30.0 / 86400, false, TScaleTickPass::TimeOfDay, 4}, // seconds, 10 s steps
        {3.0 / 24, false, TScaleTickPass::TimeOfDay, 7}, // minutes, 30 min steps
        {3.0, false, TScaleTickPass::TimeOfDay, 7}, // hours, 12 h steps
        {60.0, false, TScaleTickPass::Days, 4}, // 14-day steps from 1 January
        {600.0, false, TScaleTickPass::Months, 4}, // January and July
        {1200.0, false, TScaleTickPass::Years, 4}, // every year
    };
    for (const Case &c : cases) {
        TScaleTickSettings s = Date(d0, d0 + c.span, 3);
        s.Vertical = c.vertical;
        const TScaleTickResult r = ComputeScaleTicks(s);
        EXPECT_EQ(r.Pass, c.pass) << c.span;
        EXPECT_EQ(LongOnly(r).size(), c.longs) << c.span;
    }
}

TEST_F(ScaleTimeTicks, MinTicksZeroAndWideRangesStayBounded)
{
    const double d0 = Day(2026, 12, 6);
    struct Case
    {
        double low, high;
        bool vertical, shortTicks;
    };
    const Case cases[] = {
        {d0, d0 + 1, false, true},       {d0, d0 + 1e-5, true, true}, {-693593, 3000000, false, true},
        {-693593, 3000000, true, false}, {d0, d0 + 300, false, true}, {d0, d0 + 3650, true, true},
        {d0, d0 + 10, false, true},
    };
    for (const Case &c : cases) {
        for (int minTicks : {0, 2, 10, 20}) {
            TScaleTickSettings s = Date(c.low, c.high, minTicks, c.shortTicks);
            s.Vertical = c.vertical;
            const TScaleTickResult r = ComputeScaleTicks(s);
            EXPECT_LE(r.Ticks.size(), 2000u) << c.low << ".." << c.high << " / " << minTicks;
            if (r.Pass != TScaleTickPass::Message) {
                EXPECT_FALSE(r.Ticks.empty()) << c.low << ".." << c.high << " / " << minTicks;
            }
            for (const TScaleTick &t : r.Ticks) {
                EXPECT_GE(t.Value, c.low - 1e-9);
                EXPECT_LE(t.Value, c.high + 1e-8);
            }
        }
    }
    // MinTicks 0 reads as 10: one day in 2-hour steps.
    EXPECT_EQ(LongOnly(ComputeScaleTicks(Date(d0, d0 + 1, 0))).size(), 13u);
}

} // namespace
