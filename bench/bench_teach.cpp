// The histogram view with its theory: BM_ShowDistri's work plus the density
// curve over the bars and the share of samples beyond them in the corner.
#include "Kesl_math1.h"
#include "RadioGroup.h"
#include "SampleSource.h"
#include "mainfrm.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

static void BM_ShowDistriTheory(benchmark::State &state)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
    frm.Model->SetExtras({true, true, false});
    frm.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        frm.ShowDistri();
}
BENCHMARK(BM_ShowDistriTheory)->Unit(benchmark::kMillisecond);

// The histogram of 10000 means of 100 Cauchy samples each, against the plain
// loop drawing the same million samples: the rest is counting and drawing.
static void BM_ShowMeanOf100(benchmark::State &state)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
    frm.Model->SetDistribution(TDistribution::Cauchy);
    frm.Model->SetExtras({.MeanOf = 100});
    frm.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        frm.ShowDistri();
}
BENCHMARK(BM_ShowMeanOf100)->Unit(benchmark::kMillisecond);

static void BM_DrawMillionSamples(benchmark::State &state)
{
    TRandomGenerator generator;
    generator.SetSeed(1);
    const TSampleSource source = TSampleSource::At(TDistribution::Cauchy, 0, 100);
    for (auto _ : state) {
        double v = 0, sum = 0;
        for (int i = 0; i < 1000000; ++i) {
            source.Draw(generator, v);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DrawMillionSamples)->Unit(benchmark::kMillisecond);
