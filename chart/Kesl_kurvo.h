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

class TCustomKurvo : public TControl
{
    Q_OBJECT

public:
    static constexpr int kLayers = kKurvoLayers;
    static constexpr int kTextLabels = 30;
    static constexpr int kMaxShares = 4;
    static constexpr int kPolyBuffer = 200;

    using TRenderEvent = std::function<void(QObject *Sender, TCanvas &Canvas, int Left, int Top)>;

    explicit TCustomKurvo(QWidget *parent = nullptr);
    ~TCustomKurvo() override;

    void Loaded() override;

    /// ---- item store ----
    int ItemCount() const;
    int AllocatedItems() const;
    TChartItem Item(int index) const; // index 0..ItemCount-1
    int AllocSize() const;
    void SetAllocSize(int v);
    TColor DataColor() const;
    void SetDataColor(TColor c);
    TColor FillColor() const;
    void SetFillColor(TColor c);
    TPenStyle PenStyle() const;
    void SetPenStyle(TPenStyle s);
    int LineWidth() const;
    void SetLineWidth(int w);
    int CurrentLayer() const;
    void SetCurrentLayer(int layer); // 1..16, others ignored
    int ClassDefault() const;
    void SetClassDefault(int c); // 0..254, others ignored
    TColor DarkEdgeColor() const;
    void SetDarkEdgeColor(TColor c);
    TColor LightEdgeColor() const;
    void SetLightEdgeColor(TColor c);
    TFrameStyle BoxFrameStyle() const;
    void SetBoxFrameStyle(TFrameStyle s);
    int TextSize() const;
    void SetTextSize(int points);

    TFontStyles TextFontStyle() const;
    void SetTextFontStyle(TFontStyles s);
    TTextBkg TextBkStyle() const;
    void SetTextBkStyle(TTextBkg s);
    TColor TextBkColor() const;
    void SetTextBkColor(TColor c);
    TAlignment TextAlignment() const;
    void SetTextAlignment(TAlignment a);

    bool ClassVisible(int itemClass) const;
    void SetClassVisible(int itemClass, bool v); // store only; no repaint
    bool LayerVisible(int layer) const;
    void SetLayerVisible(int layer, bool v); // store only; no repaint

    bool AutoRedraw() const;
    void SetAutoRedraw(bool v);
    bool PaintSuppressed() const;
    void SetPaintSuppressed(bool v);

