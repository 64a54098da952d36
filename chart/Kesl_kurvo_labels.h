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
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TCrossHMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(TPenStyle LineType READ LineType WRITE SetLineType)
    Q_PROPERTY(int LineWid READ LineWid WRITE SetLineWid)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)

public:
    explicit TCrossHair(QObject *Owner = nullptr);

    double PosX() const { return m_posX; }
    double PosY() const { return m_posY; }
    TColor Color() const { return m_color; }
    TCrossHMode Mode() const { return m_mode; }
    TPenStyle LineType() const { return m_lineType; }
    int LineWid() const { return m_lineWid; }
    int Layer() const { return m_layer; }

    void SetPosX(double Value);
    void SetPosY(double Value);
    void SetColor(TColor Value);
    /// Any integer is accepted; a mode outside the enumeration is stored as chOff.
    void SetMode(TCrossHMode Value);
    /// A style outside the enumeration is stored as psSolid.
    void SetLineType(TPenStyle Value);
    void SetLineWid(int Value);
    /// Clamped to 1..16.
    void SetLayer(int Value);

    /// There is no copy of a whole cross-hair: always raises EKeslError.
    void Assign(const QObject *Source);

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
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    Q_PROPERTY(int ShadowDx READ ShadowDx WRITE SetShadowDx)
    Q_PROPERTY(int ShadowDy READ ShadowDy WRITE SetShadowDy)
    Q_PROPERTY(TColor ColorShadow READ ColorShadow WRITE SetColorShadow)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TVerticalAlignment VerticalAlignment READ VerticalAlignment WRITE SetVerticalAlignment)
    Q_PROPERTY(TTxtLblAttachMode AttachToData READ AttachToData WRITE SetAttachToData)
    Q_PROPERTY(TColor ColorBkg READ ColorBkg WRITE SetColorBkg)
    Q_PROPERTY(TColor ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TTxtLblMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TCustomTextLabel(QObject *Owner = nullptr);

    double PosX() const { return m_posX; }
    double PosY() const { return m_posY; }
    int Layer() const { return m_layer; }
    int ShadowDx() const { return m_shadowDx; }
    int ShadowDy() const { return m_shadowDy; }
    TColor ColorShadow() const { return m_colorShadow; }
    TAlignment Alignment() const { return m_alignment; }
    TVerticalAlignment VerticalAlignment() const { return m_verticalAlignment; }
    TTxtLblAttachMode AttachToData() const { return m_attachToData; }
    TColor ColorBkg() const { return m_colorBkg; }
    TColor ColorBorder() const { return m_colorBorder; }
    bool Transparent() const { return m_transparent; }
    const TFont &Font() const { return m_font; }
    QString Caption() const { return m_caption; }
    TTxtLblMode Mode() const { return m_mode; }
    bool Visible() const { return m_visible; }

    void SetPosX(double Value);
    void SetPosY(double Value);
    /// A layer outside 1..16 is ignored: nothing stored, no notification.
    void SetLayer(int Value);
    void SetShadowDx(int Value);
    void SetShadowDy(int Value);
    void SetColorShadow(TColor Value);
    /// Enumeration setters store a value outside their enumeration as the
    /// default of the field, so a drawing switch never meets an unknown value.
    void SetAlignment(TAlignment Value);
    void SetVerticalAlignment(TVerticalAlignment Value);
    void SetAttachToData(TTxtLblAttachMode Value);
    void SetColorBkg(TColor Value);
    void SetColorBorder(TColor Value);
    void SetTransparent(bool Value);
    /// The font's attributes are copied into the label's own font.
    void SetFont(const TFont &Value);
    /// Control characters other than the line feed become blanks.
    void SetCaption(const QString &Value);
    void SetMode(TTxtLblMode Value);
    void SetVisible(bool Value);

    /// There is no copy of a whole label: always raises EKeslError.
    void Assign(const QObject *Source);

    TNotifyEvent OnChange;

protected:
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
