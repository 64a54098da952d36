// Cases where the passes, read naively, never end or draw wrong ticks: each
// row names the sound behaviour the passes keep.
#include "Kesl_ScaleTicks.h"
#include "qt_printers.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

double Day(int y, int m, int d)
{
    return double(QDate(y, m, d).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

TScaleTickSettings Settings(TFigType type, double low, double high, int minTicks, bool shortTicks, bool log = false,
                            bool vertical = false)
{
    TScaleTickSettings s;
    s.LabelType = type;
    s.RangeLow = low;
    s.RangeHigh = high;
    s.MinTicks = minTicks;
    s.ShortTicks = shortTicks;
    s.Logarithmic = log;
    s.Vertical = vertical;
    s.DecPlaces = type == ftTime ? 4 : -2;
    s.DateFormat.DateForTime = dtNone;
    return s;
}

struct LongTick
{
    double value;
    const char *label; // nullptr: not compared
};

class ScaleTicksMended : public ::testing::Test
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

TEST_F(ScaleTicksMended, Passes)
{
    const double jan2000 = Day(2000, 1, 1);
    struct Case
    {
        const char *name;
        TScaleTickSettings s;
        std::size_t maxTicks; // every pass ends below this
        std::vector<LongTick> leadingLongs; // the first long ticks, in order
        std::vector<LongTick> trailingLongs; // the last long ticks, in order
    };
    const Case cases[] = {
        {"1: MinTicks 0 on 1e20 .. 1.0000000001e20 ends when the step stops counting",
         Settings(ftNum, 1e20, 1.0000000001e20, 0, true),
         4,
         {{1e20, nullptr}},
         {}},
        {"1: MinTicks 0 with long ticks only",
         Settings(ftNum, 1e20, 1.0000000001e20, 0, false),
         2,
         {{1e20, nullptr}},
         {}},
        {"1: first-tick search on a huge offset",
         Settings(ftNum, 1e17, 1e17 + 1000, 3, true),
         200,
         {{1e17, nullptr}},
         {}},
        {"2: logarithmic 1e-320 .. 10 works from 1e-100",
         Settings(ftNum, 1e-320, 10, 3, true, true),
         200,
         {{1e-100, nullptr}, {1e-99, nullptr}},
         {{1, "1"}, {10, "10"}}},
        {"2: reversed, vertical",
         Settings(ftNum, 10, 1e-320, 3, true, true, true),
         200,
         {{1e-100, nullptr}},
         {{10, "10"}}},
        {"3: the time table keeps its last tick",
         Settings(ftTime, 1100, 4800, 3, true),
         100,
         {{1200, " 00:20:00"}, {2400, " 00:40:00"}, {3600, " 01:00:00"}, {4800, " 01:20:00"}},
         {}},
        {"3: a reversed time range mirrors the forward one",
         Settings(ftTime, 3600, 0, 3, false),
         100,
         {{3600, " 01:00:00"}, {2400, " 00:40:00"}, {1200, " 00:20:00"}, {0, " 00:00:00"}},
         {}},
        {"5: hundredths read as hundredths",
         Settings(ftDateTime, Day(2026, 12, 6), Day(2026, 12, 6) + 0.5 / 86400, 10, false, false, true),
         100,
         {{Day(2026, 12, 6), "00:00:00.00"},
          {Day(2026, 12, 6) + 5 / 8640000.0, "00:00:00.05"},
          {Day(2026, 12, 6) + 10 / 8640000.0, "00:00:00.10"}},
         {{Day(2026, 12, 6) + 50 / 8640000.0, "00:00:00.50"}}},
        {"6: a time-of-day range from a negative whole day keeps that day",
         Settings(ftDateTime, -1, -0.5, 3, false),
         100,
         {{-1, "00:00"}, {-0.875, "03:00"}},
         {{-0.5, "12:00"}}},
        {"6: days before day zero",
         Settings(ftDateTime, -3, 0, 2, false),
         100,
         {{-3, "27-Dec-1899"}},
         {{0, "30-Dec-1899"}}},
        {"7: months from the first of a fitting month keep it",
         Settings(ftDateTime, jan2000, jan2000 + 400, 3, false),
         100,
         {{jan2000, "Jan-2000"}, {Day(2000, 5, 1), "May-2000"}},
         {{Day(2001, 1, 1), "Jan-2001"}}},
        {"8: no year tick before the range",
         Settings(ftDateTime, jan2000 + 0.5, Day(2100, 1, 1) + 0.5, 3, false),
         100,
         {{Day(2020, 1, 1), "2020"}},
         {{Day(2100, 1, 1), "2100"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(c.s);
        EXPECT_LE(r.Ticks.size(), c.maxTicks);
        EXPECT_FALSE(r.Capped);
        std::vector<TScaleTick> longs;
        for (const TScaleTick &t : r.Ticks)
            if (t.Long)
                longs.push_back(t);
        ASSERT_GE(longs.size(), c.leadingLongs.size() + c.trailingLongs.size());
        auto check = [](const TScaleTick &t, const LongTick &e) {
            EXPECT_NEAR(t.Value, e.value, 1e-9 * std::fabs(e.value) + 1e-300);
            if (e.label) {
                EXPECT_EQ(t.Label, QString::fromUtf8(e.label));
            }
        };
        for (std::size_t i = 0; i < c.leadingLongs.size(); ++i)
            check(longs[i], c.leadingLongs[i]);
        const std::size_t tail = longs.size() - c.trailingLongs.size();
        for (std::size_t i = 0; i < c.trailingLongs.size(); ++i)
            check(longs[tail + i], c.trailingLongs[i]);
        // No tick lies before the start of a date/time range.
        if (c.s.LabelType == ftDateTime) {
            for (const TScaleTick &t : r.Ticks)
                EXPECT_GE(t.Value, c.s.RangeLow);
        }
    }
}

TEST_F(ScaleTicksMended, Labels)
{
    struct Case
    {
        const char *name;
        QString text;
        const char *expected;
    };
    const QString dateLine = DateLinePattern(true, ylYYYY, doDDMMYY, QLatin1Char('-'));
    const Case cases[] = {
        {"4: time labels carry", TimeLabel(-63.99999999999999, true), "-00:01:04.000"},
        {"4: carry into the hours", TimeLabel(3599.9999999, true), " 01:00:00.000"},
        {"4: carry without milliseconds", TimeLabel(59.9999999, false), " 00:01:00"},
        {"5: 0.05 s", FormatDateTimeValue(QStringLiteral("ss.zz"), 0.05 / 86400, true), "00.05"},
        {"5: 0.1 s", FormatDateTimeValue(QStringLiteral("ss.zz"), 0.1 / 86400, true), "00.10"},
        {"6: just below a negative whole day", FormatDateTimeValue(dateLine, -1.0000000000000002), "28-Dec-1899"},
        {"6: a negative whole day", FormatDateTimeValue(dateLine, -1), "29-Dec-1899"},
        {"6: 18:00 on 28 December 1899", FormatDateTimeValue(QStringLiteral("hh:nn"), -1.25), "18:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.text, QString::fromUtf8(c.expected)) << c.name;
}

} // namespace
