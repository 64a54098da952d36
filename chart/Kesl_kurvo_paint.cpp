// Drawing the recorded items: one small function per item kind; runs of marks
// and of connected lines with one look are drawn in a tight loop each.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_geometry_p.h"
#include "Kesl_kurvo_map_p.h"
#include "Kesl_kurvo_markfield_p.h"
#include "Kesl_kurvo_p.h"
#include "Kesl_kurvo_store_p.h"

#include <array>
#include <cstdint>
#include <unordered_set>

namespace {

using PixelMath::AddSat;
using PixelMath::RoundSat;

// Mark shapes above this are characters.
constexpr std::uint8_t kLastFigure = 51;

// A pixel offset from a point, kept within the paint engine's reach.
QPointF Offset(QPointF from, double dx, double dy)
{
    constexpr double lim = PixelMath::kItemReach;
    return QPointF(std::clamp(from.x() + RoundSat(dx), -lim, lim), std::clamp(from.y() + RoundSat(dy), -lim, lim));
}

// A recorded pen style outside the enumeration draws solid.
TPenStyle PenStyleOf(std::uint8_t s)
{
    return s <= psInsideFrame ? TPenStyle(s) : psSolid;
}

// An item of the given kind drawn exactly like the previous one: same layer
// and class (so just as visible), same pen.
__attribute__((always_inline)) inline bool SameLook(const TPackedItem &a, const TPackedItem &b, std::uint8_t kind)
{
    return a.Kind == kind && a.Layer == b.Layer && a.ItemClass == b.ItemClass && a.Color == b.Color &&
        a.PenStyle == b.PenStyle && a.LineWidth == b.LineWidth;
}

} // namespace

