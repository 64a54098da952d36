#pragma once

/// @file
/// Cross-hairs and text labels of the chart.

#include "Canvas.h"
#include "Colors.h"
#include "Component.h"
#include "Kesl_DigrelTypes.h"

#include <QObject>
#include <QString>

/// Which lines a cross-hair shows: none, the horizontal one at PosY, the
/// vertical one at PosX, or both.
enum TCrossHMode { chOff, chHoriz, chVert, chBoth };

/// Vertical placement of a text label's lines at its anchor.
enum TVerticalAlignment { vaTop, vaCenter, vaBottom };

/// Which coordinates of a text label are chart coordinates of its layer; the
/// others are control pixels.
enum TTxtLblAttachMode { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };

/// Decoration of a text label.
enum TTxtLblMode { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };

/// One cross-hair of the chart. The chart sets its defaults, draws and drags it;
/// this object only holds the settings. Every setter notifies, even with an
/// unchanged value, so that writing a field always repaints the chart.
class TCrossHair : public QObject
{
    Q_OBJECT
    /// x of the vertical line, in x units of Layer (default 0). Notifies.
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    /// y of the horizontal line, in y units of Layer (default 0). Notifies.
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    /// Colour of the lines (default clBlack). Notifies.
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    /// Which lines are shown (default chOff). Notifies.
    Q_PROPERTY(TCrossHMode Mode READ Mode WRITE SetMode)
    /// Pen style of the lines (default psSolid). Notifies.
    Q_PROPERTY(TPenStyle LineType READ LineType WRITE SetLineType)
    /// Width of the lines in pixels (default 1). Notifies.
    Q_PROPERTY(int LineWid READ LineWid WRITE SetLineWid)
    /// Layer 1..16 whose axes map PosX and PosY (default 1). Notifies.
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)

public:
    /// A cross-hair with the defaults (switched off), owned by Owner.
    explicit TCrossHair(QObject *Owner = nullptr);

    /// See the PosX property.
    double PosX() const { return m_posX; }
    /// See the PosY property.
    double PosY() const { return m_posY; }
    /// See the Color property.
    TColor Color() const { return m_color; }
    /// See the Mode property.
    TCrossHMode Mode() const { return m_mode; }
    /// See the LineType property.
    TPenStyle LineType() const { return m_lineType; }
    /// See the LineWid property.
    int LineWid() const { return m_lineWid; }
    /// See the Layer property.
    int Layer() const { return m_layer; }

    /// Sets the PosX property.
    void SetPosX(double Value);
    /// Sets the PosY property.
    void SetPosY(double Value);
    /// Sets the Color property.
    void SetColor(TColor Value);
    /// A mode beyond its enumeration's last is ignored.
    void SetMode(TCrossHMode Value);
    /// A style beyond its enumeration's last is ignored.
    void SetLineType(TPenStyle Value);
    /// Sets the LineWid property.
    void SetLineWid(int Value);
    /// Clamped to 1..16.
    void SetLayer(int Value);

    /// There is no copy of a whole cross-hair: always raises EKeslError.
    void Assign(const QObject *Source);

    /// Raised by every setter, even with an unchanged value.
    TNotifyEvent OnChange;

private:
    void Changed();

    double m_posX = 0;
    double m_posY = 0;
    TColor m_color = clBlack;
    TCrossHMode m_mode = chOff;
    TPenStyle m_lineType = psSolid;
    int m_lineWid = 1;
    int m_layer = 1;
};

/// Settings of a text label placed on the chart at pixel or chart coordinates.
/// The chart draws and drags it; every setter notifies the owner through
/// OnChange (Layer only when the value is accepted).
class TCustomTextLabel : public QObject
{
    Q_OBJECT
    /// x of the anchor (default 100): in x units of Layer when AttachToData
    /// includes x, else in pixels of the control. Notifies.
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    /// y of the anchor (default 10): in y units of Layer when AttachToData
    /// includes y, else in pixels of the control. Notifies.
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    /// Layer 1..16 whose axes map attached coordinates (default 1); other
    /// values are ignored. Notifies when accepted.
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    /// Horizontal offset of the shadow (tlShadow) in pixels (default 0). Notifies.
    Q_PROPERTY(int ShadowDx READ ShadowDx WRITE SetShadowDx)
    /// Vertical offset of the shadow (tlShadow) in pixels (default 0). Notifies.
    Q_PROPERTY(int ShadowDy READ ShadowDy WRITE SetShadowDy)
    /// Colour of the shadow (default clGray). Notifies.
    Q_PROPERTY(TColor ColorShadow READ ColorShadow WRITE SetColorShadow)
    /// Horizontal placement of the lines at the anchor (default taCenter). Notifies.
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    /// Vertical placement of the lines at the anchor (default vaBottom). Notifies.
    Q_PROPERTY(TVerticalAlignment VerticalAlignment READ VerticalAlignment WRITE SetVerticalAlignment)
    /// Which of PosX and PosY are chart coordinates (default tlamNone: both pixels). Notifies.
    Q_PROPERTY(TTxtLblAttachMode AttachToData READ AttachToData WRITE SetAttachToData)
    /// Background colour of the box (default clSilver), unless Transparent. Notifies.
    Q_PROPERTY(TColor ColorBkg READ ColorBkg WRITE SetColorBkg)
    /// Colour of the border, underline and shadow lines (default clBlack). Notifies.
    Q_PROPERTY(TColor ColorBorder READ ColorBorder WRITE SetColorBorder)
    /// No background fill (default false). Notifies.
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    /// Font of the caption (default the platform's). Notifies.
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    /// The text; a line feed starts a new line (default empty). Notifies.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    /// Decoration: none shown, plain, box, underline or shadow (default tlsimple). Notifies.
    Q_PROPERTY(TTxtLblMode Mode READ Mode WRITE SetMode)
    /// Whether the label is drawn (default true). Notifies.
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    /// A visible label with the defaults, owned by Owner.
    explicit TCustomTextLabel(QObject *Owner = nullptr);

