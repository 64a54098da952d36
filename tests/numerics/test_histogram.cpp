// Counting a vector into histogram bins: edges, limits, bad input, far index ranges.
#include "Kesl_math1.h"
#include "Kesl_vector.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Result
{
    bool ok = false;
    int under = -1;
    int over = -1;
    int max = -1;
};

class HistogramTest : public ::testing::Test
{
protected:
    void Fill(const std::vector<double> &values)
    {
        vec.Resize(static_cast<int>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i)
            vec.SetElem(static_cast<int>(i) + 1, values[i]);
    }

    Result Count(int first, int last, double low, double high, double width)
    {
        Result r;
        r.ok = vec.Histogram(first, last, low, high, width, &histo, r.under, r.over, r.max);
        return r;
    }

    // Sum of all bins.
    std::int64_t Binned() const
    {
        std::int64_t sum = 0;
        for (int k = 1; k <= histo.NrOfElem(); ++k)
            sum += histo.Elem(k);
        return sum;
    }

    TVector vec;
    TIntVector histo;
};

TEST_F(HistogramTest, BinEdgesOfTheDistributionView)
{
    struct Case
    {
        double value;
        int bin; // 0: not in a bin
        int under;
        int over;
    };
    const Case cases[] = {
        {-20.0, 1, 0, 0},    {-19.95, 1, 0, 0},    {-19.9, 2, 0, 0},   {0.0, 201, 0, 0},
        {19.95, 400, 0, 0},  {19.9999, 400, 0, 0}, {20.0, 0, 0, 1},    {20.2, 0, 0, 1},
        {-20.0001, 0, 1, 0}, {-1e300, 0, 1, 0},    {1e300, 0, 0, 1},   {kNaN, 0, 1, 0},
        {-kInf, 0, 1, 0},    {kInf, 0, 0, 1},      {-0.05, 200, 0, 0}, {0.05, 201, 0, 0},
    };
    for (const Case &c : cases) {
        Fill({c.value});
        const Result r = Count(1, 1, -20, 20, 0.1);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(histo.NrOfElem(), 400);
        EXPECT_EQ(r.under, c.under) << c.value;
        EXPECT_EQ(r.over, c.over) << c.value;
        EXPECT_EQ(r.max, c.bin ? 1 : 0) << c.value;
        EXPECT_EQ(Binned(), c.bin ? 1 : 0) << c.value;
        if (c.bin) {
            EXPECT_EQ(histo.Elem(c.bin), 1) << c.value;
        }
    }
}

