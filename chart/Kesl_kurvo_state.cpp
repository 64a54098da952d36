// The chart's plain settings as read and stored, and the mouse entry points
// the chart passes on to its mouse handler.
#include "Kesl_kurvo_p.h"

int TCustomKurvo::AllocSize() const
{
    return d->allocSize;
}

TColor TCustomKurvo::DataColor() const
{
    return d->dataColor;
}

void TCustomKurvo::SetDataColor(TColor c)
{
    d->dataColor = c;
}

TColor TCustomKurvo::FillColor() const
{
    return d->fillColor;
}

void TCustomKurvo::SetFillColor(TColor c)
{
    d->fillColor = c;
}

TPenStyle TCustomKurvo::PenStyle() const
{
    return d->penStyle;
}

void TCustomKurvo::SetPenStyle(TPenStyle s)
{
    TStoreAlways::StoreEnum(d->penStyle, s, psInsideFrame);
}

int TCustomKurvo::LineWidth() const
{
    return d->lineWidth;
}

void TCustomKurvo::SetLineWidth(int w)
{
    d->lineWidth = std::uint8_t(std::clamp(w, 0, 255));
}

int TCustomKurvo::CurrentLayer() const
{
    return d->currentLayer;
}

int TCustomKurvo::ClassDefault() const
{
    return d->classDefault;
}

TColor TCustomKurvo::DarkEdgeColor() const
{
    return d->darkEdge;
}

void TCustomKurvo::SetDarkEdgeColor(TColor c)
{
    d->darkEdge = c;
}

TColor TCustomKurvo::LightEdgeColor() const
{
    return d->lightEdge;
}

void TCustomKurvo::SetLightEdgeColor(TColor c)
{
    d->lightEdge = c;
}

TFrameStyle TCustomKurvo::BoxFrameStyle() const
{
    return d->boxFrame;
}

void TCustomKurvo::SetBoxFrameStyle(TFrameStyle s)
{
    TStoreAlways::StoreEnum(d->boxFrame, s, fsEngraved);
}

int TCustomKurvo::TextSize() const
{
    return d->textSize;
}

void TCustomKurvo::SetTextSize(int points)
{
    d->textSize = points;
}

TFontStyles TCustomKurvo::TextFontStyle() const
{
    return d->textFontStyle;
}

TTextBkg TCustomKurvo::TextBkStyle() const
{
    return d->textBkStyle;
}

TColor TCustomKurvo::TextBkColor() const
{
    return d->textBkColor;
}

TAlignment TCustomKurvo::TextAlignment() const
{
    return d->textAlignment;
}

bool TCustomKurvo::AutoRedraw() const
{
    return d->autoRedraw;
}

void TCustomKurvo::SetAutoRedraw(bool v)
{
    d->autoRedraw = v;
}

bool TCustomKurvo::PaintSuppressed() const
{
    return d->paintSuppressed;
}

TCustomKurvo *TCustomKurvo::UseDataOf() const
{
    return d->owner;
}

int TCustomKurvo::SharerCount() const
{
    return d->sharerCount;
}

TJointLayers *TCustomKurvo::JointLayers() const
{
    return d->joint;
}

TScalePropsHoriz *TCustomKurvo::ScaleX(int layer) const
{
    return d->propsX[KurvoLayer::Slot(layer)];
}

TScalePropsVert *TCustomKurvo::ScaleY(int layer) const
{
    return d->propsY[KurvoLayer::Slot(layer)];
}

TScale *TCustomKurvo::ScaleObjectX(int layer) const
{
    return d->scaleX[KurvoLayer::Slot(layer)];
}

TScale *TCustomKurvo::ScaleObjectY(int layer) const
{
    return d->scaleY[KurvoLayer::Slot(layer)];
}

TScalePropsHoriz *TCustomKurvo::Scale1X() const
{
    return d->propsX[0];
}

TScalePropsHoriz *TCustomKurvo::Scale2X() const
{
    return d->propsX[1];
}

