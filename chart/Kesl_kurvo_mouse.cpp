// Mouse interaction of the chart: the range arithmetic, the pointer shapes,
// the band outline and the cross-hair lines, and the handler's state machine.
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

bool BrokenStyle(TPenStyle s)
{
    return s == psDash || s == psDot || s == psDashDot || s == psDashDotDot;
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
    return !axis.Logarithmic || (low >= PixelMath::kLogFloor && high >= PixelMath::kLogFloor);
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

// ---- the handler ----

TKurvoMouse::TKurvoMouse(TKurvoMouseSite &site, QObject *sender) : m_site(site), m_sender(sender)
{
    m_active[0] = true; // only layer 1 follows the mouse
    for (int i = 0; i < 4; ++i) {
        auto *c = new TCrossHair(sender);
        c->setObjectName(QStringLiteral("CrossHair%1").arg(i + 1));
        c->SetPosX(0);
        c->SetPosY(0);
        c->SetLayer(i + 1);
        c->SetColor(clBlack);
        c->SetMode(chOff);
        c->SetLineType(psSolid);
        c->SetLineWid(1);
        c->OnChange = [this](QObject *) { m_site.SettingChanged(); };
        m_cross[std::size_t(i)] = c;
    }
    if (QWidget *w = m_site.MouseWidget())
        w->setMouseTracking(true);
}

TKurvoMouse::~TKurvoMouse()
{
    for (TCrossHair *c : m_cross) {
        c->OnChange = nullptr;
        if (!c->parent())
            delete c;
    }
}

void TKurvoMouse::SetMouseAction(TMouseActMode a)
{
    m_action = (a >= maNone && a <= maRotZOnly) ? a : maNone;
}

TCrossHair *TKurvoMouse::CrossHair(int index) const
{
    return index >= 1 && index <= 4 ? m_cross[std::size_t(index - 1)] : nullptr;
}

bool TKurvoMouse::LayerMouseActive(int layer) const
{
    return layer >= 1 && layer <= KurvoMouse::kLayers && m_active[std::size_t(layer - 1)];
}

QPointF TKurvoMouse::PixelToData(int layer, int px, int py) const
{
    return KurvoMouse::PixelToData(m_site.LayerMap(std::clamp(layer, 1, KurvoMouse::kLayers)), px, py);
}

void TKurvoMouse::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(m_sender);
}

void TKurvoMouse::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(m_sender);
}

bool TKurvoMouse::ConsumeDoubleClick()
{
    if (!m_doubleClick)
        return false;
    m_doubleClick = false;
    return true;
}

void TKurvoMouse::MouseDown(Qt::MouseButton button, TMouseShift, int X, int Y)
{
    if (KurvoMouse::IsBand(m_action) && !m_bandActive && button == Qt::LeftButton && m_site.Geometry().Inside(X, Y)) {
        m_bandActive = true;
        m_bandStart = m_bandCorner = QPoint(X, Y);
    }
}

void TKurvoMouse::MouseMove(TMouseShift shift, int X, int Y)
{
    const TChartGeometry g = m_site.Geometry();
    const bool inside = g.Inside(X, Y);
    if (!shift.LeftHeld())
        m_drag = false;
    switch (m_action) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maZoomDrag:
        if (!shift.LeftHeld())
            break;
        if (!m_drag)
            RecordDragStart(X, Y);
        else if (inside && m_action == maZoomDrag)
            DragZoom(X, Y);
        else if (inside)
            Pan(X, Y);
        break;
    case maRubberBand:
    case maZoomWind:
    case maZoomWindPos:
        if (m_bandActive)
            MoveBand(X, Y);
        break;
    case maDragCrossH:
        if (!shift.LeftHeld())
            break;
        if (!m_drag)
            GrabCrossHair(X, Y);
        else
            MoveCrossHair(X, Y);
        break;
    case maDragLabel:
        if (!shift.LeftHeld())
            break;
        if (!m_drag)
            GrabTextLabel(X, Y);
        else
            MoveTextLabel(X, Y);
        break;
    default: break;
    }
    const QPointF pos = KurvoMouse::PixelToData(m_site.LayerMap(m_site.DrawingLayer()), X, Y);
    SetPointer(KurvoMouse::PointerFor(m_action, inside, m_cursorFixed));
    if (OnMouseMoveInChart)
        OnMouseMoveInChart(m_sender, inside, shift, pos.x(), pos.y());
}

