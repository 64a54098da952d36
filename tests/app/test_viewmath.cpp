// The views' arithmetic, and the main chart's design on a chart of its own.
#include "Kesl_kurvo.h"
#include "Kesl_vector.h"
#include "MainChartDesign.h"
#include "ViewMath.h"

#include <gtest/gtest.h>

#include <array>

TEST(ViewMath, BarsStandAtTheBinsUpperEdgesAsDensities)
{
    const std::array<int, 3> counts {1, 0, 30};
    const std::vector<THistogramBar> bars = HistogramBars(counts, 100);
    ASSERT_EQ(bars.size(), 3u);
    const THistogramBar expected[] = {{-19.9, 0.1}, {-19.8, 0.0}, {-19.7, 3.0}};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        EXPECT_DOUBLE_EQ(bars[i].X, expected[i].X) << i;
        EXPECT_DOUBLE_EQ(bars[i].Height, expected[i].Height) << i;
    }
    // Without samples there is no density, rather than a division by zero.
    EXPECT_EQ(HistogramBars(counts, 0)[2].Height, 0.0);
}

TEST(ViewMath, RunningMeansAreThoseOfEachPrefix)
{
    const std::vector<double> samples {1000.0, 0.0, 2.0, -1e-3, 0.1, 1e300, -1e300, 0.3};
    TVector v;
    v.SetNrOfElem(static_cast<int>(samples.size()));
    for (std::size_t i = 0; i < samples.size(); ++i)
        v.SetElem(static_cast<int>(i) + 1, samples[i]);
    const std::vector<double> means = RunningMeans(samples);
    ASSERT_EQ(means.size(), samples.size());
    EXPECT_EQ(means[1], 500.0);
    for (int i = 1; i <= static_cast<int>(samples.size()); ++i) {
        double mean = 0, variance = 0;
        v.MeanVar(1, i, mean, variance);
        EXPECT_EQ(means[static_cast<std::size_t>(i) - 1], mean) << i; // the same bits
    }
}

TEST(MainChartDesign, ShowsItsAxesAfterLoading)
{
    TKurvo rc;
    ApplyMainChartDesign(rc);
    rc.SetBounds(0, 73, 752, 223);
    rc.SetPaintSuppressed(false);
    EXPECT_EQ(rc.DataToPixel(1, -100, 0), QPoint(50, 183));
    EXPECT_EQ(rc.DataToPixel(1, 100, 10), QPoint(732, 20));
    const TCanvas &c = rc.ControlBitmap().Canvas();
    EXPECT_EQ(c.Pixel(2, 2), ColorToRGB(clBtnFace));
    // The x axis line runs along the data area's lower edge and carries ticks
    // below it; the y axis has ticks left of the data area.
    int xTicks = 0, yTicks = 0;
    for (int x = 51; x < 732; ++x)
        xTicks += c.Pixel(x, 186) == clBlack;
    for (int y = 21; y < 183; ++y)
        yTicks += c.Pixel(47, y) == clBlack;
    EXPECT_GE(xTicks, 3);
    EXPECT_GE(yTicks, 3);
    EXPECT_EQ(c.Pixel(400, 100), clWhite);
}
