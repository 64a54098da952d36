// Mouse interaction of the chart, the arithmetic: ranges from drags and
// bands, the pointer shapes, the band outline and the cross-hair lines.
#include "Kesl_kurvo_mouse.h"

#include "PixelMath.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int ClampSafe(int v, int lo, int hi)
{
    // A data area turned inside out by a resize must not make the clamp undefined.
    if (hi < lo)
        std::swap(lo, hi);
    return std::clamp(v, lo, hi);
}

QCursor MagnifierCursor(TChartPointer p)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter g(&pm);
    g.setRenderHint(QPainter::Antialiasing, false);
    // Handle, then the lens: white glass with a black rim, readable on any background.
    g.setPen(QPen(Qt::black, 4));
    g.drawLine(19, 19, 29, 29);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    g.drawEllipse(1, 1, 20, 20);
    g.setBrush(Qt::NoBrush);
    switch (p) {
    case cpZoomWind: // a window to draw
        g.setPen(QPen(Qt::black, 1, Qt::DotLine));
        g.drawRect(6, 6, 10, 10);
        break;
    case cpZoomWindPos: // a window with a plus: drawn with the axes kept
        g.drawRect(6, 6, 10, 10);
        g.drawLine(9, 11, 13, 11);
        g.drawLine(11, 9, 11, 13);
        break;
    case cpZoomDrag: // arrows out and in
        g.drawLine(5, 11, 17, 11);
        g.drawLine(5, 11, 8, 8);
        g.drawLine(5, 11, 8, 14);
        g.drawLine(17, 11, 14, 8);
        g.drawLine(17, 11, 14, 14);
        break;
    default: break;
    }
    g.end();
    return QCursor(pm, 11, 11);
}

} // namespace

// ---- arithmetic ----

QPointF KurvoMouse::PixelToData(const TLayerMap &map, int px, int py)
{
    return QPointF(PixelMath::PixelToAxis(px, map.kx, map.dx, map.LogX, map.FallbackX),
                   PixelMath::PixelToAxis(py, map.ky, map.dy, map.LogY, map.FallbackY));
}

bool KurvoMouse::RangeAcceptable(const TAxisRange &axis, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return false;
    if (!(std::fabs(low - high) >= axis.MinRange))
        return false;
    return !axis.Logarithmic || (PixelMath::LogEndAccepted(low) && PixelMath::LogEndAccepted(high));
}

std::optional<TRangePair> KurvoMouse::PanAxis(const TRangePair &start, const TAxisRange &current, int shift, int extent)
{
    if (extent <= 0)
        return std::nullopt;
    const long double part = (long double)shift / extent;
    if (!current.Logarithmic) {
        const long double d = ((long double)current.High - current.Low) * part;
        return TRangePair {double(start.Low + d), double(start.High + d)};
    }
    if (!(current.Low > 0) || !(current.High > 0))
        return std::nullopt;
    const long double f = std::exp(std::log((long double)current.High / current.Low) * part);
    return TRangePair {double(start.Low * f), double(start.High * f)};
}

std::optional<TRangePair> KurvoMouse::PanX(const TRangePair &start, const TAxisRange &current, int sx, int X, int w)
{
    const std::int64_t shift = std::int64_t(sx) - X;
    return PanAxis(start, current, PixelMath::SatInt(shift), w);
}

std::optional<TRangePair> KurvoMouse::PanY(const TRangePair &start, const TAxisRange &current, int sy, int Y, int h)
{
    const std::int64_t shift = std::int64_t(Y) - sy;
    return PanAxis(start, current, PixelMath::SatInt(shift), h);
}

KurvoMouse::TZoomFactors KurvoMouse::DragZoomFactors(int sx, int sy, int X, int Y, int Width, int Height,
                                                     bool isometric)
{
    TZoomFactors f;
    if (Width > 0) {
        const double fx = 1.0 - (double(X) - sx) / Width;
        if (fx > 0)
            f.Fx = fx;
    }
    if (isometric) {
        f.Fy = f.Fx;
    } else if (Height > 0) {
        const double fy = 1.0 + (double(Y) - sy) / Height;
        if (fy > 0)
            f.Fy = fy;
    }
    return f;
}

TRangePair KurvoMouse::ZoomAxis(const TRangePair &start, double f)
{
    const long double m = ((long double)start.High + start.Low) / 2;
    const long double half = ((long double)start.High - start.Low) * f / 2;
    return {double(m - half), double(m + half)};
}

QPoint KurvoMouse::BandCorner(const TChartGeometry &g, QPoint start, int X, int Y, bool isometric)
{
    X = ClampSafe(X, g.Left(), g.Right());
    if (isometric) {
        const std::int64_t dx = std::int64_t(X) - start.x();
        const std::int64_t dy = std::int64_t(Y) - start.y();
        const std::int64_t y = dy * dx > 0 ? start.y() + dx : start.y() - dx;
        Y = PixelMath::SatInt(y);
    }
    Y = ClampSafe(Y, g.Top(), g.Bottom());
    return QPoint(X, Y);
}

TRangePair KurvoMouse::FollowAxisDirection(double v1, double v2, const TAxisRange &axis)
{
    if ((v2 < v1 && axis.Low < axis.High) || (v2 > v1 && axis.Low > axis.High))
        std::swap(v1, v2);
    return {v1, v2};
}

