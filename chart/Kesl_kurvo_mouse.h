#pragma once

/// @file
/// Mouse interaction of the chart: panning, zooming, rubber bands, dragging of
/// cross-hairs and text labels, the pointer shapes and the cross-hair overlay.
///
/// The arithmetic lives in free functions (KurvoMouse::...) that need no widget;
/// TKurvoMouse keeps the mouse state and drives a chart through the narrow
/// TKurvoMouseSite interface, so it can be tested against a stand-in chart.

#include "Canvas.h"
#include "Colors.h"
#include "Component.h"
#include "Kesl_kurvo_labels.h"
#include "Kesl_kurvo_types.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <array>
#include <functional>
#include <optional>

class QCursor;
class QPainter;
class QWidget;

/// What a drag with the left mouse button does. maZoom and the rotation modes
/// belong to three-dimensional charts; this chart ignores them. Any int is a
/// valid value (a stored form may hold one out of range; it acts as maNone).
enum TMouseActMode : int {
    maNone,
    maPan,
    maPanHoriz,
    maPanVert,
    maRubberBand,
    maZoom,
    maZoomWind,
    maZoomWindPos,
    maZoomDrag,
    maDragCrossH,
    maDragLabel,
    maRotate,
    maRotAndZoom,
    maRotXOnly,
    maRotZOnly
};

/// Pointer shown over the data area. The numbered shapes are the chart's own:
/// 1 hand (pan), 2 window zoom, 3 drag zoom, 4 window zoom keeping direction.
enum TChartPointer { cpUnchanged, cpDefault, cpCross, cpHand, cpZoomWind, cpZoomDrag, cpZoomWindPos };

/// Keyboard modifiers and the mouse buttons held during a pointer event.
struct TMouseShift
{
    /// Modifier keys held.
    Qt::KeyboardModifiers Keys = Qt::NoModifier;
    /// Mouse buttons held.
    Qt::MouseButtons Buttons = Qt::NoButton;
    /// Whether the left button is held.
    bool LeftHeld() const { return Buttons.testFlag(Qt::LeftButton); }
};

/// @cond INTERNAL
// The mouse arithmetic and the chart's side of it: used by the chart itself,
// not by a program that uses the chart.

/// One axis of a layer as far as the mouse needs it.
struct TAxisRange
{
    double Low = 0, High = 1;
    bool Logarithmic = false;
    double MinRange = 1e-10;
};

/// A proposed (low, high) pair for one axis.
struct TRangePair
{
    double Low = 0, High = 0;
    bool operator==(const TRangePair &) const = default;
};

/// The transform of one layer (kx, dx, ky, dy) with the axis kinds. FallbackX/Y
/// are returned by PixelToData when an axis has no extent (zero factor).
struct TLayerMap
{
    long double kx = 0, dx = 0, ky = 0, dy = 0;
    bool LogX = false, LogY = false;
    double FallbackX = 0, FallbackY = 0;
};

/// What the grab of a cross-hair looks at.
struct TCrossHairSpot
{
    TCrossHMode Mode = chOff;
    QPoint Pixel; // DataToPixel of its layer at (PosX, PosY)
};

/// What the grab of a text label looks at.
struct TTextLabelSpot
{
    bool Counts = false; // Mode is not tlOff and the label is visible
    QPoint Anchor;
};

/// A horizontal or vertical segment to draw; the end point is left out.
struct TCrossHairSegment
{
    QPoint From, To;
};

