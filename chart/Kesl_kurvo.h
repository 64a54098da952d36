#pragma once

/// @file
/// The chart control: recorded drawing items replayed onto off-screen bitmaps
/// through 16 layers of coordinate mapping, with hosted axis scales.

#include "Canvas.h"
#include "Control.h"
#include "KeslError.h"
#include "Kesl_DigrelTypes.h"
#include "Kesl_Scale.h"
#include "Kesl_keslbase.h"
#include "Kesl_kurvo_mouse.h"
#include "Kesl_kurvo_props.h"
#include "Kesl_kurvo_scaleprops.h"
#include "Kesl_kurvo_textlabel.h"

#include <QPoint>
#include <QRectF>
#include <QString>
#include <QVector>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Kesl_kurvo_types.h"

struct TLayoutRow;

class QPainter;

/// The chart control: drawing commands are recorded as items on one of 16
/// layers, each layer maps its own x and y range onto the data area, and a
/// paint replays the items onto off-screen bitmaps together with the frame,
/// caption, grid, scales and text labels. Settings that change the look
/// repaint when AutoRedraw() is on; drawing commands never repaint (bracket
/// them with SetPaintSuppressed(true) ... SetPaintSuppressed(false)).
class TCustomKurvo : public TControl
{
    Q_OBJECT

public:
    /// Number of layers.
    static constexpr int kLayers = kKurvoLayers;
    /// Number of text labels a chart owns.
    static constexpr int kTextLabels = 30;
    /// Most charts that may share one item list (see SetUseDataOf()).
    static constexpr int kMaxShares = 4;
    /// Points a polyline of DrawTo items is drawn in at most, per call to the canvas.
    static constexpr int kPolyBuffer = 200;

    /// Raised during a paint with the canvas being drawn and the offset of the
    /// data area on it, in pixels.
    using TRenderEvent = std::function<void(QObject *Sender, TCanvas &Canvas, int Left, int Top)>;

    /// An empty chart on parent: no items, every axis ranging 0..1 (see
    /// TScaleProps), the standard layout rcl_X1Bottom_Y1Left, painting held back.
    explicit TCustomKurvo(QWidget *parent = nullptr);
    /// Leaves a data-sharing group and frees items, bitmaps and property objects.
    ~TCustomKurvo() override;

    /// Ends loading: applies the scale properties, maps the layers and paints.
    void Loaded() override;

    /// ---- item store ----
    int ItemCount() const;
    /// Number of item slots allocated; the list grows by AllocSize() slots.
    int AllocatedItems() const;
    /// The item at index 0..ItemCount() - 1; a zeroed item outside.
    TChartItem Item(int index) const; // index 0..ItemCount-1
    /// Growth step of the item list, 1..1000000 (default 1000).
    int AllocSize() const;
    /// Sets the growth step; values outside 1..1000000 are ignored.
    void SetAllocSize(int v);
    /// Pen colour new items record (default clBlack).
    TColor DataColor() const;
    /// Sets the pen colour of new items; no repaint.
    void SetDataColor(TColor c);
    /// Brush colour new items record (default clSilver).
    TColor FillColor() const;
    /// Sets the brush colour of new items; no repaint.
    void SetFillColor(TColor c);
    /// Pen style new items record (default psSolid).
    TPenStyle PenStyle() const;
    /// Sets the pen style of new items; no repaint.
    void SetPenStyle(TPenStyle s);
    /// Pen width in pixels new items record, 0..255 (default 1).
    int LineWidth() const;
    /// Sets the pen width of new items, clamped to 0..255; no repaint.
    void SetLineWidth(int w);
    /// Layer 1..16 new items are recorded on (default 1).
    int CurrentLayer() const;
    /// Sets the layer of new items; values outside 1..16 are ignored.
    void SetCurrentLayer(int layer); // 1..16, others ignored
    /// Class tag 0..254 new items record (default 0).
    int ClassDefault() const;
    /// Sets the class tag of new items; values outside 0..254 are ignored.
    void SetClassDefault(int c); // 0..254, others ignored
    /// Dark edge colour new boxes record (default clGray).
    TColor DarkEdgeColor() const;
    /// Sets the dark edge colour of new boxes; no repaint.
    void SetDarkEdgeColor(TColor c);
    /// Light edge colour new boxes record (default clWhite).
    TColor LightEdgeColor() const;
    /// Sets the light edge colour of new boxes; no repaint.
    void SetLightEdgeColor(TColor c);
    /// 3-D edge new boxes record (default fsLowered).
    TFrameStyle BoxFrameStyle() const;
    /// Sets the 3-D edge of new boxes; no repaint.
    void SetBoxFrameStyle(TFrameStyle s);
    /// Font size in points new text items record (default 10).
    int TextSize() const;
    /// Sets the font size of new text items; no repaint.
    void SetTextSize(int points);