    /// Recording. None of them repaints.
    void AddMark(double X, double Y, std::uint8_t Shape);
    void AddLine(double X1, double Y1, double X2, double Y2);
    void MoveTo(double X, double Y);
    void DrawTo(double X, double Y);
    void AddRect(double X1, double Y1, double X2, double Y2, bool Transparent = false);
    void AddBox(double X1, double Y1, double X2, double Y2);
    void AddBar3D(double X1, double Y1, double X2, double Y2, int Angle, int Depth);
    void AddText(double X, double Y, const QString &Text);
    void AddTextOffset(double X, double Y, int Dx, int Dy, const QString &Text);
    void AddEllipse(double X, double Y, double HalfX, double HalfY, bool Transparent = false);
    void MoveRel(int Dx, int Dy);
    void DrawRel(int Dx, int Dy);
    void AddArrow(double X1, double Y1, double X2, double Y2, int HeadLength, bool OpenHead = false);
    void AddPixelBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent = false);
    /// Appends a record as given (used for the kinds without an operation of their own).
    void AddItem(const TChartItem &item);
    void ClearItems();

    TCustomKurvo *UseDataOf() const;
    void SetUseDataOf(TCustomKurvo *v);
    int SharerCount() const;

    /// ---- layers, ranges and mapping ----
    /// layer 1..16, or kAllLayers to give every layer the same ranges.
    void SetLayerRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh);
    void DataToPixel(int layer, double x, double y, int &px, int &py) const;
    QPoint DataToPixel(int layer, double x, double y) const;
    virtual void CalcTransforms();
    bool Isometric() const;
    void SetIsometric(bool v);
    /// The joint tables; their setters raise EKeslKurvoError for invalid joins.
    TJointLayers *JointLayers() const;
    /// x low, y high, x high, y low of entry 1..16 of a layer's history.
    std::array<double, 4> RangeHistoryEntry(int layer, int entry) const;
    int RangeHistoryIndex() const;
    long double Kx(int layer) const;
    long double Dx(int layer) const;
    long double Ky(int layer) const;
    long double Dy(int layer) const;

    /// ---- scale properties, margins, layouts ----
    TScalePropsHoriz *ScaleX(int layer) const;
    TScalePropsVert *ScaleY(int layer) const;
    TScale *ScaleObjectX(int layer) const;
    TScale *ScaleObjectY(int layer) const;
    TScalePropsHoriz *Scale1X() const;
    TScalePropsHoriz *Scale2X() const;
    TScalePropsHoriz *Scale3X() const;
    TScalePropsHoriz *Scale4X() const;
    TScalePropsVert *Scale1Y() const;
    TScalePropsVert *Scale2Y() const;
    TScalePropsVert *Scale3Y() const;
    TScalePropsVert *Scale4Y() const;
    int MarginLeft() const;
    int MarginRight() const;
    int MarginTop() const;
    int MarginBottom() const;
    void SetMarginLeft(int v);
    void SetMarginRight(int v);
    void SetMarginTop(int v);
    void SetMarginBottom(int v);
    int LRim() const { return MarginLeft(); }
    int RRim() const { return MarginRight(); }
    int TRim() const { return MarginTop(); }
    int BRim() const { return MarginBottom(); }
    void SetLRim(int v) { SetMarginLeft(v); }
    void SetRRim(int v) { SetMarginRight(v); }
    void SetTRim(int v) { SetMarginTop(v); }
    void SetBRim(int v) { SetMarginBottom(v); }
    TrcLayout StandardLayout() const;
    /// The control size with the margins and the shadow, and so the data area.
    TChartGeometry DataArea() const;
    void SetStandardLayout(TrcLayout k);

    /// ---- appearance ----
    TColor WindColor() const;
    void SetWindColor(TColor c);
    TColor ChartColor() const;
    void SetChartColor(TColor c);
    TColor ChartFrameColor() const;
    void SetChartFrameColor(TColor c);
    int ShadowWidth() const;
    void SetShadowWidth(int v);
    TShadowStyle ShadowStyle() const;
    void SetShadowStyle(TShadowStyle s);
    TColor ShadowColor() const;
    void SetShadowColor(TColor c);
    TColor ShadowBakColor() const;
    void SetShadowBakColor(TColor c);
    QString Caption() const;
    void SetCaption(const QString &s);
    int CaptionPosX() const;
    void SetCaptionPosX(int v);
    int CaptionPosY() const;
    void SetCaptionPosY(int v);
    TAlignment CaptionAlignment() const;
    void SetCaptionAlignment(TAlignment a);
    TCaptionAnchorHoriz CaptionAnchorHoriz() const;
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz a);
    TCaptionAnchorVert CaptionAnchorVert() const;
    void SetCaptionAnchorVert(TCaptionAnchorVert a);
    GridStyleType GridStyle() const;
    void SetGridStyle(GridStyleType g);
    TColor GridColor() const;
    void SetGridColor(TColor c);
    double GridDx() const;
    void SetGridDx(double v);
    double GridDy() const;
    void SetGridDy(double v);
    TFont ChartFont() const;
    void SetChartFont(const TFont &f);
    TBakGndImg *BackGroundImg() const;
    TTextLabel *TextLabel(int index) const; // 1..30, nullptr outside

    /// ---- mouse: pan, zoom, rubber band, cross-hairs and label dragging ----
    TKurvoMouse &Mouse() const;
    TCrossHair *CrossHair(int index) const; // 1..4
    TMouseActMode MouseAction() const;
    void SetMouseAction(TMouseActMode a);
    bool MouseCursorFixed() const;
    void SetMouseCursorFixed(bool v);
    TCrossHair *CrossHair1() const { return CrossHair(1); }
    TCrossHair *CrossHair2() const { return CrossHair(2); }
    TCrossHair *CrossHair3() const { return CrossHair(3); }
    TCrossHair *CrossHair4() const { return CrossHair(4); }
    /// The chart coordinates of a pixel on a layer: the inverse of DataToPixel.
    QPointF PixelToData(int layer, int px, int py) const;
    void PixelToData(int layer, int px, int py, double &x, double &y) const;

    TRenderEvent OnBeforeRenderData;
    TRenderEvent OnDataRendered;
    TRenderEvent OnScalesRendered;
    TScaleTickDrawnEvent OnScaleTickDrawn;

    /// ---- rendering ----
    virtual void Paint();
    void RenderFrame(TCanvas &canvas);
    /// The whole picture drawn afresh through a page canvas onto device, one
    /// unit of the device to a pixel of the chart: lines, fills and text as
    /// they are (a vector picture stays one), marks in their printer forms.
    /// The screen's bitmap is left as it is.
    void RenderTo(QPaintDevice *device);
    virtual void RenderBackground(TCanvas &canvas, int ox, int oy);
    virtual void RenderData(TCanvas &canvas, int ox, int oy, bool monochrome, bool skipGrid);
    virtual void SetBounds(int left, int top, int width, int height);
    /// The dialog-code answer: 1 lets the arrow keys, 2 Tab reach the key events.
    virtual int DialogCode() const { return 3; }

    /// Key, with its modifiers: a key going down or up. Character: the text a
    /// key press types.
    using TKeyEvent = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
    using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    /// The picture of the last paint, control-sized; the data bitmap of the last paint.
    const TBitmap &ControlBitmap() const;
    const TBitmap &DataBitmap() const;
    /// Number of completed paints (the picture was composed anew).
    int PaintCount() const;
    /// Control visibility as the Visible property says (not whether a window is mapped).
    bool VisibleSetting() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

    /// Repaint when AutoRedraw is set.
    void Changed();

