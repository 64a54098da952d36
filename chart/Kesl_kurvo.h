#pragma once

// The chart control: recorded drawing items replayed onto off-screen bitmaps
// through 16 layers of coordinate mapping, with hosted axis scales.

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

enum TChartItemKind : std::uint8_t {
    ikNone = 0,
    ikMark = 1,
    ikLine = 2,
    ikDrawTo = 3,
    ikRectangle = 4,
    ikBox = 5,
    ikBar3D = 6,
    ikText = 7,
    ikMoveTo = 8,
    ikEllipse = 9,
    ikMoveRel = 12,
    ikDrawRel = 13,
    ikArrow = 14,
    ikTextOffset = 15,
    ikPixelBox = 16
};

// One recorded drawing command. Plain data: new slots of the list are zeroed.
struct TChartItem
{
    double X1, Y1, X2, Y2;
    TColor Color;
    TColor FillColor;
    TColor DarkEdgeColor;
    TColor LightEdgeColor;
    std::uint8_t PenStyle;
    std::int32_t LineWidth;
    std::uint8_t ItemClass;
    std::uint8_t Kind;
    std::int32_t Layer;
    bool Transparent;
    std::uint8_t FrameStyle;
    char Text[18]; // at most 17 single-byte characters, zero-terminated
    std::int32_t Size;
    std::int32_t Depth;
    std::uint8_t Style;

    QString TextString() const { return QString::fromLatin1(Text); }
};

enum TTextBkg { tbClear, tbSolid };
enum TShadowStyle { ssFlying, ssBox };
enum TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum GridStyleType {
    gsNone,
    gsPoints,
    gsVertLines,
    gsHorizLines,
    gsLines,
    gsHorizDotLines,
    gsVertDotLines,
    gsDotLines
};
enum TrcLayout {
    rcl_X1Bottom_Y1Left,
    rcl_X1Bottom_Y2Left,
    rcl_X1Bottom_Y3Left,
    rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both,
    rcl_X2Bottom_Y2Left,
    rcl_X2Both_Y2Both
};

class TKurvoItemStore;
class TKurvoLayers;
class TKurvoLayout;
struct TLayoutRow;
struct TPlotArea;

class TCustomKurvo : public TControl
{
    Q_OBJECT

public:
    static constexpr int kLayers = 16;
    static constexpr int kTextLabels = 30;
    static constexpr int kMaxShares = 4;
    static constexpr int kPolyBuffer = 200;

    using TRenderEvent = std::function<void(QObject *Sender, TCanvas &Canvas, int Left, int Top)>;

    explicit TCustomKurvo(QWidget *parent = nullptr);
    ~TCustomKurvo() override;

    void Loaded() override;