namespace KurvoMouse {

constexpr int kLayers = kKurvoLayers;

/// Inverse of the chart's DataToPixel for one layer. Results saturate to the
/// finite doubles, and an axis without extent gives its fallback value.
QPointF PixelToData(const TLayerMap &map, int px, int py);

/// Whether the chart would take this range for the axis as a whole: both ends
/// finite, at least MinRange apart and, on a logarithmic axis, both at or above
/// the log floor. The mouse leaves an axis alone otherwise, so a pan or zoom
/// never stores half a range.
bool RangeAcceptable(const TAxisRange &axis, double low, double high);

/// The range a pan gives an axis. start is the range when the drag began, the
/// current range supplies the scale; shift is the drag in pixels in data
/// direction (-(X - sx) for x, (Y - sy) for y) and extent the data-area size.
/// Empty when the axis cannot be panned (no extent, unusable log range).
std::optional<TRangePair> PanAxis(const TRangePair &start, const TAxisRange &current, int shift, int extent);
std::optional<TRangePair> PanX(const TRangePair &start, const TAxisRange &current, int sx, int X, int w);
std::optional<TRangePair> PanY(const TRangePair &start, const TAxisRange &current, int sy, int Y, int h);

/// Drag zoom factors: fx = 1 - (X - sx) / Width, fy = fx when isometric, else
/// 1 + (Y - sy) / Height. A factor is empty when it would not be positive
/// (that would turn the axis over) or the control has no size.
struct TZoomFactors
{
    std::optional<double> Fx, Fy;
};
TZoomFactors DragZoomFactors(int sx, int sy, int X, int Y, int Width, int Height, bool isometric);

/// The start range scaled by f around its centre; the direction is kept.
TRangePair ZoomAxis(const TRangePair &start, double f);

/// The band's corner after clamping to the data area (square when isometric).
QPoint BandCorner(const TChartGeometry &g, QPoint start, int X, int Y, bool isometric);

/// Orders a dragged pair like the axis (low below high when the axis rises).
TRangePair FollowAxisDirection(double v1, double v2, const TAxisRange &axis);

/// Replaces a band's y pair by one centred on it whose height keeps the
/// isometric proportion of the x pair (aspect = ASPECTY / ASPECTX).
TRangePair IsometricY(double x1, double x2, double y1, double y2, const TChartGeometry &g, double aspect);

/// Index 1..4 of the cross-hair nearest to (X, Y) by its lines; 1 when none shows.
int PickCrossHair(const std::array<TCrossHairSpot, 4> &spots, int X, int Y);

/// Index (1-based) of the counting label nearest to (X, Y); 1 when none counts.
template<std::size_t N> int PickTextLabel(const std::array<TTextLabelSpot, N> &spots, int X, int Y);

/// The anchor pixel of a text label: its pixel coordinates rounded, its chart
/// coordinates mapped (mapped = DataToPixel of its layer at (PosX, PosY)).
QPoint TextLabelAnchor(TTxtLblAttachMode mode, double posX, double posY, QPoint mapped);

/// The new (PosX, PosY) of a dragged label: pixel (X, Y) for pixel coordinates,
/// data (x, y) for chart coordinates.
QPointF TextLabelDragPos(TTxtLblAttachMode mode, int X, int Y, QPointF data);

/// Pointer over the control for an action.
TChartPointer PointerFor(TMouseActMode action, bool inside, bool cursorFixed);

/// Whether a mouse action pans (and the axes it pans).
bool IsPan(TMouseActMode a);
bool IsBand(TMouseActMode a);

/// The lines of one cross-hair in bitmap coordinates (offset ox, oy), each
/// only when it keeps half its width off the data-area border.
struct TCrossHairLines
{
    std::optional<TCrossHairSegment> Horiz, Vert;
};
TCrossHairLines CrossHairLines(const TChartGeometry &g, TCrossHMode mode, QPoint pixel, int lineWid, int ox, int oy);

/// Inverts (XOR with white) the outline of the band from start to corner, with
/// exclusive right and bottom edges, each pixel once; clipped to the image.
void XorBandOutline(QImage &image, QPoint start, QPoint corner);

/// The cursor of a pointer shape (the numbered shapes are drawn here).
QCursor CursorFor(TChartPointer p);

} // namespace KurvoMouse

/// What the mouse handler needs from its chart.
class TKurvoMouseSite
{
public:
    virtual ~TKurvoMouseSite() = default;

