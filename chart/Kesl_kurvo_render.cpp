// The paint pipeline: control bitmap with frame, shadow, caption and scales;
// data bitmap with background, grid, items, text labels and frame.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_geometry_p.h"
#include "Kesl_kurvo_guard_p.h"
#include "Kesl_kurvo_store_p.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include <cmath>
#include <cstdint>

namespace {

using PixelMath::AddSat;
using PixelMath::RoundSat;

// A recorded pen style outside the enumeration draws solid.
TPenStyle PenStyleOf(std::uint8_t s)
{
    return s <= psInsideFrame ? TPenStyle(s) : psSolid;
}

} // namespace

// ---- composing ----

void TCustomKurvo::Paint()
{
    if (!VisibleSetting() || IsLoading() || m_paintSuppressed)
        return;
    ComposeToBitmap();
    update();
}

void TCustomKurvo::ComposeToBitmap()
{
    {
        const TFlagScope quiet(m_autoRedraw, false); // a paint never repaints itself (e.g. a dropped background image)
        m_ctrlBmp.SetSize(width(), height());
        RenderFrame(m_ctrlBmp.Canvas());
        RenderBackground(m_dataBmp.Canvas(), 0, 0);
        RenderData(m_dataBmp.Canvas(), 0, 0, false, false);
        TCanvas &c = m_ctrlBmp.Canvas();
        c.CopyMode = cmSrcCopy;
        c.Draw(m_marginLeft, m_marginTop, m_dataBmp);
        m_mouse->DrawCrossHairs(m_ctrlBmp, 0, 0);
    }
    m_composed = true;
    ++m_paintCount;
}

void TCustomKurvo::paintEvent(QPaintEvent *)
{
    if (!m_composed || m_ctrlBmp.Width() != width() || m_ctrlBmp.Height() != height()) {
        if (IsLoading() || m_paintSuppressed)
            return;
        ComposeToBitmap();
    }
    QPainter p(this);
    p.drawImage(0, 0, m_mouse->ShownPicture(m_ctrlBmp.Image()));
}

void TCustomKurvo::showEvent(QShowEvent *event)
{
    TControl::showEvent(event);
    if (!m_shownOnce) {
        // The window exists now; the platform's first paint request follows.
        m_shownOnce = true;
        m_paintSuppressed = false;
    }
}

void TCustomKurvo::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    const int w = event->size().width(), h = event->size().height();
    if (m_ctrlBmp.Width() == w && m_ctrlBmp.Height() == h && m_composed)
        return;
    // A resize by a layout takes the same path as SetBounds.
    SetBounds(x(), y(), w, h);
}

void TCustomKurvo::SetBounds(int left, int top, int w, int h)
{
    {
        const TFlagScope paint(m_paintSuppressed, true);
        h = std::max(h, m_marginTop + m_marginBottom + m_shadowWidth + 20);
        w = std::max(w, m_marginLeft + m_marginRight + m_shadowWidth + 80);
        setMinimumSize(m_marginLeft + m_marginRight + m_shadowWidth + 80,
                       m_marginTop + m_marginBottom + m_shadowWidth + 20);
        if (geometry() != QRect(left, top, w, h))
            setGeometry(left, top, w, h);
        if (m_isometric)
            RecentreIsometric();
        ApplyAllScaleProps();
        UpdateScaleMargins();
        ResizeDataBitmap(false);
        CalcTransforms();
    }
    m_composed = false;
    update();
}

void TCustomKurvo::ResizeDataBitmap(bool printer)
{
    const int extra = printer ? 0 : 1;
    m_dataBmp.SetSize(std::max(0, width() - m_marginLeft - m_marginRight - m_shadowWidth + extra),
                      std::max(0, height() - m_marginTop - m_marginBottom - m_shadowWidth + extra));
}

