// Shows linear, logarithmic, time and date scales in one window.
//   scaledemo                      the window
//   scaledemo --screenshot a.png   saves a picture of the window and ends
#include "Kesl_Scale.h"
#include "Kesl_keslbase_dtlabel.h"

#include <QApplication>
#include <QDate>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

// Days since 30 December 1899, the value of date/time scales.
double DayNumber(int y, int m, int d)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

TScale *AddScale(QWidget *parent, const QRect &r, TScaleType type, const QString &caption)
{
    auto *s = new TScale(parent);
    s->SetBounds(r.x(), r.y(), r.width(), r.height());
    s->SetScaleType(type);
    s->SetCaption(caption);
    if (type == sctXB || type == sctXT) {
        s->SetMarginLeft(30);
        s->SetMarginRight(30);
        s->SetMarginBottom(28);
        s->SetCaptionAnchor(uaSclBotRgt);
        s->SetCaptionAlignment(taRightJustify);
        s->SetCaptionPosX(0);
        s->SetCaptionPosY(6);
    } else {
        s->SetMarginTop(30);
        s->SetMarginBottom(30);
        s->SetCaptionAnchor(uaSclTopLft);
        s->SetCaptionPosY(-24);
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    // Help before the application starts, so it needs no display.
    if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::fputs("usage: scaledemo [--screenshot FILE.png]\n"
                   "Shows linear, logarithmic, time and date scales in one window.\n"
                   "  --screenshot FILE.png  saves a picture of the window and ends\n",
                   stdout);
        return 0;
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int shot = args.indexOf(QStringLiteral("--screenshot"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Scales"));
    window.resize(840, 560);

    const int w = 620, h = 92;
    int y = 0;
    auto row = [&] {
        const QRect r(0, y, w, h);
        y += h;
        return r;
    };

    AddScale(&window, row(), sctXB, QStringLiteral("linear 0 .. 100"));

    TScale *log = AddScale(&window, row(), sctXB, QStringLiteral("logarithmic 1 .. 1000"));
    log->SetRangeLow(1);
    log->SetRangeHigh(1000);
    log->SetLogarithmic(true);
    log->SetMinTicks(10);

    TScale *time = AddScale(&window, row(), sctXB, QStringLiteral("time 0 .. 3600 s"));
    time->SetLabelType(ftTime);
    time->SetRangeLow(0);
    time->SetRangeHigh(3600);

    const double day = DayNumber(2026, 12, 6);
    TScale *oneDay = AddScale(&window, row(), sctXB, QStringLiteral("one day"));
    oneDay->SetLabelType(ftDateTime);
    oneDay->SetRangeHigh(day + 1);
    oneDay->SetRangeLow(day);
    oneDay->SetMinTicks(4);

    TScale *month = AddScale(&window, row(), sctXB, QStringLiteral("one month"));
    month->SetLabelType(ftDateTime);
    month->SetRangeHigh(DayNumber(2027, 1, 1));
    month->SetRangeLow(DayNumber(2026, 12, 1));
    month->SetMinTicks(5);
    month->DateFormat()->SetYearLength(ylNone);

    TScale *century = AddScale(&window, row(), sctXB, QStringLiteral("one century"));
    century->SetLabelType(ftDateTime);
    century->SetRangeHigh(DayNumber(2000, 1, 1));
    century->SetRangeLow(DayNumber(1900, 1, 1));

    TScale *vlog = AddScale(&window, QRect(w, 0, 100, 6 * h), sctYL, QStringLiteral("log"));
    vlog->SetRangeLow(0.01);
    vlog->SetRangeHigh(100);
    vlog->SetLogarithmic(true);
    vlog->SetMinTicks(8);
    vlog->SetColorScale(clNavy);

    TScale *vtime = AddScale(&window, QRect(w + 100, 0, 130, 6 * h), sctYR, QStringLiteral("hours"));
    vtime->SetLabelType(ftDateTime);
    vtime->SetRangeHigh(day + 0.5);
    vtime->SetRangeLow(day);
    vtime->SetMinTicks(6);
    vtime->SetColorScheme(csSystem);
    vtime->SetFrameStyle(fsRaised);
    vtime->SetCaptionPosX(-40);

    window.resize(w + 230, 6 * h);
    window.show();

    if (shot >= 0) {
        const QString file = shot + 1 < args.size() ? args[shot + 1] : QStringLiteral("scaledemo.png");
        QTimer::singleShot(0, [&window, &app, file] {
            const bool ok = window.grab().save(file);
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "saved" : "cannot save", qPrintable(file));
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