    /// Font style of all text items (default 0: regular).
    TFontStyles TextFontStyle() const;
    /// Sets the font style of all text items; repaints when AutoRedraw is on.
    void SetTextFontStyle(TFontStyles s);
    /// Background of all text items (default tbClear).
    TTextBkg TextBkStyle() const;
    /// Sets the background of all text items; repaints when AutoRedraw is on.
    void SetTextBkStyle(TTextBkg s);
    /// Background colour of text items with tbSolid (default clWhite).
    TColor TextBkColor() const;
    /// Sets the background colour of text items; repaints when AutoRedraw is on.
    void SetTextBkColor(TColor c);
    /// Alignment new text items record (default taCenter).
    TAlignment TextAlignment() const;
    /// Sets the alignment of new text items; repaints when AutoRedraw is on.
    void SetTextAlignment(TAlignment a);

    /// Whether items of class 0..255 are drawn (all are at creation).
    bool ClassVisible(int itemClass) const;
    /// Shows or hides the items of a class; no repaint.
    void SetClassVisible(int itemClass, bool v); // store only; no repaint
    /// Whether the items of layer 1..16 are drawn (all are at creation).
    bool LayerVisible(int layer) const;
    /// Shows or hides the items of a layer; no repaint.
    void SetLayerVisible(int layer, bool v); // store only; no repaint

    /// Whether a change of a setting repaints at once (default true).
    bool AutoRedraw() const;
    /// Sets AutoRedraw(); no repaint.
    void SetAutoRedraw(bool v);
    /// Whether painting is held back (true at creation).
    bool PaintSuppressed() const;
    /// Holds painting back (true) or releases it (false), which repaints once:
    /// bracket bulk drawing with it.
    void SetPaintSuppressed(bool v);

