// Standard layouts, margins, hosted scales and text labels.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase
{
    TrcLayout layout;
    int l, r, t, b;
    int visibleX, visibleY; // bit n-1 set: scale n visible
    bool y2Right;
    int y2Pos;
};

const LayoutCase kLayoutCases[] = {
    {rcl_X1Bottom_Y1Left, 50, 20, 20, 40, 0b1, 0b1, false, 0},
    {rcl_X1Bottom_Y2Left, 100, 20, 24, 40, 0b1, 0b11, false, 50},
    {rcl_X1Bottom_Y3Left, 150, 20, 24, 40, 0b1, 0b111, false, 50},
    {rcl_X1Bottom_Y4Left, 200, 20, 24, 40, 0b1, 0b1111, false, 50},
    {rcl_X1Bottom_Y2Both, 50, 50, 24, 40, 0b1, 0b11, true, 0},
    {rcl_X2Bottom_Y2Left, 100, 20, 24, 70, 0b11, 0b11, false, 50},
    {rcl_X2Both_Y2Both, 50, 50, 48, 40, 0b11, 0b11, true, 0},
};

class KurvoLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(KurvoLayout, AppliesMarginsAndScales)
{
    const LayoutCase &c = GetParam();
    TKurvo k;
    k.ScaleX(7)->SetVisible(true);
    k.SetStandardLayout(c.layout);
    EXPECT_EQ(k.MarginLeft(), c.l);
    EXPECT_EQ(k.MarginRight(), c.r);
    EXPECT_EQ(k.MarginTop(), c.t);
    EXPECT_EQ(k.MarginBottom(), c.b);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(k.ScaleX(n)->Visible(), bool(c.visibleX & (1 << (n - 1)))) << n;
        EXPECT_EQ(k.ScaleY(n)->Visible(), bool(c.visibleY & (1 << (n - 1)))) << n;
        EXPECT_EQ(k.ScaleObjectX(n)->Visible(), k.ScaleX(n)->Visible());
    }
    EXPECT_FALSE(k.ScaleX(7)->Visible());
    EXPECT_EQ(k.ScaleY(2)->ScaleLocation() == slRight, c.y2Right);
    if (c.visibleY & 2) {
        EXPECT_EQ(k.ScaleY(2)->ScalePos(), c.y2Pos);
    }
    // The data area follows the margins.
    k.SetLayerRange(1, 0, 0, 1, 1);
    EXPECT_EQ(k.DataToPixel(1, 0, 1), QPoint(c.l, c.t));
    EXPECT_EQ(k.DataToPixel(1, 1, 0), QPoint(k.width() - c.r, k.height() - c.b));
    // ... and the shadow beside it, as the chart reports its area.
    k.SetShadowWidth(5);
    const TChartGeometry a = k.DataArea();
    EXPECT_EQ(QRect(QPoint(a.Left(), a.Top()), QPoint(a.Right(), a.Bottom())),
              QRect(QPoint(c.l, c.t), QPoint(k.width() - c.r - 5, k.height() - c.b - 5)));
    EXPECT_EQ(k.DataToPixel(1, 1, 0), QPoint(a.Right(), a.Bottom()));
}

INSTANTIATE_TEST_SUITE_P(Table, KurvoLayout, ::testing::ValuesIn(kLayoutCases));

TEST(KurvoLayoutDefaults, NewChartHasLayerDefaults)
{
    TKurvo k;
    EXPECT_EQ(k.width(), 280);
    EXPECT_EQ(k.height(), 200);
    const TColor colors[16] = {0,        128, 32768, 32896, 8388608,  8388736,  8421376,  8421504,
                               12632256, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215};
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(k.ScaleX(n)->ColorScale(), colors[n - 1]);
        EXPECT_EQ(k.ScaleY(n)->ColorScale(), colors[n - 1]);
        if (n > 4) {
            EXPECT_EQ(k.ScaleX(n)->ScalePos(), ((n - 1) / 2) * 30);
            EXPECT_EQ(k.ScaleY(n)->ScalePos(), ((n - 1) / 2) * 50);
            EXPECT_EQ(k.ScaleX(n)->ScaleType(), n % 2 ? sctXT : sctXB);
            EXPECT_EQ(k.ScaleY(n)->ScaleType(), n % 2 ? sctYR : sctYL);
        }
    }
    EXPECT_EQ(k.Scale1X(), k.ScaleX(1));
    EXPECT_EQ(k.Scale4Y(), k.ScaleY(4));
    EXPECT_EQ(k.CaptionPosY(), -16);
    EXPECT_EQ(k.property("Scale2Y").value<QObject *>(), k.ScaleY(2));
}