    virtual QWidget *MouseWidget() = 0;
    virtual TChartGeometry Geometry() const = 0;
    virtual TAxisRange AxisX(int layer) const = 0;
    virtual TAxisRange AxisY(int layer) const = 0;
    virtual TLayerMap LayerMap(int layer) const = 0;
    virtual QPoint MapToPixel(int layer, double x, double y) const = 0;
    /// The joint propagation and range store of a range setting, with history
    /// recording on or off.
    virtual void ApplyMouseRange(int layer, double XLow, double YLow, double XHigh, double YHigh, bool history) = 0;
    virtual void RecordRangeHistory() = 0;
    virtual bool IsPaintSuppressed() const = 0;
    virtual void SuppressPaint(bool v) = 0; // false repaints once when it was true
    virtual void Repaint() = 0; // compose the picture now and show it
    virtual void SettingChanged() = 0; // repaint when the chart redraws automatically
    virtual bool IsIsometric() const = 0;
    virtual double PixelAspect() const = 0; // ASPECTY / ASPECTX
    virtual int DrawingLayer() const = 0;
    virtual TColor DataAreaColor() const = 0;
    virtual TCustomTextLabel *MouseTextLabel(int index) const = 0; // 1..TextLabelCount()
    virtual int TextLabelCount() const = 0;
};
/// @endcond

/// The mouse state of one chart, its four cross-hairs and its events (a
/// chart's Mouse()).
class TKurvoMouse
{
public:
    /// The pointer moved: whether it is over the data area, the modifiers and
    /// buttons, and its position in chart coordinates of the drawing layer.
    using TMouseMoveInChartEvent =
        std::function<void(QObject *Sender, bool InChart, TMouseShift Shift, double rMousePosX, double rMousePosY)>;
    /// A rubber band was drawn on Layer: its corners in chart coordinates.
    using TRubberBandEvent =
        std::function<void(QObject *Sender, int Layer, double LoX, double LoY, double HiX, double HiY)>;
    /// A pan or zoom by the mouse changed ranges.
    using TZoomPanEvent = std::function<void(QObject *Sender)>;
    /// A cross-hair was dragged to a new place.
    using TCrossHairMoveEvent = std::function<void(QObject *Sender, TCrossHair *WhichCrossHair)>;
    /// A text label was dragged to a new place.
    using TTextLabelMoveEvent = std::function<void(QObject *Sender, TCustomTextLabel *WhichTextLabel)>;

    /// sender is passed to the events; the cross-hairs become its children.
    /// The site's widget gets mouse tracking: every move is reported, also
    /// without a button held.
    TKurvoMouse(TKurvoMouseSite &site, QObject *sender);
    /// Unbinds the cross-hairs; those without a parent are freed.
    ~TKurvoMouse();
    TKurvoMouse(const TKurvoMouse &) = delete;
    TKurvoMouse &operator=(const TKurvoMouse &) = delete;

    /// What a drag with the left button does (default maNone).
    TMouseActMode MouseAction() const { return m_action; }
    /// Values outside the enumeration are taken as maNone.
    void SetMouseAction(TMouseActMode a);
    /// Whether the pointer keeps its shape whatever the action (default true).
    bool MouseCursorFixed() const { return m_cursorFixed; }
    /// Sets MouseCursorFixed().
    void SetMouseCursorFixed(bool v) { m_cursorFixed = v; }
    /// Cross-hair 1..4; nullptr for another index.
    TCrossHair *CrossHair(int index) const; // 1..4, nullptr outside
    /// Whether pans and zooms by the mouse act on layer 1..16.
    bool LayerMouseActive(int layer) const;
    /// The chart coordinates of a pixel on a layer: the inverse of DataToPixel.
    QPointF PixelToData(int layer, int px, int py) const;

    /// Pointer events, each after the platform's own handling. A down or up
    /// event that follows a double click is swallowed: call ConsumeDoubleClick
    /// first and skip the platform's handling and the event when it says so.
    bool ConsumeDoubleClick();
    /// Notes a double click, so that the next down and up events are swallowed.
    void DoubleClick() { m_doubleClick = true; }
    /// The pointer entered or left the control (after the platform's handling).
    void MouseEnter();
    /// The pointer left the control.
    void MouseLeave();
    /// A button went down at (X, Y), in pixels of the control.
    void MouseDown(Qt::MouseButton button, TMouseShift shift, int X, int Y);
    /// The pointer moved to (X, Y).
    void MouseMove(TMouseShift shift, int X, int Y);
    /// A button was released at (X, Y).
    void MouseUp(Qt::MouseButton button, TMouseShift shift, int X, int Y);

