#include "Kesl_hueband.h"
#include "setter_rules.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr TColor kNavy = 0x800000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

std::unique_ptr<THueband> MakeBand(int w, int h, TGradType type, int n, TColor first, TColor last)
{
    auto b = std::make_unique<THueband>();
    b->resize(w, h);
    b->SetFillType(type);
    b->SetNrColors(n);
    b->SetColorFirst(first);
    b->SetColorLast(last);
    return b;
}

std::unique_ptr<TBitmap> Picture(THueband &b)
{
    auto bmp = std::make_unique<TBitmap>(b.width(), b.height());
    b.PaintOn(bmp->Canvas());
    return bmp;
}

// Every pixel must have the colour the rule gives; reports the first few misses.
void ExpectPixels(const TBitmap &bmp, const std::function<TColor(int, int)> &rule)
{
    int misses = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            const TColor got = bmp.Canvas().Pixel(x, y);
            if (got != rule(x, y) && ++misses <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << got << " not " << rule(x, y);
        }
    EXPECT_EQ(misses, 0);
}

int Red(TColor c)
{
    return c & 0xFF;
}

} // namespace

TEST(HuebandSteps, ChannelsMoveByRoundedFractions)
{
    EXPECT_EQ(HuebandStep(clSilver, clWhite, 15, 16), 0xFBFBFB); // 192 + 59
    EXPECT_EQ(HuebandStep(clSilver, clWhite, 0, 16), clSilver);
    EXPECT_EQ(HuebandStep(0x000000, 0x000005, 1, 2), 0x000003); // 2.5 rounds away from zero
    EXPECT_EQ(HuebandStep(0x000001, 0x000000, 1, 2), 0x000000); // -0.5 likewise
    EXPECT_EQ(HuebandStep(0x0000FF, 0x000000, 1, 2), 0x00007F);
    EXPECT_EQ(HuebandStep(0x102030, 0x112233, 1, 1), 0x112233);
    EXPECT_EQ(HuebandStep(0xFF0000, 0x00FF00, 1, 3), 0xAA5500); // channels independently
}

TEST(HuebandSetters, NrColorsIsClamped)
{
    THueband b;
    EXPECT_EQ(b.size(), QSize(121, 121));
    EXPECT_EQ(b.NrColors(), 16);
    for (auto [in, out] : {std::pair {0, 1}, {300, 255}, {-5, 1}, {1, 1}, {255, 255}, {INT_MIN, 1}, {INT_MAX, 255}}) {
        b.SetNrColors(in);
        EXPECT_EQ(b.NrColors(), out) << in;
    }
}

TEST(HuebandSetters, FlippingExchangesAndRestoresTheColours)
{
    THueband b;
    EXPECT_EQ(b.ColorFirst(), clMaroon);
    EXPECT_EQ(b.ColorLast(), clYellow);
    b.SetColorFirst(clSilver);
    b.SetColorLast(clWhite);
    b.SetColorFlipped(true);
    EXPECT_EQ(b.ColorFirst(), clWhite);
    EXPECT_EQ(b.ColorLast(), clSilver);
    b.SetColorFlipped(false);
    EXPECT_EQ(b.ColorFirst(), clSilver);
    EXPECT_EQ(b.ColorLast(), clWhite);

    b.SetColorFlipped(true);
    b.SetColorFirst(kRed); // supplied by the last base colour while flipped
    b.SetColorFlipped(false);
    EXPECT_EQ(b.ColorFirst(), clSilver);
    EXPECT_EQ(b.ColorLast(), kRed);
    b.SetColorFlipped(true);
    b.SetColorLast(kGreen);
    b.SetColorFlipped(false);
    EXPECT_EQ(b.ColorFirst(), kGreen);
    EXPECT_EQ(b.ColorLast(), kRed);
}