// One layer's mapping held in locals for a run of items: the drawing calls in
// between cannot make the compiler reload it.
struct TCustomKurvo::TFastMap
{
    TFastMap(const TLayerTransform &t, int shiftX, int shiftY)
        : kx(t.fkx),
          dx(t.fdx),
          ky(t.fky),
          dy(t.fdy),
          fx(t.revX ? t.w : 0),
          fy(t.revY ? 0 : t.h),
          logX(t.logX),
          logY(t.logY),
          sx(shiftX),
          sy(shiftY)
    {
    }
    __attribute__((always_inline)) QPoint Map(double x, double y) const
    {
        return QPoint(Pixel(PixelMath::AxisToPixel(kx, dx, logX, x, fx)) + sx,
                      Pixel(PixelMath::AxisToPixel(ky, dy, logY, y, fy)) + sy);
    }
    // RoundSat and then ClampPixel, the clamp done first (the limits are
    // whole numbers, so the result is the same) and without branches.
    __attribute__((always_inline)) static int Pixel(double v)
    {
        constexpr double lim = PixelMath::kItemReach;
        v = v > -lim ? v : -lim; // NaN goes to the low end, as with RoundSat
        v = v < lim ? v : lim;
        return int((v + 6755399441055744.0) - 6755399441055744.0);
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
    // drawn as one polyline when flushed (every pen change flushes first).
    // The pen position the canvas had before the run is kept for the
    // relative moves, which read it before flushing. A run is flushed after
    // kPolyBuffer appended points, repeated ones included, so that a dashed
    // or thick line is split where it always was.
    int count = 0;
    int distinct = 0; // points in the buffer
    QPoint penBeforeRun {};
    std::array<QPoint, kPolyBuffer> points {};
    // On a page the run keeps its points as mapped, between pixels, and the
    // pen where the last line ended (while the canvas' pen is still there).
    bool page = false;
    QPointF fstart {}, fpen {}, fpenBeforeRun {};
    QPoint fpenAt {};
    std::array<QPointF, kPolyBuffer> fpoints {};

    __attribute__((always_inline)) void Append(QPoint p)
    {
        if (count == 0)
            Begin();
        if (p != points[std::size_t(distinct - 1)]) // a zero-length segment draws nothing
            points[std::size_t(distinct++)] = p;
        if (++count >= kPolyBuffer)
            Flush();
    }
    // Out of line: the loop over the points of a run stays small.
    __attribute__((noinline)) void Begin()
    {
        penBeforeRun = c.PenPos();
        points[0] = start;
        distinct = count = 1;
    }
    __attribute__((noinline)) void Flush()
    {
        if (count == 0)
            return;
        if (page) {
            c.PolylineF(fpoints.data(), distinct);
            fstart = fpoints[std::size_t(distinct - 1)];
            PenAt(fstart);
        } else {
            c.Polyline(points.data(), distinct);
        }
        count = distinct = 0;
        start = c.PenPos();
    }
    QPoint PenPos() const { return count > 0 ? penBeforeRun : c.PenPos(); }

    // The page's pen: where the last line ended, unless the canvas' pen has
    // moved since (text moves it).
    QPointF PenF() const { return c.PenPos() == fpenAt ? fpen : QPointF(c.PenPos()); }
    void PenAt(QPointF p)
    {
        fpen = p;
        fpenAt = c.PenPos();
    }
    void AppendF(QPointF p)
    {
        if (count == 0) {
            penBeforeRun = c.PenPos();
            fpenBeforeRun = PenF();
            fpoints[0] = fstart;
            distinct = count = 1;
        }
        if (p != fpoints[std::size_t(distinct - 1)])
            fpoints[std::size_t(distinct++)] = p;
        if (++count >= kPolyBuffer)
            Flush();
    }
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

// The state of one paint of the item list and the drawing of each kind.
struct TCustomKurvo::TItemPainter
{
    TItemPainter(const TCustomKurvo &chart, TCanvas &canvas, int ox, int oy, bool monochrome)
        : k(chart),
          c(canvas),
          r {.c = canvas, .start = QPoint(ox, oy), .sx = ox - chart.MarginLeft(), .sy = oy - chart.MarginTop()},
          mono(monochrome),
          page(canvas.IsPage()),
          exact(canvas.SubUnits()),
          fontColor(chart.d->chartColor),
          items(chart.d->store->Data()),
          n(chart.d->store->Count())
    {
    }

    const TCustomKurvo &k;
    TCanvas &c;
    TReplay r;
    const bool mono;
    const bool page; // drawn through the painter, cut at the clip
    const bool exact; // lines through points between pixels
    TColor fontColor;
    const TPackedItem *const items;
    const int n;
    TMarkField field;
    TBitmap probe {1, 1}; // a screen canvas with the page's pen, for what the screen would do
    // Marks of one shape drawn one by one before the rest of the run goes
    // through the field, whose write costs about a sweep of the surface.
    static constexpr int kFieldMinRun = 256;

    __attribute__((always_inline)) QPoint Map(int layer, double x, double y) const
    {
        int px, py;
        k.MapFast(layer, x, y, px, py);
        ClampPixel(px, py);
        return QPoint(px + r.sx, py + r.sy);
    }
    // The list is streamed once per paint; fetch ahead of use.
    static constexpr int kPrefetchAhead = 32;
    __attribute__((always_inline)) void Prefetch(int i) const
    {
        __builtin_prefetch(items + std::min(i + kPrefetchAhead, n - 1));
    }

    // A point as mapped, not rounded, kept where the paint engine draws exactly.
    QPointF MapF(int layer, double x, double y) const
    {
        if (!exact)
            return QPointF(Map(layer, x, y));
        const TLayerTransform &t = k.d->layers->Transform(layer);
        return QPointF(Reach(PixelMath::AxisToPixel(t.fkx, t.fdx, t.logX, x, t.revX ? t.w : 0)) + r.sx,
                       Reach(PixelMath::AxisToPixel(t.fky, t.fdy, t.logY, y, t.revY ? 0 : t.h)) + r.sy);
    }
    static double Reach(double v)
    {
        constexpr double lim = PixelMath::kItemReach;
        v = v > -lim ? v : -lim; // NaN goes to the low end, as with RoundSat
        return v < lim ? v : lim;
    }

    void Run();
    void DrawPacked(int &i, TColor col, TPenStyle ps);
    void MarkFont(int i, TColor col);
    int PageMarks(int i, TColor col, TPenStyle ps);
    int PageDrawTo(int i, TColor col, TPenStyle ps);
    void PageLine(const TPackedItem &it, TColor col, TPenStyle ps);
    void PageMoveTo(const TPackedItem &it);
    void PageMoveRel(const TPackedItem &it);
    void PageDrawRel(const TPackedItem &it, TColor col, TPenStyle ps);
    void DrawRest(const TChartItem &it, TColor col, TColor fill, TPenStyle ps);
    int Marks(int i, TColor col, TPenStyle ps);
    int FieldMarks(int i, const TFastMap &fm, const TPackedItem &look);
    int DrawTo(int i, TColor col, TPenStyle ps);
    void Line(const TPackedItem &it, TColor col, TPenStyle ps);
    void MoveRel(const TPackedItem &it);
    void DrawRel(const TPackedItem &it, TColor col, TPenStyle ps);
    void Rect(const TChartItem &it, QPoint a, QPoint b, TColor col, TColor fill, bool ellipse);
    void Text(const TChartItem &it, QPoint p, TColor col);
    void Box(const TChartItem &it, TColor fill, TPenStyle ps);
    void Bar3D(const TChartItem &it, TColor col, TColor fill, TPenStyle ps);
    void Arrow(const TChartItem &it, TColor col, TColor fill, TPenStyle ps);
    QPoint PixelOffset(const TChartItem &it) const;
};

void TCustomKurvo::DrawItems(TCanvas &c, int ox, int oy, bool mono)
{
    c.Pen.Width = d->lineWidth;
    c.Pen.Mode = pmCopy;
    c.Pen.Color = d->chartColor;
    c.Pen.Style = psSolid;
    c.Brush.Color = d->chartColor;
    c.Brush.Style = bsSolid;
    c.MoveTo(ox, oy);
    TItemPainter p(*this, c, ox, oy, mono);
    p.r.page = p.page;
    p.r.fstart = QPointF(ox, oy);
    p.r.PenAt(p.r.fstart);
    p.Run();
    p.r.Flush();
    c.Font.Color = p.fontColor;
}

void TCustomKurvo::TItemPainter::Run()
{
    for (int i = 0; i < n; ++i) {
        const TPackedItem &it = items[i];
        Prefetch(i);
        if (!k.d->classVisible[it.ItemClass] || !KurvoLayer::Valid(it.Layer) ||
            !k.d->layerVisible[std::size_t(it.Layer - 1)])
            continue;
        const std::uint8_t kind = it.Kind;
        if (kind == 0 || kind == 10 || kind == 11 || kind > 16)
            continue;
        const TColor col = mono ? clBlack : it.Color;
        const TPenStyle ps = PenStyleOf(it.PenStyle);
        if (it.LineWidth != c.Pen.Width) {
            r.Flush();
            c.Pen.Width = it.LineWidth;
        }
        DrawPacked(i, col, ps);
    }
}

// The kinds drawn from the packed part alone; the others read the whole record.
__attribute__((always_inline)) inline void TCustomKurvo::TItemPainter::DrawPacked(int &i, TColor col, TPenStyle ps)
{
    const TPackedItem &it = items[i];
    if (page) {
        switch (it.Kind) {
        case ikMark: i = PageMarks(i, col, ps); return;
        case ikLine: PageLine(it, col, ps); return;
        case ikDrawTo: i = PageDrawTo(i, col, ps); return;
        case ikMoveTo: PageMoveTo(it); return;
        case ikMoveRel: PageMoveRel(it); return;
        case ikDrawRel: PageDrawRel(it, col, ps); return;
        default: break;
        }
    }
    switch (it.Kind) {
    case ikMark: i = Marks(i, col, ps); break;
    case ikLine: Line(it, col, ps); break;
    case ikDrawTo: i = DrawTo(i, col, ps); break;
    case ikMoveTo:
        r.Flush();
        r.start = Map(it.Layer, it.X1, it.Y1);
        c.MoveTo(r.start.x(), r.start.y());
        break;
    case ikMoveRel: MoveRel(it); break;
    case ikDrawRel: DrawRel(it, col, ps); break;
    default: DrawRest(k.d->store->Get(i), col, mono ? clSilver : it.FillColor, ps); break;
    }
}

// A mark and the marks that follow with the same look: those need none of the
// checks of the main loop, and a run of one shape is prepared once. A long
// run of a shape with a mask goes on through the centre field.
int TCustomKurvo::TItemPainter::Marks(int i, TColor col, TPenStyle ps)
{
    const TPackedItem &it = items[i];
    r.Flush();
    r.Pen(col, ps);
    const QPoint p = Map(it.Layer, it.X1, it.Y1);
    TMarkRun run(c, it.Style);
    if (it.Style > kLastFigure)
        MarkFont(i, col);
    run.Draw(p.x(), p.y());
    const TFastMap fm(k.d->layers->Transform(it.Layer), r.sx, r.sy);
    const int fieldAfter = std::max(kFieldMinRun, c.Width() / 64 * c.Height());
    int same = 1;
    while (i + 1 < n && SameLook(items[i + 1], it, ikMark)) {
        const TPackedItem &m = items[++i];
        Prefetch(i);
        const QPoint q = fm.Map(m.X1, m.Y1);
        if (m.Style != run.Shape()) {
            run = TMarkRun(c, m.Style);
            same = 0;
        }
        if (m.Style > kLastFigure)
            MarkFont(i, col);
        run.Draw(q.x(), q.y());
        if (++same == fieldAfter && DirectMarkMask(c, m.Style) && c.Width() > 0 && c.Height() > 0)
            i = FieldMarks(i, fm, it);
    }
    return i;
}

// The rest of a run of one shape: centres into the field, then one write.
int TCustomKurvo::TItemPainter::FieldMarks(int i, const TFastMap &fm, const TPackedItem &look)
{
    const std::uint8_t shape = items[i].Style;
    field.Reset(c.ScanLine(0), c.ScanLineStride(), c.Width(), c.Height());
    while (i + 1 < n && SameLook(items[i + 1], look, ikMark) && items[i + 1].Style == shape) {
        const TPackedItem &m = items[++i];
        Prefetch(i);
        const QPoint q = fm.Map(m.X1, m.Y1);
        field.Add(q.x(), q.y());
    }
    field.Write(*DirectMarkMask(c, shape), ColorToQRgb(c.Pen.Color));
    return i;
}

int TCustomKurvo::TItemPainter::DrawTo(int i, TColor col, TPenStyle ps)
{
    const TPackedItem &it = items[i];
    if (c.Pen.Color != col || c.Pen.Style != ps || c.Brush.Color != it.FillColor) {
        r.Flush();
        c.Pen.Color = col;
        c.Pen.Style = ps;
        c.Brush.Color = it.FillColor;
    }
    r.Append(Map(it.Layer, it.X1, it.Y1));
    const TFastMap fm(k.d->layers->Transform(it.Layer), r.sx, r.sy);
    const int last = n - 1;
    auto more = [&] {
        return i < last && SameLook(items[i + 1], it, ikDrawTo) && items[i + 1].FillColor == it.FillColor;
    };
    while (more()) {
        if (r.count == 0)
            r.Begin();
        // The buffer's counts in locals: the point stores could change them
        // for all the compiler knows.
        int count = r.count, distinct = r.distinct;
        QPoint prev = r.points[std::size_t(distinct - 1)];
        while (count < kPolyBuffer && more()) {
            const TPackedItem &next = items[++i];
            Prefetch(i);
            const QPoint p = fm.Map(next.X1, next.Y1);
            if (p != prev) // a zero-length segment draws nothing
                r.points[std::size_t(distinct++)] = prev = p;
            ++count;
        }
        r.count = count;
        r.distinct = distinct;
        if (count >= kPolyBuffer)
            r.Flush();
    }
    return i;
}

void TCustomKurvo::TItemPainter::Line(const TPackedItem &it, TColor col, TPenStyle ps)
{
    r.Flush();
    r.Pen(col, ps);
    r.Brush(it.FillColor, c.Brush.Style);
    const QPoint a = Map(it.Layer, it.X1, it.Y1), b = Map(it.Layer, it.X2, it.Y2);
    if (a == b) {
        c.SetPixel(a.x(), a.y(), col);
    } else {
        c.MoveTo(a.x(), a.y());
        c.LineTo(b.x(), b.y());
    }
}

void TCustomKurvo::TItemPainter::MoveRel(const TPackedItem &it)
{
    const QPoint pp = r.PenPos();
    int tx = AddSat(pp.x(), RoundSat(it.X1)), ty = AddSat(pp.y(), RoundSat(it.Y1));
    ClampPixel(tx, ty);
    r.Flush();
    r.start = QPoint(tx, ty);
    c.MoveTo(tx, ty);
}

void TCustomKurvo::TItemPainter::DrawRel(const TPackedItem &it, TColor col, TPenStyle ps)
{
    r.Flush();
    const QPoint pp = c.PenPos();
    int tx = AddSat(pp.x(), RoundSat(it.X1)), ty = AddSat(pp.y(), RoundSat(it.Y1));
    ClampPixel(tx, ty);
    c.Pen.Color = col;
    c.Pen.Style = ps;
    c.Brush.Color = it.FillColor;
    c.LineTo(tx, ty);
    c.SetPixel(tx, ty, col);
}

void TCustomKurvo::TItemPainter::DrawRest(const TChartItem &it, TColor col, TColor fill, TPenStyle ps)
{
    r.Flush();
    switch (it.Kind) {
    case ikRectangle: Rect(it, Map(it.Layer, it.X1, it.Y1), Map(it.Layer, it.X2, it.Y2), col, fill, false); break;
    case ikBox: Box(it, fill, ps); break;
    case ikBar3D: Bar3D(it, col, fill, ps); break;
    case ikText: Text(it, Map(it.Layer, it.X1, it.Y1), col); break;
    case ikTextOffset: {
        const QPoint p = PixelOffset(it);
        Text(it, QPoint(p.x() + r.sx, p.y() + r.sy), col);
        break;
    }
    case ikEllipse:
        Rect(it, Map(it.Layer, it.X1 - it.X2, it.Y1 + it.Y2), Map(it.Layer, it.X1 + it.X2, it.Y1 - it.Y2), col, fill,
             true);
        break;
    case ikArrow: Arrow(it, col, fill, ps); break;
    case ikPixelBox: {
        int px, py;
        k.DataToPixel(it.Layer, it.X1, it.Y1, px, py);
        ClampPixel(px, py);
        const int hx = PixelMath::ClampItem(RoundSat(it.X2));
        const int hy = PixelMath::ClampItem(RoundSat(it.Y2));
        Rect(it, QPoint(px - hx + r.sx, py - hy + r.sy), QPoint(px + hx + r.sx, py + hy + r.sy), col, fill, false);
        break;
    }
    default: break;
    }
}

// The control pixel of a point given in chart coordinates plus a pixel offset.
QPoint TCustomKurvo::TItemPainter::PixelOffset(const TChartItem &it) const
{
    int px, py;
    k.DataToPixel(it.Layer, it.X1, it.Y1, px, py);
    px = AddSat(px, RoundSat(it.X2));
    py = AddSat(py, RoundSat(it.Y2));
    ClampPixel(px, py);
    return QPoint(px, py);
}

void TCustomKurvo::TItemPainter::Rect(const TChartItem &it, QPoint a, QPoint b, TColor col, TColor fill, bool ellipse)
{
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
}

void TCustomKurvo::TItemPainter::Text(const TChartItem &it, QPoint p, TColor col)
{
    if (fontColor != col)
        fontColor = col;
    c.Font.Name = k.d->font.Name;
    c.Font.Color = col;
    c.Font.Style = k.d->textFontStyle;
    c.Font.Height = -std::clamp((std::clamp(it.Size, 0, 720) * 96 + 36) / 72, 1, 960);
    r.Brush(k.d->textBkColor, k.d->textBkStyle == tbSolid ? bsSolid : bsClear);
    const QString text = it.TextString();
    const int w = c.TextWidth(text), h = c.TextHeight(text);
    c.TextOut(KurvoGeometry::TextLeft(p.x(), w, it.Style), p.y() - h / 2, text);
}

void TCustomKurvo::TItemPainter::Box(const TChartItem &it, TColor fill, TPenStyle ps)
{
    r.Pen(fill, ps);
    r.Brush(fill, bsSolid);
    const QPoint a = Map(it.Layer, it.X1, it.Y1), b = Map(it.Layer, it.X2, it.Y2);
    if (a == b) {
        c.SetPixel(a.x(), a.y(), fill);
        return;
    }
    const int l = std::min(a.x(), b.x()), rt = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
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
        c.Polyline({QPoint(l + 1, bt), QPoint(l + 1, t + 1), QPoint(rt, t + 1), QPoint(rt, bt), QPoint(l + 1, bt)});
        c.Pen.Color = light;
        c.Polyline({QPoint(l, bt - 1), QPoint(l, t), QPoint(rt - 1, t), QPoint(rt - 1, bt - 1), QPoint(l, bt - 1)});
        break;
    default: break;
    }
    c.Pen.Style = ps;
}

void TCustomKurvo::TItemPainter::Bar3D(const TChartItem &it, TColor col, TColor fill, TPenStyle ps)
{
    r.Pen(col, ps);
    r.Brush(fill, it.Transparent ? bsClear : bsSolid);
    const QPoint a = Map(it.Layer, it.X1, it.Y1), b = Map(it.Layer, it.X2, it.Y2);
    int l = std::min(a.x(), b.x()), rt = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y());
    const QPoint off = KurvoGeometry::BarDepthOffset(it.Size, it.Depth);
    const int dx = off.x(), dy = off.y();
    if (it.Size > 90)
        std::swap(l, rt);
    c.Polygon({QPoint(l, t), QPoint(l + dx, t + dy), QPoint(rt + dx, t + dy), QPoint(rt, t)});
    c.Polygon({QPoint(rt + dx, t + dy), QPoint(rt, t), QPoint(rt, bt), QPoint(rt + dx, bt + dy)});
    Rect(it, a, b, col, fill, false);
}

