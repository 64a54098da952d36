// Uniform generator, polar-method normals, Cauchy variates and clock seeding.
#include "Kesl_math1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;
constexpr std::uint32_t kInverseMultiplier = 3645876429u; // kMultiplier^-1 modulo 2^32

// The seed whose next draw yields the given state.
std::uint32_t SeedGiving(std::uint32_t state)
{
    return (state - 1u) * kInverseMultiplier;
}

class RandomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearNormalCache();
        GeneratorSeed = 0;
    }
    void TearDown() override { ClearNormalCache(); }
};

TEST_F(RandomTest, UniformSequenceFromZero)
{
    EXPECT_EQ(GeneratorSeed, 0u);
    EXPECT_EQ(UniformRandom(), std::ldexp(1.0L, -32));
    EXPECT_EQ(GeneratorSeed, 1u);
    const std::uint32_t expected[] = {134775814u, 3698175007u, 870078620u, 1172187917u};
    for (std::uint32_t state : expected) {
        const long double u = UniformRandom();
        EXPECT_EQ(GeneratorSeed, state);
        EXPECT_EQ(u, std::ldexp(static_cast<long double>(state), -32));
    }
}

TEST_F(RandomTest, UniformStaysInUnitInterval)
{
    GeneratorSeed = SeedGiving(0);
    EXPECT_EQ(UniformRandom(), 0.0L);
    GeneratorSeed = SeedGiving(0xFFFFFFFFu);
    const long double top = UniformRandom();
    EXPECT_LT(top, 1.0L);
    EXPECT_EQ(top, 1.0L - std::ldexp(1.0L, -32));
}

TEST_F(RandomTest, UniformIndexTakesUpperBitsOfProduct)
{
    struct Case
    {
        std::uint32_t state;
        std::int32_t n;
        std::int32_t expected;
    };
    const Case cases[] = {
        {1u, 100, 0},
        {134775814u, 100, 3},
        {0x80000000u, 10, 5},
        {0xFFFFFFFFu, 10, 9},
        {0xFFFFFFFFu, 2147483647, 2147483646},
        {0xFFFFFFFFu, 1, 0},
        {0u, 1000, 0},
        {0xFFFFFFFFu, 0, 0},
        {0xFFFFFFFFu, -5, 0},
        {0xFFFFFFFFu, std::numeric_limits<std::int32_t>::min(), 0},
    };
    for (const Case &c : cases) {
        GeneratorSeed = SeedGiving(c.state);
        EXPECT_EQ(UniformIndex(c.n), c.expected) << "state " << c.state << " n " << c.n;
        EXPECT_EQ(GeneratorSeed, c.state) << "every call advances the state";
    }
}

// Expected polar-method outputs for one accepted pair of states.
struct PolarPair
{
    double cached;
    double returned;
};

PolarPair PolarFromStates(std::uint32_t sa, std::uint32_t sb)
{
    const double a = 2.0 * std::ldexp(static_cast<double>(sa), -32) - 1.0;
    const double b = 2.0 * std::ldexp(static_cast<double>(sb), -32) - 1.0;
    const double s = a * a + b * b;
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    return {a * f, b * f};
}

std::uint32_t Step(std::uint32_t s)
{
    return s * kMultiplier + 1u;
}

bool Accepted(std::uint32_t sa, std::uint32_t sb)
{
    const double a = 2.0 * std::ldexp(static_cast<double>(sa), -32) - 1.0;
    const double b = 2.0 * std::ldexp(static_cast<double>(sb), -32) - 1.0;
    return a * a + b * b < 1.0;
}

TEST_F(RandomTest, GaussReturnsSecondDrawAndCachesFirst)
{
    // Find a seed whose first pair is accepted, with a and b clearly different.
    auto usable = [](std::uint32_t s) {
        const std::uint32_t sa = Step(s), sb = Step(sa);
        if (!Accepted(sa, sb))
            return false;
        const PolarPair p = PolarFromStates(sa, sb);
        return std::fabs(p.cached - p.returned) > 0.1;
    };
    std::uint32_t seed = 1;
    while (!usable(seed))
        ++seed;
    const std::uint32_t sa = Step(seed);
    const std::uint32_t sb = Step(sa);
    const PolarPair expected = PolarFromStates(sa, sb);

    GeneratorSeed = seed;
    EXPECT_FALSE(NormalValueCached());
    const double first = GaussRandom();
    EXPECT_EQ(GeneratorSeed, sb) << "an accepted first pair costs exactly two draws";
    EXPECT_TRUE(NormalValueCached());
    EXPECT_NEAR(first, expected.returned, 1e-14);

    const double second = GaussRandom();
    EXPECT_EQ(GeneratorSeed, sb) << "the cached value costs no draw";
    EXPECT_FALSE(NormalValueCached());
    EXPECT_NEAR(second, expected.cached, 1e-14);

    GaussRandom();
    EXPECT_EQ(GeneratorSeed, Step(Step(sb))) << "the third call draws again";
}

TEST_F(RandomTest, GaussRejectionConsumesWholePairs)
{
    // A seed whose first pair falls outside the unit circle and whose second lies inside.
    std::uint32_t seed = 1;
    auto shape = [](std::uint32_t s) {
        const std::uint32_t s1 = Step(s), s2 = Step(s1), s3 = Step(s2), s4 = Step(s3);
        return !Accepted(s1, s2) && Accepted(s3, s4);
    };
    while (!shape(seed))
        ++seed;
    const std::uint32_t s3 = Step(Step(Step(seed)));
    const std::uint32_t s4 = Step(s3);
    const PolarPair expected = PolarFromStates(s3, s4);

    GeneratorSeed = seed;
    EXPECT_NEAR(GaussRandom(), expected.returned, 1e-14);
    EXPECT_EQ(GeneratorSeed, s4);
    EXPECT_NEAR(GaussRandom(), expected.cached, 1e-14);
    EXPECT_EQ(GeneratorSeed, s4);
}

