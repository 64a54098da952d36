// Rendering checked by pixels of the data and control bitmaps.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <random>

namespace {

// A 280 x 200 chart whose data bitmap pixel (x, 140 - y) shows chart point
// (x, y): one unit per pixel, data area 211 x 141.
class KurvoPixels : public ::testing::Test
{
protected:
    void SetUp() override
    {
        k.SetPaintSuppressed(false);
        k.SetAutoRedraw(false);
        k.SetLayerRange(0, 0, 0, 210, 140);
    }
    void Paint()
    {
        k.SetPaintSuppressed(true);
        k.SetPaintSuppressed(false);
    }
    TColor D(int x, int y) const { return k.DataBitmap().Canvas().Pixel(x, y); }
    TColor C(int x, int y) const { return k.ControlBitmap().Canvas().Pixel(x, y); }
    int CountData(TColor c) const
    {
        int n = 0;
        for (int y = 0; y < k.DataBitmap().Height(); ++y)
            for (int x = 0; x < k.DataBitmap().Width(); ++x)
                n += D(x, y) == c;
        return n;
    }
    TKurvo k;
};

TEST_F(KurvoPixels, EmptyChartShowsBackgroundAndDataFrame)
{
    Paint();
    ASSERT_EQ(k.DataBitmap().Width(), 211);
    ASSERT_EQ(k.DataBitmap().Height(), 141);
    EXPECT_EQ(D(100, 70), clWhite);
    EXPECT_EQ(D(0, 70), clBlack);
    EXPECT_EQ(D(210, 70), clBlack);
    EXPECT_EQ(D(100, 0), clBlack);
    EXPECT_EQ(D(100, 140), clBlack);
    // Data bitmap copied into the control bitmap at the margins.
    EXPECT_EQ(C(50, 90), clBlack);
    EXPECT_EQ(C(150, 90), clWhite);
    // Without a shadow the corners show the window colour, no outline.
    EXPECT_EQ(C(0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(C(279, 199), ColorToRGB(clBtnFace));
}

TEST_F(KurvoPixels, LineMappingToOnePixelDrawsExactlyThatPixel)
{
    k.SetDataColor(clRed);
    k.AddLine(100, 70, 100.2, 70.3);
    Paint();
    EXPECT_EQ(D(100, 70), clRed);
    EXPECT_EQ(CountData(clRed), 1);
}

TEST_F(KurvoPixels, RectangleCoversBothCornerPixels)
{
    k.SetDataColor(clBlue);
    k.SetFillColor(clYellow);
    k.AddRect(20, 20, 30, 30);
    k.AddRect(60, 60, 61, 61);
    Paint();
    EXPECT_EQ(D(20, 120), clBlue);
    EXPECT_EQ(D(30, 110), clBlue);
    EXPECT_EQ(D(31, 110), clWhite);
    EXPECT_EQ(D(20, 121), clWhite);
    EXPECT_EQ(D(25, 115), clYellow);
    EXPECT_EQ(D(60, 80), clBlue);
    EXPECT_EQ(D(61, 79), clBlue);
    EXPECT_EQ(CountData(clBlue), 4 * 10 + 4);
}

TEST_F(KurvoPixels, TwoHundredFiftyDrawToItemsJoinSeamlessly)
{
    k.SetDataColor(clRed);
    k.MoveTo(0, 20);
    for (int i = 1; i <= 250; ++i)
        k.DrawTo(i * 0.8, 20 + i * 0.4); // slope one half
    Paint();
    // Every column from the start to the last point has exactly one red pixel,
    // and neighbouring columns differ by at most one row.
    int prevY = -1;
    for (int x = 1; x < 200; ++x) { // column 0 is the data-area frame
        int found = -1, n = 0;
        for (int y = 0; y < 141; ++y)
            if (D(x, y) == clRed) {
                found = y;
                ++n;
            }
        ASSERT_EQ(n, 1) << "column " << x;
        if (prevY >= 0) {
            EXPECT_LE(std::abs(found - prevY), 1) << "column " << x;
        }
        prevY = found;
    }
    EXPECT_EQ(D(200, 20), clWhite); // the end point itself is left out
}

// Draw-to points make one polyline: a dashed run of one-pixel steps keeps the
// dashes of one dashed line, and a thick Λ has no notch above its apex.
TEST_F(KurvoPixels, DrawToPointsAreOnePolylineForDashesAndJoins)
{
    k.SetPenStyle(psDash);
    k.AddLine(5, 100, 204, 100);
    k.MoveTo(5, 60);
    for (int x = 6; x <= 204; ++x)
        k.DrawTo(x, 60);
    k.SetPenStyle(psSolid);
    k.SetLineWidth(7);
    k.MoveTo(60, 10);
    k.DrawTo(100, 50);
    k.DrawTo(140, 10);
    Paint();
    int set = 0;
    for (int x = 0; x < 211; ++x) {
        ASSERT_EQ(D(x, 80), D(x, 40)) << x;
        set += D(x, 40) == clBlack;
    }
    EXPECT_LT(set, 180);
    for (int dy = -3; dy <= 0; ++dy)
        EXPECT_EQ(D(100, 90 + dy), clBlack) << dy;
}

TEST_F(KurvoPixels, RelativeMovesStartFromThePenPositionBeforeTheBufferedRun)
{
    k.SetDataColor(clRed);
    k.MoveTo(10, 30);
    k.DrawTo(50, 30); // still buffered when the relative move reads the pen
    k.MoveRel(0, -20);
    k.DrawRel(20, 0);
    Paint();
    EXPECT_EQ(D(30, 110), clRed); // the run itself
    for (int x = 10; x <= 30; ++x)
        EXPECT_EQ(D(x, 90), clRed) << x; // from the run's start, end pixel included
    EXPECT_EQ(D(31, 90), clWhite);
    EXPECT_EQ(D(50, 90), clWhite);
}

// Hidden classes and layers: the picture equals the one without those items.
TEST(KurvoRender, HiddenItemsLeaveNoTraceAndNoStateChange)
{
    auto build = [](TKurvo &k, bool withHidden) {
        k.SetPaintSuppressed(false);
        k.SetAutoRedraw(false);
        k.SetLayerRange(0, 0, 0, 210, 140);
        k.SetDataColor(clRed);
        k.MoveTo(10, 50);
        k.DrawTo(100, 50);
        if (withHidden) {
            k.SetClassDefault(5);
            k.SetDataColor(clGreen);
            k.SetLineWidth(4);
            k.DrawTo(100, 100);
            k.AddMark(30, 30, 3);
            k.MoveTo(0, 0);
            k.SetClassDefault(0);
            k.SetCurrentLayer(3);
            k.DrawTo(150, 130);
            k.MoveRel(40, 40);
            k.SetCurrentLayer(1);
            k.SetLineWidth(1);
            k.SetDataColor(clRed);
            k.SetClassVisible(5, false);
            k.SetLayerVisible(3, false);
        }
        k.DrawTo(200, 50);
        k.SetPaintSuppressed(true);
        k.SetPaintSuppressed(false);
    };
    TKurvo plain, hidden;
    build(plain, false);
    build(hidden, true);
    EXPECT_EQ(plain.DataBitmap().Image(), hidden.DataBitmap().Image());
    EXPECT_EQ(plain.DataBitmap().Canvas().Pixel(150, 90), clRed);
}

TEST_F(KurvoPixels, CoordinatesFarOutsideAreClampedAndDrawingCompletes)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    k.SetDataColor(clGreen);
    // None of these may write outside the bitmap or hang.
    for (double v : {nan, inf, -inf, 1e308, -1e308}) {
        k.AddMark(v, 10, 3);
        k.AddRect(v, 0, 10, v);
        k.AddEllipse(10, 10, v, v);
        k.AddArrow(0, 0, v, v, 8);
        k.AddPixelBox(v, 10, 3, 3);
        k.AddBar3D(0, 0, v, 10, 45, 5);
        k.AddTextOffset(v, 10, 2147483647, -2147483647, QStringLiteral("t"));
        k.MoveRel(2147483647, -2147483647);
        k.DrawRel(2147483647, 2147483647);
        k.DrawTo(v, -v);
    }
    k.SetDataColor(clRed);
    k.AddLine(-1e308, 70, 1e308, 70);
    k.SetDataColor(clBlue);
    k.AddLine(50, -inf, 50, inf);
    Paint();
    for (int x = 1; x < 210; ++x) {
        if (x != 50) {
            ASSERT_EQ(D(x, 70), clRed) << x;
        }
    }
    for (int y = 1; y < 140; ++y) {
        if (y != 70 && y != 130) {
            ASSERT_EQ(D(50, y), clBlue) << y;
        }
    }
}

TEST_F(KurvoPixels, AMillionItemsAreRecordedAndDrawn)
{
    k.SetDataColor(clRed);
    for (int i = 0; i < 1000000; ++i)
        k.AddMark(i % 200 + 5, (i / 200) % 130 + 5, std::uint8_t(i % 52));
    EXPECT_EQ(k.ItemCount(), 1000000);
    EXPECT_EQ(k.AllocatedItems(), 1000000);
    k.SetDataColor(clBlue);
    k.AddLine(100, 70, 100, 70);
    Paint();
    EXPECT_EQ(D(100, 70), clBlue); // the last item, drawn after all the marks
    EXPECT_EQ(D(205, 70), clRed); // a mark beside it
}

TEST(KurvoRender, SetBoundsKeepsAMinimumSize)
{
    TKurvo k;
    k.SetBounds(0, 0, 10, 10);
    EXPECT_EQ(k.width(), 150);
    EXPECT_EQ(k.height(), 80);
    k.SetMarginLeft(50);
    k.SetMarginRight(10);
    k.SetMarginTop(16);
    k.SetMarginBottom(32);
    k.SetBounds(3, 4, 10, 10);
    EXPECT_EQ(k.geometry(), QRect(3, 4, 140, 68));
    k.SetShadowWidth(5);
    k.SetBounds(0, 0, 0, 0);
    EXPECT_EQ(k.width(), 145);
    EXPECT_EQ(k.height(), 73);
    // The mapping follows the new size.
    k.SetLayerRange(1, 0, 0, 1, 1);
    EXPECT_EQ(k.DataToPixel(1, 1, 0), QPoint(145 - 10 - 5, 73 - 32 - 5));
}

TEST(KurvoRender, ShadowBoxHasADiagonalLeftEdge)
{
    TKurvo k;
    k.SetAutoRedraw(false);
    k.SetShadowWidth(5);
    k.SetShadowStyle(ssBox);
    k.SetShadowColor(clBlue);
    k.SetShadowBakColor(clRed);
    k.SetPaintSuppressed(false);
    const TCanvas &c = k.ControlBitmap().Canvas();
    const int W = k.width(), H = k.height();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(c.Pixel(i, H - 5 + i), clBlack) << i;
    EXPECT_EQ(c.Pixel(0, H - 1), clRed); // corner square below the diagonal
    EXPECT_EQ(c.Pixel(1, H - 1), clRed);
    EXPECT_EQ(c.Pixel(W - 1, 0), clRed); // upper corner square
    EXPECT_EQ(c.Pixel(W / 2, H - 3), clBlue); // shadow body
    EXPECT_EQ(c.Pixel(W - 3, H / 2), clBlue);
    EXPECT_EQ(c.Pixel(W / 2, 0), clBlack); // outline of the control area
    EXPECT_EQ(c.Pixel(W - 5, H / 2), clBlack);
    // A flying shadow has no black edge.
    k.SetShadowStyle(ssFlying);
    k.SetPaintSuppressed(true);
    k.SetPaintSuppressed(false);
    EXPECT_EQ(c.Pixel(4, H - 1), clBlue);
    EXPECT_EQ(c.Pixel(3, H - 1), clRed);
}

TEST_F(KurvoPixels, BackgroundThatIsNotAnImageIsDropped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nothing.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is text, not a bitmap");
    f.close();
    k.SetChartColor(clYellow);
    k.BackGroundImg()->SetIncludePath(true);
    k.BackGroundImg()->SetName(path);
    Paint();
    EXPECT_TRUE(k.BackGroundImg()->Name().isEmpty());
    EXPECT_EQ(D(100, 70), clYellow);
    EXPECT_EQ(D(0, 70), clBlack);
}

TEST_F(KurvoPixels, BackgroundImageIsStretchedOverTheDataArea)
{
    QTemporaryDir dir;
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 0));
    img.setPixel(1, 0, qRgb(0, 0, 255));
    const QString path = dir.filePath(QStringLiteral("two.png"));
    ASSERT_TRUE(img.save(path));
    k.BackGroundImg()->SetIncludePath(true);
    k.BackGroundImg()->SetName(path);
    Paint();
    EXPECT_EQ(k.BackGroundImg()->Name(), path);
    EXPECT_EQ(D(50, 70), clRed);
    EXPECT_EQ(D(160, 70), clBlue);
}

