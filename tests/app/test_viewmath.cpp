// The views' arithmetic, and the main chart's design on a chart of its own.
#include "Kesl_kurvo.h"
#include "Kesl_vector.h"
#include "MainChartDesign.h"
#include "SampleSource.h"
#include "ViewMath.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

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

// Samples drawn ahead on the other thread are those drawing in place gives,
// and are taken only while the generator and the parameters are unchanged.
TEST(SampleBatch, GivesWhatDrawingInPlaceGivesOrNothing)
{
    constexpr int n = 1001;
    for (const int distribution : {0, 1}) {
        const TSampleSource source = TSampleSource::At(distribution, 25, 50);
        GeneratorSeed = 7;
        GaussRandom(); // a normal value waits in the cache
        const TRandomState start = SaveRandomState();
        TVector inPlace, ahead;
        inPlace.SetNrOfElem(n);
        ahead.SetNrOfElem(n);
        for (int i = 1; i <= n; ++i) {
            double v = 0;
            ASSERT_TRUE(source.Draw(v));
            inPlace.SetElem(i, v);
        }
        const TRandomState end = SaveRandomState();
        RestoreRandomState(start);
        TSampleBatch batch(source, n);
        ASSERT_TRUE(batch.Take(source, ahead)) << distribution;
        for (int i = 1; i <= n; ++i)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(ahead.Elem(i)), std::bit_cast<std::uint64_t>(inPlace.Elem(i))) << i;
        EXPECT_EQ(SaveRandomState(), end);
        EXPECT_FALSE(batch.Take(source, ahead)); // once only
    }
    const TSampleSource source = TSampleSource::At(1, 0, 100);
    TVector into;
    into.SetNrOfElem(10);
    const struct
    {
        TSampleSource asked;
        int length;
        bool drawMeanwhile;
    } refused[] = {{TSampleSource::At(1, 1, 100), 10, false},
                   {source, 11, false},
                   {source, 10, true},
                   {TSampleSource::At(2, 0, 100), 10, false}};
    for (const auto &r : refused) {
        TSampleBatch batch(r.asked.Distribution == 2 ? r.asked : source, 10);
        into.SetNrOfElem(r.length);
        if (r.drawMeanwhile)
            CauchyRandom(0, 1);
        const TRandomState before = SaveRandomState();
        EXPECT_FALSE(batch.Take(r.asked, into));
        EXPECT_EQ(SaveRandomState(), before);
    }
}