void TCustomKurvo::RenderFrame(TCanvas &c)
{
    const int W = width(), H = height(), s = m_shadowWidth;
    c.Pen = TPen {m_windColor, 1, psSolid, pmCopy};
    c.Brush = TBrush {m_windColor, bsSolid};
    c.FillRect(0, 0, W, H);
    if (s > 0) {
        c.Pen.Color = m_shadowBakColor;
        c.Brush.Color = m_shadowBakColor;
        c.Rectangle(W - s, 0, W, s);
        c.Rectangle(0, H - s, s, H);
        c.Brush.Color = m_shadowColor;
        int e;
        if (m_shadowStyle == ssFlying) {
            c.Pen.Color = m_shadowColor;
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
    if (!m_caption.isEmpty()) {
        c.Pen.Color = m_chartFrameColor;
        c.Brush.Style = bsClear;
        c.Font = m_font;
        int x = m_captionPosX, y = m_captionPosY;
        switch (m_captionAnchorH) {
        case cahControlLeft: break;
        case cahChartLeft: x += m_marginLeft; break;
        case cahChartCenter: x += m_marginLeft + (W - m_marginLeft - m_marginRight - s) / 2; break;
        case cahChartRight: x += W - m_marginRight - s; break;
        case cahControlRight: x += W; break;
        }
        switch (m_captionAnchorV) {
        case cavControlTop: break;
        case cavChartTop: y += m_marginTop; break;
        case cavChartCenter: y += m_marginTop + (H - m_marginTop - m_marginBottom - s) / 2; break;
        case cavChartBottom: y += H - m_marginBottom; break;
        case cavControlBottom: y += H; break;
        }
        const int tw = c.TextWidth(m_caption);
        if (m_captionAlignment == taRightJustify)
            x -= tw;
        else if (m_captionAlignment == taCenter)
            x -= tw / 2;
        c.TextOut(x, y, m_caption);
        c.Brush.Style = bsSolid;
    }
    CalcTransforms();
    for (TScale *sc : m_scaleX)
        if (sc->Visible())
            sc->ForcePaint();
    for (TScale *sc : m_scaleY)
        if (sc->Visible())
            sc->ForcePaint();
    if (OnScalesRendered)
        OnScalesRendered(this, c, 0, 0);
}

void TCustomKurvo::RenderBackground(TCanvas &c, int ox, int oy)
{
    ResizeDataBitmap(c.IsPrinter());
    const int bw = m_dataBmp.Width(), bh = m_dataBmp.Height();
    c.Pen = TPen {m_chartFrameColor, 1, psSolid, pmCopy};
    c.Brush = TBrush {m_chartColor, bsSolid};
    c.CopyMode = cmSrcCopy;
    const QString name = m_bkImg->Name();
    if (!name.isEmpty()) {
        if (!m_imgBmp.LoadFromFile(name) || m_imgBmp.Empty()) {
            c.Rectangle(ox, oy, ox + bw, oy + bh);
            m_bkImg->SetName(QString()); // do not retry at every repaint
            return;
        }
        switch (m_bkImg->FillMode()) {
        case bfSimple:
            c.FillRect(ox, oy, ox + bw, oy + bh);
            c.Draw(ox, oy, m_imgBmp);
            break;
        case bfStretch: c.StretchDraw(ox, oy, ox + bw, oy + bh, m_imgBmp); break;
        case bfTile: {
            const int iw = m_imgBmp.Width(), ih = m_imgBmp.Height();
            const int cols = bw > 0 ? (bw - 1) / iw + 1 : 0;
            const int rows = bh > 0 ? (bh - 1) / ih + 1 : 0;
            for (int r = 0; r < rows; ++r)
                for (int k = 0; k < cols; ++k)
                    c.Draw(ox + k * iw, oy + r * ih, m_imgBmp);
            break;
        }
        }
        return;
    }
    c.Rectangle(ox, oy, ox + bw, oy + bh);
    const TBGAreaMode mode = m_bkImg->AreaMode();
    if (mode == bamNone)
        return;
    c.Pen.Color = m_bkImg->AreaColor();
    c.Brush.Color = m_bkImg->AreaColor();
    int lx, ty, rx, by;
    DataToPixel(1, m_bkImg->AreaLeft(), m_bkImg->AreaTop(), lx, ty);
    DataToPixel(1, m_bkImg->AreaRight(), m_bkImg->AreaBottom(), rx, by);
    ClampPixel(lx, ty);
    ClampPixel(rx, by);
    const int sx = ox - m_marginLeft, sy = oy - m_marginTop;
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
        OnBeforeRenderData(this, c, m_marginLeft - ox, m_marginTop - oy);
        c.Brush.Color = b;
        c.Pen.Color = p;
    }
    if (m_gridStyle != gsNone && !skipGrid)
        DrawGrid(c, ox, oy);
    DrawItems(c, ox, oy, monochrome);
    c.Pen.Width = 1;
    DrawTextLabels(c, ox, oy);
    if (OnDataRendered)
        OnDataRendered(this, c, m_marginLeft - ox, m_marginTop - oy);
    DrawDataFrame(c, ox, oy);
}

void TCustomKurvo::DrawDataFrame(TCanvas &c, int ox, int oy)
{
    const int wa = width() - m_marginLeft - m_marginRight - m_shadowWidth;
    const int ha = height() - m_marginTop - m_marginBottom - m_shadowWidth;
    c.Pen.Color = m_chartFrameColor;
    c.Pen.Style = psSolid;
    c.Pen.Width = 1;
    c.Pen.Mode = pmCopy;
    c.MoveTo(ox, oy);
    c.LineTo(ox + wa, oy);
    c.LineTo(ox + wa, oy + ha);
    c.LineTo(ox, oy + ha);
    c.LineTo(ox, oy);
}

// ---- items ----

// One layer's mapping held in locals for a run of items: the drawing calls in
// between cannot make the compiler reload it.
struct TCustomKurvo::TFastMap
{
    TFastMap(const TTransform &t, int sx, int sy)
        : kx(t.fkx),
          dx(t.fdx),
          ky(t.fky),
          dy(t.fdy),
          fx(t.revX ? t.w : 0),
          fy(t.revY ? 0 : t.h),
          logX(t.logX),
          logY(t.logY),
          sx(sx),
          sy(sy)
    {
    }
    __attribute__((always_inline)) QPoint Map(double x, double y) const
    {
        int px = PixelMath::RoundSat(PixelMath::AxisToPixel(kx, dx, logX, x, fx));
        int py = PixelMath::RoundSat(PixelMath::AxisToPixel(ky, dy, logY, y, fy));
        ClampPixel(px, py);
        return QPoint(px + sx, py + sy);
    }
    double kx, dx, ky, dy, fx, fy;
    bool logX, logY;
    int sx, sy;
};

struct TCustomKurvo::TReplay
{
    TCanvas &c;
    QPoint start;
    int sx, sy; // control pixel -> canvas pixel
    // The polyline buffer: the start point and the points appended since,
    // drawn as one polyline when flushed. A one-pixel solid pen gives the same
    // pixels segment by segment, so with it each point is drawn as it is
    // appended and the buffer only counts its points (every pen change
    // flushes first). The pen position the canvas had before the run is kept
    // for the relative moves, which read it before flushing.
    int count = 0;
    bool direct = false;
    QPoint penBeforeRun {};
    QVector<QPoint> points {};

    void Append(QPoint p)
    {
        if (count == 0)
            Begin();
        if (!direct)
            Buffer(p);
        else if (p != c.PenPos())
            c.LineTo(p.x(), p.y()); // a zero-length segment draws nothing
        if (++count >= kPolyBuffer)
            Flush();
    }
    // Out of line: the loop over the points of a one-pixel run stays small.
    __attribute__((noinline)) void Begin()
    {
        penBeforeRun = c.PenPos();
        direct = c.Pen.Width <= 1 && c.Pen.Style == psSolid && c.Pen.Mode == pmCopy;
        if (direct) {
            c.MoveTo(start.x(), start.y());
        } else {
            points.clear();
            points.append(start);
        }
        count = 1;
    }
    __attribute__((noinline)) void Buffer(QPoint p)
    {
        if (p != points.back())
            points.append(p);
    }
    void Flush()
    {
        if (count == 0)
            return;
        if (!direct)
            c.Polyline(points);
        start = c.PenPos();
        count = 0;
    }
    QPoint PenPos() const { return count > 0 ? penBeforeRun : c.PenPos(); }
    void Pen(TColor col, TPenStyle st)
    {
        if (c.Pen.Color != col)
            c.Pen.Color = col;
        if (c.Pen.Style != st)
            c.Pen.Style = st;
    }
    void Brush(TColor col, TBrushStyle st)
    {
        if (c.Brush.Color != col)
            c.Brush.Color = col;
        if (c.Brush.Style != st)
            c.Brush.Style = st;
    }
};

void TCustomKurvo::DrawItems(TCanvas &c, int ox, int oy, bool mono)
{
    const TKurvoItemStore &store = *m_store;
    c.Pen.Width = m_lineWidth;
    c.Pen.Mode = pmCopy;
    c.Pen.Color = m_chartColor;
    c.Pen.Style = psSolid;
    c.Brush.Color = m_chartColor;
    c.Brush.Style = bsSolid;
    c.MoveTo(ox, oy);
    TColor fontColor = m_chartColor;
    TReplay r {.c = c, .start = QPoint(ox, oy), .sx = ox - m_marginLeft, .sy = oy - m_marginTop};

    auto map = [&](int layer, double x, double y) __attribute__((always_inline))
    {
        int px, py;
        MapFast(layer, x, y, px, py);
        ClampPixel(px, py);
        return QPoint(px + r.sx, py + r.sy);
    };
    auto rectItem = [&](const TChartItem &it, QPoint a, QPoint b, TColor col, TColor fill, bool ellipse) {
        r.Pen(col, PenStyleOf(it.PenStyle));
        r.Brush(fill, it.Transparent ? bsClear : bsSolid);
        if (a == b) {
            c.SetPixel(a.x(), a.y(), col);
            return;
        }
        const int l = std::min(a.x(), b.x()), t = std::min(a.y(), b.y());
        const int rr = std::max(a.x(), b.x()) + 1, bb = std::max(a.y(), b.y()) + 1;
        if (ellipse)
            c.Ellipse(l, t, rr, bb);
        else
            c.Rectangle(l, t, rr, bb);
    };
    auto textItem = [&](const TChartItem &it, QPoint p, TColor col) {
        if (fontColor != col)
            fontColor = col;
        c.Font.Name = m_font.Name;
        c.Font.Color = col;
        c.Font.Style = m_textFontStyle;
        c.Font.Height = -std::clamp((std::clamp(it.Size, 0, 720) * 96 + 36) / 72, 1, 960);
        r.Brush(m_textBkColor, m_textBkStyle == tbSolid ? bsSolid : bsClear);
        const QString text = it.TextString();
        const int w = c.TextWidth(text), h = c.TextHeight(text);
        c.TextOut(KurvoGeometry::TextLeft(p.x(), w, it.Style), p.y() - h / 2, text);
    };

    // The kinds whose record needs more than the packed part.
    auto drawRest = [&](const TChartItem &it, TColor col, TColor fill, TPenStyle ps) {
        switch (it.Kind) {
        case ikRectangle:
            r.Flush();
            rectItem(it, map(it.Layer, it.X1, it.Y1), map(it.Layer, it.X2, it.Y2), col, fill, false);
            break;
        case ikBox: {
            r.Flush();
            r.Pen(fill, ps);
            r.Brush(fill, bsSolid);
            const QPoint a = map(it.Layer, it.X1, it.Y1), b = map(it.Layer, it.X2, it.Y2);
            const int l = std::min(a.x(), b.x()), rt = std::max(a.x(), b.x());
            const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
            if (a == b) {
                c.SetPixel(a.x(), a.y(), fill);
                break;
            }
            c.Rectangle(l, t, rt + 1, bt + 1);
            TColor dark = mono ? clBlack : it.DarkEdgeColor, light = mono ? clWhite : it.LightEdgeColor;
            c.Pen.Style = psSolid;
            switch (it.FrameStyle) {
            case fsRaised: std::swap(dark, light); [[fallthrough]];
            case fsLowered:
                c.Pen.Color = dark;
                c.MoveTo(l, bt);
                c.LineTo(l, t);
                c.LineTo(rt + 1, t);
                c.Pen.Color = light;
                c.MoveTo(rt, t + 1);
                c.LineTo(rt, bt);
                c.LineTo(l, bt);
                break;
            case fsEngraved: std::swap(dark, light); [[fallthrough]];
            case fsEmbossed:
                c.Pen.Color = dark;
                c.Polyline(
                    {QPoint(l + 1, bt), QPoint(l + 1, t + 1), QPoint(rt, t + 1), QPoint(rt, bt), QPoint(l + 1, bt)});
                c.Pen.Color = light;
                c.Polyline(
                    {QPoint(l, bt - 1), QPoint(l, t), QPoint(rt - 1, t), QPoint(rt - 1, bt - 1), QPoint(l, bt - 1)});
                break;
            default: break;
            }
            c.Pen.Style = ps;
            break;
        }
        case ikBar3D: {
            r.Flush();
            r.Pen(col, ps);
            r.Brush(fill, it.Transparent ? bsClear : bsSolid);
            const QPoint a = map(it.Layer, it.X1, it.Y1), b = map(it.Layer, it.X2, it.Y2);
            int l = std::min(a.x(), b.x()), rt = std::max(a.x(), b.x());
            const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
            const QPoint off = KurvoGeometry::BarDepthOffset(it.Size, it.Depth);
            const int dx = off.x(), dy = off.y();
            if (it.Size > 90)
                std::swap(l, rt);
            c.Polygon({QPoint(l, t), QPoint(l + dx, t + dy), QPoint(rt + dx, t + dy), QPoint(rt, t)});
            c.Polygon({QPoint(rt + dx, t + dy), QPoint(rt, t), QPoint(rt, bt), QPoint(rt + dx, bt + dy)});
            rectItem(it, a, b, col, fill, false);
            break;
        }
        case ikText:
            r.Flush();
            textItem(it, map(it.Layer, it.X1, it.Y1), col);
            break;
        case ikTextOffset: {
            r.Flush();
            int px, py;
            DataToPixel(it.Layer, it.X1, it.Y1, px, py);
            px = AddSat(px, RoundSat(it.X2));
            py = AddSat(py, RoundSat(it.Y2));
            ClampPixel(px, py);
            textItem(it, QPoint(px + r.sx, py + r.sy), col);
            break;
        }
        case ikEllipse:
            r.Flush();
            rectItem(it, map(it.Layer, it.X1 - it.X2, it.Y1 + it.Y2), map(it.Layer, it.X1 + it.X2, it.Y1 - it.Y2), col,
                     fill, true);
            break;
        case ikArrow: {
            r.Flush();
            r.Pen(col, ps);
            r.Brush(fill, it.Transparent ? bsClear : bsSolid);
            const QPoint a = map(it.Layer, it.X1, it.Y1), b = map(it.Layer, it.X2, it.Y2);
            if (a == b) {
                c.SetPixel(a.x(), a.y(), col);
                break;
            }
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
            if (it.Size < 1)
                break;
            const auto [bp, bm] = KurvoGeometry::ArrowBarbs(a, b, it.Size);
            if (it.Transparent) {
                c.MoveTo(b.x(), b.y());
                c.LineTo(bp.x(), bp.y());
                c.MoveTo(b.x(), b.y());
                c.LineTo(bm.x(), bm.y());
            } else {
                c.Polygon({b, bp, bm});
            }
            break;
        }
        case ikPixelBox: {
            r.Flush();
            int px, py;
            DataToPixel(it.Layer, it.X1, it.Y1, px, py);
            ClampPixel(px, py);
            const int hx = std::clamp(RoundSat(it.X2), -kPixelClamp, kPixelClamp);
            const int hy = std::clamp(RoundSat(it.Y2), -kPixelClamp, kPixelClamp);
            rectItem(it, QPoint(px - hx + r.sx, py - hy + r.sy), QPoint(px + hx + r.sx, py + hy + r.sy), col, fill,
                     false);
            break;
        }
        default: break;
        }
    };

    const int n = store.Count();
    const TPackedItem *items = store.Data();
    // An item of the given kind drawn exactly like the previous one: same
    // layer and class (so just as visible), same pen.
    auto SameLook = [](const TPackedItem &a, const TPackedItem &b, std::uint8_t kind) __attribute__((always_inline))
    {
        return a.Kind == kind && a.Layer == b.Layer && a.ItemClass == b.ItemClass && a.Color == b.Color &&
            a.PenStyle == b.PenStyle && a.LineWidth == b.LineWidth;
    };
    for (int i = 0; i < n; ++i) {
        const TPackedItem &it = items[i];
        // The list is streamed once per paint; fetch ahead of use.
        __builtin_prefetch(items + std::min(i + 16, n - 1));
        if (!m_classVisible[it.ItemClass] || it.Layer < 1 || it.Layer > kLayers ||
            !m_layerVisible[std::size_t(it.Layer - 1)])
            continue;
        const std::uint8_t kind = it.Kind;
        if (kind == 0 || kind == 10 || kind == 11 || kind > 16)
            continue;
        const TColor col = mono ? clBlack : it.Color;
        const TColor fill = mono ? clSilver : it.FillColor;
        const TPenStyle ps = PenStyleOf(it.PenStyle);
        if (it.LineWidth != c.Pen.Width) {
            r.Flush();
            c.Pen.Width = it.LineWidth;
        }
        switch (kind) {
        case ikMark: {
            r.Flush();
            r.Pen(col, ps);
            const QPoint p = map(it.Layer, it.X1, it.Y1);
            // The marks that follow with the same look need none of the checks
            // above, and a run of one shape is prepared once.
            TMarkRun run(c, it.Style);
            run.Draw(p.x(), p.y());
            const TFastMap fm(m_tf[std::size_t(it.Layer - 1)], r.sx, r.sy);
            while (i + 1 < n && SameLook(items[i + 1], it, ikMark)) {
                const TPackedItem &m = items[++i];
                __builtin_prefetch(items + std::min(i + 16, n - 1));
                const QPoint q = fm.Map(m.X1, m.Y1);
                if (m.Style != run.Shape())
                    run = TMarkRun(c, m.Style);
                run.Draw(q.x(), q.y());
            }
            break;
        }
        case ikLine: {
            r.Flush();
            r.Pen(col, ps);
            r.Brush(it.FillColor, c.Brush.Style);
            const QPoint a = map(it.Layer, it.X1, it.Y1), b = map(it.Layer, it.X2, it.Y2);
            if (a == b) {
                c.SetPixel(a.x(), a.y(), col);
            } else {
                c.MoveTo(a.x(), a.y());
                c.LineTo(b.x(), b.y());
            }
            break;
        }
        case ikDrawTo: {
            if (c.Pen.Color != col || c.Pen.Style != ps || c.Brush.Color != it.FillColor) {
                r.Flush();
                c.Pen.Color = col;
                c.Pen.Style = ps;
                c.Brush.Color = it.FillColor;
            }
            r.Append(map(it.Layer, it.X1, it.Y1));
            const TFastMap fm(m_tf[std::size_t(it.Layer - 1)], r.sx, r.sy);
            while (i + 1 < n && SameLook(items[i + 1], it, ikDrawTo) && items[i + 1].FillColor == it.FillColor) {
                const TPackedItem &d = items[++i];
                __builtin_prefetch(items + std::min(i + 16, n - 1));
                r.Append(fm.Map(d.X1, d.Y1));
            }
            break;
        }
        case ikMoveTo: {
            r.Flush();
            r.start = map(it.Layer, it.X1, it.Y1);
            c.MoveTo(r.start.x(), r.start.y());
            break;
        }
        case ikMoveRel: {
            const QPoint pp = r.PenPos();
            int tx = AddSat(pp.x(), RoundSat(it.X1)), ty = AddSat(pp.y(), RoundSat(it.Y1));
            ClampPixel(tx, ty);
            r.Flush();
            r.start = QPoint(tx, ty);
            c.MoveTo(tx, ty);
            break;
        }
        case ikDrawRel: {
            r.Flush();
            const QPoint pp = c.PenPos();
            int tx = AddSat(pp.x(), RoundSat(it.X1)), ty = AddSat(pp.y(), RoundSat(it.Y1));
            ClampPixel(tx, ty);
            c.Pen.Color = col;
            c.Pen.Style = ps;
            c.Brush.Color = it.FillColor;
            c.LineTo(tx, ty);
            c.SetPixel(tx, ty, col);
            break;
        }
        default: drawRest(store.Get(i), col, fill, ps); break;
        }
    }
    r.Flush();
    c.Font.Color = fontColor;
}
