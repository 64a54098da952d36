// Numeric tick passes: steps, tick values, kinds, labels and recording flags.
#include "Kesl_ScaleTicks.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct LongTick
{
    double value;
    const char *label;
};

std::vector<double> Shorts(const TScaleTickResult &r)
{
    std::vector<double> v;
    for (const TScaleTick &t : r.Ticks)
        if (!t.Long)
            v.push_back(t.Value);
    return v;
}

std::vector<TScaleTick> Longs(const TScaleTickResult &r)
{
    std::vector<TScaleTick> v;
    for (const TScaleTick &t : r.Ticks)
        if (t.Long)
            v.push_back(t);
    return v;
}

// Compares long ticks by value (relative 1e-12) and label text.
void ExpectLongs(const TScaleTickResult &r, const std::vector<LongTick> &expected)
{
    const std::vector<TScaleTick> longs = Longs(r);
    ASSERT_EQ(longs.size(), expected.size());
    for (std::size_t i = 0; i < longs.size(); ++i) {
        EXPECT_NEAR(longs[i].Value, expected[i].value, 1e-12 * std::max(1.0, std::fabs(expected[i].value)))
            << "long tick " << i;
        EXPECT_EQ(longs[i].Label, QString::fromUtf8(expected[i].label)) << "long tick " << i;
    }
}

// Long ticks at every integer from..to, labelled with the integer.
std::vector<LongTick> Integers(int from, int to)
{
    static std::vector<std::string> texts;
    texts.clear();
    for (int i = from; i <= to; ++i)
        texts.push_back(std::to_string(i));
    std::vector<LongTick> v;
    for (int i = from; i <= to; ++i)
        v.push_back({double(i), texts[std::size_t(i - from)].c_str()});
    return v;
}

std::vector<double> Series(double from, double to, double step)
{
    std::vector<double> v;
    const int n = int(std::lround((to - from) / step));
    for (int i = 0; i <= n; ++i)
        v.push_back(from + i * step);
    return v;
}

void ExpectValues(const std::vector<double> &got, const std::vector<double> &expected)
{
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i]))) << "tick " << i;
}

TScaleTickSettings Range(double low, double high, int minTicks = 3)
{
    TScaleTickSettings s;
    s.RangeLow = low;
    s.RangeHigh = high;
    s.MinTicks = minTicks;
    return s;
}

TEST(ScaleTickStep, ChooseTickStep)
{
    struct Case
    {
        int minTicks;
        double low, high;
        double first, step;
        int sub;
    };
    const Case cases[] = {
        {3, 0, 100, 0, 20, 4},
        {3, 0, 1, 0, 0.2, 4},
        {3, 100, 0, 100, -20, 4},
        {4, 0, 1, 0, 0.2, 4},
        {2, 0, 10, 0, 2, 4}, // a quotient of exactly 5 takes the smaller step
        {3, 0, 6, 0, 1, 5},
        {2, 0, 10.01, 0, 5, 5},
        {3, 0, 30, 0, 10, 5},
        {10, 0, 1000, 0, 100, 5},
        {3, -7, 93, 0, 20, 4},
        {3, 3, 103, 20, 20, 4},
        {3, -0.35, 0.65, -0.2, 0.2, 4},
        {0, 0, 10, 0, 1, 5},
        {0, 0, 50, 0, 1, 1},
        {0, 2.5, 7.5, 3, 1, 5},
        {0, 10, 0, 10, -1, 5},
        {3, 0, 2000000, 0, 500000, 5},
        {3, 5, 5, 5, 0, 1},
        {3, 1e-300, 4e-300, 1e-300, 1e-300, 5},
        {3, 0.0009995, 1.0009995, 0.2, 0.2, 4}, // first tick within a thousandth of a step after Low
        {7, 1, 10001, 0, 1000, 5}, // 0 lies before Low by exactly that thousandth
    };
    for (const Case &c : cases) {
        const TTickStep st = ChooseTickStep(c.minTicks, c.low, c.high);
        EXPECT_NEAR(double(st.Step), c.step, 1e-12 * std::fabs(c.step)) << c.low << ".." << c.high;
        EXPECT_NEAR(double(st.FirstTick), c.first, 1e-12 * std::max(std::fabs(c.first), std::fabs(c.step)))
            << c.low << ".." << c.high;
        EXPECT_EQ(st.SubDivisions, c.sub) << c.low << ".." << c.high;
    }
}

