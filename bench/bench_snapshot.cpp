// The snapshot's PNG encoder on a picture of the main window's size.
#include "SnapshotPng.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

// Flat panels, a grid, a curve and some labels, as a chart window looks.
QImage ChartLikePicture()
{
    QImage picture(752, 384, QImage::Format_RGB32);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    picture.fill(QColor(240, 240, 240));
    QPainter p(&picture);
    p.fillRect(40, 20, 680, 320, Qt::white);
    p.setPen(QColor(200, 200, 200));
    for (int x = 40; x <= 720; x += 68)
        p.drawLine(x, 20, x, 340);
    for (int y = 20; y <= 340; y += 40)
        p.drawLine(40, y, 720, y);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::blue, 1.5));
    QPointF last(40, 330);
    for (int x = 41; x <= 720; ++x) {
        const double t = (x - 380) / 40.0;
        const QPointF next(x, 330 - 300 / (1 + t * t));
        p.drawLine(last, next);
        last = next;
    }
    p.setPen(Qt::black);
    for (int i = 0; i <= 10; ++i)
        p.drawText(30 + 68 * i, 358, QString::number(i - 5));
    p.drawText(300, 376, QStringLiteral("Cauchy distribution, 500 samples"));
    return picture;
}

} // namespace

// Process CPU time, so that a second thread's work is counted too. The
// argument is a pause in milliseconds before each encoding: the snapshot is
// encoded once, after the machine has been idle, when cores are slow to take
// on a new thread.
static void BM_SnapshotPng(benchmark::State &state)
{
    const QImage picture = ChartLikePicture();
    QByteArray bytes;
    for (auto _ : state) {
        if (state.range(0) > 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0)));
            state.ResumeTiming();
        }
        if (!FastPng::Encode(picture, bytes))
            state.SkipWithError("not encoded");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_SnapshotPng)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();