    /// Recording. None of them repaints.
    void AddMark(double X, double Y, std::uint8_t Shape);
    /// Records a line from (X1, Y1) to (X2, Y2).
    void AddLine(double X1, double Y1, double X2, double Y2);
    /// Records a move of the pen to (X, Y): the start of a polyline.
    void MoveTo(double X, double Y);
    /// Records a line from the pen position to (X, Y), which becomes the pen position.
    void DrawTo(double X, double Y);
    /// Records a rectangle with corners (X1, Y1) and (X2, Y2), unfilled when Transparent.
    void AddRect(double X1, double Y1, double X2, double Y2, bool Transparent = false);
    /// Records a filled box with the 3-D edge BoxFrameStyle().
    void AddBox(double X1, double Y1, double X2, double Y2);
    /// Records a bar with top and side faces: front face (X1, Y1)-(X2, Y2),
    /// Angle in degrees, Depth in pixels.
    void AddBar3D(double X1, double Y1, double X2, double Y2, int Angle, int Depth);
    /// Records Text (at most 17 characters are kept) vertically centred on (X, Y).
    void AddText(double X, double Y, const QString &Text);
    /// As AddText(), shifted by (Dx, Dy) pixels.
    void AddTextOffset(double X, double Y, int Dx, int Dy, const QString &Text);
    /// Records an ellipse centred on (X, Y) with half axes in chart units.
    void AddEllipse(double X, double Y, double HalfX, double HalfY, bool Transparent = false);
    /// Records a move of the pen by (Dx, Dy) pixels.
    void MoveRel(int Dx, int Dy);
    /// Records a line from the pen position by (Dx, Dy) pixels.
    void DrawRel(int Dx, int Dy);
    /// Records an arrow from (X1, Y1) to (X2, Y2) with a head HeadLength pixels long.
    void AddArrow(double X1, double Y1, double X2, double Y2, int HeadLength, bool OpenHead = false);
    /// Records a rectangle of fixed size in pixels centred on (X, Y).
    void AddPixelBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent = false);
    /// Appends a record as given (used for the kinds without an operation of their own).
    void AddItem(const TChartItem &item);
    /// Removes every item; no repaint.
    void ClearItems();

    /// The chart whose item list this one shows; nullptr when it has its own (default).
    TCustomKurvo *UseDataOf() const;
    /// Joins the data-sharing group of v (at most kMaxShares charts), or leaves
    /// it with nullptr; a conflict is reported in a message box and changes nothing.
    void SetUseDataOf(TCustomKurvo *v);
    /// Number of charts that show this chart's items.
    int SharerCount() const;

    /// ---- layers, ranges and mapping ----
    /// layer 1..16, or kAllLayers to give every layer the same ranges.
    void SetLayerRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh);
    /// The pixel of (x, y) on layer 1..16.
    void DataToPixel(int layer, double x, double y, int &px, int &py) const;
    /// The pixel of (x, y) on layer 1..16.
    QPoint DataToPixel(int layer, double x, double y) const;
    /// Recomputes the mapping of all 16 layers from their ranges and the data area.
    virtual void CalcTransforms();
    /// Whether x and y units have the same length in pixels (default false).
    bool Isometric() const;
    /// Sets Isometric(); repaints when AutoRedraw is on.
    void SetIsometric(bool v);
    /// The joint tables; their setters raise EKeslKurvoError for invalid joins.
    TJointLayers *JointLayers() const;
    /// x low, y high, x high, y low of entry 1..16 of a layer's history.
    std::array<double, 4> RangeHistoryEntry(int layer, int entry) const;
    /// The position of the newest entry in the range history.
    int RangeHistoryIndex() const;
    /// Pixels per x unit of layer 1..16.
    long double Kx(int layer) const;
    /// Pixel of x = 0 on layer 1..16.
    long double Dx(int layer) const;
    /// Pixels per y unit of layer 1..16 (negative: y rises upwards).
    long double Ky(int layer) const;
    /// Pixel of y = 0 on layer 1..16.
    long double Dy(int layer) const;

    /// ---- scale properties, margins, layouts ----
    TScalePropsHoriz *ScaleX(int layer) const;
    /// The y axis settings of layer 1..16.
    TScalePropsVert *ScaleY(int layer) const;
    /// The x scale object the chart draws for layer 1..16.
    TScale *ScaleObjectX(int layer) const;
    /// The y scale object the chart draws for layer 1..16.
    TScale *ScaleObjectY(int layer) const;
    /// The x axis settings of layer 1 (ScaleX(1)).
    TScalePropsHoriz *Scale1X() const;
    /// The x axis settings of layer 2.
    TScalePropsHoriz *Scale2X() const;
    /// The x axis settings of layer 3.
    TScalePropsHoriz *Scale3X() const;
    /// The x axis settings of layer 4.
    TScalePropsHoriz *Scale4X() const;
    /// The y axis settings of layer 1 (ScaleY(1)).
    TScalePropsVert *Scale1Y() const;
    /// The y axis settings of layer 2.
    TScalePropsVert *Scale2Y() const;
    /// The y axis settings of layer 3.
    TScalePropsVert *Scale3Y() const;
    /// The y axis settings of layer 4.
    TScalePropsVert *Scale4Y() const;
    /// Distance of the data area from the left edge, in pixels (default 50).
    int MarginLeft() const;
    /// Distance of the data area from the right edge, in pixels (default 10).
    int MarginRight() const;
    /// Distance of the data area from the top edge, in pixels (default 16).
    int MarginTop() const;
    /// Distance of the data area from the bottom edge, in pixels (default 32).
    int MarginBottom() const;
    /// Sets MarginLeft() and lays the chart out again; repaints when AutoRedraw is on.
    void SetMarginLeft(int v);
    /// Sets MarginRight() and lays the chart out again; repaints when AutoRedraw is on.
    void SetMarginRight(int v);
    /// Sets MarginTop() and lays the chart out again; repaints when AutoRedraw is on.
    void SetMarginTop(int v);
    /// Sets MarginBottom() and lays the chart out again; repaints when AutoRedraw is on.
    void SetMarginBottom(int v);
    /// Another name of MarginLeft().
    int LRim() const { return MarginLeft(); }
    /// Another name of MarginRight().
    int RRim() const { return MarginRight(); }
    /// Another name of MarginTop().
    int TRim() const { return MarginTop(); }
    /// Another name of MarginBottom().
    int BRim() const { return MarginBottom(); }
    /// Another name of SetMarginLeft().
    void SetLRim(int v) { SetMarginLeft(v); }
    /// Another name of SetMarginRight().
    void SetRRim(int v) { SetMarginRight(v); }
    /// Another name of SetMarginTop().
    void SetTRim(int v) { SetMarginTop(v); }
    /// Another name of SetMarginBottom().
    void SetBRim(int v) { SetMarginBottom(v); }
    /// The standard layout of axes applied last (default rcl_X1Bottom_Y1Left).
    TrcLayout StandardLayout() const;
    /// The control size with the margins and the shadow, and so the data area.
    TChartGeometry DataArea() const;
    /// Applies a standard layout: which axes show, where, with which colours and margins.
    void SetStandardLayout(TrcLayout k);

    /// ---- appearance ----
    TColor WindColor() const;
    /// Sets WindColor(); repaints when AutoRedraw is on.
    void SetWindColor(TColor c);
    /// Background of the data area (default clWhite).
    TColor ChartColor() const;
    /// Sets ChartColor(); repaints when AutoRedraw is on.
    void SetChartColor(TColor c);
    /// Outline of the data area and colour of the caption (default clBlack).
    TColor ChartFrameColor() const;
    /// Sets ChartFrameColor(); repaints when AutoRedraw is on.
    void SetChartFrameColor(TColor c);
    /// Width of the drop shadow at the right and bottom, 0..32 pixels (default 0).
    int ShadowWidth() const;
    /// Sets ShadowWidth(), clamped to 0..32, and lays out again; repaints when AutoRedraw is on.
    void SetShadowWidth(int v);
    /// Shape of the shadow (default ssFlying).
    TShadowStyle ShadowStyle() const;
    /// Sets ShadowStyle(); repaints when AutoRedraw is on.
    void SetShadowStyle(TShadowStyle s);
    /// Fill of the shadow (default clGrayText).
    TColor ShadowColor() const;
    /// Sets ShadowColor(); repaints when AutoRedraw is on.
    void SetShadowColor(TColor c);
    /// Colour of the two corners beside the shadow (default clBtnFace).
    TColor ShadowBakColor() const;
    /// Sets ShadowBakColor(); repaints when AutoRedraw is on.
    void SetShadowBakColor(TColor c);
    /// Caption of the chart, in the chart's font (default empty).
    QString Caption() const;
    /// Sets Caption(); repaints when AutoRedraw is on.
    void SetCaption(const QString &s);
    /// Horizontal offset of the caption from its anchor, in pixels (default 0).
    int CaptionPosX() const;
    /// Sets CaptionPosX(); repaints when AutoRedraw is on.
    void SetCaptionPosX(int v);
    /// Vertical offset of the caption from its anchor, in pixels (default -15).
    int CaptionPosY() const;
    /// Sets CaptionPosY(); repaints when AutoRedraw is on.
    void SetCaptionPosY(int v);
    /// Alignment of the caption at its anchor (default taRightJustify).
    TAlignment CaptionAlignment() const;
    /// Sets CaptionAlignment(); repaints when AutoRedraw is on.
    void SetCaptionAlignment(TAlignment a);
    /// Horizontal anchor of the caption (default cahChartRight).
    TCaptionAnchorHoriz CaptionAnchorHoriz() const;
    /// Sets CaptionAnchorHoriz(); repaints when AutoRedraw is on.
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz a);
    /// Vertical anchor of the caption (default cavChartTop).
    TCaptionAnchorVert CaptionAnchorVert() const;
    /// Sets CaptionAnchorVert(); repaints when AutoRedraw is on.
    void SetCaptionAnchorVert(TCaptionAnchorVert a);
    /// Grid of the data area (default gsNone).
    GridStyleType GridStyle() const;
    /// Sets GridStyle(); repaints when AutoRedraw is on.
    void SetGridStyle(GridStyleType g);
    /// Colour of the grid (default clBlack).
    TColor GridColor() const;
    /// Sets GridColor(); repaints when AutoRedraw is on.
    void SetGridColor(TColor c);
    /// Spacing of the grid in x units of layer 1, -3 or more (default 0: at the
    /// ticks of the x scale; -1, -2, -3 on a logarithmic axis: decades, 1-2-5
    /// steps, leading digits).
    double GridDx() const;
    /// Sets GridDx(); values below -3 are ignored. Repaints when AutoRedraw is on.
    void SetGridDx(double v);
    /// Spacing of the grid in y units, as GridDx() (default 0).
    double GridDy() const;
    /// Sets GridDy(); values below -3 are ignored. Repaints when AutoRedraw is on.
    void SetGridDy(double v);
    /// Font of the caption (default the platform's).
    TFont ChartFont() const;
    /// Sets ChartFont(); repaints when AutoRedraw is on.
    void SetChartFont(const TFont &f);
    /// Background image and coloured area of the data area (owned).
    TBakGndImg *BackGroundImg() const;
    /// Text label 1..30; nullptr for another index.
    TTextLabel *TextLabel(int index) const; // 1..30, nullptr outside

    /// ---- mouse: pan, zoom, rubber band, cross-hairs and label dragging ----
    TKurvoMouse &Mouse() const;
    /// Cross-hair 1..4; nullptr for another index.
    TCrossHair *CrossHair(int index) const; // 1..4
    /// What a drag with the left button does (default maNone).
    TMouseActMode MouseAction() const;
    /// Sets MouseAction(); values outside the enumeration act as maNone.
    void SetMouseAction(TMouseActMode a);
    /// Whether the pointer keeps its shape whatever the action (default true).
    bool MouseCursorFixed() const;
    /// Sets MouseCursorFixed().
    void SetMouseCursorFixed(bool v);
    /// Cross-hair 1.
    TCrossHair *CrossHair1() const { return CrossHair(1); }
    /// Cross-hair 2.
    TCrossHair *CrossHair2() const { return CrossHair(2); }
    /// Cross-hair 3.
    TCrossHair *CrossHair3() const { return CrossHair(3); }
    /// Cross-hair 4.
    TCrossHair *CrossHair4() const { return CrossHair(4); }
    /// The chart coordinates of a pixel on a layer: the inverse of DataToPixel.
    QPointF PixelToData(int layer, int px, int py) const;
    /// The chart coordinates of a pixel on a layer, into x and y.
    void PixelToData(int layer, int px, int py, double &x, double &y) const;

    /// Raised before the items are drawn.
    TRenderEvent OnBeforeRenderData;
    /// Raised after the items are drawn.
    TRenderEvent OnDataRendered;
    /// Raised after the scales are drawn.
    TRenderEvent OnScalesRendered;
    /// Raised after every tick line of a scale the chart draws.
    TScaleTickDrawnEvent OnScaleTickDrawn;

    /// ---- rendering ----
    virtual void Paint();
    /// Draws background, shadow, caption and scales onto the control-sized canvas.
    void RenderFrame(TCanvas &canvas);
    /// The whole chart as the screen shows it, drawn afresh into target of
    /// painter's device: lines, fills and text as they are, curves through
    /// their exact points, nothing outside the chart; marks take their printer
    /// forms on paper. The painter is left as it was; the screen's bitmap too.
    void Render(QPainter &painter, const QRectF &target);
    /// Sizes the data bitmap and draws the data area's background at (ox, oy).
    virtual void RenderBackground(TCanvas &canvas, int ox, int oy);
    /// Draws grid, items, text labels and the data area's frame at (ox, oy);
    /// monochrome draws every colour black, skipGrid leaves the grid out.
    virtual void RenderData(TCanvas &canvas, int ox, int oy, bool monochrome, bool skipGrid);
    /// Moves and sizes the control and lays it out again.
    virtual void SetBounds(int left, int top, int width, int height);
    /// The dialog-code answer: 1 lets the arrow keys, 2 Tab reach the key events.
    virtual int DialogCode() const { return 3; }

    /// Key, with its modifiers: a key going down or up. Character: the text a
    /// key press types.
    using TKeyEvent = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
    /// A key press typed Key; the handler may change it.
    using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;
    /// Raised when a key goes down while the chart has the focus.
    TKeyEvent OnKeyDown;
    /// Raised when a key goes up.
    TKeyEvent OnKeyUp;
    /// Raised for the text a key press types.
    TKeyPressEvent OnKeyPress;

    /// The picture of the last paint, control-sized; the data bitmap of the last paint.
    const TBitmap &ControlBitmap() const;
    /// The data area's bitmap of the last paint.
    const TBitmap &DataBitmap() const;
    /// Number of completed paints (the picture was composed anew).
    int PaintCount() const;
    /// Control visibility as the Visible property says (not whether a window is mapped).
    bool VisibleSetting() const;