TEST_F(RandomTest, ReseedingKeepsCachedNormal)
{
    GeneratorSeed = 777;
    GaussRandom();
    ASSERT_TRUE(NormalValueCached());
    SeedFromTimeOfDay({1, 2, 3, 4});
    const std::uint32_t seeded = GeneratorSeed;
    GaussRandom();
    EXPECT_EQ(GeneratorSeed, seeded) << "the value computed before reseeding comes first";

    GeneratorSeed = 777;
    GaussRandom();
    ClearNormalCache();
    EXPECT_FALSE(NormalValueCached());
    const std::uint32_t before = GeneratorSeed;
    GaussRandom();
    EXPECT_NE(GeneratorSeed, before) << "after clearing the cache a call draws";
}

TEST_F(RandomTest, CauchyAtChosenUniforms)
{
    struct Case
    {
        std::uint32_t state; // gives u = state * 2^-32
        double location;
        double width;
        double expected;
        double tolerance;
    };
    const Case cases[] = {
        {0x80000000u, 0.0, 1.0, 0.0, 0.0}, // u = 0.5: exactly the location
        {0x80000000u, 3.25, 2.0, 3.25, 0.0},   {0x80000000u, -7.5, 1e6, -7.5, 0.0},
        {0xC0000000u, 0.0, 1.0, 1.0, 1e-15}, // u = 0.75: tan(pi/4)
        {0xC0000000u, 1.0, 2.0, 3.0, 1e-15},   {0x40000000u, 0.0, 1.0, -1.0, 1e-15}, // u = 0.25
        {0xC0000000u, 0.0, -1.0, -1.0, 1e-15}, // a negative width mirrors
    };
    for (const Case &c : cases) {
        GeneratorSeed = SeedGiving(c.state);
        EXPECT_NEAR(CauchyRandom(c.location, c.width), c.expected, c.tolerance) << "state " << c.state;
        EXPECT_EQ(GeneratorSeed, c.state) << "one draw per value";
    }
}

TEST_F(RandomTest, CauchyAtZeroIsHugeButFinite)
{
    GeneratorSeed = SeedGiving(0);
    const double x = CauchyRandom(0.0, 1.0);
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_NEAR(x / -1.633e16, 1.0, 1e-3);

    GeneratorSeed = SeedGiving(0xFFFFFFFFu);
    const double top = CauchyRandom(0.0, 1.0);
    EXPECT_GT(top, 1e9) << "u just below 1 gives a huge positive value";
}

TEST_F(RandomTest, ZeroWidthGivesLocation)
{
    for (std::uint32_t state : {0u, 1u, 0x40000000u, 0x80000000u, 0xC0000000u, 0xFFFFFFFFu, 123456789u}) {
        GeneratorSeed = SeedGiving(state);
        EXPECT_EQ(CauchyRandom(4.5, 0.0), 4.5) << "state " << state;
    }
}

TEST_F(RandomTest, SeedFromInstalledClock)
{
    struct Case
    {
        TUtcTimeOfDay time;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 0u},     {{13, 45, 30, 250}, 49530250u},  {{23, 59, 59, 999}, 86399999u},
        {{0, 0, 1, 0}, 1000u},  {{24, 61, 75, 1500}, 86399999u}, // a faulty clock is clamped
        {{-1, -5, -1, -3}, 0u},
    };
    for (const Case &c : cases) {
        TRandomGenerator generator([t = c.time] { return t; });
        generator.SetSeed(5);
        generator.SeedFromClock();
        EXPECT_EQ(generator.Seed(), c.expected);
    }
}

TEST_F(RandomTest, SystemClockSeedIsTimeOfDay)
{
    GeneratorSeed = 0xFFFFFFFFu;
    SeedFromClock();
    EXPECT_LT(GeneratorSeed, 86400000u);
    const TUtcTimeOfDay t = SystemUtcTimeOfDay();
    const std::uint32_t ms = ((t.Hour * 60u + t.Minute) * 60u + t.Second) * 1000u + t.Millisecond;
    // Read a moment later, or wrapped past midnight.
    EXPECT_TRUE(ms - GeneratorSeed < 60000u || GeneratorSeed > 86340000u) << GeneratorSeed << " " << ms;
}

TEST_F(RandomTest, StartupSeedsAndClearsCache)
{
    GeneratorSeed = 0xFFFFFFFFu;
    GaussRandom();
    ASSERT_TRUE(NormalValueCached());
    InitRandomVariates();
    EXPECT_LT(GeneratorSeed, 86400000u);
    EXPECT_FALSE(NormalValueCached());
}

// A generator of one's own draws what the shared one draws from the same state.
TEST_F(RandomTest, OwnGeneratorDrawsTheSharedSequence)
{
    for (const std::uint32_t seed : {0u, 2026u, 0xFFFFFFFFu}) {
        TRandomGenerator own;
        own.SetSeed(seed);
        GeneratorSeed = seed;
        ClearNormalCache();
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(own.Gauss(), GaussRandom()) << seed;
            EXPECT_EQ(own.Cauchy(1.5, 0.5), CauchyRandom(1.5, 0.5)) << seed;
            EXPECT_EQ(own.Uniform(), UniformRandom()) << seed;
        }
        EXPECT_EQ(own.Seed(), GeneratorSeed);
    }
}

} // namespace
