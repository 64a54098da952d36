#include "PixelMath.h"

#include <gtest/gtest.h>

#include <iterator>
#include <limits>

using namespace PixelMath;

TEST(PixelMath, RoundSatRoundsHalvesToEvenAndSaturates)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.5,  1.5,          2.5, -0.5, -1.5, -2.5, 2.4999,
                             -7.6, 2147483646.5, 3e9, -3e9, inf,  -inf, std::nan("")};
    const int rounded[] = {0,  2,          2,         0,          -2,        -2,         2,
                           -8, 2147483646, kPixelMax, -kPixelMax, kPixelMax, -kPixelMax, -kPixelMax};
    static_assert(std::size(values) == std::size(rounded));
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(RoundSat(values[i]), rounded[i]) << values[i];
}

TEST(PixelMath, IntegerSumsAndClampsSaturate)
{
    EXPECT_EQ(AddSat(kPixelMax, 1), kPixelMax);
    EXPECT_EQ(AddSat(-kPixelMax, -5), -kPixelMax);
    EXPECT_EQ(AddSat(-3, 5), 2);
    EXPECT_EQ(SatInt(std::numeric_limits<std::int64_t>::min()), -kPixelMax);
    const struct
    {
        std::int64_t v;
        int extent, reach, want;
    } clamps[] = {{-10, 99, 4, -4}, {50, 99, 4, 50}, {1LL << 40, 99, 4, 103}, {-(1LL << 40), 0, 0, 0}};
    for (const auto &c : clamps)
        EXPECT_EQ(ClampDrawable(c.v, c.extent, c.reach), c.want) << c.v;
}

TEST(PixelMath, MappingGoesBackToTheValue)
{
    const struct
    {
        double k, d;
        bool log;
        double v;
    } axes[] = {{40, 10, false, 2.25}, {-3.5, 400, false, -71}, {100, 5, true, 1e-3}, {-80, 300, true, 7.5}};
    for (const auto &a : axes) {
        const double p = AxisToPixel(a.k, a.d, a.log, a.v, -1);
        EXPECT_NEAR(PixelToAxis(p, a.k, a.d, a.log, -1), a.v, std::abs(a.v) * 1e-12) << a.v;
    }
    // At and below the floor a logarithmic axis gives the fallback both ways round.
    EXPECT_EQ(AxisToPixel(100, 5, true, kLogFloor, 77), 77);
    EXPECT_NE(AxisToPixel(100, 5, true, 2 * kLogFloor, 77), 77);
    // The floor itself may still end a range; just below it, or NaN, may not.
    EXPECT_TRUE(LogEndAccepted(kLogFloor));
    EXPECT_FALSE(LogEndAccepted(std::nextafter(kLogFloor, 0.0)) || LogEndAccepted(std::nan("")));
    EXPECT_EQ(PixelToAxis(3, 0, 5, false, 9), 9);
    EXPECT_EQ(PixelToAxis(3, std::nan(""), 5, false, 9), 9);
    EXPECT_EQ(PixelToAxis(1e6, 1e-305L, 0, false, 9), std::numeric_limits<double>::max());
    EXPECT_EQ(PixelToAxis(-1e6, 1e-3L, 0, true, 9), 0);
}