private:
    /// keep: an area the frame fill leaves as it is (the data already drawn on a page).
    void RenderShadow(TCanvas &canvas, int W, int H, int s, const QRect &keep = QRect());
    void PaintScales();
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
    Q_PROPERTY(TScalePropsHoriz *Scale1X READ Scale1X)
    Q_PROPERTY(TScalePropsHoriz *Scale2X READ Scale2X)
    Q_PROPERTY(TScalePropsHoriz *Scale3X READ Scale3X)
    Q_PROPERTY(TScalePropsHoriz *Scale4X READ Scale4X)
    Q_PROPERTY(TScalePropsVert *Scale1Y READ Scale1Y)
    Q_PROPERTY(TScalePropsVert *Scale2Y READ Scale2Y)
    Q_PROPERTY(TScalePropsVert *Scale3Y READ Scale3Y)
    Q_PROPERTY(TScalePropsVert *Scale4Y READ Scale4Y)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TMouseActMode MouseAction READ MouseAction WRITE SetMouseAction)
    Q_PROPERTY(bool MouseCursorFixed READ MouseCursorFixed WRITE SetMouseCursorFixed)
    Q_PROPERTY(TCrossHair *CrossHair1 READ CrossHair1)
    Q_PROPERTY(TCrossHair *CrossHair2 READ CrossHair2)
    Q_PROPERTY(TCrossHair *CrossHair3 READ CrossHair3)
    Q_PROPERTY(TCrossHair *CrossHair4 READ CrossHair4)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE SetAutoRedraw)
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    Q_PROPERTY(int ClassDefault READ ClassDefault WRITE SetClassDefault)
    Q_PROPERTY(int LineWidth READ LineWidth WRITE SetLineWidth)
    Q_PROPERTY(TColor DataColor READ DataColor WRITE SetDataColor)
    Q_PROPERTY(TColor FillColor READ FillColor WRITE SetFillColor)
    Q_PROPERTY(TColor WindColor READ WindColor WRITE SetWindColor)
    Q_PROPERTY(TColor ChartColor READ ChartColor WRITE SetChartColor)
    Q_PROPERTY(TColor ChartFrameColor READ ChartFrameColor WRITE SetChartFrameColor)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(TColor ShadowBakColor READ ShadowBakColor WRITE SetShadowBakColor)
    Q_PROPERTY(TColor TextBkColor READ TextBkColor WRITE SetTextBkColor)
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(int ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_PROPERTY(double GridDx READ GridDx WRITE SetGridDx)
    Q_PROPERTY(double GridDy READ GridDy WRITE SetGridDy)
    Q_PROPERTY(bool Isometric READ Isometric WRITE SetIsometric)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int LRim READ LRim WRITE SetLRim STORED false)
    Q_PROPERTY(int RRim READ RRim WRITE SetRRim STORED false)
    Q_PROPERTY(int TRim READ TRim WRITE SetTRim STORED false)
    Q_PROPERTY(int BRim READ BRim WRITE SetBRim STORED false)
    Q_PROPERTY(TJointLayers *JointLayers READ JointLayers)
    Q_PROPERTY(TBakGndImg *BackGroundImg READ BackGroundImg)
    Q_PROPERTY(TPenStyle PenStyle READ PenStyle WRITE SetPenStyle)
    Q_PROPERTY(TFontStyles TextFontStyle READ TextFontStyle WRITE SetTextFontStyle)
    Q_PROPERTY(TTextBkg TextBkStyle READ TextBkStyle WRITE SetTextBkStyle)
    Q_PROPERTY(TAlignment TextAlignment READ TextAlignment WRITE SetTextAlignment)
    Q_PROPERTY(TShadowStyle ShadowStyle READ ShadowStyle WRITE SetShadowStyle)
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(TCaptionAnchorHoriz CaptionAnchorHoriz READ CaptionAnchorHoriz WRITE SetCaptionAnchorHoriz)
    Q_PROPERTY(TCaptionAnchorVert CaptionAnchorVert READ CaptionAnchorVert WRITE SetCaptionAnchorVert)
    Q_PROPERTY(GridStyleType GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(TrcLayout StandardLayout READ StandardLayout WRITE SetStandardLayout)
    Q_PROPERTY(TFont Font READ ChartFont WRITE SetChartFont)
    Q_PROPERTY(TCustomKurvo *UseDataOf READ UseDataOf WRITE SetUseDataOf)

public:
    explicit TKurvo(QWidget *parent = nullptr) : TCustomKurvo(parent) { }
    void SetBounds(int left, int top, int width, int height) override
    {
        TCustomKurvo::SetBounds(left, top, width, height);
    }
};
