// Random charts drawn by the screen and by Render; the same as SVG and PDF.
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
#include <random>

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

constexpr TColor kMarker = 0x010203;

// Every item kind, shape, pen and layer; `mark`: broken and thick lines in kMarker.
void FillRandomly(TKurvo &k, Rng &g, bool mark)
{
    k.SetShadowWidth(Pick(g, 0, 6));
    k.SetCaption(QStringLiteral("σ = 1, μ = 0"));
    for (int layer = 1; layer <= TKurvo::kLayers; ++layer) {
        k.SetLayerRange(layer, 0.5, 0.5, 100, 100);
        k.ScaleX(layer)->SetLogarithmic(Pick(g, 0, 3) == 0);
        k.ScaleY(layer)->SetLogarithmic(Pick(g, 0, 3) == 0);
    }
    k.CrossHair(1)->SetMode(chBoth);
    k.CrossHair(1)->SetPosX(50), k.CrossHair(1)->SetPosY(40);
    for (int i = 0; i < 30; ++i) {
        k.SetCurrentLayer(Pick(g, 1, TKurvo::kLayers));
        k.SetDataColor(TColor(Pick(g, 0, 0xFFFFFF)));
        k.SetFillColor(TColor(Pick(g, 0, 0xFFFFFF)));
        k.SetPenStyle(TPenStyle(Pick(g, psSolid, psInsideFrame)));
        k.SetLineWidth(Pick(g, 0, 2) == 0 ? Pick(g, 2, 6) : 1);
        k.SetTextSize(Pick(g, 0, 14));
        if (mark && ((k.PenStyle() >= psDash && k.PenStyle() <= psDashDotDot) || k.LineWidth() > 1))
            k.SetDataColor(kMarker), k.SetPenStyle(psSolid);
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

// Rendered into the middle of a white image, around which nothing is drawn.
QImage Rendered(TKurvo &k)
{
    QImage image(k.size() + QSize(40, 40), QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage white = image;
    QPainter painter(&image);
    k.Render(painter, QRectF(QPointF(20, 20), QSizeF(k.size())));
    painter.end();
    const QImage inside = image.copy(QRect(QPoint(20, 20), k.size()));
    QPainter(&image).fillRect(QRect(QPoint(20, 20), k.size()), Qt::white);
    EXPECT_TRUE(image == white);
    return inside;
}

// Pixels whose colour is not within one pixel in the other picture, away from kMarker.
int Unexplained(const QImage &a, const QImage &b, const QImage &marked)
{
    auto near = [](const QImage &image, int x, int y, QRgb colour) {
        for (int k = 0; k < 9; ++k)
            if (image.valid(x + k % 3 - 1, y + k / 3 - 1) && image.pixel(x + k % 3 - 1, y + k / 3 - 1) == colour)
                return true;
        return false;
    };
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (!near(b, x, y, a.pixel(x, y)) || !near(a, x, y, b.pixel(x, y))) &&
                !near(marked, x, y, ColorToQRgb(kMarker));
    return n;
}

// The SVG, which must be well-formed XML.
QByteArray Svg(TKurvo &k)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(k.size());
    svg.setViewBox(QRect(QPoint(), k.size()));
    QPainter painter(&svg);
    k.Render(painter, QRectF(QPointF(), QSizeF(k.size())));
    painter.end();
    QXmlStreamReader xml(data);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) { }
    EXPECT_FALSE(xml.hasError());
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
        QPainter painter(&pdf);
        k.Render(painter, QRectF(QPointF(), QSizeF(k.size())));
    }
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {file});
    EXPECT_TRUE(!info.waitForStarted() || (info.waitForFinished(60000) && info.exitCode() == 0));
    return QFile(file).size();
}

} // namespace

// Render into an image draws the screen's picture through the paint engine's
// own calls: a thin line's pixels may lie one pixel apart (so a colour must
// be found within one pixel in the other picture) and go under or out from
// under another item (up to 8 pixels a chart); thick and broken lines are cut
// at another edge, so near them (one pixel) their dashes and ends are not
// compared. No anti-aliasing; an image is no paper, so no printer forms.
TEST(KurvoPages, RandomChartsLookTheSameOnEveryDevice)
{
    QTemporaryDir dir;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TKurvo charts[2], marked[2]; // a chart and one sharing its items
        for (TKurvo *c : {charts, marked}) {
            Rng g(seed);
            for (int i : {0, 1})
                c[i].SetBounds(0, 0, 300, 220), c[i].SetPaintSuppressed(false);
            FillRandomly(c[0], g, c == marked);
            c[1].SetUseDataOf(&c[0]);
        }
        auto shown = [](TKurvo &c) {
            return c.Paint(), c.ControlBitmap().Image().convertToFormat(QImage::Format_RGB32);
        };
        for (int i : {0, 1})
            EXPECT_LE(Unexplained(shown(charts[i]), Rendered(charts[i]), shown(marked[i])), 8) << "seed " << seed;
        EXPECT_LT(Svg(charts[0]).size(), 250000) << seed;
        EXPECT_LT(Pdf(charts[0], dir.filePath(QStringLiteral("%1.pdf").arg(seed))), 50000) << seed;
    }
}

// Nothing outside the data area is written, and one mark per device pixel.
TEST(KurvoPages, InvisibleItemsCostNothing)
{
    QTemporaryDir dir;
    for (bool marks : {false, true}) {
        TKurvo k;
        k.SetBounds(0, 0, 300, 220);
        k.SetPaintSuppressed(true);
        k.SetLayerRange(0, 0, 0, 100, 100);
        k.SetLineWidth(3);
        for (int i = 0; i < 100000; ++i)
            marks ? k.AddMark(50, 50, std::uint8_t(i % 52)) : k.AddLine(-300 - i, 50, -200, 1e308 * (i % 2));
        EXPECT_LT(Svg(k).size(), marks ? 80000 : 20000) << marks; // the empty chart: 14 kB
        EXPECT_LT(Pdf(k, dir.filePath(QStringLiteral("w.pdf"))), 100000) << marks;
    }
}
