// What the distribution view does per scroll-bar step: 100000 Cauchy samples
// into a vector, then counted into 400 bins. The reference does the same
// arithmetic on plain arrays, so the ratio shows what the components cost.
#include "Kesl_math1.h"
#include "Kesl_vector.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSamples = 100000;

// The Qt start-up in main leaves the upper AVX register halves dirty, which
// makes the maths library's tangent several times slower until something
// clears that state. CauchyRandom clears it before each tangent; the
// reference clears it once per iteration, so that its figure does not depend
// on which benchmark ran before it.
void ClearUpperVectorState()
{
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
    static const bool hasAvx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (hasAvx)
        asm volatile("vzeroupper");
#endif
}

void BM_SampleCauchyHistogram(benchmark::State &state)
{
    TVector vec;
    vec.Resize(kSamples);
    TIntVector histo;
    GeneratorSeed = 1;
    double location = 0.0;
    double width = 1.0;
    benchmark::DoNotOptimize(location);
    benchmark::DoNotOptimize(width);
    for (auto _ : state) {
        for (int i = 1; i <= kSamples; ++i)
            vec.SetElem(i, CauchyRandom(location, width));
        int underflow = 0, overflow = 0, maxCount = 0;
        const bool ok = vec.Histogram(1, kSamples, -20, 20, 0.1, &histo, underflow, overflow, maxCount);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(maxCount);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_SampleCauchyHistogram)->Unit(benchmark::kMillisecond);

void BM_SampleReference(benchmark::State &state)
{
    std::vector<double> values(kSamples);
    std::array<std::int32_t, 400> bins {};
    std::uint32_t seed = 1;
    double location = 0.0;
    double width = 1.0;
    double low = -20.0;
    double high = 20.0;
    double binWidth = 0.1;
    benchmark::DoNotOptimize(location);
    benchmark::DoNotOptimize(width);
    benchmark::DoNotOptimize(low);
    benchmark::DoNotOptimize(high);
    benchmark::DoNotOptimize(binWidth);
    for (auto _ : state) {
        ClearUpperVectorState();
        for (double &v : values) {
            seed = seed * 134775813u + 1u;
            const double u = seed * 2.3283064365386963e-10;
            const double t = (u - 0.5) * 3.141592653589793;
            v = std::tan(t) * width + location;
        }
        bins.fill(0);
        int underflow = 0, overflow = 0, maxCount = 0;
        for (const double v : values) {
            if (!(v >= low)) {
                ++underflow;
            } else if (v < high) {
                const double q = (v - low) / binWidth;
                if (q < 400.0) {
                    const std::int32_t c = ++bins[static_cast<std::size_t>(q)];
                    if (c > maxCount)
                        maxCount = c;
                }
            } else {
                ++overflow;
            }
        }
        benchmark::DoNotOptimize(bins.data());
        benchmark::DoNotOptimize(maxCount);
        benchmark::DoNotOptimize(underflow);
        benchmark::DoNotOptimize(overflow);
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_SampleReference)->Unit(benchmark::kMillisecond);

} // namespace