    /// See the PosX property.
    double PosX() const { return m_posX; }
    /// See the PosY property.
    double PosY() const { return m_posY; }
    /// See the Layer property.
    int Layer() const { return m_layer; }
    /// See the ShadowDx property.
    int ShadowDx() const { return m_shadowDx; }
    /// See the ShadowDy property.
    int ShadowDy() const { return m_shadowDy; }
    /// See the ColorShadow property.
    TColor ColorShadow() const { return m_colorShadow; }
    /// See the Alignment property.
    TAlignment Alignment() const { return m_alignment; }
    /// See the VerticalAlignment property.
    TVerticalAlignment VerticalAlignment() const { return m_verticalAlignment; }
    /// See the AttachToData property.
    TTxtLblAttachMode AttachToData() const { return m_attachToData; }
    /// See the ColorBkg property.
    TColor ColorBkg() const { return m_colorBkg; }
    /// See the ColorBorder property.
    TColor ColorBorder() const { return m_colorBorder; }
    /// See the Transparent property.
    bool Transparent() const { return m_transparent; }
    /// See the Font property.
    const TFont &Font() const { return m_font; }
    /// See the Caption property.
    QString Caption() const { return m_caption; }
    /// See the Mode property.
    TTxtLblMode Mode() const { return m_mode; }
    /// See the Visible property.
    bool Visible() const { return m_visible; }

    /// Sets the PosX property.
    void SetPosX(double Value);
    /// Sets the PosY property.
    void SetPosY(double Value);
    /// A layer outside 1..16 is ignored: nothing stored, no notification.
    void SetLayer(int Value);
    /// Sets the ShadowDx property.
    void SetShadowDx(int Value);
    /// Sets the ShadowDy property.
    void SetShadowDy(int Value);
    /// Sets the ColorShadow property.
    void SetColorShadow(TColor Value);
    /// Enumeration setters ignore a value beyond their enumeration's last.
    void SetAlignment(TAlignment Value);
    /// Sets the VerticalAlignment property.
    void SetVerticalAlignment(TVerticalAlignment Value);
    /// Sets the AttachToData property.
    void SetAttachToData(TTxtLblAttachMode Value);
    /// Sets the ColorBkg property.
    void SetColorBkg(TColor Value);
    /// Sets the ColorBorder property.
    void SetColorBorder(TColor Value);
    /// Sets the Transparent property.
    void SetTransparent(bool Value);
    /// The font's attributes are copied into the label's own font.
    void SetFont(const TFont &Value);
    /// Control characters other than the line feed become blanks.
    void SetCaption(const QString &Value);
    /// Sets the Mode property.
    void SetMode(TTxtLblMode Value);
    /// Sets the Visible property.
    void SetVisible(bool Value);

    /// There is no copy of a whole label: always raises EKeslError.
    void Assign(const QObject *Source);

    /// Raised by every setter (SetLayer only when the value is accepted).
    TNotifyEvent OnChange;

protected:
    /// Raises OnChange.
    void Changed();

private:
    double m_posX = 100;
    double m_posY = 10;
    int m_layer = 1;
    int m_shadowDx = 0;
    int m_shadowDy = 0;
    TColor m_colorShadow = clGray;
    TAlignment m_alignment = taCenter;
    TVerticalAlignment m_verticalAlignment = vaBottom;
    TTxtLblAttachMode m_attachToData = tlamNone;
    TColor m_colorBkg = clSilver;
    TColor m_colorBorder = clBlack;
    bool m_transparent = false;
    TFont m_font;
    QString m_caption;
    TTxtLblMode m_mode = tlsimple;
    bool m_visible = true;
};
