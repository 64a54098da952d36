// The paint pipeline: control bitmap with frame, shadow, caption and scales;
// data bitmap with background, grid, items, text labels and frame. The items
// themselves are drawn in Kesl_kurvo_paint.cpp.
#include "FocusMark.h"
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_layout_p.h"
#include "Kesl_kurvo_map_p.h"
#include "Kesl_kurvo_p.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include <cmath>

// ---- composing ----

void TCustomKurvo::Paint()
{
    if (!VisibleSetting() || IsLoading() || d->paintSuppressed)
        return;
    d->ctrlBmp.SetPixelRatio(devicePixelRatio());
    ComposeToBitmap();
    update();
}

void TCustomKurvo::ComposeToBitmap()
{
    if (d->laidOutSize != size()) {
        // Resized without a resize event (a hidden chart given a new size):
        // the scales and ranges follow the new size before it is drawn.
        const TFlagScope paint(d->paintSuppressed, true);
        Relayout();
    }
    {
        const TFlagScope quiet(d->autoRedraw, false); // a paint never repaints itself (e.g. a dropped background image)
        d->ctrlBmp.SetSize(width(), height());
        d->dataBmp.SetPixelRatio(d->ctrlBmp.PixelRatio());
        RenderFrame(d->ctrlBmp.Canvas());
        RenderBackground(d->dataBmp.Canvas(), 0, 0);
        RenderData(d->dataBmp.Canvas(), 0, 0, false, false);
        TCanvas &c = d->ctrlBmp.Canvas();
        c.CopyMode = cmSrcCopy;
        c.Draw(MarginLeft(), MarginTop(), d->dataBmp);
        d->mouse->DrawCrossHairs(d->ctrlBmp, 0, 0);
    }
    d->composed = true;
    ++d->paintCount;
}

void TCustomKurvo::paintEvent(QPaintEvent *)
{
    // Composed at the ratio of what is painted on, so a picture at 2x is drawn, not magnified.
    QPainter p(this);
    const qreal ratio = PaintRatio(p);
    if (!d->composed || d->ctrlBmp.Width() != width() || d->ctrlBmp.Height() != height() ||
        d->ctrlBmp.PixelRatio() != ratio) {
        if (IsLoading() || d->paintSuppressed)
            return;
        d->ctrlBmp.SetPixelRatio(ratio);
        ComposeToBitmap();
    }
    p.drawImage(0, 0, d->mouse->ShownPicture(d->ctrlBmp.Image()));
    if (TFocusMarkHidden::Wanted(this))
        DrawFocusMark(p, rect(), palette());
}

void TCustomKurvo::showEvent(QShowEvent *event)
{
    TControl::showEvent(event);
    if (!d->shownOnce) {
        // The window exists now; the platform's first paint request follows.
        d->shownOnce = true;
        d->paintSuppressed = false;
    }
}

void TCustomKurvo::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    // A resize by a layout takes the same path as SetBounds.
    SetBounds(x(), y(), event->size().width(), event->size().height());
}

void TCustomKurvo::SetBounds(int left, int top, int w, int h)
{
    const QSize least = d->layout->MinimumSize();
    h = std::max(h, least.height());
    w = std::max(w, least.width());
    setMinimumSize(least);
    // Bounds the chart is drawn at already (a window arranging its children
    // again, a resize event after SetBounds) still run the layout steps: an
    // isometric range set since is recentred. Only a picture they leave as it
    // was is not composed again.
    const bool drawn =
        d->composed && geometry() == QRect(left, top, w, h) && d->ctrlBmp.Width() == w && d->ctrlBmp.Height() == h;
    const auto ranges = CurrentRanges();
    {
        const TFlagScope paint(d->paintSuppressed, true);
        if (geometry() != QRect(left, top, w, h))
            setGeometry(left, top, w, h);
        Relayout();
    }
    if (drawn && CurrentRanges() == ranges) {
        d->composed = true;
        return;
    }
    update();
}

void TCustomKurvo::ResizeDataBitmap(bool printer)
{
    const QSize s = d->layout->DataSize(width(), height(), printer);
    d->dataBmp.SetSize(s.width(), s.height());
}

