#pragma once

/// @file
/// The axis scale: tick spacing, labels and drawing, and the stand-alone scale control.

#include "Kesl_DigrelTypes.h"
#include "Kesl_Scale_types.h"
#include "Kesl_keslbase.h"
#include "Kesl_keslbase_dtlabel.h"

#include "Canvas.h"
#include "Colors.h"
#include "Control.h"

#include <QImage>
#include <QString>
#include <QVector>

#include <cstdint>
#include <functional>
#include <memory>

/// Raised after every tick line: the handler may draw on the canvas; (ChartX,
/// ChartY) is where the tick leaves the base line.
using TScaleTickDrawnEvent = std::function<void(QObject *Sender, TCanvas &Canvas, TScaleType ScaleType,
                                                double CurrentTickPos, int ChartX, int ChartY)>;
/// Raised by Paint before and after the scale is drawn onto Canvas.
using TScaleRenderedEvent = std::function<void(QObject *Sender, TCanvas &Canvas)>;

struct TScaleTick;
struct TScaleTickResult;
struct TScaleTickSettings;

/// One axis scale: a base line with ticks, labels and a caption. Stand-alone it
/// paints its own background and frame; hosted by a chart it has no window and
/// draws onto the chart's bitmap when the chart calls ForcePaint.
class TScale : public TControl
{
    Q_OBJECT
    /// Orientation and side of the ticks (default sctXB). Redraws.
    Q_PROPERTY(TScaleType ScaleType READ ScaleType WRITE SetScaleType)
    /// Value at the scale's low end (default 0); equal ends are never kept:
    /// the other end moves to the value + 1. Redraws.
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    /// Value at the scale's high end (default 100); the rule of RangeLow applies. Redraws.
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    /// Logarithmic scale (default false); after loading, switching on needs
    /// both ends at or above the log floor and no date/time labels. Redraws.
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    /// Smallest number of long ticks aimed at, 2..10, or 0 for a tick at every
    /// whole unit (default 3). Redraws.
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    /// Long ticks recorded by the last drawing (read only).
    Q_PROPERTY(int NumTicks READ NumTicks)
    /// Decimals of numeric labels, -3..12 (default -2): -2 and -3 choose them
    /// from the range, -1 writes exponents, 0..12 a fixed number. Redraws.
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    /// Short ticks between the long ones (default true). Redraws.
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    /// Draws the base line (default true). Redraws.
    Q_PROPERTY(bool ShowBaseLine READ ShowBaseLine WRITE SetShowBaseLine)
    /// The parent shows through the background (default false). Redraws.
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    /// What the long ticks are labelled with (default ftNum); ftDateTime
    /// switches Logarithmic off, ftTime sets DecPlaces to 4. Redraws.
    Q_PROPERTY(TFigType LabelType READ LabelType WRITE SetLabelType)
    /// The owned date/time label settings (read only; SetDateFormat() copies
    /// into it); changing a field redraws the scale.
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat)
    /// Texts of the long ticks for ftUserText, separated by "|" (default empty). Redraws.
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    /// Pattern the numeric labels are written into (default empty: the bare number). Redraws.
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    /// Caption of the scale (default empty). Redraws.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    /// Horizontal offset of the caption from its anchor, in pixels (default 4). Redraws.
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    /// Vertical offset of the caption from its anchor, in pixels (default 4). Redraws.
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    /// Alignment of the caption (default taCenter). Redraws.
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    /// Point of the scale the caption is anchored to (default uaSclTopLft). Redraws.
    Q_PROPERTY(TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    /// Space above the scale in pixels (default 20); negative becomes 0. Redraws.
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    /// Space below the scale in pixels (default 20); negative becomes 0. Redraws.
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    /// Space left of the scale in pixels (default 20); negative becomes 0. Redraws.
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    /// Space right of the scale in pixels (default 20); negative becomes 0. Redraws.
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    /// Background colour of a stand-alone scale (default clBtnFace). Redraws.
    Q_PROPERTY(TColor ColorBackGnd READ ColorBackGnd WRITE SetColorBackGnd)
    /// Colour of the base line, ticks and labels (default clBlack). Redraws.
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    /// Choice of frame colours (default csBWG). Redraws.
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    /// Frame of a stand-alone scale (default fsLowered). Redraws.
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)

