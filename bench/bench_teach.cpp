// The histogram view with its theory: BM_ShowDistri's work plus the density
// curve over the bars and the share of samples beyond them in the corner.
#include "Kesl_math1.h"
#include "mainfrm.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

static void BM_ShowDistriTheory(benchmark::State &state)
{
    GeneratorSeed = 1;
    TFrmMain frm;
    frm.Extras = {true, true, false};
    frm.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        frm.ShowDistri();
}
BENCHMARK(BM_ShowDistriTheory)->Unit(benchmark::kMillisecond);
