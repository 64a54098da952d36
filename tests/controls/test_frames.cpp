#include "Kesl_keslbase.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

constexpr TColor kHi = 0xFFFFFF, kLight = 0xC0C0C0, kShadow = 0x808080, kDark = 0x000000, kLine = 0x000000;
constexpr TColor kBack = 0x3366AA; // background the frames must leave alone

void Fill(TBitmap &bmp, TColor c)
{
    TCanvas &cv = bmp.Canvas();
    cv.Brush.Color = c;
    cv.Brush.Style = bsSolid;
    cv.FillRect(0, 0, bmp.Width(), bmp.Height());
}

struct Ring
{
    TColor a, b, c, d; // outer top/left, outer bottom/right, inner top/left, inner bottom/right
};

// The expected colour of one pixel of a two-pixel frame, worked out from the
// regions rather than the drawing order: the bottom row and the right column
// below the top row are the second colour of each ring.
TColor Expected(std::int64_t x, std::int64_t y, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b,
                const Ring &ring)
{
    const bool inBox = x >= l && x <= r && y >= t && y <= b;
    if (!inBox)
        return kBack;
    if (x == l || x == r || y == t || y == b)
        return (y == b || (x == r && y > t)) ? ring.b : ring.a;
    if (x == l + 1 || x == r - 1 || y == t + 1 || y == b - 1)
        return (y == b - 1 || (x == r - 1 && y > t + 1)) ? ring.d : ring.c;
    return kBack;
}

} // namespace

TEST(Frames, LoweredFrameOfTheGradientFill)
{
    // g grey, w white, b black, s silver, . untouched.
    const char *art[] = {"gggggggggg.", "gbbbbbbbbw.", "gb......sw.", "gb......sw.", "gb......sw.", "gb......sw.",
                         "gb......sw.", "gb......sw.", "gssssssssw.", "wwwwwwwwww.", "..........."};
    TBitmap bmp(11, 11);
    Fill(bmp, kBack);
    TCanvas &c = bmp.Canvas();
    DrawFrame(c, fsLowered, 0, 0, 9, 9, kHi, kLight, kShadow, kDark, kLine);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x) {
            const char k = art[y][x];
            const TColor want = k == 'g' ? kShadow : k == 'b' ? kDark : k == 's' ? kLight : k == 'w' ? kHi : kBack;
            EXPECT_EQ(c.Pixel(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(c.Pen.Color, kLight);
}

TEST(Frames, TwoPixelStylesUseTheirColoursInTheirRings)
{
    const TColor H = 0x0000F0, L = 0x00F000, S = 0xF00000, D = 0x00F0F0;
    struct Case
    {
        TFrameStyle style;
        Ring ring;
    };
    const Case cases[] = {
        {fsLowered, {S, H, D, L}},
        {fsRaised, {H, D, L, S}},
        {fsEmbossed, {H, S, S, H}},
        {fsEngraved, {S, H, H, S}},
    };
    struct Rect
    {
        int l, t, r, b;
    };
    // Inside, straddling every edge, far beyond it, and the whole int range.
    const Rect rects[] = {{3, 4, 12, 10},
                          {0, 0, 15, 13},
                          {-3, -2, 5, 6},
                          {9, 8, 20, 30},
                          {-1000000, 2, 7, 1000000},
                          {2, -50, 40, 5},
                          {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                          {INT_MIN, 3, 6, INT_MAX},
                          {30, 30, 40, 40}};
    for (const Case &k : cases) {
        for (const Rect &rc : rects) {
            TBitmap bmp(16, 14);
            Fill(bmp, kBack);
            TCanvas &c = bmp.Canvas();
            DrawFrame(c, k.style, rc.l, rc.t, rc.r, rc.b, H, L, S, D, 0x123456);
            for (int y = 0; y < bmp.Height(); ++y)
                for (int x = 0; x < bmp.Width(); ++x)
                    ASSERT_EQ(c.Pixel(x, y), Expected(x, y, rc.l, rc.t, rc.r, rc.b, k.ring))
                        << "style " << int(k.style) << " rect " << rc.l << "," << rc.t << "," << rc.r << "," << rc.b
                        << " at " << x << "," << y;
            EXPECT_EQ(c.Pen.Color, k.ring.d);
        }
    }
}

TEST(Frames, SimpleFrameIsOneLineRectangleWithAllCorners)
{
    TBitmap bmp(10, 10);
    Fill(bmp, kBack);
    TCanvas &c = bmp.Canvas();
    DrawFrame(c, fsSimple, 2, 1, 7, 8, kHi, kLight, kShadow, kDark, clRed);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool edge = (x == 2 || x == 7) && y >= 1 && y <= 8;
            const bool rowEdge = (y == 1 || y == 8) && x >= 2 && x <= 7;
            EXPECT_EQ(c.Pixel(x, y), edge || rowEdge ? clRed : kBack) << x << "," << y;
        }
    EXPECT_EQ(c.Pen.Color, clRed);

    // Straddling the corner of the bitmap: the visible edges are still drawn.
    TBitmap small(6, 6);
    Fill(small, kBack);
    DrawFrame(small.Canvas(), fsSimple, -3, -3, 3, 3, kHi, kLight, kShadow, kDark, clRed);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(small.Canvas().Pixel(3, i), clRed);
        EXPECT_EQ(small.Canvas().Pixel(i, 3), clRed);
    }
    EXPECT_EQ(small.Canvas().Pixel(2, 2), kBack);
    EXPECT_EQ(small.Canvas().Pixel(4, 4), kBack);
}

TEST(Frames, NoneLeavesCanvasAndPenAlone)
{
    TBitmap bmp(8, 8);
    Fill(bmp, kBack);
    TCanvas &c = bmp.Canvas();
    c.Pen.Color = clLime;
    c.MoveTo(5, 6);
    DrawFrame(c, fsNone, 0, 0, 7, 7, kHi, kLight, kShadow, kDark, kLine);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(c.Pixel(x, y), kBack);
    EXPECT_EQ(c.Pen.Color, clLime);
    EXPECT_EQ(c.PenPos(), QPoint(5, 6));
}

TEST(Frames, PenEndsWhereTheLastSegmentEnds)
{
    TBitmap bmp(8, 8);
    DrawFrame(bmp.Canvas(), fsRaised, 1, 1, 6, 6, kHi, kLight, kShadow, kDark, kLine);
    EXPECT_EQ(bmp.Canvas().PenPos(), QPoint(1, 5));
    DrawFrame(bmp.Canvas(), fsRaised, -100000, 1, 6, 100000, kHi, kLight, kShadow, kDark, kLine);
    EXPECT_EQ(bmp.Canvas().PenPos(), QPoint(-100000, 99999));
    DrawFrame(bmp.Canvas(), fsSimple, 1, 2, 6, 6, kHi, kLight, kShadow, kDark, kLine);
    EXPECT_EQ(bmp.Canvas().PenPos(), QPoint(1, 2));
}
