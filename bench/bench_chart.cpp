// One chart paint of 100000 marks (and of a million, for the memory the list
// streams) and of a 100000-point time series, drawn by our chart and, for
// comparison, by two peer plotting libraries through their public interfaces.
// Every case draws onto a 760 x 420 image without antialiasing and without
// point reduction.
#include "Kesl_kurvo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#ifdef CAUCHY_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif
#ifdef CAUCHY_HAVE_QTCHARTS
#include <QGraphicsScene>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#endif

#include <random>
#include <vector>

namespace {

constexpr int kPoints = 100000, kMillion = 1000000;
constexpr int kWidth = 760, kHeight = 420;

struct TData
{
    std::vector<double> x, y;
    double xLow, xHigh, yLow, yHigh;
};

// Random points in 0..100 x 0..100.
TData RandomMarks(int n)
{
    TData t;
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> u(0, 100);
    for (int i = 0; i < n; ++i) {
        t.x.push_back(u(rng));
        t.y.push_back(u(rng));
    }
    t.xLow = t.yLow = 0;
    t.xHigh = t.yHigh = 100;
    return t;
}

const TData &MarkData(int n = kPoints)
{
    static const TData usual = RandomMarks(kPoints);
    if (n == kPoints)
        return usual;
    static const TData million = RandomMarks(kMillion);
    return million;
}

// x increasing, y a random walk.
const TData &SeriesData()
{
    static const TData d = [] {
        TData t;
        std::mt19937 rng(7);
        std::normal_distribution<double> step(0, 1);
        double y = 0;
        t.yLow = t.yHigh = 0;
        for (int i = 0; i < kPoints; ++i) {
            y += step(rng);
            t.x.push_back(i);
            t.y.push_back(y);
            t.yLow = std::min(t.yLow, y);
            t.yHigh = std::max(t.yHigh, y);
        }
        t.xLow = 0;
        t.xHigh = kPoints - 1;
        return t;
    }();
    return d;
}

void ChartCase(benchmark::State &state, bool series, int lineWidth = 1, TPenStyle style = psSolid, int count = kPoints)
{
    const TData &d = series ? SeriesData() : MarkData(count);
    TKurvo k;
    k.SetBounds(0, 0, kWidth, kHeight);
    k.SetAutoRedraw(false);
    k.SetPaintSuppressed(true);
    k.SetAllocSize(count);
    k.SetLayerRange(0, d.xLow, d.yLow, d.xHigh, d.yHigh);
    k.SetDataColor(series ? clBlue : clGray);
    k.SetLineWidth(lineWidth);
    k.SetPenStyle(style);
    if (series) {
        k.MoveTo(d.x[0], d.y[0]);
        for (int i = 1; i < kPoints; ++i)
            k.DrawTo(d.x[std::size_t(i)], d.y[std::size_t(i)]);
    } else {
        for (int i = 0; i < count; ++i)
            k.AddMark(d.x[std::size_t(i)], d.y[std::size_t(i)], 1); // five-pixel plus
    }
    for (auto _ : state) {
        k.SetPaintSuppressed(true);
        k.SetPaintSuppressed(false); // one full paint
        benchmark::DoNotOptimize(k.ControlBitmap().Canvas().Pixel(kWidth / 2, kHeight / 2));
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_ChartMarks(benchmark::State &state)
{
    ChartCase(state, false);
}

void BM_ChartMillionMarks(benchmark::State &state)
{
    ChartCase(state, false, 1, psSolid, kMillion);
}

void BM_ChartSeries(benchmark::State &state)
{
    ChartCase(state, true);
}

// The same series drawn with a pen that takes the painter's path: three
// pixels wide, and one pixel dashed.
void BM_ChartSeriesThick(benchmark::State &state)
{
    ChartCase(state, true, 3);
}

void BM_ChartSeriesDashed(benchmark::State &state)
{
    ChartCase(state, true, 1, psDash);
}

// The fixed part of a paint: frame, scales, background and data-area frame.
void BM_ChartEmptyPaint(benchmark::State &state)
{
    TKurvo k;
    k.SetBounds(0, 0, kWidth, kHeight);
    k.SetAutoRedraw(false);
    k.SetLayerRange(0, 0, 0, 100, 100);
    for (auto _ : state) {
        k.SetPaintSuppressed(true);
        k.SetPaintSuppressed(false);
        benchmark::DoNotOptimize(k.ControlBitmap().Canvas().Pixel(kWidth / 2, kHeight / 2));
    }
}

BENCHMARK(BM_ChartEmptyPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartMillionMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSeries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSeriesThick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartSeriesDashed)->Unit(benchmark::kMillisecond);

#ifdef CAUCHY_HAVE_QCUSTOMPLOT
void QCustomPlotCase(benchmark::State &state, bool series)
{
    const TData &d = series ? SeriesData() : MarkData();
    QCustomPlot plot;
    plot.resize(kWidth, kHeight);
    plot.setAntialiasedElements(QCP::aeNone);
    plot.setNotAntialiasedElements(QCP::aeAll);
    plot.setPlottingHint(QCP::phFastPolylines, true);
    QCPGraph *g = plot.addGraph();
    g->setAdaptiveSampling(false);
    g->setAntialiased(false);
    g->setAntialiasedScatters(false);
    if (series) {
        g->setLineStyle(QCPGraph::lsLine);
        g->setPen(QPen(Qt::blue));
    } else {
        g->setLineStyle(QCPGraph::lsNone);
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssPlus, QPen(Qt::gray), QBrush(), 5));
    }
    g->setData(QVector<double>(d.x.begin(), d.x.end()), QVector<double>(d.y.begin(), d.y.end()), series);
    plot.xAxis->setRange(d.xLow, d.xHigh);
    plot.yAxis->setRange(d.yLow, d.yHigh);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        img.fill(Qt::white);
        QCPPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing, false);
        plot.toPainter(&painter, kWidth, kHeight);
        painter.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_QCustomPlotMarks(benchmark::State &state)
{
    QCustomPlotCase(state, false);
}

void BM_QCustomPlotSeries(benchmark::State &state)
{
    QCustomPlotCase(state, true);
}

BENCHMARK(BM_QCustomPlotMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotSeries)->Unit(benchmark::kMillisecond);
#endif

#ifdef CAUCHY_HAVE_QTCHARTS
void QtChartsCase(benchmark::State &state, bool series)
{
    const TData &d = series ? SeriesData() : MarkData();
    QList<QPointF> pts;
    pts.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        pts.append(QPointF(d.x[std::size_t(i)], d.y[std::size_t(i)]));
    QGraphicsScene scene;
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    QXYSeries *s;
    if (series) {
        auto *line = new QLineSeries;
        line->setPen(QPen(Qt::blue, 1));
        s = line;
    } else {
        auto *scatter = new QScatterSeries;
        scatter->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        scatter->setMarkerSize(5);
        scatter->setColor(Qt::gray);
        scatter->setBorderColor(Qt::gray);
        s = scatter;
    }
    s->replace(pts);
    chart->addSeries(s);
    chart->createDefaultAxes();
    chart->axes(Qt::Horizontal).front()->setRange(d.xLow, d.xHigh);
    chart->axes(Qt::Vertical).front()->setRange(d.yLow, d.yHigh);
    chart->resize(kWidth, kHeight);
    scene.addItem(chart);
    scene.setSceneRect(0, 0, kWidth, kHeight);
    QApplication::processEvents(); // lets the chart lay itself out
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing, false);
        scene.render(&painter, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
        painter.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_QtChartsMarks(benchmark::State &state)
{
    QtChartsCase(state, false);
}

void BM_QtChartsSeries(benchmark::State &state)
{
    QtChartsCase(state, true);
}

BENCHMARK(BM_QtChartsMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtChartsSeries)->Unit(benchmark::kMillisecond);
#endif

} // namespace
