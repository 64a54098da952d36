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
    Q_PROPERTY(TScaleType ScaleType READ ScaleType WRITE SetScaleType)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(int NumTicks READ NumTicks)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(bool ShowBaseLine READ ShowBaseLine WRITE SetShowBaseLine)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(TFigType LabelType READ LabelType WRITE SetLabelType)
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(TColor ColorBackGnd READ ColorBackGnd WRITE SetColorBackGnd)
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)

public:
    /// Room of the tick list; further ticks are drawn but not recorded.
    static constexpr int TickListCapacity = 250;

    explicit TScale(QWidget *parent = nullptr);
    ~TScale() override;

    TScaleType ScaleType() const { return m_scaleType; }
    double RangeLow() const { return m_rangeLow; }
    double RangeHigh() const { return m_rangeHigh; }
    bool Logarithmic() const { return m_logarithmic; }
    int MinTicks() const { return m_minTicks; }
    /// Ticks recorded by the last drawing.
    int NumTicks() const { return int(m_ticks.size()); }
    int DecPlaces() const { return m_decPlaces; }
    bool ShortTicks() const { return m_shortTicks; }
    bool ShowBaseLine() const { return m_showBaseLine; }
    bool Transparent() const { return m_transparent; }
    TFigType LabelType() const { return m_labelType; }
    /// The owned date/time label settings; changing a field redraws the scale.
    TDTLabel *DateFormat() const { return m_dateFormat; }
    QString UserTickText() const { return m_userTickText; }
    QString ScaleInscript() const { return m_scaleInscript; }
    QString Caption() const { return m_caption; }
    int CaptionPosX() const { return m_captionPosX; }
    int CaptionPosY() const { return m_captionPosY; }
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    TScaleUnitAnchor CaptionAnchor() const { return m_captionAnchor; }
    int MarginTop() const { return m_marginTop; }
    int MarginBottom() const { return m_marginBottom; }
    int MarginLeft() const { return m_marginLeft; }
    int MarginRight() const { return m_marginRight; }
    TColor ColorBackGnd() const { return m_colorBackGnd; }
    TColor ColorScale() const { return m_colorScale; }
    TColorScheme ColorScheme() const { return m_colorScheme; }
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    const TFont &Font() const { return m_font; }
    /// Frame colours chosen by the colour scheme (the dark one also draws the frame line).
    TColor DarkColor() const { return m_darkColor; }
    TColor ShadowColor() const { return m_shadowColor; }
    TColor HighlightColor() const { return m_highlightColor; }

    void SetScaleType(TScaleType v);
    /// Equal ends are never kept: the other end moves to the value + 1.
    void SetRangeLow(double v);
    void SetRangeHigh(double v);
    /// After loading, switching on needs both ends at or above the log floor and no date/time labels.
    void SetLogarithmic(bool v);
    /// A non-zero value is limited to 2..10; 0 asks for a tick at every whole unit.
    void SetMinTicks(int v);
    /// Limited to -3..12.
    void SetDecPlaces(int v);
    void SetShortTicks(bool v);
    void SetShowBaseLine(bool v);
    void SetTransparent(bool v);
    /// ftDateTime switches Logarithmic off; ftTime sets DecPlaces to 4.
    void SetLabelType(TFigType v);
    /// Copies the given settings into the owned object (nothing for a null source).
    void SetDateFormat(const TDTLabel *v);
    void SetUserTickText(const QString &v);
    void SetScaleInscript(const QString &v);
    void SetCaption(const QString &v);
    void SetCaptionPosX(int v);
    void SetCaptionPosY(int v);
    void SetCaptionAlignment(TAlignment v);
    void SetCaptionAnchor(TScaleUnitAnchor v);
    /// Negative margins become 0.
    void SetMarginTop(int v);
    void SetMarginBottom(int v);
    void SetMarginLeft(int v);
    void SetMarginRight(int v);
    void SetColorBackGnd(TColor v);
    void SetColorScale(TColor v);
    void SetColorScheme(TColorScheme v);
    void SetFrameStyle(TFrameStyle v);
    void SetFont(const TFont &v);

    TScaleTickDrawnEvent OnScaleTickDrawn;
    TScaleRenderedEvent OnBeforeScaleRendered;
    TScaleRenderedEvent OnAfterScaleRendered;

    // --- Hosting (a chart owns the scale and draws it onto its own bitmap) ---

    /// Opaque or hosted scales paint at once; a transparent stand-alone scale is
    /// invalidated so that its parent paints the background first.
    void Redraw();
    /// While locked Paint does nothing; unlocking redraws.
    void SetPaintLock(bool locked);
    bool PaintLocked() const { return m_paintLock; }
    /// Paints once whatever the lock, then restores it.
    void ForcePaint();
    /// A hosted scale never becomes a window of its own.
    void SetHosted(bool v);
    bool Hosted() const { return m_hosted; }
    /// Paint then draws onto this canvas at (x, y) instead of the scale's own
    /// surface; null goes back to the own surface. No repaint.
    void SetExternalCanvas(TCanvas *canvas, int x, int y);
    TCanvas *ExternalCanvas() const { return m_extCanvas; }
    int ExternalX() const { return m_extX; }
    int ExternalY() const { return m_extY; }
    /// Moves and sizes the scale, remaps and redraws (works without a window).
    void SetBounds(int left, int top, int width, int height);
    /// Whether Paint draws: for a hosted scale a flag of its own (it never shows a
    /// window), for a stand-alone one the widget's visibility.
    bool Visible() const;
    void SetVisible(bool v);
    void setVisible(bool visible) override;

    /// Copies every setting but fonts, size, hosting and the render events from
    /// another scale, then redraws; any other source raises EKeslError.
    void Assign(const QObject *source);
    void AssignTo(QObject *dest) const;

    void Loaded() override;

    // --- Drawing ---

    /// Tick list entry index (from 1); 0 outside 1..NumTicks.
    double TickValue(int index) const;
    /// Recomputes the value-to-pixel map from range, size and margins.
    void UpdateMapping();
    /// Pixel along the scale (x for horizontal, y for vertical scales).
    int ValueToPixel(double v) const;
    double MapFactor() const { return m_k; }
    double MapOffset() const { return m_offset; }
    /// The scale placed by its type and margins, offset by dx, dy, with its base line.
    void DrawScaleAndBase(TCanvas &c, int dx, int dy);
    void DrawOpaque(TCanvas &c, int x, int y);
    /// Ticks, labels and caption with the base line at BaseY / BaseX; pen colour,
    /// pen width and font are the caller's.
    void DrawHorizScale(TCanvas &canvas, int baseY);
    void DrawVertScale(TCanvas &canvas, int baseX);
    /// Background, scale, base line and frame onto the external canvas or the
    /// scale's own surface.
    void Paint();
    /// The picture of the last Paint onto the scale's own surface.
    const QImage &Surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
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
