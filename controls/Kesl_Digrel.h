#pragma once

/// @file
/// The numeric label: a number in a framed field with captions.

#include "Kesl_DigrelFormat.h"
#include "Kesl_DigrelTypes.h"
#include "Kesl_keslbase.h"

#include "Canvas.h"
#include "Colors.h"
#include "Control.h"

#include <QString>
#include <QWidget>

#include <functional>

/// A number in a framed field with a caption on either side: left text, value
/// field, right text. It paints itself into an off-screen bitmap and puts that on
/// its surface in one step; a transparent label lets the parent show through
/// everywhere but inside the field.
class TDigrel : public TControl
{
    Q_OBJECT
    /// x of the value field's left edge in pixels (default 35); the left text
    /// lies in 0..LeftSpace. Negative values are ignored, larger ones than the
    /// width stored as the width. Repaints.
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    /// No value text is drawn, the texts and the field still are (default false). Repaints.
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
    /// Width of the value field in pixels (default 80). Repaints.
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)
    /// Digits or decimals, as DisplayType reads them, 0..15 (default 2);
    /// negative values are ignored, larger ones stored as 15. Repaints.
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    /// Decimal separator "," instead of "." (default false). Repaints.
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    /// A "+" before positive values (default false). Repaints.
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
    /// The parent shows through everywhere but inside the field (default false). Repaints.
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    /// Caption left of the field (default empty). Repaints.
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    /// Caption right of the field, such as a unit (default empty). Repaints.
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    /// Frame of the value field (default fsLowered). Repaints.
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    /// Text shown by the dtState display type (default "undefined"). Repaints.
    Q_PROPERTY(QString StateText READ StateText WRITE SetStateText)
    /// Alignment of the value text in the field (default taCenter). Repaints.
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    /// Alignment of the left text (default taRightJustify). Repaints.
    Q_PROPERTY(TAlignment LeftTextAlignment READ LeftTextAlignment WRITE SetLeftTextAlignment)
    /// Alignment of the right text (default taLeftJustify). Repaints.
    Q_PROPERTY(TAlignment RightTextAlignment READ RightTextAlignment WRITE SetRightTextAlignment)
    /// Shown when the value cannot be shown or does not fit (default nine
    /// asterisks). Repaints.
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE SetOverflowIndicator)
    /// The number shown (default 0). Repaints.
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    /// When false, the texts are drawn embossed grey (default true). Repaints.
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    /// Background of the value field (default clBtnFace). Repaints.
    Q_PROPERTY(TColor ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    /// Colour of the value text (default clBlack). Repaints.
    Q_PROPERTY(TColor ColorLabText READ ColorLabText WRITE SetColorLabText)
    /// Background outside the field (default clBtnFace). Repaints.
    Q_PROPERTY(TColor ColorOutBakG READ ColorOutBakG WRITE SetColorOutBakG)
    /// Colour of the left and right texts (default clBlack). Repaints.
    Q_PROPERTY(TColor ColorOutText READ ColorOutText WRITE SetColorOutText)
    /// Choice of frame colours: black/white/grey or the system's (default csBWG). Repaints.
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    /// How Value becomes text (default dtFixP). Repaints.
    Q_PROPERTY(TDisplay DisplayType READ DisplayType WRITE SetDisplayType)
    /// Date/time pattern of dtDateTime (default "mmm-dd, yyyy"). Repaints.
    Q_PROPERTY(QString DTFormat READ DTFormat WRITE SetDTFormat)

public:
    /// Lets the owner change the value text before it is drawn.
    using TBeforeDisplayEvent = std::function<void(QObject *Sender, QString &Text)>;

    /// A label of 160 x 28 pixels with the defaults on parent.
    explicit TDigrel(QWidget *parent = nullptr);
    /// Destroys the label.
    ~TDigrel() override;

    /// See the LeftSpace property.
    int LeftSpace() const { return m_leftSpace; }
    /// See the Empty property.
    bool Empty() const { return m_empty; }
    /// See the LabelWidth property.
    int LabelWidth() const { return m_labelWidth; }
    /// See the Precision property.
    int Precision() const { return m_format.Precision; }
    /// See the Comma property.
    bool Comma() const { return m_format.Comma; }
    /// See the ForcePlusSign property.
    bool ForcePlusSign() const { return m_format.ForcePlusSign; }
    /// See the Transparent property.
    bool Transparent() const { return m_transparent; }
    /// See the LeftText property.
    QString LeftText() const { return m_leftText; }
    /// See the RightText property.
    QString RightText() const { return m_rightText; }
    /// See the FrameStyle property.
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    /// See the StateText property.
    QString StateText() const { return m_format.StateText; }
    /// See the Alignment property.
    TAlignment Alignment() const { return m_alignment; }
    /// See the LeftTextAlignment property.
    TAlignment LeftTextAlignment() const { return m_leftTextAlignment; }
    /// See the RightTextAlignment property.
    TAlignment RightTextAlignment() const { return m_rightTextAlignment; }
    /// See the OverflowIndicator property.
    QString OverflowIndicator() const { return m_format.OverflowIndicator; }
    /// See the Value property.
    double Value() const { return m_value; }
    /// See the Enabled property.
    bool Enabled() const { return m_enabled; }
    /// See the ColorLabBakG property.
    TColor ColorLabBakG() const { return m_colorLabBakG; }
    /// See the ColorLabText property.
    TColor ColorLabText() const { return m_colorLabText; }
    /// See the ColorOutBakG property.
    TColor ColorOutBakG() const { return m_colorOutBakG; }
    /// See the ColorOutText property.
    TColor ColorOutText() const { return m_colorOutText; }
    /// See the ColorScheme property.
    TColorScheme ColorScheme() const { return m_colorScheme; }
    /// See the DisplayType property.
    TDisplay DisplayType() const { return m_format.DisplayType; }
    /// See the DTFormat property.
    QString DTFormat() const { return m_format.DTFormat; }
    /// The frame colours the colour scheme chose (DarkShadow never changes).
    TColor DarkShadowColor() const { return m_darkShadow; }
    /// The shadow colour of the frame, chosen by ColorScheme.
    TColor ShadowColor() const { return m_shadow; }
    /// The highlight colour of the frame, chosen by ColorScheme.
    TColor HighlightColor() const { return m_highlight; }

    /// Negative values are ignored; values above the width are stored as the width.
    void SetLeftSpace(int v);
    /// Sets the Empty property.
    void SetEmpty(bool v);
    /// Sets the LabelWidth property.
    void SetLabelWidth(int v);
    /// Negative values are ignored; values above 15 are stored as 15.
    void SetPrecision(int v);
    /// Sets the Comma property.
    void SetComma(bool v);
    /// Sets the ForcePlusSign property.
    void SetForcePlusSign(bool v);
    /// Sets the Transparent property.
    void SetTransparent(bool v);
    /// Sets the LeftText property.
    void SetLeftText(const QString &v);
    /// Sets the RightText property.
    void SetRightText(const QString &v);
    /// Sets the FrameStyle property.
    void SetFrameStyle(TFrameStyle v);
    /// Sets the StateText property.
    void SetStateText(const QString &v);
    /// Sets the Alignment property.
    void SetAlignment(TAlignment v);
    /// Sets the LeftTextAlignment property.
    void SetLeftTextAlignment(TAlignment v);
    /// Sets the RightTextAlignment property.
    void SetRightTextAlignment(TAlignment v);
    /// Sets the OverflowIndicator property.
    void SetOverflowIndicator(const QString &v);
    /// Sets the Value property.
    void SetValue(double v);
    /// Sets the Enabled property.
    void SetEnabled(bool v);
    /// Sets the ColorLabBakG property.
    void SetColorLabBakG(TColor v);
    /// Sets the ColorLabText property.
    void SetColorLabText(TColor v);
    /// Sets the ColorOutBakG property.
    void SetColorOutBakG(TColor v);
    /// Sets the ColorOutText property.
    void SetColorOutText(TColor v);
    /// Sets the ColorScheme property.
    void SetColorScheme(TColorScheme v);
    /// Sets the DisplayType property.
    void SetDisplayType(TDisplay v);
    /// Sets the DTFormat property.
    void SetDTFormat(const QString &v);

    /// Raised before the value text is drawn; the handler may change it.
    TBeforeDisplayEvent OnBeforeDisplay;

    /// The value as the field would show it, before OnBeforeDisplay and the width test.
    QString ValueText() const;
    /// The text drawn into the field by the latest paint (empty when none was).
    QString LastFieldText() const { return m_lastFieldText; }

    /// Copies the look and the value of another label and repaints; any other
    /// source raises EKeslError.
    void Assign(const QObject *source);
    /// Hands this label over to a destination label's Assign.
    void AssignTo(QObject *destination) const;

    /// Paints the label onto a surface that stands for its own canvas and already
    /// holds what lies beneath it; target's copy mode stays as the paint left it.
    void PaintOn(TCanvas &target);
    /// Draws the label's own picture (everything before it is put on a surface).
    void RenderBitmap(TBitmap &bmp);

    /// Ends loading, keeps LeftSpace within the width, and paints.
    void Loaded() override;

protected:
    /// Paints the label through PaintOn().
    void paintEvent(QPaintEvent *event) override;

private:
    /// Paints at once unless the label is being loaded.
    void PaintNow();
    /// Tells the platform whether the parent must be painted beneath the label.
    void UpdateOpaqueness();
    /// The colour of the rectangle pre-filled under the field of a transparent label.
    TColor FieldUnderlayColor() const;
    QRect FieldUnderlayRect() const;

    int m_leftSpace = 35;
    bool m_empty = false;
    int m_labelWidth = 80;
    TDigrelFormat m_format;
    bool m_transparent = false;
    QString m_leftText;
    QString m_rightText;
    TFrameStyle m_frameStyle = fsLowered;
    TAlignment m_alignment = taCenter;
    TAlignment m_leftTextAlignment = taRightJustify;
    TAlignment m_rightTextAlignment = taLeftJustify;
    double m_value = 0.0;
    bool m_enabled = true;
    TColor m_colorLabBakG = clBtnFace;
    TColor m_colorLabText = clBlack;
    TColor m_colorOutBakG = clBtnFace;
    TColor m_colorOutText = clBlack;
    TColor m_darkShadow = clBlack;
    TColor m_shadow = clGray;
    TColor m_highlight = clWhite;
    TColorScheme m_colorScheme = csBWG;
    QString m_lastFieldText;
};