    /// Draws the visible cross-hairs into a finished picture.
    void DrawCrossHairs(TBitmap &bmp, int ox, int oy) { DrawCrossHairs(bmp.Canvas(), ox, oy); }
    /// Draws the visible cross-hairs onto a canvas, a page's among them.
    void DrawCrossHairs(TCanvas &canvas, int ox, int oy);
    /// The picture to show: the finished one, or a copy of it carrying the band.
    const QImage &ShownPicture(const QImage &finished);

    /// Whether a rubber band is being drawn.
    bool BandActive() const { return m_bandActive; }
    /// Where the band began, in pixels.
    QPoint BandStart() const { return m_bandStart; }
    /// The band's moving corner, in pixels.
    QPoint BandCorner() const { return m_bandCorner; }
    /// Whether a drag is under way.
    bool Dragging() const { return m_drag; }
    /// The cross-hair 1..4 a drag moves (or moved last).
    int GrabbedCrossHair() const { return m_grabbedCross; }
    /// The text label a drag moves (or moved last), from 1.
    int GrabbedTextLabel() const { return m_grabbedLabel; }
    /// The pointer shape set last.
    TChartPointer LastPointer() const { return m_pointer; }

    /// Raised on every pointer move over the control.
    TMouseMoveInChartEvent OnMouseMoveInChart;
    /// Raised when a rubber band is released.
    TRubberBandEvent OnRubberBand;
    /// Raised after a pan or zoom changed ranges.
    TZoomPanEvent OnZoomPan;
    /// Raised while a cross-hair is dragged.
    TCrossHairMoveEvent OnCrossHairMove;
    /// Raised while a text label is dragged.
    TTextLabelMoveEvent OnTextLabelMove;
    /// Raised when the pointer enters the control.
    TNotifyEvent OnMouseEnter;
    /// Raised when the pointer leaves the control.
    TNotifyEvent OnMouseLeave;

private:
    struct TDragStart
    {
        TRangePair X, Y;
    };

    void RecordDragStart(int X, int Y);
    void Pan(int X, int Y);
    void DragZoom(int X, int Y);
    void GrabCrossHair(int X, int Y);
    void MoveCrossHair(int X, int Y);
    void GrabTextLabel(int X, int Y);
    void MoveTextLabel(int X, int Y);
    void MoveBand(int X, int Y);
    void ApplyAxes(int layer, const std::optional<TRangePair> &x, const std::optional<TRangePair> &y, bool history);
    void SetPointer(TChartPointer p);
    void InvalidateBand();

    TKurvoMouseSite &m_site;
    QObject *m_sender;
    TMouseActMode m_action = maNone;
    bool m_cursorFixed = true;
    std::array<TCrossHair *, 4> m_cross {};
    std::array<bool, KurvoMouse::kLayers> m_active {};

    bool m_drag = false;
    QPoint m_dragStart;
    std::array<TDragStart, KurvoMouse::kLayers> m_startRanges {};
    int m_grabbedCross = 1;
    int m_grabbedLabel = 1;

    bool m_bandActive = false;
    QPoint m_bandStart, m_bandCorner;
    bool m_doubleClick = false;
    TChartPointer m_pointer = cpUnchanged;

    /// The band copy: the finished picture it was made from, and the band drawn on it.
    QImage m_bandImage;
    qint64 m_bandSourceKey = 0;
    bool m_bandDrawn = false;
    QPoint m_drawnStart, m_drawnCorner;
};

/// @cond INTERNAL
template<std::size_t N> int KurvoMouse::PickTextLabel(const std::array<TTextLabelSpot, N> &spots, int X, int Y)
{
    int picked = 1;
    double best = 1.7e308;
    for (std::size_t i = 0; i < N; ++i) {
        if (!spots[i].Counts)
            continue;
        const double ddx = double(spots[i].Anchor.x()) - X, ddy = double(spots[i].Anchor.y()) - Y;
        const double d = ddx * ddx + ddy * ddy;
        if (d < best) {
            best = d;
            picked = int(i) + 1;
        }
    }
    return picked;
}
/// @endcond