TEST_F(KurvoPixels, AreaModesFillTheirPartOfTheDataArea)
{
    struct
    {
        TBGAreaMode mode;
        QPoint inside, outside;
    } cases[] = {
        {bamLeft, {20, 70}, {60, 70}},      {bamRight, {150, 70}, {60, 70}}, {bamTop, {100, 10}, {100, 70}},
        {bamBottom, {100, 130}, {100, 70}}, {bamVStripe, {70, 5}, {20, 5}},  {bamHStripe, {5, 70}, {5, 5}},
        {bamRect, {70, 70}, {5, 70}},
    };
    TBakGndImg *b = k.BackGroundImg();
    b->SetAreaLeft(50);
    b->SetAreaRight(100);
    b->SetAreaTop(100);
    b->SetAreaBottom(40);
    b->SetAreaColor(clLime);
    for (const auto &c : cases) {
        b->SetAreaMode(c.mode);
        Paint();
        EXPECT_EQ(D(c.inside.x(), c.inside.y()), clLime) << c.mode;
        EXPECT_EQ(D(c.outside.x(), c.outside.y()), clWhite) << c.mode;
    }
}

TEST_F(KurvoPixels, MarksArrowsAndBoxesByPixels)
{
    k.SetDataColor(clRed);
    k.AddMark(100, 70, 1); // five-pixel plus
    k.SetDataColor(clBlue);
    k.SetFillColor(clBlue);
    k.AddArrow(20, 20, 60, 20, 10);
    k.SetFillColor(clYellow);
    k.SetBoxFrameStyle(fsLowered);
    k.SetDarkEdgeColor(clBlack);
    k.SetLightEdgeColor(clLime);
    k.AddBox(150, 100, 170, 120);
    Paint();
    EXPECT_EQ(D(100, 70), clRed);
    EXPECT_EQ(D(99, 70), clRed);
    EXPECT_EQ(D(101, 70), clRed);
    EXPECT_EQ(D(100, 69), clRed);
    EXPECT_EQ(D(100, 71), clRed);
    EXPECT_EQ(D(99, 69), clWhite);
    EXPECT_EQ(CountData(clRed), 5);
    // Arrow shaft and a closed head reaching back from the tip.
    EXPECT_EQ(D(40, 120), clBlue);
    EXPECT_EQ(D(56, 120), clBlue);
    EXPECT_EQ(D(53, 118), clBlue);
    EXPECT_EQ(D(53, 122), clBlue);
    // Box: fill, dark upper-left and light lower-right edges.
    EXPECT_EQ(D(160, 30), clYellow);
    EXPECT_EQ(D(150, 30), clBlack);
    EXPECT_EQ(D(160, 20), clBlack);
    EXPECT_EQ(D(170, 30), clLime);
    EXPECT_EQ(D(160, 40), clLime);
}

