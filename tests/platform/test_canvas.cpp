#include "Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel that differs from white.
PixelSet Painted(const TBitmap &bmp)
{
    PixelSet out;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas().Pixel(x, y) != clWhite)
                out.insert({x, y});
    return out;
}

PixelSet Box(int x1, int y1, int x2, int y2) // inclusive
{
    PixelSet out;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            out.insert({x, y});
    return out;
}

// Plain 64-bit walk from (x, y) to (bx, by), end left out: its pixels on 64 x 64, up to where it has passed them.
PixelSet ReferenceWalk(std::int64_t x, std::int64_t y, std::int64_t bx, std::int64_t by)
{
    PixelSet out;
    const std::int64_t dx = std::abs(bx - x), dy = -std::abs(by - y), sx = x < bx ? 1 : -1, sy = y < by ? 1 : -1;
    for (std::int64_t err = dx + dy, e2;
         (x != bx || y != by) && (sx > 0 ? x < 64 : x >= 0) && (sy > 0 ? y < 64 : y >= 0);) {
        if (x >= 0 && y >= 0 && x < 64 && y < 64)
            out.insert({int(x), int(y)});
        e2 = 2 * err;
        x += e2 >= dy ? (err += dy, sx) : 0;
        y += e2 <= dx ? (err += dx, sy) : 0;
    }
    return out;
}

} // namespace

TEST(Canvas, LineToLeavesOutTheEndPixelAndMovesThePen)
{
    TBitmap bmp(20, 20);
    TCanvas &c = bmp.Canvas();
    c.Pen.Color = clBlack;
    c.MoveTo(2, 5);
    c.LineTo(7, 5);
    EXPECT_EQ(Painted(bmp), Box(2, 5, 6, 5));
    EXPECT_EQ(c.PenPos(), QPoint(7, 5));
}

TEST(Canvas, DiagonalAndClosedPaths)
{
    TBitmap bmp(20, 20);
    TCanvas &c = bmp.Canvas();
    c.MoveTo(10, 10);
    c.LineTo(13, 13);
    EXPECT_EQ(Painted(bmp), (PixelSet {{10, 10}, {11, 11}, {12, 12}}));

    TBitmap sq(20, 20);
    sq.Canvas().Polyline({{3, 3}, {3, 5}, {5, 5}, {5, 3}, {3, 3}});
    PixelSet ring = Box(3, 3, 5, 5);
    ring.erase({4, 4});
    EXPECT_EQ(Painted(sq), ring);
}

TEST(Canvas, RectangleHasExclusiveRightAndBottom)
{
    TBitmap bmp(20, 20);
    TCanvas &c = bmp.Canvas();
    c.Pen.Color = clRed;
    c.Brush.Color = clBlue;
    c.Rectangle(9, 9, 12, 12);
    EXPECT_EQ(Painted(bmp), Box(9, 9, 11, 11));
    EXPECT_EQ(c.Pixel(10, 10), clBlue);
    EXPECT_EQ(c.Pixel(9, 11), clRed);
    EXPECT_EQ(c.Pixel(11, 9), clRed);
}

TEST(Canvas, EllipseStaysInsideItsBox)
{
    TBitmap bmp(20, 20);
    TCanvas &c = bmp.Canvas();
    c.Brush.Color = clBlack;
    c.Ellipse(7, 7, 14, 14);
    const PixelSet p = Painted(bmp);
    ASSERT_FALSE(p.empty());
    for (auto [x, y] : p) {
        EXPECT_GE(x, 7);
        EXPECT_LE(x, 13);
        EXPECT_GE(y, 7);
        EXPECT_LE(y, 13);
    }
    EXPECT_TRUE(p.count({10, 7}) && p.count({10, 13}) && p.count({7, 10}) && p.count({13, 10}));
}

TEST(Canvas, PolygonIsOutlinedAndFilledIncludingItsLowerEdge)
{
    TBitmap bmp(20, 20);
    TCanvas &c = bmp.Canvas();
    c.Pen.Color = clRed;
    c.Brush.Color = clRed;
    c.Polygon({{6, 13}, {10, 6}, {14, 13}});
    const PixelSet p = Painted(bmp);
    EXPECT_TRUE(p.count({10, 6}));
    for (int x = 6; x <= 14; ++x)
        EXPECT_TRUE(p.count({x, 13})) << x;
    EXPECT_TRUE(p.count({10, 10}));
    for (auto [x, y] : p) {
        EXPECT_GE(y, 6);
        EXPECT_LE(y, 13);
    }
}

TEST(Canvas, PixelsOutsideTheSurfaceAreIgnored)
{
    TBitmap bmp(4, 4);
    TCanvas &c = bmp.Canvas();
    c.SetPixel(-1, 0, clBlack);
    c.SetPixel(4, 4, clBlack);
    c.SetPixel(1, 2, clRed);
    EXPECT_EQ(c.Pixel(-1, 0), -1);
    EXPECT_EQ(c.Pixel(1, 2), clRed);
    EXPECT_EQ(Painted(bmp), (PixelSet {{1, 2}}));
    c.MoveTo(-100000, 2);
    c.LineTo(100000, 2);
    EXPECT_EQ(Painted(bmp), Box(0, 2, 3, 2));
}