protected:
    /// Shows the composed picture, composing it first when the size or pixel
    /// ratio changed (not while loading or with painting held back).
    void paintEvent(QPaintEvent *event) override;
    /// Lays the chart out for its new size.
    void resizeEvent(QResizeEvent *event) override;
    /// The first showing releases painting (PaintSuppressed() becomes false).
    void showEvent(QShowEvent *event) override;
    /// Hands the event to Mouse().
    void mousePressEvent(QMouseEvent *event) override;
    /// Hands the event to Mouse().
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// Hands the event to Mouse().
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    /// Hands the event to Mouse().
    void mouseMoveEvent(QMouseEvent *event) override;
    /// Raises OnKeyDown and OnKeyPress; with Tab kept, Ctrl+Tab and
    /// Ctrl+Shift+Tab move the focus on.
    void keyPressEvent(QKeyEvent *event) override;
    /// Raises OnKeyUp.
    void keyReleaseEvent(QKeyEvent *event) override;
    /// Keeps Tab for the key events when DialogCode() asks for it.
    bool focusNextPrevChild(bool next) override;
    /// Hands the event to Mouse().
    void enterEvent(QEnterEvent *event) override;
    /// Hands the event to Mouse().
    void leaveEvent(QEvent *event) override;

    /// Repaint when AutoRedraw is set.
    void Changed();

