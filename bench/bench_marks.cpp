// Marks as the chart draws them: many small figures at scattered points.
#include "Kesl_keslbase.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kMarks = 100000;
constexpr int kWidth = 760, kHeight = 420;

void DrawMarks(benchmark::State &state, bool direct)
{
    const auto shape = static_cast<std::uint8_t>(state.range(0));
    std::mt19937 rng(1234);
    // A few pixels beyond every edge, so that clipping is part of the work.
    std::uniform_int_distribution<int> xs(-4, kWidth + 3), ys(-4, kHeight + 3);
    std::vector<std::pair<int, int>> points(kMarks);
    for (auto &p : points)
        p = {xs(rng), ys(rng)};

    TBitmap bmp(kWidth, kHeight);
    TCanvas &c = bmp.Canvas();
    c.Pen.Color = 0x808080;
    c.AllowDirectPixels = direct;
    for (auto _ : state) {
        for (const auto &[x, y] : points)
            DrawMark(c, shape, x, y);
        benchmark::DoNotOptimize(c.ScanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * kMarks);
    state.counters["per_mark"] = benchmark::Counter(double(state.iterations()) * kMarks,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawMarks(benchmark::State &state)
{
    DrawMarks(state, true);
}

// The same marks through the canvas calls only, for comparison.
void BM_DrawMarksCanvasCalls(benchmark::State &state)
{
    DrawMarks(state, false);
}

} // namespace

BENCHMARK(BM_DrawMarks)->Arg(1)->Arg(7)->Arg(36)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMarksCanvasCalls)->Arg(1)->Arg(7)->Arg(36)->Unit(benchmark::kMillisecond);