void TCustomKurvo::TItemPainter::Arrow(const TChartItem &it, TColor col, TColor fill, TPenStyle ps)
{
    r.Pen(col, ps);
    r.Brush(fill, it.Transparent ? bsClear : bsSolid);
    const QPoint a = Map(it.Layer, it.X1, it.Y1), b = Map(it.Layer, it.X2, it.Y2);
    if (a == b) {
        c.SetPixel(a.x(), a.y(), col);
        return;
    }
    c.MoveTo(a.x(), a.y());
    c.LineTo(b.x(), b.y());
    if (it.Size < 1)
        return;
    const auto [bp, bm] = KurvoGeometry::ArrowBarbs(a, b, it.Size);
    if (it.Transparent) {
        c.MoveTo(b.x(), b.y());
        c.LineTo(bp.x(), bp.y());
        c.MoveTo(b.x(), b.y());
        c.LineTo(bm.x(), bm.y());
    } else {
        c.Polygon({b, bp, bm});
    }
}

// A character mark in the chart's font at the item's size (the chart's own
// size when it records none), in the mark's colour.
void TCustomKurvo::TItemPainter::MarkFont(int i, TColor col)
{
    const int size = items[i].HasRest ? k.d->store->Get(i).Size : 0;
    TFont f = k.d->font;
    f.Color = col;
    if (size > 0)
        f.Height = -std::clamp((std::min(size, 720) * 96 + 36) / 72, 1, 960);
    if (!(c.Font == f))
        c.Font = f;
}

