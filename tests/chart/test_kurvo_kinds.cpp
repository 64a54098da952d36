// The remaining item kinds and grid styles, by pixels.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// 280 x 200 chart; data bitmap pixel (x, 140 - y) shows chart point (x, y).
class KurvoKinds : public ::testing::Test
{
protected:
    void SetUp() override
    {
        k.SetAutoRedraw(false);
        k.SetLayerRange(0, 0, 0, 210, 140);
    }
    void Paint()
    {
        k.SetPaintSuppressed(true);
        k.SetPaintSuppressed(false);
    }
    TColor D(int x, int y) const { return k.DataBitmap().Canvas().Pixel(x, y); }
    // Bounding box of the pixels of one colour in the data bitmap.
    QRect Ink(TColor c) const
    {
        int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
        for (int y = 1; y < 140; ++y)
            for (int x = 1; x < 210; ++x)
                if (D(x, y) == c) {
                    l = std::min(l, x);
                    r = std::max(r, x);
                    t = std::min(t, y);
                    b = std::max(b, y);
                }
        return l > r ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
    }
    TKurvo k;
};

TEST_F(KurvoKinds, EllipseTouchesItsBoundingBox)
{
    k.SetDataColor(clRed);
    k.SetFillColor(clYellow);
    k.AddEllipse(100, 70, 20, 10);
    Paint();
    EXPECT_EQ(Ink(clRed), QRect(QPoint(80, 60), QPoint(120, 80)));
    EXPECT_EQ(D(100, 70), clYellow);
    EXPECT_EQ(D(81, 61), clWhite);
}

// A far end is drawn towards the pixel it is clamped to (30000 out), which
// turns the line: 1e5 maps to 100050, clamped to 30000, which 29950 maps to.
TEST_F(KurvoKinds, FarLineEndsAreDrawnTowardsTheirClampedPixel)
{
    std::vector<TColor> seen[2];
    for (const double farX : {1e5, 29950.0}) {
        k.ClearItems();
        k.AddLine(0, 0, farX, 30000);
        Paint();
        for (int y = 0; y <= 140; ++y)
            for (int x = 0; x <= 210; ++x)
                seen[farX < 1e5].push_back(D(x, y));
    }
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(D(0, 140), clBlack);
}

TEST_F(KurvoKinds, PixelBoxesHaveAFixedPixelSize)
{
    k.SetDataColor(clRed);
    k.SetFillColor(clYellow);
    k.AddPixelBox(100, 70, 3, 2);
    k.SetDataColor(clBlue);
    k.AddPixelBox(30, 70, 3, 2, true);
    Paint();
    EXPECT_EQ(Ink(clRed), QRect(QPoint(97, 68), QPoint(103, 72)));
    EXPECT_EQ(D(100, 70), clYellow);
    EXPECT_EQ(Ink(clBlue), QRect(QPoint(27, 68), QPoint(33, 72)));
    EXPECT_EQ(D(30, 70), clWhite) << "transparent: no fill";
}

TEST_F(KurvoKinds, Bar3DHasTopAndSideFaces)
{
    k.SetDataColor(clRed);
    k.SetFillColor(clYellow);
    k.AddBar3D(50, 20, 80, 60, 45, 10); // front face (50, 80)-(80, 120), depth 7 right and up
    Paint();
    EXPECT_EQ(Ink(clRed), QRect(QPoint(50, 73), QPoint(87, 120)));
    EXPECT_EQ(D(65, 76), clYellow); // top face
    EXPECT_EQ(D(84, 100), clYellow); // side face
    EXPECT_EQ(D(65, 100), clYellow); // front
    EXPECT_EQ(D(52, 75), clWhite); // left of the top face
}

TEST_F(KurvoKinds, ArrowHeadsOpenAndClosed)
{
    struct
    {
        bool open;
        TColor inside;
    } cases[] = {{false, clBlue}, {true, clWhite}};
    for (const auto &c : cases) {
        k.ClearItems();
        k.SetDataColor(clBlue);
        k.SetFillColor(clBlue);
        k.AddArrow(20, 20, 60, 20, 10, c.open); // tip (60, 120), barbs to (51, 117) and (51, 123)
        Paint();
        EXPECT_EQ(D(52, 117), clBlue) << c.open;
        EXPECT_EQ(D(52, 123), clBlue) << c.open;
        EXPECT_EQ(D(55, 119), c.inside) << c.open;
        EXPECT_EQ(D(61, 120), clWhite) << c.open;
    }
}

TEST_F(KurvoKinds, TextIsPlacedByItsAlignmentAndCentredVertically)
{
    const TColor colors[3] = {clRed, clBlue, clLime};
    for (int a = 0; a < 3; ++a) {
        k.SetTextAlignment(TAlignment(a));
        k.SetDataColor(colors[a]);
        k.AddText(100, 40 + 40 * a, QStringLiteral("WWW"));
    }
    Paint();
    const QRect left = Ink(clRed), right = Ink(clBlue), centre = Ink(clLime);
    ASSERT_FALSE(left.isNull());
    ASSERT_FALSE(right.isNull());
    ASSERT_FALSE(centre.isNull());
    EXPECT_GE(left.left(), 100);
    EXPECT_LE(left.left(), 102);
    EXPECT_LE(right.right(), 100);
    EXPECT_GE(right.right(), 94);
    EXPECT_LT(centre.left(), 100);
    EXPECT_GT(centre.right(), 100);
    EXPECT_NEAR(centre.center().x(), 100, 2);
    // Vertically centred on the point (row 140 - 40 = 100 for the first).
    EXPECT_LE(left.top(), 100);
    EXPECT_GE(left.bottom(), 97);
}

