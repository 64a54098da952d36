#include "MainChartDesign.h"

#include "Kesl_ScaleTicks.h"
#include "Kesl_kurvo.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int kMarginLeft = 50; // the chart's own, which the design keeps
constexpr int kLabelGap = 8 + 2; // the scale's gap between tick and label, and some air at the edge

// Both visible scales: black, numbered, at least three short ticks.
void DesignMainScale(TScaleProps &p, int captionPosY, TAlignment alignment, TScaleUnitAnchor anchor)
{
    TFont font;
    font.Name = QStringLiteral("MS Sans Serif");
    font.Height = -13;
    p.SetCaptionPosX(0);
    p.SetCaptionPosY(captionPosY);
    p.SetCaptionAlignment(alignment);
    p.SetCaptionAnchor(anchor);
    p.SetColorScale(clBlack);
    p.SetDecPlaces(-2);
    p.SetLabelType(ftNum);
    p.SetMinTicks(3);
    p.SetMinRange(1e-10);
    p.SetShortTicks(true);
    p.SetVisible(true);
    p.SetFont(font);
}

void DesignScales(TKurvo &rc)
{
    TScalePropsHoriz *x1 = rc.Scale1X();
    DesignMainScale(*x1, 22, taCenter, uaSclCenter);
    x1->SetRangeLow(-100);
    x1->SetRangeHigh(100);
    x1->SetScaleLocation(slBottom);
    TScalePropsVert *y1 = rc.Scale1Y();
    DesignMainScale(*y1, -16, taLeftJustify, uaSclTopLft);
    y1->SetRangeHigh(10);
    y1->SetScaleLocation(slLeft);
    const TColor layerColors[3] = {clMaroon, clGreen, clOlive};
    for (int n = 2; n <= 4; ++n) {
        for (TScaleProps *p : {static_cast<TScaleProps *>(rc.ScaleX(n)), static_cast<TScaleProps *>(rc.ScaleY(n))}) {
            p->SetVisible(false);
            p->SetColorScale(layerColors[n - 2]);
            p->SetCaptionPosX(10);
            p->SetCaptionPosY(100);
            p->SetRangeHigh(1);
        }
    }
}

} // namespace

void ApplyMainChartDesign(TKurvo &rc)
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
    rc.SetMouseAction(maNone);
    rc.SetMouseCursorFixed(true);
    for (int i = 1; i <= 4; ++i) {
        TCrossHair *ch = rc.CrossHair(i);
        ch->SetMode(chOff);
        ch->SetColor(clBlack);
        ch->SetLineType(psSolid);
        ch->SetLineWid(1);
        ch->SetLayer(i);
    }
    DesignScales(rc);
    TBakGndImg *bg = rc.BackGroundImg();
    bg->SetIncludePath(false);
    bg->SetFillMode(bfStretch);
    bg->SetAreaMode(bamNone);
    bg->SetAreaColor(0xDDDDDD);
    bg->SetAreaLeft(-1);
    bg->SetAreaRight(1);
    bg->SetAreaTop(1);
    bg->SetAreaBottom(-1);
    rc.Loaded();
}

void FitLeftMargin(TKurvo &rc)
{
    const TScalePropsVert &y = *rc.Scale1Y();
    TScaleTickSettings s;
    s.RangeLow = y.RangeLow();
    s.RangeHigh = y.RangeHigh();
    s.MinTicks = y.MinTicks();
    s.DecPlaces = y.DecPlaces();
    s.ShortTicks = y.ShortTicks();
    s.Logarithmic = y.Logarithmic();
    s.LabelType = y.LabelType();
    s.UserTickText = y.UserTickText();
    s.Vertical = true;
    const QFontMetrics fm(y.Font().ToQFont());
    int widest = 0;
    for (const TScaleTick &tick : ComputeScaleTicks(s).Ticks)
        widest = std::max(widest, fm.horizontalAdvance(tick.Label));
    if (const int margin = std::max(kMarginLeft, widest + kLabelGap); margin != rc.MarginLeft())
        rc.SetMarginLeft(margin);
}
