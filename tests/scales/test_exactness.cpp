// Results that sit exactly on a limit or a tie of the tick rules.
#include "Kesl_ScaleTicks.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ScaleExactness, FirstTickOnTheToleranceLimit)
{
    // Step 1000; 0 lies before Low by exactly a thousandth of it.
    const TTickStep st = ChooseTickStep(7, 1, 10001);
    EXPECT_EQ(double(st.Step), 1000.0);
    EXPECT_EQ(double(st.FirstTick), 0.0);
}

TEST(ScaleExactness, Texts)
{
    struct Case
    {
        QString text;
        const char *expected;
    };
    const Case cases[] = {
        {TimeLabel(0.0625, true), " 00:00:00.062"}, // tie to the even neighbour
        {TimeLabel(1.1875, true), " 00:00:01.188"}, {TimeLabel(-0.0625, true), "-00:00:00.062"},
        {FormatTickNumber(-0.0L, 2), "0.00"}, // a negative zero is no negative value
        {FormatTickNumber(-0.0L, -1), " 0.0E+00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.text, QString::fromLatin1(c.expected));
}

TEST(ScaleExactness, ShortTickAtRangeLowDespiteRoundingNoise)
{
    TScaleTickSettings s;
    s.RangeLow = 0;
    s.RangeHigh = 0.3;
    s.MinTicks = 3;
    const TScaleTickResult r = LinearTickPass(s);
    std::vector<double> shorts;
    for (const TScaleTick &t : r.Ticks)
        if (!t.Long)
            shorts.push_back(t.Value);
    ASSERT_EQ(shorts.size(), 16u); // 0, 0.02, ..., 0.3
    EXPECT_NEAR(shorts.front(), 0.0, 1e-12);
    EXPECT_NEAR(shorts.back(), 0.3, 1e-12);
}

TEST(ScaleExactness, ClockLabelsThatWouldNotFitGiveWayToNumbers)
{
    struct Case
    {
        double low;
        double high;
        TScaleTickPass pass;
    };
    const Case cases[] = {
        {3599990, 3599991, TScaleTickPass::TimeTable}, // 999 hours with milliseconds: 14 characters
        {3600000, 3600001, TScaleTickPass::Linear}, // 1000 hours would need 15
        {3600000, 3600030, TScaleTickPass::TimeTable}, // without milliseconds they fit
    };
    for (const Case &c : cases) {
        TScaleTickSettings s;
        s.LabelType = ftTime;
        s.DecPlaces = 4;
        s.RangeLow = c.low;
        s.RangeHigh = c.high;
        const TScaleTickResult r = ComputeScaleTicks(s);
        EXPECT_EQ(r.Pass, c.pass) << c.low;
        for (const TScaleTick &t : r.Ticks)
            EXPECT_LE(t.Label.size(), 14) << c.low << " " << t.Label.toStdString();
    }
}

} // namespace