    // ---- item store ----
    int ItemCount() const;
    int AllocatedItems() const;
    TChartItem Item(int index) const; // index 0..ItemCount-1
    int AllocSize() const { return m_allocSize; }
    void SetAllocSize(int v);
    TColor DataColor() const { return m_dataColor; }
    void SetDataColor(TColor c) { m_dataColor = c; }
    TColor FillColor() const { return m_fillColor; }
    void SetFillColor(TColor c) { m_fillColor = c; }
    TPenStyle PenStyle() const { return m_penStyle; }
    void SetPenStyle(TPenStyle s) { m_penStyle = s; }
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int w) { m_lineWidth = std::uint8_t(std::clamp(w, 0, 255)); }
    int CurrentLayer() const { return m_currentLayer; }
    void SetCurrentLayer(int layer); // 1..16, others ignored
    int ClassDefault() const { return m_classDefault; }
    void SetClassDefault(int c); // 0..254, others ignored
    TColor DarkEdgeColor() const { return m_darkEdge; }
    void SetDarkEdgeColor(TColor c) { m_darkEdge = c; }
    TColor LightEdgeColor() const { return m_lightEdge; }
    void SetLightEdgeColor(TColor c) { m_lightEdge = c; }
    TFrameStyle BoxFrameStyle() const { return m_boxFrame; }
    void SetBoxFrameStyle(TFrameStyle s) { m_boxFrame = s; }
    int TextSize() const { return m_textSize; }
    void SetTextSize(int points) { m_textSize = points; }

    TFontStyles TextFontStyle() const { return m_textFontStyle; }
    void SetTextFontStyle(TFontStyles s);
    TTextBkg TextBkStyle() const { return m_textBkStyle; }
    void SetTextBkStyle(TTextBkg s);
    TColor TextBkColor() const { return m_textBkColor; }
    void SetTextBkColor(TColor c);
    TAlignment TextAlignment() const { return m_textAlignment; }
    void SetTextAlignment(TAlignment a);

    bool ClassVisible(int itemClass) const;
    void SetClassVisible(int itemClass, bool v); // store only; no repaint
    bool LayerVisible(int layer) const;
    void SetLayerVisible(int layer, bool v); // store only; no repaint

    bool AutoRedraw() const { return m_autoRedraw; }
    void SetAutoRedraw(bool v) { m_autoRedraw = v; }
    bool PaintSuppressed() const { return m_paintSuppressed; }
    void SetPaintSuppressed(bool v);

    // Recording. None of them repaints.
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
    // Appends a record as given (used for the kinds without an operation of their own).
    void AddItem(const TChartItem &item);
    void ClearItems();

    TCustomKurvo *UseDataOf() const { return m_owner; }
    void SetUseDataOf(TCustomKurvo *v);
    int SharerCount() const { return m_sharerCount; }

    // ---- layers, ranges and mapping ----
    void SetLayerRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh);
    void DataToPixel(int layer, double x, double y, int &px, int &py) const;
    QPoint DataToPixel(int layer, double x, double y) const;
    virtual void CalcTransforms();
    bool Isometric() const;
    void SetIsometric(bool v);
    // The joint tables; their setters raise EKeslKurvoError for invalid joins.
    TJointLayers *JointLayers() const { return m_joint; }
    // x low, y high, x high, y low of entry 1..16 of a layer's history.
    std::array<double, 4> RangeHistoryEntry(int layer, int entry) const;
    int RangeHistoryIndex() const;
    long double Kx(int layer) const;
    long double Dx(int layer) const;
    long double Ky(int layer) const;
    long double Dy(int layer) const;

    // ---- scale properties, margins, layouts ----
    TScalePropsHoriz *ScaleX(int layer) const { return m_propsX[Li(layer)]; }
    TScalePropsVert *ScaleY(int layer) const { return m_propsY[Li(layer)]; }
    TScale *ScaleObjectX(int layer) const { return m_scaleX[Li(layer)]; }
    TScale *ScaleObjectY(int layer) const { return m_scaleY[Li(layer)]; }
    TScalePropsHoriz *Scale1X() const { return m_propsX[0]; }
    TScalePropsHoriz *Scale2X() const { return m_propsX[1]; }
    TScalePropsHoriz *Scale3X() const { return m_propsX[2]; }
    TScalePropsHoriz *Scale4X() const { return m_propsX[3]; }
    TScalePropsVert *Scale1Y() const { return m_propsY[0]; }
    TScalePropsVert *Scale2Y() const { return m_propsY[1]; }
    TScalePropsVert *Scale3Y() const { return m_propsY[2]; }
    TScalePropsVert *Scale4Y() const { return m_propsY[3]; }
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
    void SetStandardLayout(TrcLayout k);

    // ---- appearance ----
    TColor WindColor() const { return m_windColor; }
    void SetWindColor(TColor c);
    TColor ChartColor() const { return m_chartColor; }
    void SetChartColor(TColor c);
    TColor ChartFrameColor() const { return m_chartFrameColor; }
    void SetChartFrameColor(TColor c);
    int ShadowWidth() const;
    void SetShadowWidth(int v);
    TShadowStyle ShadowStyle() const { return m_shadowStyle; }
    void SetShadowStyle(TShadowStyle s);
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor c);
    TColor ShadowBakColor() const { return m_shadowBakColor; }
    void SetShadowBakColor(TColor c);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &s);
    int CaptionPosX() const { return m_captionPosX; }
    void SetCaptionPosX(int v);
    int CaptionPosY() const { return m_captionPosY; }
    void SetCaptionPosY(int v);
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    void SetCaptionAlignment(TAlignment a);
    TCaptionAnchorHoriz CaptionAnchorHoriz() const { return m_captionAnchorH; }
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz a);
    TCaptionAnchorVert CaptionAnchorVert() const { return m_captionAnchorV; }
    void SetCaptionAnchorVert(TCaptionAnchorVert a);
    GridStyleType GridStyle() const { return m_gridStyle; }
    void SetGridStyle(GridStyleType g);
    TColor GridColor() const { return m_gridColor; }
    void SetGridColor(TColor c);
    double GridDx() const { return m_gridDx; }
    void SetGridDx(double v);
    double GridDy() const { return m_gridDy; }
    void SetGridDy(double v);
    TFont ChartFont() const { return m_font; }
    void SetChartFont(const TFont &f);
    TBakGndImg *BackGroundImg() const { return m_bkImg; }
    TTextLabel *TextLabel(int index) const; // 1..30, nullptr outside

    // ---- mouse: pan, zoom, rubber band, cross-hairs and label dragging ----
    TKurvoMouse &Mouse() const { return *m_mouse; }
    TCrossHair *CrossHair(int index) const { return m_mouse->CrossHair(index); } // 1..4
    TMouseActMode MouseAction() const { return m_mouse->MouseAction(); }
    void SetMouseAction(TMouseActMode a) { m_mouse->SetMouseAction(a); }
    bool MouseCursorFixed() const { return m_mouse->MouseCursorFixed(); }
    void SetMouseCursorFixed(bool v) { m_mouse->SetMouseCursorFixed(v); }
    TCrossHair *CrossHair1() const { return CrossHair(1); }
    TCrossHair *CrossHair2() const { return CrossHair(2); }
    TCrossHair *CrossHair3() const { return CrossHair(3); }
    TCrossHair *CrossHair4() const { return CrossHair(4); }
    // The chart coordinates of a pixel on a layer: the inverse of DataToPixel.
    QPointF PixelToData(int layer, int px, int py) const { return m_mouse->PixelToData(layer, px, py); }
    void PixelToData(int layer, int px, int py, double &x, double &y) const
    {
        const QPointF p = m_mouse->PixelToData(layer, px, py);
        x = p.x();
        y = p.y();
    }

    TRenderEvent OnBeforeRenderData;
    TRenderEvent OnDataRendered;
    TRenderEvent OnScalesRendered;
    TScaleTickDrawnEvent OnScaleTickDrawn;

    // ---- rendering ----
    virtual void Paint();
    void RenderFrame(TCanvas &canvas);
    virtual void RenderBackground(TCanvas &canvas, int ox, int oy);
    virtual void RenderData(TCanvas &canvas, int ox, int oy, bool monochrome, bool skipGrid);
    virtual void SetBounds(int left, int top, int width, int height);
    // The dialog-code answer: 1 lets the arrow keys, 2 Tab reach the key events.
    virtual int DialogCode() const { return 3; }

    // Key, with its modifiers: a key going down or up. Character: the text a
    // key press types.
    using TKeyEvent = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
    using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The picture of the last paint, control-sized; the data bitmap of the last paint.
    const TBitmap &ControlBitmap() const { return m_ctrlBmp; }
    const TBitmap &DataBitmap() const { return m_dataBmp; }
    // Number of completed paints (the picture was composed anew).
    int PaintCount() const { return m_paintCount; }
    // Control visibility as the Visible property says (not whether a window is mapped).
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
    void enterEvent(QEnterEvent *event) override
    {
        TControl::enterEvent(event);
        m_mouse->MouseEnter();
    }
    void leaveEvent(QEvent *event) override
    {
        TControl::leaveEvent(event);
        m_mouse->MouseLeave();
    }

    // Repaint when AutoRedraw is set.
    void Changed();