// The frame fill and the drop shadow around the control.
void TCustomKurvo::RenderShadow(TCanvas &c, int W, int H, int s)
{
    c.Pen = TPen {d->windColor, 1, psSolid, pmCopy};
    c.Brush = TBrush {d->windColor, bsSolid};
    c.FillRect(0, 0, W, H);
    if (s <= 0)
        return;
    c.Pen.Color = d->shadowBakColor;
    c.Brush.Color = d->shadowBakColor;
    c.Rectangle(W - s, 0, W, s);
    c.Rectangle(0, H - s, s, H);
    c.Brush.Color = d->shadowColor;
    int e;
    if (d->shadowStyle == ssFlying) {
        c.Pen.Color = d->shadowColor;
        e = s - 1;
    } else {
        c.Pen.Color = clBlack;
        e = 0;
    }
    c.Polygon({QPoint(e, H - s), QPoint(s - 1, H - 1), QPoint(W - 1, H - 1), QPoint(W - s, H - s)});
    c.Polygon({QPoint(W - s, H - s), QPoint(W - 1, H - 1), QPoint(W - 1, s - 1), QPoint(W - s, e)});
    c.Pen.Color = clBlack;
    c.MoveTo(0, 0);
    c.LineTo(W - s, 0);
    c.LineTo(W - s, H - s);
    c.LineTo(0, H - s);
    c.LineTo(0, 0);
}

// Where the caption's anchor lies, before its own alignment.
QPoint TCustomKurvo::CaptionOrigin() const
{
    const TChartGeometry a = DataArea();
    int x = d->captionPosX, y = d->captionPosY;
    switch (d->captionAnchorH) {
    case cahControlLeft: break;
    case cahChartLeft: x += a.Left(); break;
    case cahChartCenter: x += a.Left() + a.W() / 2; break;
    case cahChartRight: x += a.Right(); break;
    case cahControlRight: x += a.Width; break;
    }
    switch (d->captionAnchorV) {
    case cavControlTop: break;
    case cavChartTop: y += a.Top(); break;
    case cavChartCenter: y += a.Top() + a.H() / 2; break;
    case cavChartBottom: y += a.Height - a.MarginBottom; break; // the shadow stays below this anchor
    case cavControlBottom: y += a.Height; break;
    }
    return QPoint(x, y);
}

void TCustomKurvo::RenderCaption(TCanvas &c)
{
    if (d->caption.isEmpty())
        return;
    c.Pen.Color = d->chartFrameColor;
    c.Brush.Style = bsClear;
    c.Font = d->font;
    const QPoint at = CaptionOrigin();
    int x = at.x();
    const int tw = c.TextWidth(d->caption);
    if (d->captionAlignment == taRightJustify)
        x -= tw;
    else if (d->captionAlignment == taCenter)
        x -= tw / 2;
    c.TextOut(x, at.y(), d->caption);
    c.Brush.Style = bsSolid;
}

void TCustomKurvo::RenderFrame(TCanvas &c)
{
    const int W = width(), H = height(), s = ShadowWidth();
    RenderShadow(c, W, H, s);
    RenderCaption(c);
    CalcTransforms();
    PaintScales(c);
    if (OnScalesRendered)
        OnScalesRendered(this, c, 0, 0);
}

// The hosted scales draw onto the control bitmap's canvas; for another
// canvas they are lent to it for the while.
void TCustomKurvo::PaintScales(TCanvas &c)
{
    auto host = [this](TCanvas *canvas) {
        for (auto *list : {&d->scaleX, &d->scaleY})
            for (TScale *sc : *list)
                sc->SetExternalCanvas(canvas, 0, 0);
    };
    TCanvas &own = d->ctrlBmp.Canvas();
    if (&c != &own)
        host(&c);
    for (TScale *sc : d->scaleX)
        if (sc->Visible())
            sc->ForcePaint();
    for (TScale *sc : d->scaleY)
        if (sc->Visible())
            sc->ForcePaint();
    if (&c != &own)
        host(&own);
}

// The steps of Paint on a canvas over the painter, in the chart's pixels
// scaled into the target: the frame, then the data area over what it covers,
// cut at its edges as the data bitmap cuts it, then the cross-hairs.
void TCustomKurvo::Render(QPainter &painter, const QRectF &target)
{
    if (IsLoading() || !painter.isActive() || width() <= 0 || height() <= 0 || !(target.width() > 0) ||
        !(target.height() > 0))
        return;
    if (d->laidOutSize != size()) {
        const TFlagScope paint(d->paintSuppressed, true);
        Relayout();
    }
    const TFlagScope quiet(d->autoRedraw, false);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / width(), target.height() / height());
    {
        TCanvas c(painter);
        const QRect whole(0, 0, width(), height());
        c.SetClip(whole);
        RenderFrame(c);
        c.SetClip(QRect(QPoint(MarginLeft(), MarginTop()), d->layout->DataSize(width(), height(), false)));
        RenderBackground(c, MarginLeft(), MarginTop());
        RenderData(c, MarginLeft(), MarginTop(), false, false);
        c.SetClip(whole);
        d->mouse->DrawCrossHairs(c, 0, 0);
    }
    painter.restore();
}