TEST_F(KurvoPixels, GridLinesFollowTheSpacing)
{
    k.SetGridStyle(gsVertLines);
    k.SetGridColor(clRed);
    k.SetGridDx(50);
    Paint();
    for (int x : {50, 100, 150, 200})
        EXPECT_EQ(D(x, 70), clRed) << x;
    EXPECT_EQ(D(75, 70), clWhite);
    k.SetGridStyle(gsHorizLines);
    k.SetGridDy(-5); // ignored: below -3
    EXPECT_EQ(k.GridDy(), 0);
    k.SetGridDy(40);
    Paint();
    for (int y : {40, 80, 120})
        EXPECT_EQ(D(100, 140 - y), clRed) << y;
    EXPECT_EQ(D(50, 70), clWhite);
}

TEST_F(KurvoPixels, RenderEventsGetTheDataAreaOffset)
{
    int calls = 0;
    k.OnBeforeRenderData = [&](QObject *s, TCanvas &, int left, int top) {
        EXPECT_EQ(s, &k);
        EXPECT_EQ(left, 50);
        EXPECT_EQ(top, 20);
        ++calls;
    };
    k.OnDataRendered = [&](QObject *, TCanvas &c, int, int) {
        c.SetPixel(5, 5, clLime);
        calls += 10;
    };
    k.OnScalesRendered = [&](QObject *, TCanvas &, int left, int top) {
        EXPECT_EQ(left + top, 0);
        calls += 100;
    };
    Paint();
    EXPECT_EQ(calls, 111);
    EXPECT_EQ(D(5, 5), clLime);
}