// ---- pages: points between pixels, one mark per device pixel ----

// A run of marks of one look. The figures paint only in the pen colour, so
// one already drawn at a device pixel makes another of its shape there add
// nothing; a character mark may paint its background, so only one repeated
// straight after it is left out.
int TCustomKurvo::TItemPainter::PageMarks(int i, TColor col, TPenStyle ps)
{
    const TPackedItem &look = items[i];
    r.Flush();
    r.Pen(col, ps);
    std::unordered_set<std::uint64_t> drawn;
    std::uint64_t last = 0;
    for (;; ++i) {
        const TPackedItem &m = items[i];
        const QPoint p = Map(m.Layer, m.X1, m.Y1);
        const QPointF at = c.DevicePoint(QPointF(p) + QPointF(0.5, 0.5));
        const auto cell = [](double v) { return std::uint64_t(std::uint32_t(PixelMath::RoundSat(std::floor(v)))); };
        const std::uint64_t key = (cell(at.x()) << 32 | cell(at.y())) * 256 + m.Style;
        const bool figure = m.Style <= kLastFigure;
        if (figure ? drawn.insert(key).second : key != last) {
            if (!figure)
                MarkFont(i, col);
            // A figure the screen writes as pixels leaves its pen where it was.
            probe.Canvas().Pen = c.Pen;
            probe.Canvas().Brush = c.Brush;
            const QPoint pen = c.PenPos();
            DrawMark(c, m.Style, p.x(), p.y());
            if (DirectMarkMask(probe.Canvas(), m.Style))
                c.MoveTo(pen.x(), pen.y());
        }
        last = figure ? 0 : key;
        if (i + 1 >= n || !SameLook(items[i + 1], look, ikMark))
            return i;
    }
}