public:
    /// Room of the tick list; further ticks are drawn but not recorded.
    static constexpr int TickListCapacity = 250;

    /// A horizontal scale from 0 to 100 with the defaults on parent.
    explicit TScale(QWidget *parent = nullptr);
    /// Frees the date/time settings and the surface.
    ~TScale() override;

    /// See the ScaleType property.
    TScaleType ScaleType() const { return m_scaleType; }
    /// See the RangeLow property.
    double RangeLow() const { return m_rangeLow; }
    /// See the RangeHigh property.
    double RangeHigh() const { return m_rangeHigh; }
    /// See the Logarithmic property.
    bool Logarithmic() const { return m_logarithmic; }
    /// See the MinTicks property.
    int MinTicks() const { return m_minTicks; }
    /// Ticks recorded by the last drawing.
    int NumTicks() const { return int(m_ticks.size()); }
    /// See the DecPlaces property.
    int DecPlaces() const { return m_decPlaces; }
    /// See the ShortTicks property.
    bool ShortTicks() const { return m_shortTicks; }
    /// See the ShowBaseLine property.
    bool ShowBaseLine() const { return m_showBaseLine; }
    /// See the Transparent property.
    bool Transparent() const { return m_transparent; }
    /// See the LabelType property.
    TFigType LabelType() const { return m_labelType; }
    /// The owned date/time label settings; changing a field redraws the scale.
    TDTLabel *DateFormat() const { return m_dateFormat; }
    /// See the UserTickText property.
    QString UserTickText() const { return m_userTickText; }
    /// See the ScaleInscript property.
    QString ScaleInscript() const { return m_scaleInscript; }
    /// See the Caption property.
    QString Caption() const { return m_caption; }
    /// See the CaptionPosX property.
    int CaptionPosX() const { return m_captionPosX; }
    /// See the CaptionPosY property.
    int CaptionPosY() const { return m_captionPosY; }
    /// See the CaptionAlignment property.
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    /// See the CaptionAnchor property.
    TScaleUnitAnchor CaptionAnchor() const { return m_captionAnchor; }
    /// See the MarginTop property.
    int MarginTop() const { return m_marginTop; }
    /// See the MarginBottom property.
    int MarginBottom() const { return m_marginBottom; }
    /// See the MarginLeft property.
    int MarginLeft() const { return m_marginLeft; }
    /// See the MarginRight property.
    int MarginRight() const { return m_marginRight; }
    /// See the ColorBackGnd property.
    TColor ColorBackGnd() const { return m_colorBackGnd; }
    /// See the ColorScale property.
    TColor ColorScale() const { return m_colorScale; }
    /// See the ColorScheme property.
    TColorScheme ColorScheme() const { return m_colorScheme; }
    /// See the FrameStyle property.
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    /// Font of the labels and the caption (default the platform's).
    const TFont &Font() const { return m_font; }
    /// Frame colours chosen by the colour scheme (the dark one also draws the frame line).
    TColor DarkColor() const { return m_darkColor; }
    /// The shadow colour of the frame, chosen by ColorScheme.
    TColor ShadowColor() const { return m_shadowColor; }
    /// The highlight colour of the frame, chosen by ColorScheme.
    TColor HighlightColor() const { return m_highlightColor; }

    /// Sets the ScaleType property.
    void SetScaleType(TScaleType v);
    /// Equal ends are never kept: the other end moves to the value + 1.
    void SetRangeLow(double v);
    /// Sets the RangeHigh property.
    void SetRangeHigh(double v);
    /// After loading, switching on needs both ends at or above the log floor and no date/time labels.
    void SetLogarithmic(bool v);
    /// A non-zero value is limited to 2..10; 0 asks for a tick at every whole unit.
    void SetMinTicks(int v);
    /// Limited to -3..12.
    void SetDecPlaces(int v);
    /// Sets the ShortTicks property.
    void SetShortTicks(bool v);
    /// Sets the ShowBaseLine property.
    void SetShowBaseLine(bool v);
    /// Sets the Transparent property.
    void SetTransparent(bool v);
    /// ftDateTime switches Logarithmic off; ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType v);
    /// Copies the given settings into the owned object (nothing for a null source).
    void SetDateFormat(const TDTLabel *v);
    /// Sets the UserTickText property.
    void SetUserTickText(const QString &v);
    /// Sets the ScaleInscript property.
    void SetScaleInscript(const QString &v);
    /// Sets the Caption property.
    void SetCaption(const QString &v);
    /// Sets the CaptionPosX property.
    void SetCaptionPosX(int v);
    /// Sets the CaptionPosY property.
    void SetCaptionPosY(int v);
    /// Sets the CaptionAlignment property.
    void SetCaptionAlignment(TAlignment v);
    /// Sets the CaptionAnchor property.
    void SetCaptionAnchor(TScaleUnitAnchor v);
    /// Negative margins become 0.
    void SetMarginTop(int v);
    /// Sets the MarginBottom property.
    void SetMarginBottom(int v);
    /// Sets the MarginLeft property.
    void SetMarginLeft(int v);
    /// Sets the MarginRight property.
    void SetMarginRight(int v);
    /// Sets the ColorBackGnd property.
    void SetColorBackGnd(TColor v);
    /// Sets the ColorScale property.
    void SetColorScale(TColor v);
    /// Sets the ColorScheme property.
    void SetColorScheme(TColorScheme v);
    /// Sets the FrameStyle property.
    void SetFrameStyle(TFrameStyle v);
    /// Sets the font of the labels and the caption. Redraws.
    void SetFont(const TFont &v);

    /// Raised after every tick line is drawn.
    TScaleTickDrawnEvent OnScaleTickDrawn;
    /// Raised by Paint before the scale is drawn.
    TScaleRenderedEvent OnBeforeScaleRendered;
    /// Raised by Paint after the scale is drawn.
    TScaleRenderedEvent OnAfterScaleRendered;

    // --- Hosting (a chart owns the scale and draws it onto its own bitmap) ---

    /// Opaque or hosted scales paint at once; a transparent stand-alone scale is
    /// invalidated so that its parent paints the background first.
    void Redraw();
    /// While locked Paint does nothing; unlocking redraws.
    void SetPaintLock(bool locked);
    /// Whether Paint is locked (see SetPaintLock()).
    bool PaintLocked() const { return m_paintLock; }
    /// Paints once whatever the lock, then restores it.
    void ForcePaint();
    /// A hosted scale never becomes a window of its own.
    void SetHosted(bool v);
    /// Whether a chart hosts the scale.
    bool Hosted() const { return m_hosted; }
    /// Paint then draws onto this canvas at (x, y) instead of the scale's own
    /// surface; null goes back to the own surface. No repaint.
    void SetExternalCanvas(TCanvas *canvas, int x, int y);
    /// The canvas Paint draws onto; null for the own surface.
    TCanvas *ExternalCanvas() const { return m_extCanvas; }
    /// x on the external canvas where the scale is drawn, in pixels.
    int ExternalX() const { return m_extX; }
    /// y on the external canvas where the scale is drawn, in pixels.
    int ExternalY() const { return m_extY; }
    /// Moves and sizes the scale, remaps and redraws (works without a window).
    void SetBounds(int left, int top, int width, int height);
    /// Whether Paint draws: for a hosted scale a flag of its own (it never shows a
    /// window), for a stand-alone one the widget's visibility.
    bool Visible() const;
    /// Sets whether Paint draws (see Visible()).
    void SetVisible(bool v);
    /// Follows SetVisible() for a hosted scale; shows or hides a stand-alone one.
    void setVisible(bool visible) override;

    /// Copies every setting but fonts, size, hosting and the render events from
    /// another scale, then redraws; any other source raises EKeslError.
    void Assign(const QObject *source);
    /// Hands this scale over to a destination scale's Assign().
    void AssignTo(QObject *dest) const;

    /// Ends loading, recomputes the value-to-pixel map and redraws.
    void Loaded() override;

    // --- Drawing ---

    /// Tick list entry index (from 1); 0 outside 1..NumTicks.
    double TickValue(int index) const;
    /// Recomputes the value-to-pixel map from range, size and margins.
    void UpdateMapping();
    /// Pixel along the scale (x for horizontal, y for vertical scales).
    int ValueToPixel(double v) const;
    /// Pixels per unit of the value-to-pixel map.
    double MapFactor() const { return m_k; }
    /// Pixel of the value 0 of the value-to-pixel map.
    double MapOffset() const { return m_offset; }
    /// The scale placed by its type and margins, offset by dx, dy, with its base line.
    void DrawScaleAndBase(TCanvas &c, int dx, int dy);
    /// Draws background, scale and frame onto c with the scale's top left at (x, y).
    void DrawOpaque(TCanvas &c, int x, int y);
    /// Ticks, labels and caption with the base line at BaseY / BaseX; pen colour,
    /// pen width and font are the caller's.
    void DrawHorizScale(TCanvas &canvas, int baseY);
    /// As DrawHorizScale(), for a vertical scale with its base line at baseX.
    void DrawVertScale(TCanvas &canvas, int baseX);
    /// Background, scale, base line and frame onto the external canvas or the
    /// scale's own surface.
    void Paint();
    /// The picture of the last Paint onto the scale's own surface.
    const QImage &Surface() const { return m_surface; }