TEST_F(KurvoKinds, SolidTextBackground)
{
    k.SetTextBkStyle(tbSolid);
    k.SetTextBkColor(clYellow);
    k.SetDataColor(clRed);
    k.SetTextAlignment(taLeftJustify);
    k.AddTextOffset(100, 70, 10, -5, QStringLiteral("ab"));
    Paint();
    const QRect bk = Ink(clYellow);
    ASSERT_FALSE(bk.isNull());
    EXPECT_EQ(bk.left(), 110);
    EXPECT_TRUE(bk.contains(Ink(clRed)));
}

TEST_F(KurvoKinds, BoxEdgesByFrameStyle)
{
    struct
    {
        TFrameStyle style;
        TColor topLeft, bottomRight, innerTopLeft;
    } cases[] = {
        {fsLowered, clBlack, clLime, clYellow}, {fsRaised, clLime, clBlack, clYellow},
        {fsEmbossed, clLime, clBlack, clBlack}, {fsEngraved, clBlack, clLime, clLime},
        {fsNone, clYellow, clYellow, clYellow},
    };
    for (const auto &c : cases) {
        k.ClearItems();
        k.SetFillColor(clYellow);
        k.SetDarkEdgeColor(clBlack);
        k.SetLightEdgeColor(clLime);
        k.SetBoxFrameStyle(c.style);
        k.AddBox(150, 100, 170, 120); // (150, 20)-(170, 40)
        Paint();
        EXPECT_EQ(D(150, 30), c.topLeft) << c.style;
        EXPECT_EQ(D(160, 20), c.topLeft) << c.style;
        EXPECT_EQ(D(170, 30), c.bottomRight) << c.style;
        EXPECT_EQ(D(160, 40), c.bottomRight) << c.style;
        EXPECT_EQ(D(160, 21), c.innerTopLeft) << c.style;
        EXPECT_EQ(D(160, 30), clYellow) << c.style;
    }
}

TEST_F(KurvoKinds, KindsWithoutDrawingAreSkipped)
{
    k.SetDataColor(clRed);
    k.MoveTo(10, 70);
    for (std::uint8_t kind : {0, 10, 11, 17, 255}) {
        TChartItem it {};
        it.Kind = kind;
        it.Layer = 1;
        it.Color = clBlue;
        it.LineWidth = 1;
        it.X1 = 100;
        it.Y1 = 100;
        k.AddItem(it);
    }
    k.DrawTo(50, 70);
    Paint();
    EXPECT_EQ(Ink(clRed), QRect(QPoint(10, 70), QPoint(49, 70)));
    EXPECT_TRUE(Ink(clBlue).isNull());
}

TEST_F(KurvoKinds, ExtremeRecordFieldsDrawWithoutHarm)
{
    for (std::uint8_t kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16}) {
        TChartItem it {};
        it.Kind = kind;
        it.Layer = 1;
        it.Color = clBlue;
        it.FillColor = clBlue;
        it.X1 = 10;
        it.Y1 = 10;
        it.X2 = 2147483647.0 * 4;
        it.Y2 = -2147483647.0 * 4;
        it.LineWidth = 2147483647;
        it.Size = 2147483647;
        it.Depth = -2147483647;
        it.PenStyle = 200;
        it.FrameStyle = 99;
        it.Style = 255;
        std::fill(std::begin(it.Text), std::end(it.Text), 'x'); // no terminator
        k.AddItem(it);
    }
    EXPECT_EQ(k.Item(0).LineWidth, 255);
    EXPECT_EQ(k.Item(6).TextString().size(), 17);
    k.SetDataColor(clRed);
    k.SetLineWidth(1);
    k.AddLine(100, 70, 100, 70);
    Paint();
    EXPECT_EQ(D(100, 70), clRed);
}

TEST_F(KurvoKinds, GridPointsAndLogarithmicDecades)
{
    k.SetGridColor(clRed);
    k.SetGridStyle(gsPoints);
    k.SetGridDx(50);
    k.SetGridDy(40);
    Paint();
    EXPECT_EQ(D(50, 100), clRed);
    EXPECT_EQ(D(100, 20), clRed);
    EXPECT_EQ(D(51, 100), clWhite);
    EXPECT_EQ(Ink(clRed), QRect(QPoint(50, 20), QPoint(200, 100)));

    k.ScaleY(1)->SetLogarithmic(true);
    k.SetLayerRange(1, 0, 1, 210, 1000);
    k.SetGridStyle(gsHorizLines);
    k.SetGridDy(-1);
    Paint();
    for (double v : {10.0, 100.0}) {
        const int row = k.DataToPixel(1, 0, v).y() - 20;
        EXPECT_EQ(D(100, row), clRed) << v;
        EXPECT_EQ(D(100, row - 1), clWhite) << v;
    }
}

TEST_F(KurvoKinds, GridFollowsTheScaleTicksWithoutASpacing)
{
    k.SetGridColor(clRed);
    k.SetGridStyle(gsVertLines);
    Paint(); // scale 1X is visible: its ticks give the grid
    const TScale *s = k.ScaleObjectX(1);
    ASSERT_GT(s->NumTicks(), 1);
    for (int i = 1; i <= s->NumTicks(); ++i) {
        const int col = k.DataToPixel(1, s->TickValue(i), 0).x() - 50;
        if (col > 0 && col < 210) {
            EXPECT_EQ(D(col, 70), clRed) << s->TickValue(i);
        }
    }
}

} // namespace
