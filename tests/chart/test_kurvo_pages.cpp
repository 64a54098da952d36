// Random charts drawn by the screen's paint and by Render, compared pixel by
// pixel; the same charts as SVG and PDF checked for form and size.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

namespace {

using Rng = std::mt19937;

int Pick(Rng &g, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(g);
}

// Mostly within 0..100 of each axis, sometimes far off, not finite or huge.
double Coord(Rng &g)
{
    static const double odd[] = {-1e308, 1e308, NAN, INFINITY, -INFINITY, -5000, 5000, 0};
    return Pick(g, 0, 11) == 0 ? odd[Pick(g, 0, 7)] : std::uniform_real_distribution<double>(-5, 105)(g);
}

// Every item kind, shape, pen style and width on 16 layers, some logarithmic.
void FillRandomly(TKurvo &k, Rng &g)
{
    k.SetShadowWidth(Pick(g, 0, 6));
    k.SetCaption(QStringLiteral("σ = 1, μ = 0"));
    for (int layer = 1; layer <= TKurvo::kLayers; ++layer) {
        k.SetLayerRange(layer, 0.5, 0.5, 100, 100);
        k.ScaleX(layer)->SetLogarithmic(Pick(g, 0, 3) == 0);
        k.ScaleY(layer)->SetLogarithmic(Pick(g, 0, 3) == 0);
    }
    k.CrossHair(1)->SetMode(chBoth);
    k.CrossHair(1)->SetPosX(50);
    k.CrossHair(1)->SetPosY(40);
    for (int i = 0; i < 30; ++i) {
        k.SetCurrentLayer(Pick(g, 1, TKurvo::kLayers));
        k.SetDataColor(TColor(Pick(g, 0, 0xFFFFFF)));
        k.SetFillColor(TColor(Pick(g, 0, 0xFFFFFF)));
        k.SetPenStyle(TPenStyle(Pick(g, psSolid, psInsideFrame)));
        k.SetLineWidth(Pick(g, 0, 2) == 0 ? Pick(g, 2, 6) : 1);
        k.SetTextSize(Pick(g, 0, 14));
        const double x = Coord(g), y = Coord(g);
        switch (Pick(g, 0, 12)) {
        case 0: k.AddMark(x, y, std::uint8_t(Pick(g, 0, 255))); break;
        case 1: k.AddLine(x, y, Coord(g), Coord(g)); break;
        case 2: k.MoveTo(x, y); break;
        case 3:
            for (int n = Pick(g, 1, 250); n > 0; --n)
                k.DrawTo(n, Coord(g) / 4 + 40); // a series
            break;
        case 4: k.AddRect(x, y, Coord(g), Coord(g), Pick(g, 0, 1)); break;
        case 5: k.AddBox(x, y, Coord(g), Coord(g)); break;
        case 6: k.AddBar3D(x, y, Coord(g), Coord(g), Pick(g, 0, 180), Pick(g, 0, 20)); break;
        case 7: k.AddText(x, y, QStringLiteral("σ² ≈ 1")); break;
        case 8: k.AddTextOffset(x, y, Pick(g, -20, 20), Pick(g, -20, 20), QStringLiteral("Ab")); break;
        case 9: k.AddEllipse(x, y, Pick(g, 0, 30), Pick(g, 0, 30), Pick(g, 0, 1)); break;
        case 10: k.DrawRel(Pick(g, -50, 50), Pick(g, -50, 50)); break;
        case 11: k.AddArrow(x, y, Coord(g), Coord(g), Pick(g, 0, 15), Pick(g, 0, 1)); break;
        default: k.AddPixelBox(x, y, Pick(g, 0, 8), Pick(g, 0, 8), Pick(g, 0, 1)); break;
        }
    }
}

// Rendered into the middle of a larger image, around which nothing is drawn.
QImage Rendered(TKurvo &k)
{
    QImage image(k.size() + QSize(40, 40), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    k.Render(painter, QRectF(QPointF(20, 20), QSizeF(k.size())));
    painter.end();
    QImage around = image, white = image;
    QPainter(&around).fillRect(QRect(QPoint(20, 20), k.size()), Qt::white);
    white.fill(Qt::white);
    EXPECT_TRUE(around == white);
    return image.copy(QRect(QPoint(20, 20), k.size()));
}

constexpr TColor kMarker = 0x010203;

// Whether a pixel of `marked` within one pixel of (x, y) has the marker colour.
bool Near(const QImage &image, int x, int y, QRgb colour)
{
    for (int k = 0; k < 9; ++k)
        if (image.valid(x + k % 3 - 1, y + k / 3 - 1) && image.pixel(x + k % 3 - 1, y + k / 3 - 1) == colour)
            return true;
    return false;
}

// Pixels of a whose colour is nowhere within one pixel in b, away from the
// pixels `marked` shows in the marker colour.
int Unexplained(const QImage &a, const QImage &b, const QImage &marked)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += !Near(b, x, y, a.pixel(x, y)) && !Near(marked, x, y, ColorToQRgb(kMarker));
    return n;
}

// The chart's screen picture with its broken and thick lines drawn solid in
// the marker colour.
QImage Footprint(TKurvo &owner, TKurvo &chart)
{
    std::vector<TChartItem> items;
    for (int i = 0; i < owner.ItemCount(); ++i)
        items.push_back(owner.Item(i));
    auto replace = [&](bool mark) {
        owner.ClearItems();
        for (TChartItem it : items) {
            if (mark && ((it.PenStyle >= psDash && it.PenStyle <= psDashDotDot) || it.LineWidth > 1)) {
                it.Color = kMarker;
                it.PenStyle = psSolid;
            }
            owner.AddItem(it);
        }
        chart.Paint();
    };
    replace(true);
    const QImage marked = chart.ControlBitmap().Image().convertToFormat(QImage::Format_RGB32);
    replace(false);
    return marked;
}

// The chart drawn on a page the chart's size, one unit to a pixel.
void Draw(TKurvo &k, QPaintDevice &page)
{
    QPainter painter(&page);
    k.Render(painter, QRectF(QPointF(), QSizeF(k.size())));
}

QByteArray Svg(TKurvo &k)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(k.size());
    svg.setViewBox(QRect(QPoint(), k.size()));
    Draw(k, svg);
    return data;
}

