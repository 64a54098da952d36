// The exact distributions and the running median.
#include "Kesl_math1.h"
#include "RunningMedian.h"
#include "Theory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace {

TEST(Theory, DensityAndShareOutside)
{
    constexpr auto N = TDistribution::Normal;
    constexpr auto C = TDistribution::Cauchy;
    struct Row
    {
        TDistribution d;
        double location, width, peak, outside; // share outside [-20, 20]
    } rows[] = {
        {C, 0, 1, 1 / std::numbers::pi, 0.0318045025123527},
        {C, 10, 5, 1 / (5 * std::numbers::pi), 0.200152074361687},
        {N, 0, 10, 1 / (10 * std::sqrt(2 * std::numbers::pi)), 0.0455002638963584},
        {N, 17, 1, 1 / std::sqrt(2 * std::numbers::pi), 0.00134989803163010},
    };
    for (const Row &r : rows) {
        EXPECT_NEAR(Density(r.d, r.location, r.width, r.location), r.peak, 1e-15);
        EXPECT_LT(Density(r.d, r.location, r.width, r.location + r.width), r.peak);
        EXPECT_NEAR(DistributionFunction(r.d, r.location, r.width, r.location), 0.5, 1e-15);
        EXPECT_NEAR(ShareOutside(r.d, r.location, r.width, -20, 20), r.outside, 1e-14 + r.outside * 1e-12);
    }
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.2f", 100 * ShareOutside(C, 10, 5, -20, 20));
    EXPECT_STREQ(shown, "20.02");
    EXPECT_TRUE(std::isnan(Density(C, 0, 0, 1)));
    EXPECT_TRUE(std::isnan(ShareOutside(N, 0, -1, -20, 20)));
}

// Against the middle of a sorted copy, after every value of each stream.
TEST(RunningMedian, EqualsSortedMedianAtEveryCount)
{
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> few(0, 4); // many ties
    std::cauchy_distribution<double> wide(0, 1);
    std::vector<std::vector<double>> streams(4);
    for (int i = 0; i < 301; ++i) {
        streams[0].push_back(few(gen));
        streams[1].push_back(wide(gen));
        streams[2].push_back(i);
        streams[3].push_back(-i * 0.5);
    }
    for (const std::vector<double> &s : streams) {
        const std::vector<double> medians = RunningMedians(s);
        ASSERT_EQ(medians.size(), s.size());
        for (std::size_t n = 1; n <= s.size(); ++n) {
            std::vector<double> sorted(s.begin(), s.begin() + std::ptrdiff_t(n));
            std::sort(sorted.begin(), sorted.end());
            const double expected = n % 2 ? sorted[n / 2] : MiddleOfTwo(sorted[n / 2 - 1], sorted[n / 2]);
            ASSERT_EQ(medians[n - 1], expected) << "n = " << n;
        }
    }
    TRunningMedian m;
    EXPECT_TRUE(std::isnan(m.Median()));
    m.Add(std::nan(""));
    m.Add(3);
    EXPECT_EQ(m.Count(), 1u);
}

// Unlike the mean, the median of the Cauchy samples settles as well.
TEST(RunningMedian, SettlesNearTheLocation)
{
    for (const std::uint32_t seed : {1u, 7u, 20261208u})
        for (const double location : {-3.0, 0.0, 8.5}) {
            GeneratorSeed = seed;
            ClearNormalCache();
            std::vector<double> normal, cauchy;
            for (int i = 0; i < 500; ++i) {
                normal.push_back(GaussRandom() + location);
                cauchy.push_back(CauchyRandom(location, 1));
            }
            EXPECT_NEAR(RunningMedians(normal).back(), location, 0.2);
            EXPECT_NEAR(RunningMedians(cauchy).back(), location, 0.3);
        }
}

} // namespace
