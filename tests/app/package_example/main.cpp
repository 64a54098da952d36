// One period of a sine wave on the library's chart; with a file name the
// chart is saved as a picture instead of shown.
#include <kesl/Kesl_kurvo.h>
#include <kesl/kesl_version.h>

#include <QApplication>
#include <cmath>
#include <numbers>

static_assert(KESL_VERSION_MAJOR >= 1, "the library's version header is read");

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TKurvo chart;
    chart.resize(400, 300);
    chart.SetPaintSuppressed(true); // one paint for all the drawing below
    chart.SetLayerRange(0, 0, -1.2, 2 * std::numbers::pi, 1.2);
    chart.SetDataColor(clRed);
    for (int i = 0; i <= 100; ++i) {
        const double x = i * 2 * std::numbers::pi / 100;
        i == 0 ? chart.MoveTo(x, 0) : chart.DrawTo(x, std::sin(x));
    }
    chart.SetPaintSuppressed(false);
    if (argc > 1)
        return chart.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    chart.show();
    return app.exec();
}
