// A chart set up as a form does it: settings in the loading state, then Loaded.
#include "Kesl_kurvo.h"

#include <gtest/gtest.h>

namespace {

// The design-time settings of the main window's chart.
void SetUpLikeTheMainWindow(TKurvo &rc)
{
    rc.BeginLoading();
    rc.SetAutoRedraw(true);
    rc.SetAllocSize(1000);
    rc.SetMarginRight(20);
    rc.SetMarginTop(20);
    rc.SetMarginBottom(40);
    rc.SetGridStyle(gsNone);
    rc.SetIsometric(false);
    rc.SetClassDefault(0);
    rc.SetCaptionPosX(0);
    rc.SetCaptionPosY(-16);
    rc.SetCaptionAlignment(taRightJustify);
    rc.SetCaptionAnchorHoriz(cahChartRight);
    rc.SetCaptionAnchorVert(cavChartTop);
    rc.SetShadowStyle(ssFlying);
    rc.SetShadowColor(clGrayText);
    rc.SetShadowBakColor(clBtnFace);
    rc.SetTextBkStyle(tbClear);
    rc.SetTextBkColor(clWhite);
    rc.SetTextAlignment(taCenter);
    rc.SetTextFontStyle(0);
    TFont font;
    font.Name = QStringLiteral("MS Sans Serif");
    font.Height = -13;
    TScalePropsHoriz *x = rc.Scale1X();
    x->SetCaptionPosX(0);
    x->SetCaptionPosY(22);
    x->SetCaptionAlignment(taCenter);
    x->SetCaptionAnchor(uaSclCenter);
    x->SetColorScale(clBlack);
    x->SetDecPlaces(-2);
    x->SetLabelType(ftNum);
    x->SetMinTicks(3);
    x->SetMinRange(1e-10);
    x->SetRangeLow(-100);
    x->SetRangeHigh(100);
    x->SetShortTicks(true);
    x->SetVisible(true);
    x->SetScaleLocation(slBottom);
    x->SetFont(font);
    TScalePropsVert *y = rc.Scale1Y();
    y->SetCaptionPosX(0);
    y->SetCaptionPosY(-16);
    y->SetCaptionAlignment(taLeftJustify);
    y->SetCaptionAnchor(uaSclTopLft);
    y->SetColorScale(clBlack);
    y->SetDecPlaces(-2);
    y->SetLabelType(ftNum);
    y->SetMinTicks(3);
    y->SetMinRange(1e-10);
    y->SetRangeHigh(10);
    y->SetShortTicks(true);
    y->SetVisible(true);
    y->SetScaleLocation(slLeft);
    y->SetFont(font);
    const TColor colors[3] = {clMaroon, clGreen, clOlive};
    for (int n = 2; n <= 4; ++n) {
        for (TScaleProps *p : {static_cast<TScaleProps *>(rc.ScaleX(n)), static_cast<TScaleProps *>(rc.ScaleY(n))}) {
            p->SetVisible(false);
            p->SetColorScale(colors[n - 2]);
            p->SetCaptionPosX(10);
            p->SetCaptionPosY(100);
            p->SetRangeHigh(1);
        }
    }
    TBakGndImg *b = rc.BackGroundImg();
    b->SetIncludePath(false);
    b->SetFillMode(bfStretch);
    b->SetAreaMode(bamNone);
    b->SetAreaColor(0xDDDDDD);
    b->SetAreaLeft(-1);
    b->SetAreaRight(1);
    b->SetAreaTop(1);
    b->SetAreaBottom(-1);
    rc.Loaded();
    rc.SetBounds(0, 73, 752, 223);
}

TEST(KurvoLoading, MainWindowChartShowsItsAxesAfterLoading)
{
    TKurvo rc;
    SetUpLikeTheMainWindow(rc);
    rc.SetPaintSuppressed(false);
    EXPECT_EQ(rc.geometry(), QRect(0, 73, 752, 223));
    EXPECT_EQ(rc.DataToPixel(1, -100, 0), QPoint(50, 183));
    EXPECT_EQ(rc.DataToPixel(1, 100, 10), QPoint(732, 20));
    const TCanvas &c = rc.ControlBitmap().Canvas();
    EXPECT_EQ(c.Pixel(2, 2), ColorToRGB(clBtnFace));
    // The x axis line runs along the data area's lower edge and carries ticks
    // below it; the y axis has ticks left of the data area.
    int xTicks = 0, yTicks = 0;
    for (int x = 51; x < 732; ++x)
        xTicks += c.Pixel(x, 186) == clBlack;
    for (int y = 21; y < 183; ++y)
        yTicks += c.Pixel(47, y) == clBlack;
    EXPECT_GE(xTicks, 3);
    EXPECT_GE(yTicks, 3);
    EXPECT_EQ(c.Pixel(400, 100), clWhite);
}

TEST(KurvoLoading, LogarithmicIsCheckedOnlyAfterLoading)
{
    TKurvo rc;
    rc.BeginLoading();
    rc.ScaleX(2)->SetLogarithmic(true); // accepted while loading, whatever the range
    rc.Loaded();
    EXPECT_TRUE(rc.ScaleX(2)->Logarithmic());
    rc.ScaleX(1)->SetLogarithmic(true); // range 0..1 after loading: refused
    EXPECT_FALSE(rc.ScaleX(1)->Logarithmic());
    rc.ScaleX(1)->SetRangeLow(0.1);
    rc.ScaleX(1)->SetLogarithmic(true);
    EXPECT_TRUE(rc.ScaleX(1)->Logarithmic());
    EXPECT_TRUE(rc.ScaleObjectX(1)->Logarithmic());
}

TEST(KurvoLoading, NothingPaintsWhileLoading)
{
    TKurvo rc;
    rc.SetPaintSuppressed(false);
    const int before = rc.PaintCount();
    rc.BeginLoading();
    rc.SetCaption(QStringLiteral("x"));
    rc.Scale1X()->SetCaption(QStringLiteral("x"));
    rc.SetLayerRange(0, 1, 2, 3, 4);
    EXPECT_EQ(rc.PaintCount(), before);
    rc.Loaded();
    EXPECT_EQ(rc.PaintCount(), before + 1);
    EXPECT_EQ(rc.DataToPixel(1, 3, 4), QPoint(260, 20));
}

} // namespace
