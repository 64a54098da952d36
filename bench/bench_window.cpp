// The main window's views, end to end on the default-size window offscreen.
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "mainfrm.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <benchmark/benchmark.h>

// One scroll-bar step: the numeric label takes the new value and the
// histogram view draws, counts and paints 100000 fresh samples.
static void BM_ScrollStep(benchmark::State &state)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
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

// The histogram view in full: samples, histogram, 400 bars, both paints.
static void BM_ShowDistri(benchmark::State &state)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
    frm.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        frm.ShowDistri();
}
BENCHMARK(BM_ShowDistri)->Unit(benchmark::kMillisecond);

// One running-means tick with 500 samples: 1000 marks and all the means.
static void BM_ShowMeansTick500(benchmark::State &state)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
    frm.show();
    QCoreApplication::processEvents();
    frm.SButDrawSamplesClick(frm.SButDrawSamples);
    frm.Model->RunTimer()->stop();
    for (int i = 0; i < 499; ++i)
        frm.Timer1Timer(nullptr);
    for (auto _ : state)
        frm.DrawView();
    frm.SButDrawSamplesClick(nullptr);
}
BENCHMARK(BM_ShowMeansTick500)->Unit(benchmark::kMillisecond);