private:
    void RenderShadow(TCanvas &canvas, int W, int H, int s);
    void PaintScales(TCanvas &canvas);
    QPoint CaptionOrigin() const;
    void RenderCaption(TCanvas &canvas);
    struct TReplay; // per-paint drawing state
    struct TFastMap;
    struct TItemPainter; // draws the recorded items, one function per kind

    void MapFast(int layer, double x, double y, int &px, int &py) const; // in Kesl_kurvo_map_p.h
    static bool ClampPixel(int &x, int &y); // to +-PixelMath::kItemReach; in Kesl_kurvo_map_p.h

    void CreateLayerScales();
    void CreateTextLabels();
    TChartItem NewItem(std::uint8_t kind) const;
    void Commit(const TChartItem &item);
    void SyncSharedData();
    void LeaveGroup();
    void ApplyScaleProps(int li);
    void ApplyAllScaleProps();
    void UpdateScaleMargins();
    void OnPropsChanged();
    void ReapplyScaleProps();
    void Relayout();
    void ApplyLayout(const TLayoutRow &row);
    void SetMargin(int &field, int v);
    void RecentreIsometric();
    void ApplyFollowers(int layer, bool history);
    void SetRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh);
    void PropagateRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                        bool history);
    void ApplyRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh, bool history);
    void RecordHistory();
    /// Every layer's x low, y high, x high and y low, as the history holds them.
    std::array<std::array<double, 4>, kLayers> CurrentRanges() const;
    void OnLayerJoined(int layer, bool xAxis);
    void ResizeDataBitmap(bool printer);
    void DrawItems(TCanvas &canvas, int ox, int oy, bool monochrome);
    void DrawGrid(TCanvas &canvas, int ox, int oy);
    void DrawTextLabels(TCanvas &canvas, int ox, int oy);
    void DrawDataFrame(TCanvas &canvas, int ox, int oy);
    void ComposeToBitmap();

    class TSite;
    struct PrivateData;
    std::unique_ptr<PrivateData> d;
};

