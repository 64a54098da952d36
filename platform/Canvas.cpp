#include "Canvas.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cstdlib>

namespace {

QPainter::CompositionMode CopyModeComposition(TCopyMode m)
{
    switch (m) {
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcCopy: break;
    }
    return QPainter::CompositionMode_Source;
}

Qt::PenStyle QtPenStyle(TPenStyle s)
{
    switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    case psSolid:
    case psInsideFrame: break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsSolid: break;
    }
    return Qt::SolidPattern;
}

// Paper: a printer's or a PDF writer's page.
bool OnPaper(const QPaintDevice *device)
{
    return dynamic_cast<const QPagedPaintDevice *>(device) != nullptr;
}

// The surface a one-pixel solid line is walked into.
struct TPixelTarget
{
    std::uint32_t *bits;
    std::ptrdiff_t stride;
    int w, h;
    std::uint32_t colour; // RGB only
    bool xr;

    void Put(std::uint32_t &px) const
    {
        px = xr ? (0xFF000000u | ((px ^ colour) & 0xFFFFFFu)) : (0xFF000000u | colour);
    }
    bool Inside(QPoint p) const { return p.x() >= 0 && p.y() >= 0 && p.x() < w && p.y() < h; }
};

// A pen whose lines the walk below draws exactly.
bool SimpleLinePen(const TPen &pen)
{
    return pen.Width <= 1 && pen.Style == psSolid && (pen.Mode == pmCopy || pen.Mode == pmXor);
}

// The surface of an image canvas (not blank) for a walk with its pen.
TPixelTarget PixelTarget(TCanvas &c)
{
    return {c.ScanLine(0),      c.ScanLineStride(), c.Width(), c.Height(), ColorToQRgb(c.Pen.Color) & 0xFFFFFFu,
            c.Pen.Mode == pmXor};
}

// The one rule for a one-pixel line from a up to, not including, b: with n
// the longer of the two spans (x when they are equal) and d the shorter, the
// line has n pixels, pixel k (0 <= k < n) lies k steps along the longer axis
// and floor((2kd + n) / 2n) steps along the shorter one, the pixel nearest the
// exact line with a tie going towards b. The walk below makes these steps
// with an error term; its pixels on the surface therefore do not depend on
// how far beyond the surface the ends lie.
//
// The part on the surface is a run k0..k1 (a monotone walk enters and leaves
// a rectangle once), found by division and walked from pixel k0 with the
// error term the walk has there. Coordinates come from ints, so spans reach
// 2^32 and their products need 128 bits; the walk itself stays in 64.
using Wide = __int128;

Wide FloorDiv(Wide a, std::int64_t b) // b > 0
{
    const Wide q = a / b;
    return q * b > a ? q - 1 : q;
}

Wide CeilDiv(Wide a, std::int64_t b) // b > 0
{
    return -FloorDiv(-a, b);
}

// The walk's state at a pixel: with dx = |bx - ax| and dy = -|by - ay|, it is
// err = dx + dy + i dy + j dx after i steps along x and j along y.
struct TLineRun
{
    int x, y;
    std::int64_t err, count; // count: pixels from (x, y) on
};

// One axis of the line: it starts at `from` and moves by `sign`; offsets
// Lo()..Hi() along it land on 0 .. extent-1.
struct TAxis
{
    std::int64_t from;
    int sign;
    int extent;

    std::int64_t Lo() const { return sign > 0 ? -from : from - extent + 1; }
    std::int64_t Hi() const { return sign > 0 ? extent - 1 - from : from; }
};

