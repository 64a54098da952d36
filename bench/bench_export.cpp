// The histogram view drawn to a PDF and to an SVG in memory, measured beside
// the paint of the chart's bitmap of the same view; the counters give the
// size of what was written.
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "mainfrm.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <benchmark/benchmark.h>

namespace {

enum class TTarget { Bitmap, Pdf, Svg };

// One page the chart's size, one unit of it to a pixel of the chart.
void DrawPage(TKurvo &chart, TTarget target, QBuffer &buffer)
{
    const QSize size = chart.size();
    if (target == TTarget::Pdf) {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF());
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96, QPageSize::Point));
        QPainter painter(&pdf);
        chart.Render(painter, QRectF(QPointF(), QSizeF(size)));
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(), size));
        QPainter painter(&svg);
        chart.Render(painter, QRectF(QPointF(), QSizeF(size)));
    }
}

void HistogramCase(benchmark::State &state, TTarget target)
{
    TFrmMain frm;
    frm.Model->Generator().SetSeed(1);
    frm.show();
    QCoreApplication::processEvents();
    frm.ShowDistri();
    qsizetype bytes = 0;
    for (auto _ : state) {
        if (target == TTarget::Bitmap) {
            frm.RC->Paint();
            continue;
        }
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        DrawPage(*frm.RC, target, buffer);
        bytes = data.size();
    }
    if (target != TTarget::Bitmap)
        state.counters["bytes"] = double(bytes);
}

void BM_HistogramBitmap(benchmark::State &state)
{
    HistogramCase(state, TTarget::Bitmap);
}

void BM_HistogramPdf(benchmark::State &state)
{
    HistogramCase(state, TTarget::Pdf);
}

void BM_HistogramSvg(benchmark::State &state)
{
    HistogramCase(state, TTarget::Svg);
}

} // namespace

BENCHMARK(BM_HistogramBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistogramPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistogramSvg)->Unit(benchmark::kMillisecond);