void TKurvoMouse::MouseUp(Qt::MouseButton button, TMouseShift, int X, int Y)
{
    Q_UNUSED(X);
    Q_UNUSED(Y);
    if (KurvoMouse::IsBand(m_action) && m_bandActive) {
        m_bandActive = false;
        const QPoint s = m_bandStart, c = m_bandCorner;
        if (button == Qt::LeftButton && s.x() != c.x() && s.y() != c.y()) {
            const bool saved = m_site.IsPaintSuppressed();
            m_site.SuppressPaint(true);
            const TChartGeometry g = m_site.Geometry();
            for (int l = 1; l <= KurvoMouse::kLayers; ++l) {
                if (!LayerMouseActive(l))
                    continue;
                const TLayerMap map = m_site.LayerMap(l);
                const QPointF p1 = KurvoMouse::PixelToData(map, s.x(), s.y());
                const QPointF p2 = KurvoMouse::PixelToData(map, c.x(), c.y());
                TRangePair x {p1.x(), p2.x()}, y {p1.y(), p2.y()};
                if (m_action != maZoomWind) {
                    x = KurvoMouse::FollowAxisDirection(x.Low, x.High, m_site.AxisX(l));
                    y = KurvoMouse::FollowAxisDirection(y.Low, y.High, m_site.AxisY(l));
                }
                if (m_site.IsIsometric())
                    y = KurvoMouse::IsometricY(x.Low, x.High, y.Low, y.High, g, m_site.PixelAspect());
                if (m_action == maRubberBand) {
                    if (OnRubberBand)
                        OnRubberBand(m_sender, l, x.Low, y.Low, x.High, y.High);
                } else {
                    ApplyAxes(l, x, y, true);
                }
            }
            if (OnZoomPan)
                OnZoomPan(m_sender);
            m_site.SuppressPaint(saved);
        }
        // The band lives only on the shown copy: showing the picture again removes it.
        InvalidateBand();
    }
    if (KurvoMouse::IsPan(m_action) || m_action == maZoomDrag)
        m_site.RecordRangeHistory();
}

void TKurvoMouse::RecordDragStart(int X, int Y)
{
    m_drag = true;
    m_dragStart = QPoint(X, Y);
    for (int l = 1; l <= KurvoMouse::kLayers; ++l) {
        const TAxisRange ax = m_site.AxisX(l), ay = m_site.AxisY(l);
        m_startRanges[std::size_t(l - 1)] = TDragStart {{ax.Low, ax.High}, {ay.Low, ay.High}};
    }
}

void TKurvoMouse::ApplyAxes(int layer, const std::optional<TRangePair> &x, const std::optional<TRangePair> &y,
                            bool history)
{
    const TAxisRange ax = m_site.AxisX(layer), ay = m_site.AxisY(layer);
    TRangePair nx {ax.Low, ax.High}, ny {ay.Low, ay.High};
    if (x && KurvoMouse::RangeAcceptable(ax, x->Low, x->High))
        nx = *x;
    if (y && KurvoMouse::RangeAcceptable(ay, y->Low, y->High))
        ny = *y;
    m_site.ApplyMouseRange(layer, nx.Low, ny.Low, nx.High, ny.High, history);
}

void TKurvoMouse::Pan(int X, int Y)
{
    const TChartGeometry g = m_site.Geometry();
    const bool saved = m_site.IsPaintSuppressed();
    m_site.SuppressPaint(true);
    for (int l = 1; l <= KurvoMouse::kLayers; ++l) {
        if (!LayerMouseActive(l))
            continue;
        const TDragStart &st = m_startRanges[std::size_t(l - 1)];
        std::optional<TRangePair> nx, ny;
        if (m_action != maPanVert)
            nx = KurvoMouse::PanX(st.X, m_site.AxisX(l), m_dragStart.x(), X, g.W());
        if (m_action != maPanHoriz)
            ny = KurvoMouse::PanY(st.Y, m_site.AxisY(l), m_dragStart.y(), Y, g.H());
        ApplyAxes(l, nx, ny, false);
    }
    m_site.SuppressPaint(saved);
    if (OnZoomPan)
        OnZoomPan(m_sender);
}