protected:
    /// Paints a stand-alone scale.
    void paintEvent(QPaintEvent *event) override;
    /// Remaps at the new size; a stand-alone scale redraws.
    void resizeEvent(QResizeEvent *event) override;
    /// The first showing of a stand-alone scale unlocks its painting.
    void showEvent(QShowEvent *event) override;

private:
    void DrawScale(TCanvas &canvas, int base, bool vertical);
    TScaleTickSettings TickSettings(bool vertical) const;
    bool TicksTowardsPlus() const;
    /// Where the ticks of one DrawScale go: base line, orientation, and the
    /// height of "0" measured once before any tick is drawn.
    struct TTickPlace
    {
        int Base;
        bool Vertical;
        int ZeroHeight;
    };
    void DrawTick(TCanvas &canvas, const TScaleTick &t, const TScaleTickResult &r, const TTickPlace &at);
    void DrawTickLabels(TCanvas &canvas, const TScaleTick &t, const TScaleTickResult &r, std::int64_t p,
                        const TTickPlace &at);
    void DrawHorizLabel(TCanvas &canvas, std::int64_t p, int lineBase, const QString &text);
    void DrawTickMessage(TCanvas &canvas, const TScaleTickResult &r, int base, bool vertical);
    void RecordTick(double v);
    void DrawCaption(TCanvas &canvas, int base, bool vertical);
    void ApplyColorScheme();
    void OnDateFormatChanged();
    bool IsHorizontal() const { return m_scaleType == sctXB || m_scaleType == sctXT; }

    TScaleType m_scaleType = sctXB;
    double m_rangeLow = 0.0;
    double m_rangeHigh = 100.0;
    bool m_logarithmic = false;
    int m_minTicks = 3;
    int m_decPlaces = -2;
    bool m_shortTicks = true;
    bool m_showBaseLine = true;
    bool m_transparent = false;
    TFigType m_labelType = ftNum;
    TDTLabel *m_dateFormat = nullptr;
    QString m_userTickText;
    QString m_scaleInscript;
    QString m_caption;
    int m_captionPosX = 4;
    int m_captionPosY = 4;
    TAlignment m_captionAlignment = taCenter;
    TScaleUnitAnchor m_captionAnchor = uaSclTopLft;
    int m_marginTop = 20;
    int m_marginBottom = 20;
    int m_marginLeft = 20;
    int m_marginRight = 20;
    TColor m_colorBackGnd = clBtnFace;
    TColor m_colorScale = clBlack;
    TColorScheme m_colorScheme = csBWG;
    TFrameStyle m_frameStyle = fsLowered;
    TFont m_font;

    TColor m_darkColor = clBlack;
    TColor m_shadowColor = clGray;
    TColor m_highlightColor = clWhite;
    double m_k = 1.0;
    double m_offset = 0.0;
    bool m_constructing = true;
    bool m_hosted = false;
    bool m_hostedVisible = true;
    QVector<double> m_ticks;
    TCanvas *m_extCanvas = nullptr;
    int m_extX = 0;
    int m_extY = 0;
    bool m_paintLock = true;
    bool m_windowCreated = false;
    /// Transparent paints at an offset move the whole drawing, not only the base line.
    int m_drawShift = 0;

    /// The scale's own surface (stand-alone scales): ARGB so that a transparent
    /// scale lets its parent show through.
    QImage m_surface;
    std::unique_ptr<TCanvas> m_surfaceCanvas;
    bool m_surfaceFresh = false;
};