TEST(HuebandPixels, MainWindowPanelBands)
{
    auto b = MakeBand(752, 73, gtHoriz, 16, clSilver, clWhite);
    auto bmp = Picture(*b);
    const TCanvas &c = bmp->Canvas();
    for (int x = 0; x < 752; ++x) {
        for (int y = 0; y <= 4; ++y)
            ASSERT_EQ(c.Pixel(x, y), 0xC0C0C0) << x << "," << y;
        for (int y = 68; y <= 72; ++y)
            ASSERT_EQ(c.Pixel(x, y), 0xFBFBFB) << x << "," << y;
    }
    EXPECT_NE(c.Pixel(0, 5), 0xC0C0C0);
    EXPECT_NE(c.Pixel(0, 67), 0xFBFBFB);
    for (int y = 1; y < 73; ++y) {
        EXPECT_GE(Red(c.Pixel(0, y)), Red(c.Pixel(0, y - 1))) << y;
        EXPECT_NE(c.Pixel(0, y), clWhite) << y;
    }
}

TEST(HuebandPixels, MidBandsAndVerticalBands)
{
    auto h = MakeBand(20, 90, gtMidBandHoriz, 3, kRed, kNavy);
    ExpectPixels(*Picture(*h), [](int, int y) { return y >= 30 && y < 60 ? kNavy : kRed; });
    auto v = MakeBand(90, 7, gtMidBandVert, 3, kRed, kNavy);
    ExpectPixels(*Picture(*v), [](int x, int) { return x >= 30 && x < 60 ? kNavy : kRed; });
    auto one = MakeBand(9, 9, gtMidBandHoriz, 1, kRed, kNavy);
    ExpectPixels(*Picture(*one), [](int, int) { return kRed; });
    auto two = MakeBand(10, 4, gtVert, 2, 0x000000, 0x0000FF);
    ExpectPixels(*Picture(*two), [](int x, int) { return x < 5 ? 0x000000 : 0x000080; });
}

TEST(HuebandPixels, GridOnEverySecondRowAndColumn)
{
    struct G
    {
        TGridMode mode;
        bool rows, cols;
    };
    for (const G &g :
         {G {gmBoth, true, true}, G {gmHoriz, true, false}, G {gmVert, false, true}, G {gmNone, false, false}}) {
        auto b = MakeBand(4, 4, gtHoriz, 1, kGreen, kRed);
        b->SetGridMode(g.mode);
        b->SetGridColor(kNavy);
        ExpectPixels(*Picture(*b),
                     [&](int x, int y) { return (g.rows && y % 2 == 0) || (g.cols && x % 2 == 0) ? kNavy : kGreen; });
    }
}

TEST(HuebandPixels, NestedRectangles)
{
    auto b = MakeBand(11, 11, gtRect, 3, 0x000000, 0x0000FF);
    ExpectPixels(*Picture(*b), [](int x, int y) {
        if (x == 5 && y == 5)
            return 0x000000; // the centre ends in the first colour
        if (x >= 2 && x <= 8 && y >= 2 && y <= 8)
            return 0x000055;
        return 0x0000AA;
    });
    auto single = MakeBand(12, 7, gtRect, 1, kGreen, kRed);
    ExpectPixels(*Picture(*single), [](int, int) { return kGreen; });
}

TEST(HuebandPixels, EllipsesRadialSectorsAndDiagonalGrid)
{
    auto fit = MakeBand(41, 31, gtEllipticFit, 8, 0x000000, 0x0000FF);
    auto f = Picture(*fit);
    EXPECT_EQ(f->Canvas().Pixel(0, 0), 0x0000FF);
    EXPECT_EQ(f->Canvas().Pixel(40, 30), 0x0000FF);
    // The step-0 ellipse has no size, so the centre shows step 1.
    EXPECT_EQ(f->Canvas().Pixel(20, 15), HuebandStep(0, 0xFF, 1, 8));

    auto full = MakeBand(41, 31, gtEllipticFull, 8, 0x000000, 0x0000FF);
    auto e = Picture(*full);
    EXPECT_EQ(e->Canvas().Pixel(0, 0), HuebandStep(0, 0xFF, 7, 8));
    EXPECT_EQ(e->Canvas().Pixel(20, 15), HuebandStep(0, 0xFF, 1, 8));

    auto radial = MakeBand(40, 30, gtRadial, 8, 0x000000, 0x0000FF);
    auto r = Picture(*radial);
    EXPECT_EQ(r->Canvas().Pixel(20, 29), 0x000000); // straight below: step 0
    EXPECT_EQ(r->Canvas().Pixel(20, 0), HuebandStep(0, 0xFF, 7, 8)); // straight above: the last step
    EXPECT_EQ(r->Canvas().Pixel(39, 15), HuebandStep(0, 0xFF, 4, 8)); // right of the centre: the middle
    ExpectPixels(*r, [&](int x, int y) {
        const TColor c = r->Canvas().Pixel(x, y);
        return (c & 0xFFFF00) == 0 && c != clWhite ? c : -2; // only steps of the gradient, no gaps
    });

    auto diag = MakeBand(8, 8, gtDiagGrid, 16, 0x000000, 0x0000FF);
    auto d = Picture(*diag);
    struct P
    {
        int x, y, red;
    };
    for (const P &p : {P {1, 1, 0}, P {1, 6, 255}, P {1, 2, 128}, P {1, 4, 255}, P {1, 3, 0}, P {3, 7, 255},
                       P {2, 1, 64}, P {6, 5, 191}, P {0, 6, 0}})
        EXPECT_EQ(d->Canvas().Pixel(p.x, p.y), p.red) << p.x << "," << p.y;
}