TScalePropsHoriz *TCustomKurvo::Scale3X() const
{
    return d->propsX[2];
}

TScalePropsHoriz *TCustomKurvo::Scale4X() const
{
    return d->propsX[3];
}

TScalePropsVert *TCustomKurvo::Scale1Y() const
{
    return d->propsY[0];
}

TScalePropsVert *TCustomKurvo::Scale2Y() const
{
    return d->propsY[1];
}

TScalePropsVert *TCustomKurvo::Scale3Y() const
{
    return d->propsY[2];
}

TScalePropsVert *TCustomKurvo::Scale4Y() const
{
    return d->propsY[3];
}

TColor TCustomKurvo::WindColor() const
{
    return d->windColor;
}

TColor TCustomKurvo::ChartColor() const
{
    return d->chartColor;
}

TColor TCustomKurvo::ChartFrameColor() const
{
    return d->chartFrameColor;
}

TShadowStyle TCustomKurvo::ShadowStyle() const
{
    return d->shadowStyle;
}

TColor TCustomKurvo::ShadowColor() const
{
    return d->shadowColor;
}

TColor TCustomKurvo::ShadowBakColor() const
{
    return d->shadowBakColor;
}

QString TCustomKurvo::Caption() const
{
    return d->caption;
}

int TCustomKurvo::CaptionPosX() const
{
    return d->captionPosX;
}

int TCustomKurvo::CaptionPosY() const
{
    return d->captionPosY;
}

TAlignment TCustomKurvo::CaptionAlignment() const
{
    return d->captionAlignment;
}

TCaptionAnchorHoriz TCustomKurvo::CaptionAnchorHoriz() const
{
    return d->captionAnchorH;
}

TCaptionAnchorVert TCustomKurvo::CaptionAnchorVert() const
{
    return d->captionAnchorV;
}

GridStyleType TCustomKurvo::GridStyle() const
{
    return d->gridStyle;
}

TColor TCustomKurvo::GridColor() const
{
    return d->gridColor;
}

double TCustomKurvo::GridDx() const
{
    return d->gridDx;
}

double TCustomKurvo::GridDy() const
{
    return d->gridDy;
}

TFont TCustomKurvo::ChartFont() const
{
    return d->font;
}

TBakGndImg *TCustomKurvo::BackGroundImg() const
{
    return d->bkImg;
}

TKurvoMouse &TCustomKurvo::Mouse() const
{
    return *d->mouse;
}

TCrossHair *TCustomKurvo::CrossHair(int index) const
{
    return d->mouse->CrossHair(index);
}

TMouseActMode TCustomKurvo::MouseAction() const
{
    return d->mouse->MouseAction();
}

void TCustomKurvo::SetMouseAction(TMouseActMode a)
{
    d->mouse->SetMouseAction(a);
}

bool TCustomKurvo::MouseCursorFixed() const
{
    return d->mouse->MouseCursorFixed();
}

void TCustomKurvo::SetMouseCursorFixed(bool v)
{
    d->mouse->SetMouseCursorFixed(v);
}

QPointF TCustomKurvo::PixelToData(int layer, int px, int py) const
{
    return d->mouse->PixelToData(layer, px, py);
}

const TBitmap &TCustomKurvo::ControlBitmap() const
{
    return d->ctrlBmp;
}

const TBitmap &TCustomKurvo::DataBitmap() const
{
    return d->dataBmp;
}

int TCustomKurvo::PaintCount() const
{
    return d->paintCount;
}

void TCustomKurvo::PixelToData(int layer, int px, int py, double &x, double &y) const
{
    const QPointF p = d->mouse->PixelToData(layer, px, py);
    x = p.x();
    y = p.y();
}

void TCustomKurvo::enterEvent(QEnterEvent *event)
{
    TControl::enterEvent(event);
    d->mouse->MouseEnter();
}

void TCustomKurvo::leaveEvent(QEvent *event)
{
    TControl::leaveEvent(event);
    d->mouse->MouseLeave();
}