TEST(KurvoLayoutDefaults, ScaleObjectsGetTheirMarginsFromTheChart)
{
    TKurvo k; // 280 x 200, margins 50, 20, 20, 40
    TScale *x = k.ScaleObjectX(1);
    TScale *y = k.ScaleObjectY(1);
    EXPECT_EQ(x->ScaleType(), sctXT);
    EXPECT_EQ(x->MarginTop(), 200 - 40); // axis line on the data area's lower edge
    EXPECT_EQ(x->MarginLeft(), 50);
    EXPECT_EQ(x->MarginRight(), 19);
    EXPECT_EQ(y->ScaleType(), sctYR);
    EXPECT_EQ(y->MarginRight(), 280 - 50 - 1);
    EXPECT_EQ(y->MarginTop(), 20);
    EXPECT_EQ(y->MarginBottom(), 39);
    k.ScaleX(1)->SetScalePos(30);
    EXPECT_EQ(x->MarginTop(), 190);
    k.SetShadowWidth(4);
    EXPECT_EQ(x->MarginRight(), 23);
    EXPECT_EQ(x->MarginTop(), 30 + 200 - 40 - 4);
}

TEST(KurvoLayoutDefaults, ScaleCaptionRepaintsEvenWithoutAutoRedraw)
{
    TKurvo k;
    k.SetPaintSuppressed(false);
    k.SetAutoRedraw(false);
    const int before = k.PaintCount();
    k.SetCaption(QStringLiteral("no repaint"));
    EXPECT_EQ(k.PaintCount(), before);
    k.Scale1Y()->SetCaption(QStringLiteral("probability"));
    EXPECT_EQ(k.PaintCount(), before + 1);
    EXPECT_EQ(k.ScaleObjectY(1)->Caption(), QStringLiteral("probability"));
}

TEST(KurvoLayoutDefaults, VisibleBottomScaleDrawsItsAxisLineBelowTheDataArea)
{
    TKurvo k;
    k.SetAutoRedraw(false);
    k.SetWindColor(clWhite);
    k.ScaleX(1)->SetColorScale(clRed);
    k.ScaleX(1)->SetScalePos(30);
    k.SetPaintSuppressed(false);
    const TCanvas &c = k.ControlBitmap().Canvas();
    const int axisY = 200 - 40 + 30;
    int red = 0;
    for (int x = 50; x < 260; ++x)
        red += c.Pixel(x, axisY) == clRed;
    EXPECT_GE(red, 200);
    // Nothing red on the row above the line.
    int above = 0;
    for (int x = 50; x < 260; ++x)
        above += c.Pixel(x, axisY - 1) == clRed;
    EXPECT_EQ(above, 0);
}

TEST(KurvoLabels, ThirtyLabelsWithChartDefaults)
{
    TKurvo k;
    EXPECT_EQ(k.TextLabel(0), nullptr);
    EXPECT_EQ(k.TextLabel(31), nullptr);
    for (int i = 1; i <= 30; ++i) {
        TTextLabel *l = k.TextLabel(i);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->AttachToData(), tlamBoth);
        EXPECT_EQ(l->Mode(), tlOff);
        EXPECT_FALSE(l->Visible());
        EXPECT_EQ(l->ColorBkg(), clWhite);
        EXPECT_EQ(l->ShadowDx(), 3);
    }
}

TEST(KurvoLabels, BoxedLabelIsDrawnAtItsDataPosition)
{
    TKurvo k;
    k.SetAutoRedraw(false);
    k.SetLayerRange(0, 0, 0, 210, 140);
    TTextLabel *l = k.TextLabel(1);
    l->SetCaption(QStringLiteral("   "));
    l->SetPosX(100);
    l->SetPosY(70);
    l->SetColorBorder(clRed);
    l->SetColorBkg(clYellow);
    l->SetAlignment(taLeftJustify);
    l->SetMode(tlBox);
    l->SetVisible(true);
    k.SetPaintSuppressed(false);
    const TCanvas &d = k.DataBitmap().Canvas();
    // Bottom edge of the box two pixels below the anchor, left edge four to its left.
    EXPECT_EQ(d.Pixel(100, 70 + 1), clRed);
    EXPECT_EQ(d.Pixel(100 - 4, 65), clRed);
    EXPECT_EQ(d.Pixel(100, 65), clYellow);
    // Hidden layer: the label disappears.
    k.SetLayerVisible(1, false);
    k.SetPaintSuppressed(true);
    k.SetPaintSuppressed(false);
    EXPECT_EQ(d.Pixel(100, 65), clWhite);
}

} // namespace