void TKurvoMouse::DragZoom(int X, int Y)
{
    const TChartGeometry g = m_site.Geometry();
    const KurvoMouse::TZoomFactors f =
        KurvoMouse::DragZoomFactors(m_dragStart.x(), m_dragStart.y(), X, Y, g.Width, g.Height, m_site.IsIsometric());
    const bool saved = m_site.IsPaintSuppressed();
    m_site.SuppressPaint(true);
    for (int l = 1; l <= KurvoMouse::kLayers; ++l) {
        if (!LayerMouseActive(l))
            continue;
        const TDragStart &st = m_startRanges[std::size_t(l - 1)];
        std::optional<TRangePair> nx, ny;
        if (f.Fx)
            nx = KurvoMouse::ZoomAxis(st.X, *f.Fx);
        if (f.Fy)
            ny = KurvoMouse::ZoomAxis(st.Y, *f.Fy);
        ApplyAxes(l, nx, ny, false);
    }
    m_site.SuppressPaint(saved);
    if (OnZoomPan)
        OnZoomPan(m_sender);
}

void TKurvoMouse::GrabCrossHair(int X, int Y)
{
    RecordDragStart(X, Y);
    std::array<TCrossHairSpot, 4> spots;
    for (std::size_t i = 0; i < 4; ++i) {
        const TCrossHair *c = m_cross[i];
        spots[i] = {c->Mode(), m_site.MapToPixel(c->Layer(), c->PosX(), c->PosY())};
    }
    m_grabbedCross = KurvoMouse::PickCrossHair(spots, X, Y);
}

void TKurvoMouse::MoveCrossHair(int X, int Y)
{
    TCrossHair *c = CrossHair(m_grabbedCross);
    if (!c)
        return;
    const QPointF p = KurvoMouse::PixelToData(m_site.LayerMap(c->Layer()), X, Y);
    // One repaint for both coordinates, not one per setter.
    const bool saved = m_site.IsPaintSuppressed();
    m_site.SuppressPaint(true);
    c->SetPosX(p.x());
    c->SetPosY(p.y());
    m_site.SuppressPaint(saved);
    if (OnCrossHairMove)
        OnCrossHairMove(m_sender, c);
}

void TKurvoMouse::GrabTextLabel(int X, int Y)
{
    RecordDragStart(X, Y);
    constexpr std::size_t kMaxLabels = 30;
    std::array<TTextLabelSpot, kMaxLabels> spots {};
    const int n = std::min<int>(m_site.TextLabelCount(), int(kMaxLabels));
    for (int i = 1; i <= n; ++i) {
        const TCustomTextLabel *t = m_site.MouseTextLabel(i);
        if (!t)
            continue;
        TTextLabelSpot &s = spots[std::size_t(i - 1)];
        s.Counts = t->Mode() != tlOff && t->Visible();
        s.Anchor = KurvoMouse::TextLabelAnchor(t->AttachToData(), t->PosX(), t->PosY(),
                                               m_site.MapToPixel(t->Layer(), t->PosX(), t->PosY()));
    }
    m_grabbedLabel = KurvoMouse::PickTextLabel(spots, X, Y);
}

void TKurvoMouse::MoveTextLabel(int X, int Y)
{
    TCustomTextLabel *t = m_site.MouseTextLabel(m_grabbedLabel);
    if (!t)
        return;
    const QPointF data = KurvoMouse::PixelToData(m_site.LayerMap(t->Layer()), X, Y);
    const QPointF p = KurvoMouse::TextLabelDragPos(t->AttachToData(), X, Y, data);
    const bool saved = m_site.IsPaintSuppressed();
    m_site.SuppressPaint(true);
    t->SetPosX(p.x());
    t->SetPosY(p.y());
    m_site.SuppressPaint(saved);
    if (OnTextLabelMove)
        OnTextLabelMove(m_sender, t);
}

