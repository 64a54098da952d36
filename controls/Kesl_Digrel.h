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
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(QString StateText READ StateText WRITE SetStateText)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TAlignment LeftTextAlignment READ LeftTextAlignment WRITE SetLeftTextAlignment)
    Q_PROPERTY(TAlignment RightTextAlignment READ RightTextAlignment WRITE SetRightTextAlignment)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE SetOverflowIndicator)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TColor ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    Q_PROPERTY(TColor ColorLabText READ ColorLabText WRITE SetColorLabText)
    Q_PROPERTY(TColor ColorOutBakG READ ColorOutBakG WRITE SetColorOutBakG)
    Q_PROPERTY(TColor ColorOutText READ ColorOutText WRITE SetColorOutText)
    Q_PROPERTY(TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    Q_PROPERTY(TDisplay DisplayType READ DisplayType WRITE SetDisplayType)
    Q_PROPERTY(QString DTFormat READ DTFormat WRITE SetDTFormat)

public:
    /// Lets the owner change the value text before it is drawn.
    using TBeforeDisplayEvent = std::function<void(QObject *Sender, QString &Text)>;

    explicit TDigrel(QWidget *parent = nullptr);
    ~TDigrel() override;

    int LeftSpace() const { return m_leftSpace; }
    bool Empty() const { return m_empty; }
    int LabelWidth() const { return m_labelWidth; }
    int Precision() const { return m_format.Precision; }
    bool Comma() const { return m_format.Comma; }
    bool ForcePlusSign() const { return m_format.ForcePlusSign; }
    bool Transparent() const { return m_transparent; }
    QString LeftText() const { return m_leftText; }
    QString RightText() const { return m_rightText; }
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    QString StateText() const { return m_format.StateText; }
    TAlignment Alignment() const { return m_alignment; }
    TAlignment LeftTextAlignment() const { return m_leftTextAlignment; }
    TAlignment RightTextAlignment() const { return m_rightTextAlignment; }
    QString OverflowIndicator() const { return m_format.OverflowIndicator; }
    double Value() const { return m_value; }
    bool Enabled() const { return m_enabled; }
    TColor ColorLabBakG() const { return m_colorLabBakG; }
    TColor ColorLabText() const { return m_colorLabText; }
    TColor ColorOutBakG() const { return m_colorOutBakG; }
    TColor ColorOutText() const { return m_colorOutText; }
    TColorScheme ColorScheme() const { return m_colorScheme; }
    TDisplay DisplayType() const { return m_format.DisplayType; }
    QString DTFormat() const { return m_format.DTFormat; }
    /// The frame colours the colour scheme chose (DarkShadow never changes).
    TColor DarkShadowColor() const { return m_darkShadow; }
    TColor ShadowColor() const { return m_shadow; }
    TColor HighlightColor() const { return m_highlight; }

    /// Negative values are ignored; values above the width are stored as the width.
    void SetLeftSpace(int v);
    void SetEmpty(bool v);
    void SetLabelWidth(int v);
    /// Negative values are ignored; values above 15 are stored as 15.
    void SetPrecision(int v);
    void SetComma(bool v);
    void SetForcePlusSign(bool v);
    void SetTransparent(bool v);
    void SetLeftText(const QString &v);
    void SetRightText(const QString &v);
    void SetFrameStyle(TFrameStyle v);
    void SetStateText(const QString &v);
    void SetAlignment(TAlignment v);
    void SetLeftTextAlignment(TAlignment v);
    void SetRightTextAlignment(TAlignment v);
    void SetOverflowIndicator(const QString &v);
    void SetValue(double v);
    void SetEnabled(bool v);
    void SetColorLabBakG(TColor v);
    void SetColorLabText(TColor v);
    void SetColorOutBakG(TColor v);
    void SetColorOutText(TColor v);
    void SetColorScheme(TColorScheme v);
    void SetDisplayType(TDisplay v);
    void SetDTFormat(const QString &v);

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

    void Loaded() override;

protected:
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
