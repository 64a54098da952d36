// One scroll-bar step of the main window, end to end: the numeric label takes
// the new value and the histogram view draws and counts 100000 fresh samples.
#include "Kesl_math1.h"
#include "mainfrm.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

static void BM_ScrollStep(benchmark::State &state)
{
    GeneratorSeed = 1;
    TFrmMain frm;
    frm.show();
    QCoreApplication::processEvents();
    int position = 0;
    for (auto _ : state) {
        position = position == 0 ? 1 : 0;
        frm.SBarLoc->setValue(position);
        frm.repaint();
    }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);