/// The chart as placed on forms.
class TKurvo : public TCustomKurvo
{
    Q_OBJECT
    /// Published form of Scale1X() (see there).
    Q_PROPERTY(TScalePropsHoriz *Scale1X READ Scale1X)
    /// Published form of Scale2X() (see there).
    Q_PROPERTY(TScalePropsHoriz *Scale2X READ Scale2X)
    /// Published form of Scale3X() (see there).
    Q_PROPERTY(TScalePropsHoriz *Scale3X READ Scale3X)
    /// Published form of Scale4X() (see there).
    Q_PROPERTY(TScalePropsHoriz *Scale4X READ Scale4X)
    /// Published form of Scale1Y() (see there).
    Q_PROPERTY(TScalePropsVert *Scale1Y READ Scale1Y)
    /// Published form of Scale2Y() (see there).
    Q_PROPERTY(TScalePropsVert *Scale2Y READ Scale2Y)
    /// Published form of Scale3Y() (see there).
    Q_PROPERTY(TScalePropsVert *Scale3Y READ Scale3Y)
    /// Published form of Scale4Y() (see there).
    Q_PROPERTY(TScalePropsVert *Scale4Y READ Scale4Y)
    /// Published form of Caption() (see there).
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    /// Published form of MouseAction() (see there).
    Q_PROPERTY(TMouseActMode MouseAction READ MouseAction WRITE SetMouseAction)
    /// Published form of MouseCursorFixed() (see there).
    Q_PROPERTY(bool MouseCursorFixed READ MouseCursorFixed WRITE SetMouseCursorFixed)
    /// Published form of CrossHair1() (see there).
    Q_PROPERTY(TCrossHair *CrossHair1 READ CrossHair1)
    /// Published form of CrossHair2() (see there).
    Q_PROPERTY(TCrossHair *CrossHair2 READ CrossHair2)
    /// Published form of CrossHair3() (see there).
    Q_PROPERTY(TCrossHair *CrossHair3 READ CrossHair3)
    /// Published form of CrossHair4() (see there).
    Q_PROPERTY(TCrossHair *CrossHair4 READ CrossHair4)
    /// Published form of CaptionPosX() (see there).
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    /// Published form of CaptionPosY() (see there).
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    /// Published form of AutoRedraw() (see there).
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE SetAutoRedraw)
    /// Published form of AllocSize() (see there).
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    /// Published form of ClassDefault() (see there).
    Q_PROPERTY(int ClassDefault READ ClassDefault WRITE SetClassDefault)
    /// Published form of LineWidth() (see there).
    Q_PROPERTY(int LineWidth READ LineWidth WRITE SetLineWidth)
    /// Published form of DataColor() (see there).
    Q_PROPERTY(TColor DataColor READ DataColor WRITE SetDataColor)
    /// Published form of FillColor() (see there).
    Q_PROPERTY(TColor FillColor READ FillColor WRITE SetFillColor)
    /// Published form of WindColor() (see there).
    Q_PROPERTY(TColor WindColor READ WindColor WRITE SetWindColor)
    /// Published form of ChartColor() (see there).
    Q_PROPERTY(TColor ChartColor READ ChartColor WRITE SetChartColor)
    /// Published form of ChartFrameColor() (see there).
    Q_PROPERTY(TColor ChartFrameColor READ ChartFrameColor WRITE SetChartFrameColor)
    /// Published form of ShadowColor() (see there).
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    /// Published form of ShadowBakColor() (see there).
    Q_PROPERTY(TColor ShadowBakColor READ ShadowBakColor WRITE SetShadowBakColor)
    /// Published form of TextBkColor() (see there).
    Q_PROPERTY(TColor TextBkColor READ TextBkColor WRITE SetTextBkColor)
    /// Published form of GridColor() (see there).
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)
    /// Published form of ShadowWidth() (see there).
    Q_PROPERTY(int ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    /// Published form of GridDx() (see there).
    Q_PROPERTY(double GridDx READ GridDx WRITE SetGridDx)
    /// Published form of GridDy() (see there).
    Q_PROPERTY(double GridDy READ GridDy WRITE SetGridDy)
    /// Published form of Isometric() (see there).
    Q_PROPERTY(bool Isometric READ Isometric WRITE SetIsometric)
    /// Published form of MarginLeft() (see there).
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    /// Published form of MarginRight() (see there).
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    /// Published form of MarginTop() (see there).
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    /// Published form of MarginBottom() (see there).
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    /// Published form of LRim() (see there).
    Q_PROPERTY(int LRim READ LRim WRITE SetLRim STORED false)
    /// Published form of RRim() (see there).
    Q_PROPERTY(int RRim READ RRim WRITE SetRRim STORED false)
    /// Published form of TRim() (see there).
    Q_PROPERTY(int TRim READ TRim WRITE SetTRim STORED false)
    /// Published form of BRim() (see there).
    Q_PROPERTY(int BRim READ BRim WRITE SetBRim STORED false)
    /// Published form of JointLayers() (see there).
    Q_PROPERTY(TJointLayers *JointLayers READ JointLayers)
    /// Published form of BackGroundImg() (see there).
    Q_PROPERTY(TBakGndImg *BackGroundImg READ BackGroundImg)
    /// Published form of PenStyle() (see there).
    Q_PROPERTY(TPenStyle PenStyle READ PenStyle WRITE SetPenStyle)
    /// Published form of TextFontStyle() (see there).
    Q_PROPERTY(TFontStyles TextFontStyle READ TextFontStyle WRITE SetTextFontStyle)
    /// Published form of TextBkStyle() (see there).
    Q_PROPERTY(TTextBkg TextBkStyle READ TextBkStyle WRITE SetTextBkStyle)
    /// Published form of TextAlignment() (see there).
    Q_PROPERTY(TAlignment TextAlignment READ TextAlignment WRITE SetTextAlignment)
    /// Published form of ShadowStyle() (see there).
    Q_PROPERTY(TShadowStyle ShadowStyle READ ShadowStyle WRITE SetShadowStyle)
    /// Published form of CaptionAlignment() (see there).
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    /// Published form of CaptionAnchorHoriz() (see there).
    Q_PROPERTY(TCaptionAnchorHoriz CaptionAnchorHoriz READ CaptionAnchorHoriz WRITE SetCaptionAnchorHoriz)
    /// Published form of CaptionAnchorVert() (see there).
    Q_PROPERTY(TCaptionAnchorVert CaptionAnchorVert READ CaptionAnchorVert WRITE SetCaptionAnchorVert)
    /// Published form of GridStyle() (see there).
    Q_PROPERTY(GridStyleType GridStyle READ GridStyle WRITE SetGridStyle)
    /// Published form of StandardLayout() (see there).
    Q_PROPERTY(TrcLayout StandardLayout READ StandardLayout WRITE SetStandardLayout)
    /// Published form of ChartFont() (see there).
    Q_PROPERTY(TFont Font READ ChartFont WRITE SetChartFont)
    /// Published form of UseDataOf() (see there).
    Q_PROPERTY(TCustomKurvo *UseDataOf READ UseDataOf WRITE SetUseDataOf)

public:
    /// An empty chart on parent (see TCustomKurvo()).
    explicit TKurvo(QWidget *parent = nullptr) : TCustomKurvo(parent) { }
    /// See TCustomKurvo::SetBounds().
    void SetBounds(int left, int top, int width, int height) override
    {
        TCustomKurvo::SetBounds(left, top, width, height);
    }
};
