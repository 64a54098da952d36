// A chart to try the mouse on: three layers of data, a choice of mouse action,
// the four cross-hairs and the position under the pointer.
//   chartdemo                      the window
//   chartdemo --screenshot a.png   shows the cross-hairs and a window band being
//                                  dragged, saves a picture of the window and ends
#include "Kesl_kurvo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void FillChart(TKurvo &k)
{
    k.SetPaintSuppressed(true);
    k.SetStandardLayout(rcl_X1Bottom_Y2Left);
    k.SetCaption(QStringLiteral("mouse demo"));
    QRandomGenerator rng(7);

    // Layer 1: scattered marks and a damped wave through them.
    k.SetCurrentLayer(1);
    k.SetDataColor(clGray);
    for (int i = 0; i < 3000; ++i) {
        const double x = rng.generateDouble() * 20;
        k.AddMark(x, std::exp(-x / 8) * std::sin(x * 2) + (rng.generateDouble() - 0.5) * 0.3, 1);
    }
    k.SetDataColor(clNavy);
    k.SetLineWidth(2);
    k.MoveTo(0, 0);
    for (int i = 1; i <= 2000; ++i) {
        const double x = i * 0.01;
        k.DrawTo(x, std::exp(-x / 8) * std::sin(x * 2));
    }
    k.SetLayerRange(1, 0, -1.2, 20, 1.2);

    // Layer 2: a histogram of its own scale.
    k.SetCurrentLayer(2);
    k.SetDataColor(clMaroon);
    k.SetLineWidth(3);
    for (int i = 0; i < 40; ++i) {
        const double x = i * 0.5 + 0.25;
        k.AddLine(x, 0, x, 100 * std::exp(-(x - 10) * (x - 10) / 18));
    }
    k.SetLayerRange(2, 0, 0, 20, 120);
    k.ScaleY(1)->SetCaption(QStringLiteral("wave"));
    k.ScaleY(2)->SetCaption(QStringLiteral("count"));
    k.ScaleY(2)->SetColorScale(clMaroon);

    // Layer 3: a random walk, drawn on its own ranges without a scale.
    k.SetCurrentLayer(3);
    k.SetDataColor(clGreen);
    k.SetLineWidth(1);
    double y = 0;
    k.MoveTo(0, 0);
    for (int i = 1; i <= 5000; ++i) {
        y += rng.generateDouble() - 0.5;
        k.DrawTo(i, y);
    }
    k.SetLayerRange(3, 0, -60, 5000, 60);
    k.SetCurrentLayer(1);

    const TColor colours[4] = {clRed, clBlue, clGreen, clFuchsia};
    for (int i = 1; i <= 4; ++i) {
        TCrossHair *c = k.CrossHair(i);
        c->SetColor(colours[i - 1]);
        c->SetLineType(i == 4 ? psDash : psSolid);
        c->SetPosX(i == 2 ? 10 : 4 * i);
        c->SetPosY(i == 2 ? 60 : 0.9 - 0.45 * i);
    }
    for (int i = 1; i <= 4; ++i)
        k.CrossHair(i)->SetLayer(i == 2 ? 2 : 1);
    k.SetPaintSuppressed(false);
}

void SendMouse(QWidget *w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

int main(int argc, char **argv)
{
    // Help before the application starts, so it needs no display.
    if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::fputs("usage: chartdemo [--screenshot FILE.png]\n"
                   "A chart to try the mouse on: three layers of data, a choice of mouse action,\n"
                   "the four cross-hairs and the position under the pointer.\n"
                   "  --screenshot FILE.png  shows the cross-hairs and a window band being dragged,\n"
                   "                         saves a picture of the window and ends\n",
                   stdout);
        return 0;
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int shot = args.indexOf(QStringLiteral("--screenshot"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Chart mouse demo"));
    auto *column = new QVBoxLayout(&window);
    auto *controls = new QHBoxLayout;
    column->addLayout(controls);

    auto *action = new QComboBox;
    const QStringList actions = {"maNone",     "maPan",         "maPanHoriz", "maPanVert",    "maRubberBand", "maZoom",
                                 "maZoomWind", "maZoomWindPos", "maZoomDrag", "maDragCrossH", "maDragLabel"};
    action->addItems(actions);
    controls->addWidget(new QLabel(QStringLiteral("Mouse action:")));
    controls->addWidget(action);
    auto *fixed = new QCheckBox(QStringLiteral("fixed pointer"));
    controls->addWidget(fixed);
    QCheckBox *cross[4];
    for (int i = 0; i < 4; ++i) {
        cross[i] = new QCheckBox(QStringLiteral("cross-hair %1").arg(i + 1));
        controls->addWidget(cross[i]);
    }
    controls->addStretch();

    auto *chart = new TKurvo;
    chart->SetBounds(0, 0, 760, 420);
    column->addWidget(chart, 1);
    auto *status = new QLabel(QStringLiteral("Move the mouse over the chart."));
    column->addWidget(status);

    FillChart(*chart);
    chart->SetMouseCursorFixed(false);

    QObject::connect(action, &QComboBox::currentIndexChanged,
                     [chart](int i) { chart->SetMouseAction(TMouseActMode(i)); });
    QObject::connect(fixed, &QCheckBox::toggled, [chart](bool on) { chart->SetMouseCursorFixed(on); });
    for (int i = 0; i < 4; ++i)
        QObject::connect(cross[i], &QCheckBox::toggled,
                         [chart, i](bool on) { chart->CrossHair(i + 1)->SetMode(on ? chBoth : chOff); });
    chart->Mouse().OnMouseMoveInChart = [status](QObject *, bool in, TMouseShift, double x, double y) {
        status->setText(in ? QStringLiteral("x = %1   y = %2").arg(x, 0, 'g', 5).arg(y, 0, 'g', 5)
                           : QStringLiteral("outside the data area"));
    };
    chart->Mouse().OnRubberBand = [status](QObject *, int layer, double lx, double ly, double hx, double hy) {
        status->setText(QStringLiteral("band on layer %1: x %2 .. %3, y %4 .. %5")
                            .arg(layer)
                            .arg(lx, 0, 'g', 4)
                            .arg(hx, 0, 'g', 4)
                            .arg(ly, 0, 'g', 4)
                            .arg(hy, 0, 'g', 4));
    };

    window.resize(800, 500);
    window.show();

    if (shot >= 0) {
        const QString file = shot + 1 < args.size() ? args[shot + 1] : QStringLiteral("chartdemo.png");
        for (QCheckBox *c : cross)
            c->setChecked(true);
        action->setCurrentIndex(int(maZoomWindPos));
        QTimer::singleShot(0, [&window, &app, chart, file] {
            // A window band in the middle of its drag.
            SendMouse(chart, QEvent::MouseButtonPress, QPoint(300, 120), Qt::LeftButton, Qt::LeftButton);
            SendMouse(chart, QEvent::MouseMove, QPoint(480, 260), Qt::NoButton, Qt::LeftButton);
            const bool ok = window.grab().save(file);
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "saved" : "cannot save", qPrintable(file));
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