void TCustomKurvo::RenderBackground(TCanvas &c, int ox, int oy)
{
    // Another canvas is drawn on directly, the data area as on screen.
    const QSize s = d->layout->DataSize(width(), height(), false);
    if (&c == &d->dataBmp.Canvas())
        ResizeDataBitmap(false);
    const int bw = s.width(), bh = s.height();
    c.Pen = TPen {d->chartFrameColor, 1, psSolid, pmCopy};
    c.Brush = TBrush {d->chartColor, bsSolid};
    c.CopyMode = cmSrcCopy;
    const QString name = d->bkImg->Name();
    if (!name.isEmpty()) {
        if (!d->imgBmp.LoadFromFile(name) || d->imgBmp.Empty()) {
            c.Rectangle(ox, oy, ox + bw, oy + bh);
            d->bkImg->SetName(QString()); // do not retry at every repaint
            return;
        }
        switch (d->bkImg->FillMode()) {
        case bfSimple:
            c.FillRect(ox, oy, ox + bw, oy + bh);
            c.Draw(ox, oy, d->imgBmp);
            break;
        case bfStretch: c.StretchDraw(ox, oy, ox + bw, oy + bh, d->imgBmp); break;
        case bfTile: {
            const int iw = d->imgBmp.Width(), ih = d->imgBmp.Height();
            const int cols = bw > 0 ? (bw - 1) / iw + 1 : 0;
            const int rows = bh > 0 ? (bh - 1) / ih + 1 : 0;
            for (int r = 0; r < rows; ++r)
                for (int k = 0; k < cols; ++k)
                    c.Draw(ox + k * iw, oy + r * ih, d->imgBmp);
            break;
        }
        }
        return;
    }
    c.Rectangle(ox, oy, ox + bw, oy + bh);
    const TBGAreaMode mode = d->bkImg->AreaMode();
    if (mode == bamNone)
        return;
    c.Pen.Color = d->bkImg->AreaColor();
    c.Brush.Color = d->bkImg->AreaColor();
    int lx, ty, rx, by;
    DataToPixel(1, d->bkImg->AreaLeft(), d->bkImg->AreaTop(), lx, ty);
    DataToPixel(1, d->bkImg->AreaRight(), d->bkImg->AreaBottom(), rx, by);
    ClampPixel(lx, ty);
    ClampPixel(rx, by);
    const int sx = ox - MarginLeft(), sy = oy - MarginTop();
    lx += sx;
    rx += sx;
    ty += sy;
    by += sy;
    const int L = ox, R = ox + bw, T = oy, B = oy + bh;
    switch (mode) {
    case bamLeft: c.Rectangle(L, T, lx, B); break;
    case bamRight: c.Rectangle(rx, T, R, B); break;
    case bamTop: c.Rectangle(L, T, R, ty); break;
    case bamBottom: c.Rectangle(L, by, R, B); break;
    case bamVStripe: c.Rectangle(lx, T, rx, B); break;
    case bamHStripe: c.Rectangle(L, ty, R, by); break;
    case bamRect: c.Rectangle(lx, ty, rx, by); break;
    case bamNone: break;
    }
}

void TCustomKurvo::RenderData(TCanvas &c, int ox, int oy, bool monochrome, bool skipGrid)
{
    if (OnBeforeRenderData) {
        const TColor b = c.Brush.Color, p = c.Pen.Color;
        OnBeforeRenderData(this, c, MarginLeft() - ox, MarginTop() - oy);
        c.Brush.Color = b;
        c.Pen.Color = p;
    }
    if (d->gridStyle != gsNone && !skipGrid)
        DrawGrid(c, ox, oy);
    DrawItems(c, ox, oy, monochrome);
    c.Pen.Width = 1;
    DrawTextLabels(c, ox, oy);
    if (OnDataRendered)
        OnDataRendered(this, c, MarginLeft() - ox, MarginTop() - oy);
    DrawDataFrame(c, ox, oy);
}

void TCustomKurvo::DrawDataFrame(TCanvas &c, int ox, int oy)
{
    const TChartGeometry a = DataArea();
    const int wa = a.W(), ha = a.H();
    c.Pen.Color = d->chartFrameColor;
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Pen.Mode = pmCopy;
    c.MoveTo(ox, oy);
    c.LineTo(ox + wa, oy);
    c.LineTo(ox + wa, oy + ha);
    c.LineTo(ox, oy + ha);
    c.LineTo(ox, oy);
}