// The PDF's size; pdfinfo, where installed, must read it.
qint64 Pdf(TKurvo &k, const QString &file)
{
    {
        QPdfWriter pdf(file);
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF());
        pdf.setPageSize(QPageSize(QSizeF(k.size()) * 0.75, QPageSize::Point));
        Draw(k, pdf);
    }
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {file});
    if (info.waitForStarted()) {
        EXPECT_TRUE(info.waitForFinished(60000) && info.exitCode() == 0) << file.toStdString();
    }
    return QFile(file).size();
}

bool ValidXml(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

} // namespace

// Render into an image draws what the screen shows, through the paint
// engine's own calls: a thin line's pixels may lie one pixel apart, so a
// pixel's colour must be found within one pixel in the other picture. Thick
// and broken lines are cut at the page's clip, not at the data bitmap's
// edge, so their edges and dashes may fall elsewhere along them: near them
// (one pixel) nothing is compared. A thin outline's pixel a step apart may go
// under or come out from under another item: up to 8 pixels a chart. No
// anti-aliasing on either side; an image is no paper, so the marks keep their
// screen forms.
TEST(KurvoPages, RandomChartsLookTheSameOnEveryDevice)
{
    QTemporaryDir dir;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Rng g(seed);
        TKurvo k, sharer;
        k.SetBounds(0, 0, 300, 220);
        k.SetPaintSuppressed(false);
        k.SetAutoRedraw(false);
        FillRandomly(k, g);
        sharer.SetBounds(0, 0, 300, 220);
        sharer.SetPaintSuppressed(false);
        sharer.SetUseDataOf(&k);
        for (TKurvo *c : {&k, &sharer}) {
            const QImage marked = Footprint(k, *c);
            const QImage screen = c->ControlBitmap().Image().convertToFormat(QImage::Format_RGB32);
            const QImage page = Rendered(*c);
            EXPECT_LE(Unexplained(screen, page, marked) + Unexplained(page, screen, marked), 8) << "seed " << seed;
        }
        const QByteArray svg = Svg(k);
        EXPECT_TRUE(ValidXml(svg)) << seed;
        EXPECT_LT(svg.size(), 250000) << seed;
        EXPECT_LT(Pdf(k, dir.filePath(QStringLiteral("%1.pdf").arg(seed))), 50000) << seed;
    }
}

// What lies outside the data area is not written, and marks on one device
// pixel are written once.
TEST(KurvoPages, InvisibleItemsCostNothing)
{
    QTemporaryDir dir;
    for (bool marks : {false, true}) {
        TKurvo k;
        k.SetBounds(0, 0, 300, 220);
        k.SetPaintSuppressed(true);
        k.SetLayerRange(0, 0, 0, 100, 100);
        const qsizetype empty = Svg(k).size();
        k.SetLineWidth(3);
        for (int i = 0; i < 100000; ++i)
            marks ? k.AddMark(50, 50, std::uint8_t(i % 52)) : k.AddLine(-300 - i, 50, -200, 1e308 * (i % 2));
        const QByteArray svg = Svg(k);
        EXPECT_TRUE(ValidXml(svg));
        EXPECT_LT(svg.size() - empty, marks ? 60000 : 200) << marks;
        EXPECT_LT(Pdf(k, dir.filePath(QStringLiteral("w.pdf"))), 100000) << marks;
    }
}