int TCustomKurvo::TItemPainter::PageDrawTo(int i, TColor col, TPenStyle ps)
{
    const TPackedItem &it = items[i];
    if (c.Pen.Color != col || c.Pen.Style != ps || c.Brush.Color != it.FillColor) {
        r.Flush();
        c.Pen.Color = col;
        c.Pen.Style = ps;
        c.Brush.Color = it.FillColor;
    }
    r.AppendF(MapF(it.Layer, it.X1, it.Y1));
    while (i + 1 < n && SameLook(items[i + 1], it, ikDrawTo) && items[i + 1].FillColor == it.FillColor) {
        const TPackedItem &d = items[++i];
        r.AppendF(MapF(d.Layer, d.X1, d.Y1));
    }
    return i;
}

void TCustomKurvo::TItemPainter::PageLine(const TPackedItem &it, TColor col, TPenStyle ps)
{
    r.Flush();
    r.Pen(col, ps);
    r.Brush(it.FillColor, c.Brush.Style);
    const QPoint a = Map(it.Layer, it.X1, it.Y1), b = Map(it.Layer, it.X2, it.Y2);
    if (a == b) { // as on screen: within one pixel, that pixel
        c.SetPixel(a.x(), a.y(), col);
        return;
    }
    const QPointF to = MapF(it.Layer, it.X2, it.Y2);
    c.LineF(MapF(it.Layer, it.X1, it.Y1), to);
    r.PenAt(to);
}

void TCustomKurvo::TItemPainter::PageMoveTo(const TPackedItem &it)
{
    r.Flush();
    const QPointF p = MapF(it.Layer, it.X1, it.Y1);
    r.start = Map(it.Layer, it.X1, it.Y1);
    c.MoveTo(r.start.x(), r.start.y());
    r.fstart = p;
    r.PenAt(p);
}

void TCustomKurvo::TItemPainter::PageMoveRel(const TPackedItem &it)
{
    const QPointF to = Offset(r.count > 0 ? r.fpenBeforeRun : r.PenF(), it.X1, it.Y1);
    r.Flush();
    r.start = to.toPoint();
    c.MoveTo(r.start.x(), r.start.y());
    r.fstart = to;
    r.PenAt(to);
}

void TCustomKurvo::TItemPainter::PageDrawRel(const TPackedItem &it, TColor col, TPenStyle ps)
{
    r.Flush();
    const QPointF from = r.PenF(), to = Offset(from, it.X1, it.Y1);
    c.Pen.Color = col;
    c.Pen.Style = ps;
    c.Brush.Color = it.FillColor;
    c.LineF(from, to);
    c.SetPixel(c.PenPos().x(), c.PenPos().y(), col);
    r.PenAt(to);
}