// The part on the surface of the line from a to b, an end off the surface;
// false when none is.
bool ClipLine(const TPixelTarget &t, QPoint a, QPoint b, TLineRun &run)
{
    const std::int64_t dx = std::int64_t(b.x()) - a.x(), dy = std::int64_t(b.y()) - a.y();
    const TAxis ax {a.x(), dx < 0 ? -1 : 1, t.w}, ay {a.y(), dy < 0 ? -1 : 1, t.h};
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const TAxis &maj = xMajor ? ax : ay, &mnr = xMajor ? ay : ax;
    const std::int64_t n = std::max(std::abs(dx), std::abs(dy)), d = std::min(std::abs(dx), std::abs(dy));
    Wide lo = std::max<std::int64_t>(0, maj.Lo()), hi = std::min(n - 1, maj.Hi());
    const std::int64_t mLo = mnr.Lo(), mHi = mnr.Hi();
    if (d == 0) {
        if (mLo > 0 || mHi < 0)
            return false;
    } else {
        // Pixel k is at least mLo along: 2kd + n >= 2n mLo; at most mHi: 2kd + n < 2n (mHi + 1).
        lo = std::max(lo, CeilDiv(Wide(n) * (2 * Wide(mLo) - 1), 2 * d));
        hi = std::min(hi, FloorDiv(Wide(n) * (2 * Wide(mHi) + 1) - 1, 2 * d));
    }
    if (lo > hi)
        return false;
    const std::int64_t k0 = std::int64_t(lo), m0 = std::int64_t(FloorDiv(2 * lo * d + n, 2 * n));
    const std::int64_t i = xMajor ? k0 : m0, j = xMajor ? m0 : k0;
    run.x = int(a.x() + ax.sign * i);
    run.y = int(a.y() + ay.sign * j);
    run.err = std::int64_t(std::abs(dx) - std::abs(dy) - Wide(i) * std::abs(dy) + Wide(j) * std::abs(dx));
    run.count = std::int64_t(hi - lo) + 1;
    return true;
}

