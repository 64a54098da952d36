#include "Kesl_math1.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

std::uint32_t GeneratorSeed = 0;

namespace {

constexpr std::uint32_t kMultiplier = 134775813u; // 0x08088405
constexpr double kTwoPowMinus32 = 2.3283064365386963e-10; // exactly 2^-32
constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr std::int64_t kMsPerDay = 86400000;

// Qt leaves the upper halves of the AVX registers dirty (after creating the
// application object, and again whenever it shows or repaints a window). The
// maths library's tangent then runs six to twenty times slower (measured: up
// to 300 ns instead of 15 to 25 ns per call) until something clears that
// state. Clearing it before each tangent costs one instruction. Only on CPUs
// that have AVX.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
bool CpuHasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

const bool gCpuHasAvx = CpuHasAvx();

inline void ClearUpperVectorState()
{
    if (gCpuHasAvx)
        asm volatile("vzeroupper");
}
#else
inline void ClearUpperVectorState() { }
#endif

} // namespace

TUtcTimeOfDay SystemUtcTimeOfDay()
{
    using namespace std::chrono;
    const std::int64_t msSinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    // The system clock counts UTC without leap seconds, so days are whole multiples of 86400000 ms.
    std::int64_t ms = msSinceEpoch % kMsPerDay;
    if (ms < 0)
        ms += kMsPerDay;
    TUtcTimeOfDay t;
    t.Millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.Second = static_cast<int>(ms % 60);
    ms /= 60;
    t.Minute = static_cast<int>(ms % 60);
    t.Hour = static_cast<int>(ms / 60);
    return t;
}

// Milliseconds since midnight; fields out of their range (a faulty clock
// source) are clamped into it first.
static std::uint32_t SeedOfTimeOfDay(const TUtcTimeOfDay &time)
{
    const std::uint32_t hour = static_cast<std::uint32_t>(std::clamp(time.Hour, 0, 23));
    const std::uint32_t minute = static_cast<std::uint32_t>(std::clamp(time.Minute, 0, 59));
    const std::uint32_t second = static_cast<std::uint32_t>(std::clamp(time.Second, 0, 59));
    const std::uint32_t millisecond = static_cast<std::uint32_t>(std::clamp(time.Millisecond, 0, 999));
    return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

void TRandomGenerator::SeedFromClock()
{
    m_state = SeedOfTimeOfDay(m_clock ? m_clock() : SystemUtcTimeOfDay());
}

inline std::uint32_t TRandomGenerator::Next()
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    m_state = m_state * kMultiplier + 1u;
    return m_state;
}

long double TRandomGenerator::Uniform()
{
    // state < 2^32 fits the 64-bit mantissa, so the product is exact and below 1.
    return static_cast<long double>(Next()) * kTwoPowMinus32;
}

double TRandomGenerator::Gauss()
{
    if (m_normalCached) {
        m_normalCached = false;
        return m_normalValue;
    }
    m_normalCached = true;
    double a;
    double b;
    double s;
    do {
        a = static_cast<double>(2.0L * Uniform() - 1.0L);
        b = static_cast<double>(2.0L * Uniform() - 1.0L);
        s = static_cast<double>(static_cast<long double>(a) * a + static_cast<long double>(b) * b);
    } while (!(s < 1.0));
    // s is never 0: the generator cannot give the pair a = b = 0.
    const double f = static_cast<double>(std::sqrt(-2.0L * std::log(static_cast<long double>(s)) / s));
    m_normalValue = static_cast<double>(static_cast<long double>(a) * f);
    return static_cast<double>(static_cast<long double>(b) * f);
}

double TRandomGenerator::Cauchy(double location, double width)
{
    // state × 2^-32 and u − 0.5 are exact in double (at most 32 significant
    // bits), so only the product with pi needs the extended format.
    const double u = static_cast<double>(Next()) * kTwoPowMinus32;
    const double t = static_cast<double>(static_cast<long double>(u - 0.5) * kPi);
    // The tangent is taken at double precision: the extended-precision tangent
    // costs three to five times as much, and the histogram view draws 100000
    // samples for every scroll-bar step. Its argument is already a double, so
    // the samples differ from an extended tangent in the last bits only. At
    // u = 0 the argument is the double nearest -pi/2 and the tangent stays finite.
    ClearUpperVectorState();
    const long double tangent = std::tan(t);
    return static_cast<double>(tangent * width + location);
}

void TRandomGenerator::ClearNormalCache()
{
    m_normalCached = false;
    m_normalValue = 0.0;
}

namespace {

// The process-wide generator: its state is GeneratorSeed, which callers may
// set directly; each call takes the state in and hands it back.
TRandomGenerator &Shared()
{
    static TRandomGenerator generator;
    return generator;
}

template<typename Draw> auto WithShared(Draw draw)
{
    TRandomGenerator &g = Shared();
    g.SetSeed(GeneratorSeed);
    const auto value = draw(g);
    GeneratorSeed = g.Seed();
    return value;
}

} // namespace

void SeedFromTimeOfDay(const TUtcTimeOfDay &time)
{
    GeneratorSeed = SeedOfTimeOfDay(time);
}

void SeedFromClock()
{
    SeedFromTimeOfDay(SystemUtcTimeOfDay());
}

long double UniformRandom()
{
    return WithShared([](TRandomGenerator &g) { return g.Uniform(); });
}

std::int32_t UniformIndex(std::int32_t n)
{
    const std::uint64_t state = static_cast<std::uint64_t>(UniformRandom() * 4294967296.0L);
    if (n <= 0)
        return 0;
    return static_cast<std::int32_t>((state * static_cast<std::uint64_t>(n)) >> 32);
}

double GaussRandom()
{
    return WithShared([](TRandomGenerator &g) { return g.Gauss(); });
}

double CauchyRandom(double location, double width)
{
    return WithShared([&](TRandomGenerator &g) { return g.Cauchy(location, width); });
}

void ClearNormalCache()
{
    Shared().ClearNormalCache();
}

bool NormalValueCached()
{
    return Shared().NormalValueCached();
}

void InitRandomVariates()
{
    SeedFromClock();
    ClearNormalCache();
}