TEST(Canvas, XorPenTogglesAndSourceAndCopyMasks)
{
    TBitmap bmp(10, 10);
    TCanvas &c = bmp.Canvas();
    c.Pen.Mode = pmXor;
    c.Pen.Color = clWhite;
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(c.Pixel(2, 0), clBlack);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(c.Pixel(2, 0), clWhite);

    TBitmap src(2, 1);
    src.Canvas().SetPixel(0, 0, 0x00FF00);
    src.Canvas().SetPixel(1, 0, clWhite);
    c.SetPixel(7, 7, 0x0000FF);
    c.SetPixel(8, 7, 0x123456);
    c.CopyMode = cmSrcAnd;
    c.Draw(7, 7, src);
    EXPECT_EQ(c.Pixel(7, 7), 0x000000);
    EXPECT_EQ(c.Pixel(8, 7), 0x123456);
}

TEST(Canvas, TextBackgroundFollowsTheBrush)
{
    TBitmap bmp(80, 30);
    TCanvas &c = bmp.Canvas();
    c.Font.Name = "Arial";
    c.Font.Height = -13;
    c.Font.Color = clBlack;
    const int w = c.TextWidth("Ab");
    const int h = c.TextHeight("Ab");
    EXPECT_GT(w, 5);
    EXPECT_GE(h, 13);
    c.Brush.Style = bsClear;
    c.TextOut(2, 2, "Ab");
    EXPECT_EQ(c.Pixel(2 + w - 1, 2), clWhite); // transparent: corner untouched
    EXPECT_EQ(c.PenPos(), QPoint(2 + w, 2));
    c.Brush.Style = bsSolid;
    c.Brush.Color = clRed;
    c.TextOut(40, 2, "Ab");
    EXPECT_EQ(c.Pixel(40, 2), clRed);
    EXPECT_EQ(c.Pixel(40 + w - 1, 2 + h - 1), clRed);
}

TEST(Canvas, TextClipKeepsTextInsideTheRectangle)
{
    TBitmap bmp(60, 30);
    TCanvas &c = bmp.Canvas();
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
    c.SetTextClip(QRect(0, 0, 10, 30));
    c.TextOut(2, 2, "MMMMMM");
    for (auto [x, y] : Painted(bmp))
        EXPECT_LT(x, 10);
    EXPECT_FALSE(Painted(bmp).empty());
}

TEST(Canvas, StretchDrawFillsTheExclusiveBox)
{
    TBitmap src(1, 1);
    src.Canvas().SetPixel(0, 0, clBlack);
    TBitmap bmp(10, 10);
    bmp.Canvas().StretchDraw(2, 3, 5, 6, src);
    EXPECT_EQ(Painted(bmp), Box(2, 3, 4, 5));
}

TEST(Canvas, EmptyBitmapIgnoresDrawing)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    TCanvas &c = bmp.Canvas();
    c.Rectangle(0, 0, 5, 5);
    c.LineTo(3, 3);
    c.TextOut(0, 0, "x");
    EXPECT_EQ(c.Pixel(0, 0), -1);
    bmp.SetSize(3, 2);
    EXPECT_EQ(bmp.Canvas().Pixel(2, 1), clWhite);
    EXPECT_FALSE(bmp.LoadFromFile("/nonexistent/file.bmp"));
    EXPECT_EQ(bmp.Width(), 3);
}

TEST(Canvas, FilledPolygonsHaveNoHolesAndStayInsideTheirOutline)
{
    // Steep and flat triangles, a diamond and quadrilaterals: every row of the
    // filled figure is one unbroken run, and a figure that is symmetric about a
    // vertical line is drawn symmetric (the edges chosen have no rounding ties,
    // where a line's pixels depend on its direction).
    struct Case
    {
        QVector<QPoint> pts;
        int mirrorX2; // twice the mirror axis, or -1
    };
    const Case cases[] = {
        {{{6, 7}, {10, 14}, {14, 7}}, 20},          {{{6, 13}, {10, 6}, {14, 13}}, 20},
        {{{3, 10}, {17, 4}, {17, 16}}, -1},         {{{10, 3}, {16, 10}, {10, 17}, {4, 10}}, 20},
        {{{2, 3}, {18, 5}, {15, 17}, {4, 12}}, -1}, {{{9, 1}, {11, 1}, {12, 18}, {8, 18}}, 20},
    };
    for (const Case &k : cases) {
        TBitmap bmp(21, 21);
        TCanvas &c = bmp.Canvas();
        c.Pen.Color = clBlack;
        c.Brush.Color = clBlack;
        c.Polygon(k.pts);
        const PixelSet p = Painted(bmp);
        ASSERT_FALSE(p.empty());
        for (int y = 0; y < 21; ++y) {
            int lo = 99, hi = -1, n = 0;
            for (int x = 0; x < 21; ++x)
                if (p.count({x, y})) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                    ++n;
                }
            if (n) {
                EXPECT_EQ(n, hi - lo + 1) << "row " << y << " of polygon starting " << k.pts[0].x();
            }
            if (n && k.mirrorX2 >= 0) {
                EXPECT_EQ(lo + hi, k.mirrorX2) << "row " << y;
            }
        }
        // Every vertex is set, so the figure reaches its full extent.
        for (const QPoint &v : k.pts)
            EXPECT_TRUE(p.count({v.x(), v.y()}));
    }

    // A clear brush leaves the inside alone.
    TBitmap open(21, 21);
    open.Canvas().Brush.Style = bsClear;
    open.Canvas().Polygon({{6, 13}, {10, 6}, {14, 13}});
    EXPECT_EQ(open.Canvas().Pixel(10, 11), clWhite);
    EXPECT_EQ(open.Canvas().Pixel(10, 6), clBlack);
}