TEST(ScaleTickStep, AtLeastMinTicksIntervalsFit)
{
    // The chosen step leaves between MinTicks and 2.5 x MinTicks intervals
    // (exactly 2.5 x when the quotient is a 2 or a 5 times a power of ten).
    for (int minTicks = 2; minTicks <= 10; ++minTicks) {
        for (double width : {1.0, 1.7, 3.3, 7.77, 12.0, 49.9, 0.0123, 98765.4}) {
            const TTickStep st = ChooseTickStep(minTicks, 0, width);
            const double intervals = width / double(st.Step);
            EXPECT_GE(intervals, minTicks * (1 - 1e-9)) << width << " / " << minTicks;
            EXPECT_LE(intervals, 2.5 * minTicks * (1 + 1e-9)) << width << " / " << minTicks;
        }
    }
}

TEST(ScaleTicksLinear, Examples)
{
    struct Case
    {
        const char *name;
        TScaleTickSettings s;
        std::vector<LongTick> longs;
        std::vector<double> shorts;
    };
    TScaleTickSettings zeroToOneDec0 = Range(0, 1);
    zeroToOneDec0.DecPlaces = 0;
    TScaleTickSettings exp = Range(0, 2000000);
    TScaleTickSettings user = Range(0, 100, 4);
    user.LabelType = ftUserText;
    user.UserTickText = QStringLiteral("a|b|c");
    TScaleTickSettings userTrailing = user;
    userTrailing.UserTickText = QStringLiteral("a|b|");
    TScaleTickSettings percent = Range(0, 40, 4);
    percent.ScaleInscript = QStringLiteral("& %");
    percent.DecPlaces = 0;
    TScaleTickSettings dollar = percent;
    dollar.ScaleInscript = QStringLiteral("$");
    TScaleTickSettings longLabel = Range(123456.5, 123456.75, 2);
    longLabel.DecPlaces = 12;
    TScaleTickSettings noFigs = Range(0, 100);
    noFigs.LabelType = ftNoFigs;
    TScaleTickSettings fixed = Range(0, 100);
    fixed.DecPlaces = 3;
    TScaleTickSettings timeFallback = Range(0, 400000); // time labels that left the table read as numbers
    timeFallback.LabelType = ftTime;
    timeFallback.DecPlaces = 4;
    const Case cases[] = {
        {"0..100",
         Range(0, 100),
         {{0, "0"}, {20, "20"}, {40, "40"}, {60, "60"}, {80, "80"}, {100, "100"}},
         Series(0, 100, 5)},
        {"0..1",
         Range(0, 1),
         {{0, "0.00"}, {0.2, "0.20"}, {0.4, "0.40"}, {0.6, "0.60"}, {0.8, "0.80"}, {1, "1.00"}},
         Series(0, 1, 0.05)},
        {"100..0",
         Range(100, 0),
         {{100, "100"}, {80, "80"}, {60, "60"}, {40, "40"}, {20, "20"}, {0, "0"}},
         Series(100, 0, -5)},
        // No subdivision: the short ticks coincide with the long ones.
        {"MinTicks 0 on 0..50", Range(0, 50, 0), Integers(0, 50), Series(0, 50, 1)},
        {"MinTicks 0 on 0..10",
         Range(0, 10, 0),
         {{0, "0.0"},
          {1, "1.0"},
          {2, "2.0"},
          {3, "3.0"},
          {4, "4.0"},
          {5, "5.0"},
          {6, "6.0"},
          {7, "7.0"},
          {8, "8.0"},
          {9, "9.0"},
          {10, "10.0"}},
         Series(0, 10, 0.2)},
        {"exponential with zero",
         exp,
         {{0, "0.0"}, {5e5, " 5.0E+05"}, {1e6, " 1.0E+06"}, {1.5e6, " 1.5E+06"}, {2e6, " 2.0E+06"}},
         Series(0, 2e6, 1e5)},
        {"DecPlaces 0 labels whole numbers only",
         zeroToOneDec0,
         {{0, "0"}, {0.2, ""}, {0.4, ""}, {0.6, ""}, {0.8, ""}, {1, "1"}},
         Series(0, 1, 0.05)},
        {"user texts", user, {{0, "a"}, {20, "b"}, {40, "c"}, {60, "c"}, {80, "c"}, {100, "c"}}, Series(0, 100, 5)},
        {"user texts with a trailing separator",
         userTrailing,
         {{0, "a"}, {20, "b"}, {40, ""}, {60, ""}, {80, ""}, {100, ""}},
         Series(0, 100, 5)},
        {"inscription with &",
         percent,
         {{0, "0 %"}, {10, "10 %"}, {20, "20 %"}, {30, "30 %"}, {40, "40 %"}},
         Series(0, 40, 2)},
        {"inscription without &",
         dollar,
         {{0, "$0"}, {10, "$10"}, {20, "$20"}, {30, "$30"}, {40, "$40"}},
         Series(0, 40, 2)},
        {"no labels", noFigs, {{0, ""}, {20, ""}, {40, ""}, {60, ""}, {80, ""}, {100, ""}}, Series(0, 100, 5)},
        {"fixed decimals",
         fixed,
         {{0, "0.000"}, {20, "20.000"}, {40, "40.000"}, {60, "60.000"}, {80, "80.000"}, {100, "100.000"}},
         Series(0, 100, 5)},
        {"time fall-back reads numbers",
         timeFallback,
         {{0, "0.0"}, {1e5, "100000.0000"}, {2e5, "200000.0000"}, {3e5, "300000.0000"}, {4e5, "400000.0000"}},
         Series(0, 4e5, 2e4)},
        {"the short tick at the range start survives rounding noise",
         Range(0, 0.3),
         {{0, "0.00"}, {0.1, "0.10"}, {0.2, "0.20"}, {0.3, "0.30"}},
         Series(0, 0.3, 0.02)},
        {"start off the grid",
         Range(-7, 93),
         {{0, "0"}, {20, "20"}, {40, "40"}, {60, "60"}, {80, "80"}},
         Series(-5, 90, 5)},
        {"long label cut to 14",
         longLabel,
         {{123456.5, "123456.5000000"}, {123456.6, "123456.6000000"}, {123456.7, "123456.7000000"}},
         Series(123456.5, 123456.74, 0.02)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TScaleTickResult r = ComputeScaleTicks(c.s);
        EXPECT_EQ(r.Pass, TScaleTickPass::Linear);
        ExpectLongs(r, c.longs);
        ExpectValues(Shorts(r), c.shorts);
        // All short ticks come before the long ones.
        bool seenLong = false;
        for (const TScaleTick &t : r.Ticks) {
            EXPECT_FALSE(seenLong && !t.Long);
            seenLong = seenLong || t.Long;
        }
    }
}

TEST(ScaleTicksLinear, ZeroLabelRule)
{
    // A tick within 1e-14 of the range from zero reads as zero; on ranges
    // wider than 100000 as "0.0" (or "0" with no decimals).
    struct Case
    {
        double low, high;
        int decPlaces;
        const char *zeroLabel;
    };
    const Case cases[] = {
        {-0.6, 0.4, -2, "0.00"},     {-60, 40, -2, "0"},     {-600000, 400000, -2, "0.0"}, {-600000, 400000, 0, "0"},
        {-600000, 400000, 2, "0.0"}, {-6e9, 4e9, -2, "0.0"}, {-0.6, 0.4, 1, "0.0"},
    };
    for (const Case &c : cases) {
        TScaleTickSettings s = Range(c.low, c.high);
        s.DecPlaces = c.decPlaces;
        const TScaleTickResult r = ComputeScaleTicks(s);
        bool found = false;
        for (const TScaleTick &t : Longs(r)) {
            if (std::fabs(t.Value) < 1e-14 * (c.high - c.low)) {
                EXPECT_EQ(t.Label, QString::fromLatin1(c.zeroLabel)) << c.low << ".." << c.high;
                found = true;
            }
        }
        EXPECT_TRUE(found) << c.low << ".." << c.high;
    }
    // Steps of 0.1 from -0.2 leave the third tick a hair below zero
    // (about -1e-20): it reads as zero, not as "-0.00".
    const TScaleTickResult r = ComputeScaleTicks(Range(-0.2, 0.8, 5));
    const std::vector<TScaleTick> longs = Longs(r);
    ASSERT_EQ(longs.size(), 11u);
    EXPECT_LT(std::fabs(longs[2].Value), 1e-15);
    EXPECT_EQ(longs[2].Label, QStringLiteral("0.00"));
    EXPECT_EQ(longs[0].Label, QStringLiteral("-0.20"));
}

TEST(ScaleTicksLinear, RecordingAndNotificationOrder)
{
    struct Case
    {
        bool vertical, shortTicks;
        bool longRecorded;
    };
    const Case cases[] = {{false, true, false}, {false, false, true}, {true, true, true}, {true, false, true}};
    for (const Case &c : cases) {
        TScaleTickSettings s = Range(0, 100);
        s.Vertical = c.vertical;
        s.ShortTicks = c.shortTicks;
        const TScaleTickResult r = ComputeScaleTicks(s);
        EXPECT_EQ(r.NotifyBeforeLabel, c.vertical);
        EXPECT_TRUE(r.LabelHeightOfZero);
        EXPECT_EQ(Shorts(r).size(), c.shortTicks ? 21u : 0u);
        for (const TScaleTick &t : r.Ticks) {
            EXPECT_TRUE(t.Drawn);
            EXPECT_EQ(t.Recorded, t.Long ? c.longRecorded : true);
        }
    }
}

TEST(ScaleTicksLog, Examples)
{
    struct Case
    {
        const char *name;
        double low, high;
        int minTicks, decPlaces;
        std::vector<LongTick> longs;
        std::vector<double> shorts; // horizontal scale with short ticks
    };
    const Case cases[] = {
        {"1..1000 sparse", 1, 1000, 3, -2, {{1, "1"}, {10, "10"}, {100, "100"}, {1000, "1000"}}, {}},
        {"1..1000 dense",
         1,
         1000,
         10,
         -2,
         {{1, "1"},
          {2, "2"},
          {5, "5"},
          {10, "10"},
          {20, "20"},
          {50, "50"},
          {100, "100"},
          {200, "200"},
          {500, "500"},
          {1000, "1000"}},
         {3, 4, 6, 7, 8, 9, 30, 40, 60, 70, 80, 90, 300, 400, 600, 700, 800, 900}},
        {"0.01..10 trailing zeros", 0.01, 10, 3, -2, {{0.01, "0.01"}, {0.1, "0.1"}, {1, "1"}, {10, "10"}}, {}},
        {"0.01..10 dense",
         0.01,
         10,
         5,
         -2,
         {{0.01, "0.01"},
          {0.02, "0.02"},
          {0.05, "0.05"},
          {0.1, "0.1"},
          {0.2, "0.2"},
          {0.5, "0.5"},
          {1, "1"},
          {2, "2"},
          {5, "5"},
          {10, "10"}},
         {0.03, 0.04, 0.06, 0.07, 0.08, 0.09, 0.3, 0.4, 0.6, 0.7, 0.8, 0.9, 3, 4, 6, 7, 8, 9}},
        {"decade exponents", 0.01, 10, 3, -3, {{0.01, "-2"}, {0.1, "-1"}, {1, "0"}, {10, "1"}}, {}},
        {"decade exponents dense",
         1,
         100,
         5,
         -3,
         {{1, "0"}, {2, ""}, {5, ""}, {10, "1"}, {20, ""}, {50, ""}, {100, "2"}},
         {3, 4, 6, 7, 8, 9, 30, 40, 60, 70, 80, 90}},
        {"fixed decimals keep zeros", 1, 100, 2, 2, {{1, "1.00"}, {10, "10.00"}, {100, "100.00"}}, {}},
        {"reversed", 1000, 1, 3, -2, {{1, "1"}, {10, "10"}, {100, "100"}, {1000, "1000"}}, {}},
        {"ends off the decades", 3, 3000, 3, -2, {{10, "10"}, {100, "100"}, {1000, "1000"}}, {}},
        {"exponential",
         1,
         1e7,
         3,
         -2,
         {{1, " 1.0E+00"},
          {10, " 1.0E+01"},
          {100, " 1.0E+02"},
          {1000, " 1.0E+03"},
          {1e4, " 1.0E+04"},
          {1e5, " 1.0E+05"},
          {1e6, " 1.0E+06"},
          {1e7, " 1.0E+07"}},
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TScaleTickSettings s = Range(c.low, c.high, c.minTicks);
        s.Logarithmic = true;
        s.DecPlaces = c.decPlaces;
        const TScaleTickResult r = ComputeScaleTicks(s);
        EXPECT_EQ(r.Pass, TScaleTickPass::Logarithmic);
        EXPECT_TRUE(r.NotifyBeforeLabel);
        ExpectLongs(r, c.longs);
        ExpectValues(Shorts(r), c.shorts);
    }
}

TEST(ScaleTicksLog, UserTextsCountOnlyLabelledTicksInside)
{
    TScaleTickSettings s = Range(3, 300, 10); // dense; 3 and 4 lie before the first labelled 5
    s.Logarithmic = true;
    s.LabelType = ftUserText;
    s.UserTickText = QStringLiteral("p|q|r|s");
    s.ShortTicks = false;
    const TScaleTickResult r = ComputeScaleTicks(s);
    // Labelled: 5, 10, 20, 50, 100, 200.
    ExpectLongs(r, {{5, "p"}, {10, "q"}, {20, "r"}, {50, "s"}, {100, "s"}, {200, "s"}});
}

TEST(ScaleTicksLog, IntermediateCandidatesByOrientation)
{
    struct Case
    {
        bool vertical, shortTicks;
        int intermediates; // ticks at 3, 4, 6, 7, 8, 9 x decade
        bool longLine, drawn;
    };
    const Case cases[] = {
        {true, true, 12, true, true}, // vertical: long lines, recorded
        {true, false, 0, false, false}, // vertical without short ticks: not visited
        {false, true, 12, false, true}, // horizontal: short lines, recorded
        {false, false, 12, false, false} // horizontal without: notification only
    };
    for (const Case &c : cases) {
        TScaleTickSettings s = Range(1, 100, 10);
        s.Logarithmic = true;
        s.Vertical = c.vertical;
        s.ShortTicks = c.shortTicks;
        const TScaleTickResult r = ComputeScaleTicks(s);
        int n = 0;
        for (const TScaleTick &t : r.Ticks) {
            if (!t.Label.isEmpty() || t.Value == 1 || t.Value == 10 || t.Value == 100)
                continue;
            const double m = t.Value / std::pow(10.0, std::floor(std::log10(t.Value) + 1e-12));
            if (std::fabs(m - 2) < 1e-9 || std::fabs(m - 5) < 1e-9)
                continue;
            ++n;
            EXPECT_EQ(t.Long, c.longLine) << t.Value;
            EXPECT_EQ(t.Drawn, c.drawn) << t.Value;
            EXPECT_EQ(t.Recorded, c.drawn) << t.Value;
        }
        EXPECT_EQ(n, c.intermediates) << c.vertical << c.shortTicks;
    }
}

TEST(ScaleTicksLog, LessThanOneDecadeRunsLinear)
{
    TScaleTickSettings s = Range(2, 5);
    s.Logarithmic = true;
    const TScaleTickResult r = ComputeScaleTicks(s);
    EXPECT_EQ(r.Pass, TScaleTickPass::Linear);
    ExpectLongs(r, {{2, "2.00"}, {3, "3.00"}, {4, "4.00"}, {5, "5.00"}});
}

// Every pass ends, stays below the cap, and bad ranges give no ticks or a
// few sane ones instead of failing.
TEST(ScaleTicksBadInput, PassesEndAndStayBounded)
{
    struct Case
    {
        const char *name;
        double low, high;
        int minTicks;
        bool log;
        std::size_t maxTicks; // expected upper bound for this case
        std::size_t minLongs;
    };
    const Case cases[] = {
        {"MinTicks 0 on a huge range", 1e20, 1.0000000001e20, 0, false, 4, 1},
        {"MinTicks 0 on a wide range", 0, 1e9, 0, false, std::size_t(kMaxPassTicks), 1},
        {"MinTicks 0 near the double limit", -1e308, 1e308, 0, false, std::size_t(kMaxPassTicks), 1},
        {"range of 1e-300", 0, 1e-300, 3, false, 40, 4},
        {"range of 1e300", 0, 1e300, 3, false, 40, 4},
        {"range across the double limit", -1.7e308, 1.7e308, 3, false, 40, 3},
        {"tiny range far from zero", 1e20, 1e20 + 1e5, 3, false, 40, 1},
        {"NaN low", kNaN, 1, 3, false, 0, 0},
        {"NaN high", 0, kNaN, 3, false, 0, 0},
        {"infinite end", 0, kInf, 3, false, 0, 0},
        {"equal ends", 7, 7, 3, false, 0, 0},
        {"denormal width", 0, 5e-324, 3, false, 40, 1},
        {"log with zero end", 0, 100, 3, true, 0, 0},
        {"log with negative end", -5, 100, 3, true, 0, 0},
        {"log below the floor", 1e-320, 10, 3, true, 200, 101},
        {"log reversed below the floor", 10, 1e-320, 3, true, 200, 101},
        {"log entirely below the floor", 1e-320, 1e-310, 3, true, 0, 0},
        {"log up to the double limit", 1e-300, 1.7e308, 3, true, 700, 409}, // from the floor 1e-100
        {"log with NaN", kNaN, 10, 3, true, 0, 0},
        {"log with infinity", 1, kInf, 3, true, 0, 0},
        {"log MinTicks 0", 1, 1000, 0, true, 10, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (bool shortTicks : {true, false}) {
            TScaleTickSettings s = Range(c.low, c.high, c.minTicks);
            s.Logarithmic = c.log;
            s.ShortTicks = shortTicks;
            const TScaleTickResult r = ComputeScaleTicks(s);
            EXPECT_LE(r.Ticks.size(), c.maxTicks);
            EXPECT_GE(Longs(r).size(), c.minLongs);
            for (const TScaleTick &t : r.Ticks) {
                EXPECT_TRUE(std::isfinite(t.Value));
                EXPECT_LE(t.Label.size(), 14);
            }
        }
    }
}

TEST(ScaleTicksBadInput, CapIsReportedWhereItApplies)
{
    TScaleTickSettings s = Range(0, 1e6, 0);
    const TScaleTickResult capped = ComputeScaleTicks(s);
    EXPECT_TRUE(capped.Capped);
    EXPECT_EQ(capped.Ticks.size(), std::size_t(kMaxPassTicks));
    // Short ticks fill half the cap from the range start, long ticks the rest.
    const int half = kMaxPassTicks / 2;
    EXPECT_EQ(capped.Ticks[0].Value, 0.0);
    EXPECT_FALSE(capped.Ticks[half - 1].Long);
    EXPECT_EQ(capped.Ticks[half - 1].Value, double(half - 1));
    EXPECT_TRUE(capped.Ticks[half].Long);
    EXPECT_EQ(capped.Ticks[half].Value, 0.0);
    EXPECT_EQ(capped.Ticks[kMaxPassTicks - 1].Value, double(half - 1));
    EXPECT_TRUE(capped.Ticks[kMaxPassTicks - 1].Long);

    s.RangeHigh = 100;
    const TScaleTickResult small = ComputeScaleTicks(s);
    EXPECT_FALSE(small.Capped);
    EXPECT_EQ(small.Ticks.size(), 101u + 101u); // short and long at every unit
}

} // namespace
