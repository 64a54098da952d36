// Mouse interaction of the chart, the handler: its state machine from the
// pointer events to the ranges, the cross-hairs and the dragged labels.
#include "Kesl_kurvo_mouse.h"

#include "Kesl_setting.h"
#include "PixelMath.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool BrokenStyle(TPenStyle s)
{
    return s == psDash || s == psDot || s == psDashDot || s == psDashDotDot;
}

} // namespace

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
    TStoreAlways::StoreEnum(m_action, a, maRotZOnly);
}

TCrossHair *TKurvoMouse::CrossHair(int index) const
{
    return index >= 1 && index <= 4 ? m_cross[std::size_t(index - 1)] : nullptr;
}

bool TKurvoMouse::LayerMouseActive(int layer) const
{
    return KurvoLayer::Valid(layer) && m_active[std::size_t(layer - 1)];
}

QPointF TKurvoMouse::PixelToData(int layer, int px, int py) const
{
    return KurvoMouse::PixelToData(m_site.LayerMap(KurvoLayer::Nearest(layer)), px, py);
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
        // The band lives only on the shown copy: showing the picture again removes
        // it. A left-button band without width or height (which draws nothing)
        // is left alone: nothing at all happens.
        if (button != Qt::LeftButton || (s.x() != c.x() && s.y() != c.y()))
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
    // The band is flipped in the picture's own pixels, a finer ratio's included.
    const qreal ratio = finished.devicePixelRatio();
    const auto pixel = [ratio](QPoint p) { return (QPointF(p) * ratio).toPoint(); };
    if (m_bandDrawn && (m_drawnStart != m_bandStart || m_drawnCorner != m_bandCorner)) {
        KurvoMouse::XorBandOutline(m_bandImage, pixel(m_drawnStart), pixel(m_drawnCorner)); // erase the old band
        m_bandDrawn = false;
    }
    if (!m_bandDrawn) {
        KurvoMouse::XorBandOutline(m_bandImage, pixel(m_bandStart), pixel(m_bandCorner));
        m_drawnStart = m_bandStart;
        m_drawnCorner = m_bandCorner;
        m_bandDrawn = true;
    }
    return m_bandImage;
}

void TKurvoMouse::DrawCrossHairs(TCanvas &cv, int ox, int oy)
{
    if (std::all_of(m_cross.begin(), m_cross.end(), [](const TCrossHair *c) { return c->Mode() == chOff; }))
        return;
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