TEST(Canvas, TextFollowsEveryFontChange)
{
    TBitmap bmp(10, 10);
    TCanvas &c = bmp.Canvas();
    c.Font.Name = "Arial";
    c.Font.Height = -13;
    const int small = c.TextWidth("MMMM");
    const int smallH = c.TextHeight("M");
    c.Font.Height = -26;
    EXPECT_GT(c.TextWidth("MMMM"), small * 3 / 2);
    EXPECT_GT(c.TextHeight("M"), smallH * 3 / 2);
    c.Font.Height = -13;
    EXPECT_EQ(c.TextWidth("MMMM"), small);
    c.Font.Name = "Courier New";
    EXPECT_EQ(c.TextWidth("iiii"), c.TextWidth("MMMM")); // a fixed-pitch face now
}

TEST(Canvas, ThickLinesEndFlatAtTheirEndPoints)
{
    TBitmap bmp(30, 30);
    TCanvas &c = bmp.Canvas();
    c.Pen.Width = 4;
    c.Pen.Color = clBlack;
    c.MoveTo(10, 5);
    c.LineTo(10, 15);
    const PixelSet p = Painted(bmp);
    ASSERT_FALSE(p.empty());
    int top = 100, bottom = -1, left = 100, right = -1;
    for (auto [x, y] : p) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left = std::min(left, x);
        right = std::max(right, x);
    }
    EXPECT_EQ(top, 5);
    EXPECT_EQ(bottom, 14);
    EXPECT_EQ(right - left + 1, 4);
    EXPECT_TRUE(p.count({10, 5}) && p.count({10, 14}));
}

// A line crossing the edges (walked with a check per pixel) sets the pixels
// of the same line drawn wholly inside a larger surface.
TEST(Canvas, LinesCrossingTheEdgesMatchTheSameLinesInside)
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> u(-30, 70);
    QVector<QPoint> pts;
    for (int i = 0; i < 300; ++i)
        pts.append(QPoint(u(rng), u(rng)));
    for (TPenMode mode : {pmCopy, pmXor}) {
        TBitmap small(40, 40), big(140, 140);
        for (TCanvas *c : {&small.Canvas(), &big.Canvas()})
            c->Pen = TPen {clRed, 1, psSolid, mode};
        small.Canvas().Polyline(pts);
        QVector<QPoint> moved = pts;
        for (QPoint &p : moved)
            p += QPoint(50, 50);
        big.Canvas().Polyline(moved);
        EXPECT_EQ(small.Image(), big.Image().copy(50, 50, 40, 40)) << mode;
        EXPECT_GT(Painted(small).size(), 400u);
    }
}

// A line from p - before * (u, v) to p + after * (u, v) (rows: range of u and v, before, after) sets the pixels
// of the whole line's walk, which repeats every (u, v): the reference walks the periods that reach the surface.
TEST(Canvas, LinePixelsOnTheSurfaceDoNotDependOnWhereTheEndsLie)
{
    const std::int64_t rows[][3] = {
        {5, 0, 1},          {64, 1, 1},      {1000, 0, 1},          {16384, 1, 0},           {40000, 1, 1},
        {1000000000, 0, 1}, {7, 1 << 28, 0}, {5, 1 << 28, 1 << 28}, {997, 1 << 21, 1 << 21}, {40000, 50000, 50000}};
    std::mt19937_64 rng(25);
    auto draw = [&rng](std::int64_t r) { return std::int64_t(rng() % std::uint64_t(2 * r + 1)) - r; };
    for (const auto &[range, before, after] : rows)
        for (int i = 0; i < 150; ++i) {
            const std::int64_t px = draw(40) + 32, py = draw(40) + 32, u = draw(range), v = draw(range);
            const std::int64_t reach = 100 / std::max({std::abs(u), std::abs(v), std::int64_t(1)}) + 1,
                               b0 = std::min(before, reach), a0 = std::min(after, reach);
            TBitmap bmp(64, 64);
            bmp.Canvas().MoveTo(int(px - before * u), int(py - before * v));
            bmp.Canvas().LineTo(int(px + after * u), int(py + after * v));
            ASSERT_EQ(Painted(bmp), ReferenceWalk(px - b0 * u, py - b0 * v, px + a0 * u, py + a0 * v)) << i;
        }
}