TEST(HuebandPixels, FrameAndSystemColours)
{
    auto b = MakeBand(10, 10, gtHoriz, 1, kGreen, kGreen);
    b->SetFrameStyle(fsLowered);
    auto bmp = Picture(*b);
    const TCanvas &c = bmp->Canvas();
    EXPECT_EQ(c.Pixel(0, 0), clGray);
    EXPECT_EQ(c.Pixel(9, 9), clWhite);
    EXPECT_EQ(c.Pixel(1, 1), clBlack);
    EXPECT_EQ(c.Pixel(8, 8), clSilver);
    EXPECT_EQ(c.Pixel(4, 4), kGreen);

    auto sys = MakeBand(6, 6, gtVert, 4, clBtnFace, clBtnFace);
    ExpectPixels(*Picture(*sys), [](int, int) { return ColorToRGB(clBtnFace); });
}

TEST(HuebandPaint, WidgetShowsThePictureAndReportsEachPaint)
{
    auto b = MakeBand(30, 20, gtRadial, 5, kRed, kNavy);
    b->SetGridMode(gmVert);
    int paints = 0;
    QObject *sender = nullptr;
    b->OnPaint = [&](QObject *s) {
        ++paints;
        sender = s;
    };
    auto expected = Picture(*b);
    EXPECT_EQ(paints, 1);
    const QImage shown = b->grab().toImage();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(sender, b.get());
    ExpectPixels(*expected, [&](int x, int y) { return QColorToColor(shown.pixelColor(x, y)); });
}

TEST(HuebandBadInput, TinyAndEmptyControlsInEveryPattern)
{
    for (int t = gtHoriz; t <= gtRect; ++t) {
        for (QSize s : {QSize(0, 0), QSize(1, 1), QSize(1, 300), QSize(300, 1), QSize(3, 3), QSize(2, 5)}) {
            for (int n : {1, 2, 255}) {
                auto b = MakeBand(s.width(), s.height(), static_cast<TGradType>(t), n, kRed, kNavy);
                b->SetGridMode(gmBoth);
                b->SetGridColor(kGreen);
                b->SetFrameStyle(fsEmbossed);
                int paints = 0;
                b->OnPaint = [&](QObject *) { ++paints; };
                auto bmp = Picture(*b);
                EXPECT_EQ(paints, 1);
                if (s.isEmpty())
                    continue;
                // Gradient, raster or frame everywhere: the fresh bitmap's white never shows
                // except where the embossed frame draws it.
                for (int y = 0; y < s.height(); ++y)
                    for (int x = 0; x < s.width(); ++x) {
                        const bool edge =
                            x == 0 || y == 0 || x >= s.width() - 2 || y >= s.height() - 2 || x == 1 || y == 1;
                        if (!edge) {
                            EXPECT_NE(bmp->Canvas().Pixel(x, y), clWhite) << t << " " << x << "," << y;
                        }
                    }
            }
        }
    }
}