private:
    void RenderShadow(TCanvas &canvas, int W, int H, int s);
    QPoint CaptionOrigin(int W, int H, int s) const;
    void RenderCaption(TCanvas &canvas, int W, int H, int s);
    struct TReplay; // per-paint drawing state
    struct TFastMap;
    struct TItemPainter; // draws the recorded items, one function per kind

    void MapFast(int layer, double x, double y, int &px, int &py) const; // in Kesl_kurvo_map_p.h
    static bool ClampPixel(int &x, int &y); // to +-PixelMath::kItemReach; in Kesl_kurvo_map_p.h

    static int Li(int layer) { return std::clamp(layer, 1, kLayers) - 1; }
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
    TPlotArea PlotArea() const;
    void ApplyFollowers(int layer, bool history);
    void SetRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh);
    void PropagateRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh,
                        bool history);
    void ApplyRange(int layer, long double XLow, long double YLow, long double XHigh, long double YHigh, bool history);
    void RecordHistory();
    // Every layer's x low, y high, x high and y low, as the history holds them.
    std::array<std::array<double, 4>, kLayers> CurrentRanges() const;
    void OnLayerJoined(int layer, bool xAxis);
    void ResizeDataBitmap(bool printer);
    void DrawItems(TCanvas &canvas, int ox, int oy, bool monochrome);
    void DrawGrid(TCanvas &canvas, int ox, int oy);
    void DrawTextLabels(TCanvas &canvas, int ox, int oy);
    void DrawDataFrame(TCanvas &canvas, int ox, int oy);
    void ComposeToBitmap();

    std::shared_ptr<TKurvoItemStore> m_store;
    int m_allocSize = 1000;
    TColor m_dataColor = clBlack;
    TColor m_fillColor = clSilver;
    TColor m_darkEdge = clGray;
    TColor m_lightEdge = clWhite;
    TFrameStyle m_boxFrame = fsLowered;
    TPenStyle m_penStyle = psSolid;
    std::uint8_t m_lineWidth = 1;
    int m_currentLayer = 1;
    std::uint8_t m_classDefault = 0;
    int m_textSize = 10;
    TFontStyles m_textFontStyle = 0;
    TTextBkg m_textBkStyle = tbClear;
    TColor m_textBkColor = clWhite;
    TAlignment m_textAlignment = taCenter;
    std::array<bool, 256> m_classVisible;
    std::array<bool, kLayers> m_layerVisible;
    bool m_autoRedraw = true;
    bool m_paintSuppressed = true;
    bool m_shownOnce = false;

    TCustomKurvo *m_owner = nullptr;
    std::array<TCustomKurvo *, kMaxShares> m_sharers {};
    int m_sharerCount = 0;

    std::array<TScalePropsHoriz *, kLayers> m_propsX {};
    std::array<TScalePropsVert *, kLayers> m_propsY {};
    std::array<TScale *, kLayers> m_scaleX {};
    std::array<TScale *, kLayers> m_scaleY {};
    std::unique_ptr<TKurvoLayers> m_layers;
    TJointLayers *m_joint = nullptr;
    bool m_inPropsChange = false;

    std::unique_ptr<TKurvoLayout> m_layout;
    TColor m_windColor = clBtnFace;
    TColor m_chartColor = clWhite;
    TColor m_chartFrameColor = clBlack;
    TShadowStyle m_shadowStyle = ssFlying;
    TColor m_shadowColor = clGrayText;
    TColor m_shadowBakColor = clBtnFace;
    QString m_caption;
    int m_captionPosX = 0, m_captionPosY = -15;
    TAlignment m_captionAlignment = taRightJustify;
    TCaptionAnchorHoriz m_captionAnchorH = cahChartRight;
    TCaptionAnchorVert m_captionAnchorV = cavChartTop;
    GridStyleType m_gridStyle = gsNone;
    TColor m_gridColor = clBlack;
    double m_gridDx = 0, m_gridDy = 0;
    TFont m_font;
    TBakGndImg *m_bkImg = nullptr;
    std::array<TTextLabel *, kTextLabels> m_labels {};

    TBitmap m_ctrlBmp;
    TBitmap m_dataBmp;
    TBitmap m_imgBmp;
    int m_paintCount = 0;
    class TSite;
    std::unique_ptr<TSite> m_site;
    std::unique_ptr<TKurvoMouse> m_mouse;
    bool m_composed = false;
    QSize m_laidOutSize; // the size the scales and ranges were last laid out for
};

// The chart as placed on forms.
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