TRangePair KurvoMouse::IsometricY(double x1, double x2, double y1, double y2, const TChartGeometry &g, double aspect)
{
    const double wb = g.W() + 1.0, hb = g.H() + 1.0;
    if (wb <= 0 || hb <= 0)
        return {y1, y2};
    const double mid = (y1 + y2) / 2;
    const double half = (x2 - x1) * hb / wb * aspect / 2;
    return {mid - half, mid + half};
}

int KurvoMouse::PickCrossHair(const std::array<TCrossHairSpot, 4> &spots, int X, int Y)
{
    int picked = 1;
    double best = 1.7e308;
    for (int i = 0; i < 4; ++i) {
        const TCrossHairSpot &s = spots[std::size_t(i)];
        if (s.Mode == chVert || s.Mode == chBoth) {
            const double d = double(s.Pixel.x()) - X;
            if (d * d < best) {
                best = d * d;
                picked = i + 1;
            }
        }
        if (s.Mode == chHoriz || s.Mode == chBoth) {
            const double d = double(s.Pixel.y()) - Y;
            if (d * d < best) {
                best = d * d;
                picked = i + 1;
            }
        }
    }
    return picked;
}

QPoint KurvoMouse::TextLabelAnchor(TTxtLblAttachMode mode, double posX, double posY, QPoint mapped)
{
    const bool dataX = mode == tlamXOnly || mode == tlamBoth;
    const bool dataY = mode == tlamYOnly || mode == tlamBoth;
    return QPoint(dataX ? mapped.x() : PixelMath::RoundSat(posX), dataY ? mapped.y() : PixelMath::RoundSat(posY));
}

QPointF KurvoMouse::TextLabelDragPos(TTxtLblAttachMode mode, int X, int Y, QPointF data)
{
    const bool dataX = mode == tlamXOnly || mode == tlamBoth;
    const bool dataY = mode == tlamYOnly || mode == tlamBoth;
    return QPointF(dataX ? data.x() : X, dataY ? data.y() : Y);
}

TChartPointer KurvoMouse::PointerFor(TMouseActMode action, bool inside, bool cursorFixed)
{
    if (!inside || cursorFixed)
        return cpDefault;
    switch (action) {
    case maNone: return cpCross;
    case maPan:
    case maPanHoriz:
    case maPanVert: return cpHand;
    case maZoomWind: return cpZoomWind;
    case maZoomDrag: return cpZoomDrag;
    case maZoomWindPos: return cpZoomWindPos;
    case maRubberBand:
    case maDragCrossH:
    case maDragLabel: return cpDefault;
    default: return cpUnchanged;
    }
}

bool KurvoMouse::IsPan(TMouseActMode a)
{
    return a == maPan || a == maPanHoriz || a == maPanVert;
}

bool KurvoMouse::IsBand(TMouseActMode a)
{
    return a == maRubberBand || a == maZoomWind || a == maZoomWindPos;
}

KurvoMouse::TCrossHairLines KurvoMouse::CrossHairLines(const TChartGeometry &g, TCrossHMode mode, QPoint pixel,
                                                       int lineWid, int ox, int oy)
{
    TCrossHairLines lines;
    const std::int64_t hw = std::max(lineWid, 1) / 2;
    const std::int64_t px = pixel.x(), py = pixel.y();
    if ((mode == chHoriz || mode == chBoth) && g.Top() + hw < py && py < g.Bottom() - hw) {
        const int y = int(py - oy);
        lines.Horiz = TCrossHairSegment {QPoint(int(g.Left() + hw + 1 - ox), y), QPoint(int(g.Right() - hw - ox), y)};
    }
    if ((mode == chVert || mode == chBoth) && g.Left() + hw < px && px < g.Right() - hw) {
        const int x = int(px - ox);
        lines.Vert = TCrossHairSegment {QPoint(x, int(g.Top() + hw + 1 - oy)), QPoint(x, int(g.Bottom() - hw - oy))};
    }
    return lines;
}

void KurvoMouse::XorBandOutline(QImage &image, QPoint start, QPoint corner)
{
    const int x1 = std::min(start.x(), corner.x()), x2 = std::max(start.x(), corner.x());
    const int y1 = std::min(start.y(), corner.y()), y2 = std::max(start.y(), corner.y());
    if (x1 == x2 || y1 == y2 || image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const auto flip = [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<std::uint32_t *>(image.scanLine(y))[x] ^= 0x00FFFFFFu;
    };
    const int right = x2 - 1, bottom = y2 - 1;
    const int fromX = std::max(x1, 0), toX = std::min(right, w - 1);
    for (int x = fromX; x <= toX; ++x) {
        flip(x, y1);
        if (bottom != y1)
            flip(x, bottom);
    }
    const int fromY = std::max(y1 + 1, 0), toY = std::min(bottom - 1, h - 1);
    for (int y = fromY; y <= toY; ++y) {
        flip(x1, y);
        if (right != x1)
            flip(right, y);
    }
}

QCursor KurvoMouse::CursorFor(TChartPointer p)
{
    switch (p) {
    case cpCross: return QCursor(Qt::CrossCursor);
    case cpHand: return QCursor(Qt::OpenHandCursor);
    case cpZoomWind:
    case cpZoomDrag:
    case cpZoomWindPos: return MagnifierCursor(p);
    case cpDefault:
    case cpUnchanged: break;
    }
    return QCursor(Qt::ArrowCursor);
}