// Walks the line from a to b (b left out) where it lies on the surface.
__attribute__((always_inline)) inline void Walk(const TPixelTarget &t, QPoint a, QPoint b)
{
    TLineRun run {a.x(), a.y(), 0, 0};
    const std::int64_t dx = std::abs(std::int64_t(b.x()) - a.x()), dy = -std::abs(std::int64_t(b.y()) - a.y());
    if (t.Inside(a) && t.Inside(b)) {
        run.err = dx + dy;
        run.count = std::max(dx, -dy);
    } else if (!ClipLine(t, a, b, run)) {
        return;
    }
    const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
    int x = run.x, y = run.y;
    std::int64_t err = run.err;
    for (std::int64_t i = run.count; i > 0; --i) {
        t.Put(t.bits[y * t.stride + x]);
        const std::int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

int TFont::PixelSize() const
{
    if (Height < 0)
        return -Height;
    return Height > 0 ? Height : 13;
}

QFont TFont::ToQFont() const
{
    QFont f(Name);
    f.setPixelSize(std::clamp(PixelSize(), 1, 4096));
    f.setBold(Style & fsBold);
    f.setItalic(Style & fsItalic);
    f.setUnderline(Style & fsUnderline);
    f.setStrikeOut(Style & fsStrikeOut);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

TCanvas::TCanvas(QImage *image) : m_image(image) { }

TCanvas::TCanvas(QPaintDevice *page)
    : m_image(&m_noImage), m_page(page), m_paper(OnPaper(page)), m_extent(0, 0, page->width(), page->height())
{
}

TCanvas::TCanvas(QPainter &painter)
    : m_image(&m_noImage),
      m_page(painter.device()),
      m_external(&painter),
      m_paper(OnPaper(painter.device())),
      m_base(painter.worldTransform()),
      m_device(painter.deviceTransform())
{
    const QPaintEngine *engine = painter.paintEngine();
    m_nativeClip = !engine || engine->type() != QPaintEngine::SVG;
    m_rasterPage = engine && engine->type() == QPaintEngine::Raster;
    const QRectF page(0, 0, m_page->width(), m_page->height());
    m_extent = m_device.inverted().mapRect(page).toAlignedRect();
}

TCanvas::~TCanvas() = default;

const QFont &TCanvas::CurrentQFont() const
{
    // The colour plays no part in the Qt font.
    if (!m_qfont || m_fontKey.Name != Font.Name || m_fontKey.Height != Font.Height || m_fontKey.Style != Font.Style) {
        m_fontKey = Font;
        m_qfont = std::make_unique<QFont>(Font.ToQFont());
        m_metrics = std::make_unique<QFontMetrics>(*m_qfont);
    }
    return *m_qfont;
}

const QFontMetrics &TCanvas::CurrentMetrics() const
{
    CurrentQFont();
    return *m_metrics;
}

void TCanvas::Release() const
{
    if (m_external)
        return;
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

QPainter &TCanvas::P() const
{
    if (m_external)
        return *m_external;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(m_page ? m_page : m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    return *m_painter;
}

const QImage &TCanvas::Image() const
{
    Release();
    return *m_image;
}

std::uint32_t *TCanvas::ScanLine(int y)
{
    return reinterpret_cast<std::uint32_t *>(m_image->scanLine(y));
}

void TCanvas::ApplyCompositionForPen(QPainter &p) const
{
    switch (Pen.Mode) {
    case pmXor: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case pmNot: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case pmNotXor: p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case pmCopy: p.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    }
}

QPen TCanvas::QtPen(int &shift) const
{
    shift = -1;
    if (Pen.Style == psClear)
        return QPen(Qt::NoPen);
    QPen pen(ColorToQColor(Pen.Color));
    pen.setStyle(QtPenStyle(Pen.Style));
    if (!DirectPixels() && !m_page) {
        // At a finer pixel ratio a line is a unit wide (square ends close the
        // corners) and runs through the middle of the units it covers at 1:1.
        pen.setWidth(std::max(Pen.Width, 1));
        pen.setCapStyle(Pen.Width <= 1 ? Qt::SquareCap : Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        shift = 1;
    } else if (m_page && Pen.Width <= 1 && !m_rasterPage) {
        // On a page a thin line is a unit wide (a hairline would vanish when
        // zoomed), through the middle of the units it covers, its end left
        // out as on the screen.
        pen.setWidth(1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        shift = 1;
    } else if (Pen.Width <= 1) {
        // A cosmetic flat-capped pen leaves out the end pixel of a line (and
        // breaks it by pixels, as on screen, on an image drawn as a page).
        if (m_page)
            shift = 0;
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        // Thick lines end flat at their end points, so a bar drawn from 0 to y
        // covers exactly that span (and needs no curve for its ends).
        if (m_page)
            shift = 0; // after a thin line
        pen.setWidth(Pen.Width);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// Fills, text and pictures take the units as they are; only lines are moved
// to the middles of the units (at a finer pixel ratio, on a page).
void TCanvas::Shift(QPainter &p, bool half) const
{
    const QTransform t = half ? QTransform::fromTranslate(0.5, 0.5) * m_base : m_base;
    if (p.worldTransform() != t)
        p.setWorldTransform(t);
}

void TCanvas::ApplyPen(QPainter &p) const
{
    int shift;
    const QPen pen = QtPen(shift);
    if (shift >= 0)
        Shift(p, shift == 1);
    p.setPen(pen);
}

QBrush TCanvas::QtBrush() const
{
    return QBrush(ColorToQColor(Brush.Color), QtBrushStyle(Brush.Style));
}

void TCanvas::ApplyBrush(QPainter &p) const
{
    p.setBrush(QtBrush());
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    if (Pen.Style == psClear || Blank() || from == m_penPos)
        return;
    if (m_page) {
        const QPointF ends[2] = {QPointF(from), QPointF(m_penPos)};
        PageLines(ends, 2, false);
        return;
    }
    if (SimpleLinePen(Pen) && DirectPixels()) {
        Walk(PixelTarget(*this), from, m_penPos);
        return;
    }
    QPainter &p = P();
    ApplyPen(p);
    ApplyCompositionForPen(p);
    p.drawLine(from, m_penPos);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polyline(const QPoint *points, int count)
{
    if (count <= 0)
        return;
    if (m_page) {
        // One path on a page, whatever the pen: one element of the page.
        QVector<QPointF> f(count);
        std::copy(points, points + count, f.begin());
        PolylineF(f.constData(), count);
        return;
    }
    const bool simple = SimpleLinePen(Pen);
    if (simple && DirectPixels() && !Blank()) {
        // Segment by segment gives the same pixels for a one-pixel solid pen;
        // the surface is looked up once for the whole line.
        const TPixelTarget t = PixelTarget(*this);
        for (int i = 1; i < count; ++i)
            Walk(t, points[i - 1], points[i]);
        m_penPos = points[count - 1];
        return;
    }
    if (simple || count < 2 || Pen.Style == psClear || Blank()) {
        MoveTo(points[0].x(), points[0].y());
        for (int i = 1; i < count; ++i)
            LineTo(points[i].x(), points[i].y());
        return;
    }
    // One path: a dash pattern runs on across the vertices and thick lines
    // are joined there.
    QPainter &p = P();
    ApplyPen(p);
    ApplyCompositionForPen(p);
    p.drawPolyline(points, count);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_penPos = points[count - 1];
}

void TCanvas::Polygon(const QVector<QPoint> &points)
{
    if (points.size() < 2 || Blank())
        return;
    if (m_page) {
        PagePolygon(points);
        return;
    }
    const bool simplePen = Pen.Width <= 1 && Pen.Style == psSolid && Pen.Mode == pmCopy;
    QPainter &p = P();
    ApplyCompositionForPen(p);
    if (Brush.Style != bsClear) {
        // The painter fills the pixels whose centres lie inside, which puts the
        // fill half a pixel up and left of the outline (the outline runs through
        // the vertex pixels themselves) and leaves holes next to steep edges.
        // Shifted by half a pixel, the fill takes the pixels whose own
        // coordinates lie inside, which is exactly what the outline encloses.
        p.setPen(Qt::NoPen);
        ApplyBrush(p);
        Shift(p, true);
        p.drawPolygon(QPolygon(points));
        Shift(p, false);
    }
    if (!simplePen) {
        ApplyPen(p);
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygon(points));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (simplePen) {
        // A closed walk through every vertex: each vertex starts a segment, so all are set.
        const QPoint keep = m_penPos;
        Polyline(points);
        LineTo(points.front().x(), points.front().y());
        m_penPos = keep;
    }
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x1 == x2 || y1 == y2 || Blank() || Brush.Style == bsClear)
        return;
    const QRect r = QRect(x1, y1, x2 - x1, y2 - y1).intersected(ClipRect());
    if (r.isEmpty())
        return;
    if (Brush.Style == bsSolid && DirectPixels()) {
        // Solid fills are plain stores: exact and cheap.
        const std::uint32_t c = ColorToQRgb(Brush.Color);
        for (int yy = r.top(); yy <= r.bottom(); ++yy)
            std::fill_n(ScanLine(yy) + r.left(), r.width(), c);
        return;
    }
    QPainter &p = P();
    Shift(p, false);
    p.fillRect(r, QtBrush());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x1 == x2 || y1 == y2 || Blank())
        return;
    FillRect(x1, y1, x2, y2);
    if (Pen.Style == psClear)
        return;
    if (m_page) {
        const QPointF ring[4] = {QPointF(x1, y1), QPointF(x2 - 1, y1), QPointF(x2 - 1, y2 - 1), QPointF(x1, y2 - 1)};
        PageLines(ring, 4, true);
        if (x2 - x1 == 1 || y2 - y1 == 1)
            SetPixel(x2 - 1, y2 - 1, Pen.Color);
        return;
    }
    if (x2 - x1 <= 2 || y2 - y1 <= 2 || (Pen.Width <= 1 && Pen.Style == psSolid && Pen.Mode == pmCopy)) {
        // Outline as four closed segments keeps the exclusive-corner rule exact.
        const QPoint keep = m_penPos;
        MoveTo(x1, y1);
        LineTo(x1, y2 - 1);
        LineTo(x2 - 1, y2 - 1);
        LineTo(x2 - 1, y1);
        LineTo(x1, y1);
        if (x2 - x1 == 1 || y2 - y1 == 1)
            SetPixel(x2 - 1, y2 - 1, Pen.Color);
        m_penPos = keep;
        return;
    }
    QPainter &p = P();
    ApplyPen(p);
    p.setBrush(Qt::NoBrush);
    ApplyCompositionForPen(p);
    p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x1 == x2 || y1 == y2 || Blank())
        return;
    if (m_page) {
        PageEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        return;
    }
    QPainter &p = P();
    ApplyPen(p);
    ApplyBrush(p);
    ApplyCompositionForPen(p);
    p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

TColor TCanvas::Pixel(int x, int y) const
{
    const qreal ratio = m_image->devicePixelRatio();
    if (ratio != 1.0 && x >= 0 && y >= 0) {
        x = int(x * ratio);
        y = int(y * ratio);
    }
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height())
        return -1;
    const QRgb v = reinterpret_cast<const QRgb *>(m_image->constScanLine(y))[x];
    return static_cast<TColor>((qBlue(v) << 16) | (qGreen(v) << 8) | qRed(v));
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    if (m_page ? !ClipRect().contains(x, y) : (x < 0 || y < 0 || x >= Width() || y >= Height()))
        return;
    if (!DirectPixels()) {
        Shift(P(), false);
        P().fillRect(x, y, 1, 1, ColorToQColor(c));
        return;
    }
    ScanLine(y)[x] = ColorToQRgb(c);
}

int TCanvas::TextWidth(const QString &text) const
{
    return CurrentMetrics().horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString &text) const
{
    Q_UNUSED(text);
    return CurrentMetrics().height();
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    const QFont &f = CurrentQFont();
    const QFontMetrics &fm = CurrentMetrics();
    const int w = fm.horizontalAdvance(text);
    m_penPos = QPoint(x + w, y);
    if (Blank() || text.isEmpty())
        return;
    if (m_page) {
        PageText(x, y, text);
        return;
    }
    QPainter &p = P();
    Shift(p, false);
    if (m_textClip.isValid())
        p.setClipRect(m_textClip);
    if (Brush.Style != bsClear)
        p.fillRect(QRect(x, y, w, fm.height()), ColorToQColor(Brush.Color));
    p.setFont(f);
    p.setPen(ColorToQColor(Font.Color));
    p.drawText(QPoint(x, y + fm.ascent()), text);
    if (m_textClip.isValid())
        p.setClipping(false);
}

void TCanvas::TextRect(int x1, int y1, int x2, int y2, int x, int y, const QString &text)
{
    const QRect box =
        QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    if (Blank() || box.isEmpty())
        return;
    const QRect keepClip = m_textClip;
    if (Brush.Style != bsClear)
        FillRect(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
    m_textClip = keepClip.isValid() ? keepClip.intersected(box) : box;
    const TBrushStyle keepStyle = Brush.Style;
    Brush.Style = bsClear;
    if (!m_textClip.isEmpty())
        TextOut(x, y, text);
    Brush.Style = keepStyle;
    m_textClip = keepClip;
}

void TCanvas::DrawImage(const QRect &dest, const QImage &src, const QRect &srcRect)
{
    if (Blank() || src.isNull() || dest.isEmpty() || srcRect.isEmpty())
        return;
    QRectF to(dest), from(srcRect);
    if (m_page) {
        // Only the part within the clip, with its part of the source.
        to = to.intersected(ClipRect());
        if (to.isEmpty())
            return;
        const qreal kx = from.width() / dest.width(), ky = from.height() / dest.height();
        from = QRectF(from.x() + (to.x() - dest.x()) * kx, from.y() + (to.y() - dest.y()) * ky, to.width() * kx,
                      to.height() * ky);
    }
    QPainter &p = P();
    Shift(p, false);
    p.setCompositionMode(CopyModeComposition(CopyMode));
    if (m_page)
        p.drawImage(to, src, from);
    else
        p.drawImage(dest, src, srcRect);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Draw(int x, int y, const TBitmap &bmp)
{
    if (bmp.Empty())
        return;
    const QImage &src = bmp.Image();
    DrawImage(QRect(x, y, bmp.Width(), bmp.Height()), src, src.rect());
}

void TCanvas::StretchDraw(int x1, int y1, int x2, int y2, const TBitmap &bmp)
{
    if (bmp.Empty())
        return;
    const QImage &src = bmp.Image();
    DrawImage(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1)),
              src, src.rect());
}

TBitmap::TBitmap() : m_canvas(std::make_unique<TCanvas>(&m_image)) { }

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    m_canvas->Release();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height() && m_image.devicePixelRatio() == m_ratio)
        return;
    m_canvas->Release();
    if (width == 0 || height == 0) {
        m_image = QImage();
        return;
    }
    m_image = QImage(qRound(width * m_ratio), qRound(height * m_ratio), QImage::Format_RGB32);
    m_image.setDevicePixelRatio(m_ratio);
    m_image.fill(Qt::white);
}

void TBitmap::SetPixelRatio(qreal ratio)
{
    ratio = ratio > 0 ? ratio : 1;
    if (ratio == m_ratio)
        return;
    const int width = Width(), height = Height();
    m_ratio = ratio;
    SetSize(width, height);
}

qreal PaintRatio(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    const QPaintDevice *target = engine && engine->paintDevice() ? engine->paintDevice() : painter.device();
    return target ? target->devicePixelRatio() : 1.0;
}

bool TBitmap::LoadFromFile(const QString &fileName)
{
    QImage loaded;
    if (!loaded.load(fileName))
        return false;
    m_canvas->Release();
    m_image = loaded.convertToFormat(QImage::Format_RGB32);
    m_ratio = m_image.devicePixelRatio();
    return true;
}