namespace {

// What the widget itself shows, as a bitmap of plain colours.
std::unique_ptr<TBitmap> Shown(THueband &b, const QRect &part = QRect())
{
    const QRect r = part.isNull() ? b.rect() : part;
    const QImage img = b.grab(r).toImage();
    auto bmp = std::make_unique<TBitmap>(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            bmp->Canvas().SetPixel(x, y, QColorToColor(img.pixelColor(x, y)));
    return bmp;
}

void ExpectSame(const TBitmap &shown, const TBitmap &expected, int dx = 0, int dy = 0)
{
    ExpectPixels(shown, [&](int x, int y) { return expected.Canvas().Pixel(x + dx, y + dy); });
}

} // namespace

TEST(HuebandPaint, WidgetFollowsEveryChangeOfItsSettings)
{
    // The widget keeps its last picture for repaints beneath other controls;
    // each setting, the size and the colours behind system colours must still
    // show at once.
    auto b = MakeBand(40, 30, gtHoriz, 4, kRed, kNavy);
    ExpectSame(*Shown(*b), *Picture(*b));
    const std::vector<std::function<void(THueband &)>> changes = {
        [](THueband &h) { h.SetNrColors(7); },         [](THueband &h) { h.SetFillType(gtRadial); },
        [](THueband &h) { h.SetColorFirst(kGreen); },  [](THueband &h) { h.SetColorLast(0x123456); },
        [](THueband &h) { h.SetColorFlipped(true); },  [](THueband &h) { h.SetGridMode(gmVert); },
        [](THueband &h) { h.SetGridColor(0x654321); }, [](THueband &h) { h.SetFrameStyle(fsRaised); },
        [](THueband &h) { h.resize(23, 51); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto before = Shown(*b);
        changes[i](*b);
        const auto after = Shown(*b);
        ExpectSame(*after, *Picture(*b));
        EXPECT_NE(after->Image(), before->Image()) << "change " << i;
    }
}

TEST(HuebandPaint, EachSetterInvalidatesByItsRule)
{
    const char *A = "always", *C = "on change";
    // clang-format off
    const std::initializer_list<TRuleRow> rows = {
        {"NrColors", A, 5}, {"FillType", C, V(gtRadial), Beyond(gtRect)}, {"ColorFirst", A, kRed}, {"ColorLast", A, kRed},
        {"ColorFlipped", A, true}, {"FrameStyle", A, V(fsRaised), Beyond(fsEngraved)}, {"GridMode", A, V(gmBoth)},
        {"GridColor", A, kGreen},
    };
    // clang-format on
    ExpectRules(
        rows, [](int &count) { return ShownCounted(std::make_unique<THueband>(), count); }, Settle);
}

TEST(HuebandPaint, PartialRepaintShowsThatPartOfThePicture)
{
    auto b = MakeBand(60, 40, gtEllipticFull, 9, kRed, kNavy);
    b->SetGridMode(gmBoth);
    b->SetGridColor(kGreen);
    const auto whole = Picture(*b);
    Shown(*b); // keeps the picture
    for (const QRect &part : {QRect(10, 7, 20, 11), QRect(0, 0, 1, 1), QRect(45, 30, 15, 10)}) {
        auto shown = Shown(*b, part);
        ASSERT_EQ(shown->Width(), part.width());
        ExpectSame(*shown, *whole, part.left(), part.top());
    }
}

TEST(HuebandPaint, SystemColoursFollowThePalette)
{
    const QPalette keep = QApplication::palette();
    auto b = MakeBand(8, 8, gtVert, 3, clBtnFace, clBtnFace);
    Shown(*b);
    QPalette pal = keep;
    pal.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(pal);
    const auto shown = Shown(*b);
    QApplication::setPalette(keep);
    ExpectPixels(*shown, [](int, int) { return 0x563412; });
}

TEST(HuebandMouse, AHoverMoveIsReported)
{
    THueband b;
    QPoint got;
    b.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) { got = {x, y}; };
    QMouseEvent e(QEvent::MouseMove, QPointF(7, 9), QPointF(7, 9), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&b, &e);
    EXPECT_EQ(got, QPoint(7, 9));
}