// Long runs of marks of every shape, two colours overlapping, give the
// pixels of the plain canvas calls; so does a series crossing the edges.
TEST_F(KurvoPixels, LongMarkRunsAndSeriesGiveThePixelsOfTheCanvasCalls)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> ux(-10, 220), uy(-10, 150);
    bool direct = true;
    k.OnBeforeRenderData = [&](QObject *, TCanvas &c, int, int) { c.AllowDirectPixels = direct; };
    for (int shape = -1; shape <= 51; ++shape) { // -1: a character
        k.ClearItems();
        for (TColor col : {clRed, clBlue}) {
            k.SetDataColor(col);
            for (int i = 0; i < 500; ++i)
                k.AddMark(ux(rng), uy(rng), std::uint8_t(shape < 0 ? 'x' : shape));
        }
        direct = true;
        Paint();
        const QImage fast = k.DataBitmap().Image().copy();
        direct = false;
        Paint();
        ASSERT_TRUE(k.DataBitmap().Image() == fast) << shape;
        EXPECT_GT(CountData(clRed) + CountData(clBlue), shape < 0 ? -1 : 300) << shape;
    }
    k.ClearItems();
    TBitmap lines(211, 141);
    QPoint p(-5, 70);
    k.MoveTo(p.x(), 140 - p.y());
    lines.Canvas().MoveTo(p.x(), p.y());
    for (int i = 0; i < 700; ++i) {
        p += QPoint(int(rng() % 3) - 1, int(rng() % 9) - 4);
        k.DrawTo(p.x(), 140 - p.y());
        lines.Canvas().LineTo(p.x(), p.y());
    }
    Paint();
    for (int y = 1; y < 140; ++y)
        for (int x = 1; x < 210; ++x)
            ASSERT_EQ(D(x, y), lines.Canvas().Pixel(x, y)) << x << "," << y;
}

} // namespace
