// The exact distributions and the running median.
#include "RunningMedian.h"
#include "Theory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

TEST(Theory, PeakAndShareOutside)
{
    using enum TDistribution;
    const double pi = std::numbers::pi, root = std::sqrt(2 * pi);
    const struct
    {
        TDistribution d;
        double location, width, peak, outside; // outside [-20, 20]
    } rows[] = {{Cauchy, 0, 1, 1 / pi, 0.0318045025123527},
                {Cauchy, 10, 5, 1 / (5 * pi), 0.200152074361687}, // shown as 20.02 %
                {Normal, 0, 10, 1 / (10 * root), 0.0455002638963584},
                {Normal, 17, 1, 1 / root, 0.00134989803163010}};
    for (const auto &r : rows) {
        EXPECT_NEAR(Density(r.d, r.location, r.width, r.location), r.peak, 1e-15);
        EXPECT_NEAR(ShareOutside(r.d, r.location, r.width, -20, 20), r.outside, 1e-14);
    }
    EXPECT_TRUE(std::isnan(Density(Cauchy, 0, 0, 1)));
}

TEST(RunningMedian, EqualsTheSortedMiddleAtEveryCount)
{
    std::mt19937 gen(7);
    std::vector<std::vector<double>> streams(3);
    for (int i = 0; i < 301; ++i) {
        streams[0].push_back(double(gen() % 5)); // many ties
        streams[1].push_back(std::tan(double(gen()))); // heavy tails
        streams[2].push_back(300 - i);
    }
    for (const std::vector<double> &s : streams) {
        const std::vector<double> medians = RunningMedians(s);
        for (std::size_t n = 1; n <= s.size(); ++n) {
            std::vector<double> sorted(s.begin(), s.begin() + std::ptrdiff_t(n));
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(medians.at(n - 1), n % 2 ? sorted[n / 2] : MiddleOfTwo(sorted[n / 2 - 1], sorted[n / 2]));
        }
    }
}