TEST_F(HistogramTest, CountsAndMaxCountOverManyValues)
{
    Fill({0.01, 0.02, 0.03, 5.0, 5.01, -19.99, 25, -25, kNaN, 0.09});
    histo.Resize(3);
    histo.SetElem(2, 77); // stale counts are cleared first
    const Result r = Count(1, 10, -20, 20, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(histo.Elem(201), 4);
    EXPECT_EQ(histo.Elem(251), 2);
    EXPECT_EQ(histo.Elem(1), 1);
    EXPECT_EQ(histo.Elem(2), 0);
    EXPECT_EQ(r.max, 4);
    EXPECT_EQ(r.under, 2);
    EXPECT_EQ(r.over, 1);
    EXPECT_EQ(Binned(), 7);
}

TEST_F(HistogramTest, BinCountLimitAndRounding)
{
    struct Case
    {
        double low, high, width;
        bool ok;
        int bins; // NrOfElem afterwards
    };
    const Case cases[] = {
        {0, 50.04, 0.1, true, 500}, {0, 50.06, 0.1, false, 7}, {0, 50.0, 0.1, true, 500},
        {-20, 20, 0.1, true, 400},  {20, -20, 0.1, true, 400}, {0, 1000, 1, false, 7},
        {0, 2.5, 1, true, 2},       {0, 3.5, 1, true, 4},      {0, 0.04, 0.1, true, 7}, // 0 bins: kept
        {5, 5, 1, true, 7},
    };
    for (const Case &c : cases) {
        histo.Resize(7);
        histo.SetElem(3, 9);
        Fill({0.0});
        const Result r = Count(1, 1, c.low, c.high, c.width);
        EXPECT_EQ(r.ok, c.ok) << c.low << ".." << c.high;
        EXPECT_EQ(histo.NrOfElem(), c.bins) << c.low << ".." << c.high;
        if (!c.ok) {
            EXPECT_EQ(histo.Elem(3), 9) << "a refused histogram leaves the bins alone";
            EXPECT_EQ(r.under, -1);
            EXPECT_EQ(r.over, -1);
            EXPECT_EQ(r.max, -1);
        }
    }
}

TEST_F(HistogramTest, BadBinWidthOrBoundsChangeNothing)
{
    struct Case
    {
        double low, high, width;
    };
    const Case cases[] = {
        {-20, 20, 0.0},   {-20, 20, -0.1},    {-20, 20, kNaN},  {-20, 20, -kInf},  {kNaN, 20, 0.1},
        {-20, kNaN, 0.1}, {-kInf, 20, 0.1},   {-20, kInf, 0.1}, {kInf, kInf, 0.1}, {-kInf, -kInf, 1},
        {0, 1, 1e-300},   {-1e308, 1e308, 1}, {0, 1, 4.9e-324},
    };
    int events = 0;
    histo.OnChange = [&](QObject *) { ++events; };
    Fill({1.0, 2.0});
    for (const Case &c : cases) {
        histo.Resize(3);
        histo.SetElem(1, 5);
        events = 0;
        const Result r = Count(1, 2, c.low, c.high, c.width);
        EXPECT_FALSE(r.ok) << c.low << ".." << c.high << " / " << c.width;
        EXPECT_EQ(histo.NrOfElem(), 3);
        EXPECT_EQ(histo.Elem(1), 5);
        EXPECT_EQ(events, 0);
        EXPECT_EQ(r.under, -1);
    }
    int u = 0, o = 0, m = 0;
    EXPECT_FALSE(vec.Histogram(1, 2, -20, 20, 0.1, nullptr, u, o, m));
}

TEST_F(HistogramTest, SwappedBoundsBinNothing)
{
    Fill({-30, -20, -5, 0, 5, 19.99, 20, 30, kNaN});
    const Result r = Count(1, 9, 20, -20, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(histo.NrOfElem(), 400);
    EXPECT_EQ(Binned(), 0);
    EXPECT_EQ(r.max, 0);
    EXPECT_EQ(r.under, 7) << "below LowBound = 20, or NaN";
    EXPECT_EQ(r.over, 2);
}

TEST_F(HistogramTest, ReversedRangeClearsAndReturnsTrue)
{
    Fill({1, 2, 3});
    histo.Resize(400);
    histo.SetElem(10, 4);
    const Result r = Count(3, 1, -20, 20, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Binned(), 0);
    EXPECT_EQ(r.under, 0);
    EXPECT_EQ(r.over, 0);
    EXPECT_EQ(r.max, 0);
}

// When the bin count is rounded down, the bins end before HighBound. A value in
// that gap belongs to no bin and must count as Overflow, on the direct loop and
// on the path a change handler forces alike.
TEST_F(HistogramTest, ValuesBeyondTheLastBinCountAsOverflow)
{
    struct Case
    {
        double low, high, width;
        double value;
        int bins; // NrOfElem afterwards
        int bin; // 0: not in a bin
        int under;
        int over;
    };
    const Case cases[] = {
        // 500.4 bins round to 500: the bins end at 50.0.
        {0, 50.04, 0.1, 50.01, 500, 0, 0, 1},
        {0, 50.04, 0.1, 50.0, 500, 0, 0, 1},
        {0, 50.04, 0.1, 50.03, 500, 0, 0, 1},
        {0, 50.04, 0.1, 50.039999, 500, 0, 0, 1},
        {0, 50.04, 0.1, 50.04, 500, 0, 0, 1}, // at HighBound
        {0, 50.04, 0.1, 50.2, 500, 0, 0, 1},
        {0, 50.04, 0.1, 49.99, 500, 500, 0, 0},
        {0, 50.04, 0.1, 0.0, 500, 1, 0, 0},
        {0, 50.04, 0.1, -0.01, 500, 0, 1, 0},
        // 2.4 bins round to 2: the bins end at 2.
        {0, 2.4, 1, 1.99, 2, 2, 0, 0},
        {0, 2.4, 1, 2.0, 2, 0, 0, 1},
        {0, 2.4, 1, 2.39, 2, 0, 0, 1},
        // Rounded up: the last bin reaches past HighBound, which still caps it.
        {0, 2.6, 1, 2.59, 3, 3, 0, 0},
        {0, 2.6, 1, 2.6, 3, 0, 0, 1},
        // Zero bins: Histo keeps its old length, but no value lands in those bins.
        {0, 0.04, 0.1, 0.01, 7, 0, 0, 1},
        {0, 0.04, 0.1, 0.03, 7, 0, 0, 1},
        {0, 0.04, 0.1, 0.5, 7, 0, 0, 1},
    };
    for (const bool handler : {false, true}) {
        int events = 0;
        histo.OnChange = nullptr;
        if (handler)
            histo.OnChange = [&](QObject *) { ++events; };
        for (const Case &c : cases) {
            histo.Resize(7);
            Fill({c.value});
            const Result r = Count(1, 1, c.low, c.high, c.width);
            const std::string where =
                (handler ? "handler " : "direct ") + std::to_string(c.high) + " " + std::to_string(c.value);
            ASSERT_TRUE(r.ok) << where;
            EXPECT_EQ(histo.NrOfElem(), c.bins) << where;
            EXPECT_EQ(r.under, c.under) << where;
            EXPECT_EQ(r.over, c.over) << where;
            EXPECT_EQ(r.max, c.bin ? 1 : 0) << where;
            EXPECT_EQ(Binned(), c.bin ? 1 : 0) << where;
            if (c.bin) {
                EXPECT_EQ(histo.Elem(c.bin), 1) << where;
            }
        }
        if (handler) {
            EXPECT_GT(events, 0) << "the handler path was taken";
        }
    }
    histo.OnChange = nullptr;

    // Many values at once: every one is counted somewhere.
    Fill({50.01, 49.95, 0.0, 50.03, -1.0, 50.04, 25.0});
    const Result r = Count(1, 7, 0, 50.04, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.under + r.over + Binned(), 7);
    EXPECT_EQ(r.over, 3);
    EXPECT_EQ(r.under, 1);
    EXPECT_EQ(histo.Elem(500), 1);
    EXPECT_EQ(histo.Elem(251), 1);
}

// Reference: the plain loop over every index, reading 0 outside the vector.
Result NaiveCount(const TVector &vec, int first, int last, double low, double high, double width, int bins,
                  std::vector<std::int64_t> &histo)
{
    Result r {true, 0, 0, 0};
    histo.assign(static_cast<std::size_t>(bins), 0);
    for (std::int64_t i = first; i <= last; ++i) {
        const double v = vec.Elem(static_cast<int>(i));
        if (!(v >= low)) {
            ++r.under;
        } else if (v < high) {
            const auto k = static_cast<std::size_t>((v - low) / width);
            if (k < histo.size())
                r.max = std::max<int>(r.max, static_cast<int>(++histo[k]));
            else
                ++r.over;
        } else {
            ++r.over;
        }
    }
    return r;
}

TEST_F(HistogramTest, PartlyOutsideRangesMatchPlainLoop)
{
    GeneratorSeed = 2024;
    std::vector<double> values(1000);
    for (double &v : values)
        v = CauchyRandom(0.3, 2.0);
    values[10] = kNaN;
    values[20] = kInf;
    Fill(values);

    struct Case
    {
        int first, last;
        double low, high;
    };
    const Case cases[] = {
        {1, 1000, -20, 20},  {-50, 1200, -20, 20}, {-300, 0, -20, 20},  {1001, 1400, -20, 20},
        {500, 520, -20, 20}, {-50, 1200, 1, 5},    {-50, 1200, -5, -1}, {-10, 10, 0, 40},
    };
    for (const Case &c : cases) {
        std::vector<std::int64_t> expectedBins;
        const int bins = static_cast<int>(std::nearbyint(std::fabs(c.high - c.low) / 0.1));
        const Result expected = NaiveCount(vec, c.first, c.last, c.low, c.high, 0.1, bins, expectedBins);
        const Result r = Count(c.first, c.last, c.low, c.high, 0.1);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.under, expected.under) << c.first << ".." << c.last;
        EXPECT_EQ(r.over, expected.over) << c.first << ".." << c.last;
        EXPECT_EQ(r.max, expected.max) << c.first << ".." << c.last;
        ASSERT_EQ(histo.NrOfElem(), bins);
        for (int k = 1; k <= bins; ++k)
            ASSERT_EQ(histo.Elem(k), expectedBins[static_cast<std::size_t>(k) - 1]) << "bin " << k;
    }
}

TEST_F(HistogramTest, HugeRangesCountZerosInOneStep)
{
    Fill({0.0, 5.0, 100.0});
    Result r = Count(1, INT_MAX, -20, 20, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(histo.Elem(201), INT_MAX - 2) << "element 1 and the INT_MAX - 3 indices beyond the vector";
    EXPECT_EQ(histo.Elem(251), 1);
    EXPECT_EQ(r.over, 1);
    EXPECT_EQ(r.under, 0);
    EXPECT_EQ(r.max, INT_MAX - 2);

    // 2^32 indices: the counts saturate instead of wrapping.
    r = Count(INT_MIN, INT_MAX, -20, 20, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(histo.Elem(201), INT_MAX);
    EXPECT_EQ(r.max, INT_MAX);

    r = Count(INT_MIN, INT_MAX, 1, 2, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.under, INT_MAX);
    EXPECT_EQ(r.over, 2);

    r = Count(INT_MIN, -1, -2, -1, 0.1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.over, INT_MAX);
    EXPECT_EQ(Binned(), 0);
}

TEST_F(HistogramTest, HandlerSeesEveryIncrementAndSameCounts)
{
    Fill({-19.99, 0.0, 0.01, 25, kNaN, 3.0});
    const Result plain = Count(1, 6, -20, 20, 0.1);
    std::vector<int> plainBins;
    for (int k = 1; k <= histo.NrOfElem(); ++k)
        plainBins.push_back(histo.Elem(k));

    TIntVector watched;
    int events = 0;
    watched.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &watched);
        ++events;
    };
    Result r;
    r.ok = vec.Histogram(1, 6, -20, 20, 0.1, &watched, r.under, r.over, r.max);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(events, 1 + 1 + 4) << "resize, clear and one per increment";
    EXPECT_EQ(r.under, plain.under);
    EXPECT_EQ(r.over, plain.over);
    EXPECT_EQ(r.max, plain.max);
    ASSERT_EQ(watched.NrOfElem(), static_cast<int>(plainBins.size()));
    for (int k = 1; k <= watched.NrOfElem(); ++k)
        ASSERT_EQ(watched.Elem(k), plainBins[static_cast<std::size_t>(k) - 1]);
}

TEST_F(HistogramTest, HandlerShrinkingTheBinsIsSafe)
{
    Fill({10.0, 15.0, 19.9, 0.0});
    TIntVector watched;
    bool shrunk = false;
    watched.OnChange = [&](QObject *) {
        if (watched.NrOfElem() == 400 && watched.Elem(301) == 1 && !shrunk) {
            shrunk = true;
            watched.Resize(5);
        }
    };
    int u = 0, o = 0, m = 0;
    ASSERT_TRUE(vec.Histogram(1, 4, -20, 20, 0.1, &watched, u, o, m));
    EXPECT_TRUE(shrunk);
    EXPECT_EQ(watched.NrOfElem(), 5);
    EXPECT_EQ(watched.Elem(1) + watched.Elem(5), 0) << "later values fall beyond the shrunk bins";
}

} // namespace