void TKurvoMouse::MoveBand(int X, int Y)
{
    const QPoint corner = KurvoMouse::BandCorner(m_site.Geometry(), m_bandStart, X, Y, m_site.IsIsometric());
    if (corner == m_bandCorner)
        return;
    InvalidateBand(); // where the old band was
    m_bandCorner = corner;
    InvalidateBand(); // where the new one goes
}

void TKurvoMouse::InvalidateBand()
{
    QWidget *w = m_site.MouseWidget();
    if (!w)
        return;
    const QRect r = QRect(m_bandStart, m_bandCorner).normalized().adjusted(-1, -1, 1, 1);
    w->update(r);
    if (m_bandDrawn && (m_drawnStart != m_bandStart || m_drawnCorner != m_bandCorner))
        w->update(QRect(m_drawnStart, m_drawnCorner).normalized().adjusted(-1, -1, 1, 1));
}

void TKurvoMouse::SetPointer(TChartPointer p)
{
    if (p == cpUnchanged || p == m_pointer)
        return;
    m_pointer = p;
    if (QWidget *w = m_site.MouseWidget())
        w->setCursor(KurvoMouse::CursorFor(p));
}

const QImage &TKurvoMouse::ShownPicture(const QImage &finished)
{
    if (!m_bandActive) {
        if (!m_bandImage.isNull())
            m_bandImage = QImage();
        m_bandDrawn = false;
        return finished;
    }
    if (m_bandImage.isNull() || m_bandSourceKey != finished.cacheKey() || m_bandImage.size() != finished.size()) {
        // A new finished picture: start the band copy afresh.
        m_bandImage = finished.convertToFormat(QImage::Format_RGB32);
        m_bandImage.detach();
        m_bandSourceKey = finished.cacheKey();
        m_bandDrawn = false;
    }
    if (m_bandDrawn && (m_drawnStart != m_bandStart || m_drawnCorner != m_bandCorner)) {
        KurvoMouse::XorBandOutline(m_bandImage, m_drawnStart, m_drawnCorner); // erase the old band
        m_bandDrawn = false;
    }
    if (!m_bandDrawn) {
        KurvoMouse::XorBandOutline(m_bandImage, m_bandStart, m_bandCorner);
        m_drawnStart = m_bandStart;
        m_drawnCorner = m_bandCorner;
        m_bandDrawn = true;
    }
    return m_bandImage;
}

void TKurvoMouse::DrawCrossHairs(TBitmap &bmp, int ox, int oy)
{
    if (std::all_of(m_cross.begin(), m_cross.end(), [](const TCrossHair *c) { return c->Mode() == chOff; }))
        return;
    TCanvas &cv = bmp.Canvas();
    const TPen savedPen = cv.Pen;
    const TBrush savedBrush = cv.Brush;
    const TChartGeometry g = m_site.Geometry();
    for (const TCrossHair *c : m_cross) {
        if (c->Mode() == chOff)
            continue;
        const QPoint p = m_site.MapToPixel(c->Layer(), c->PosX(), c->PosY());
        const int wid = std::max(c->LineWid(), 1);
        const KurvoMouse::TCrossHairLines lines = KurvoMouse::CrossHairLines(g, c->Mode(), p, wid, ox, oy);
        cv.Brush.Color = m_site.DataAreaColor();
        cv.Brush.Style = bsSolid;
        cv.Pen.Mode = pmCopy;
        cv.Pen.Width = wid;
        for (const auto &seg : {lines.Horiz, lines.Vert}) {
            if (!seg || c->LineType() == psClear)
                continue;
            if (BrokenStyle(c->LineType())) {
                // The gaps of a broken line show the data-area colour.
                cv.Pen.Color = m_site.DataAreaColor();
                cv.Pen.Style = psSolid;
                cv.MoveTo(seg->From.x(), seg->From.y());
                cv.LineTo(seg->To.x(), seg->To.y());
            }
            cv.Pen.Color = c->Color();
            cv.Pen.Style = c->LineType();
            cv.MoveTo(seg->From.x(), seg->From.y());
            cv.LineTo(seg->To.x(), seg->To.y());
        }
    }
    cv.Pen = savedPen;
    cv.Brush = savedBrush;
}
