#include "Kesl_keslbase_textlabel.h"

#include "KeslError.h"

#include <string>

namespace {
// Enumeration values outside their declared range (a cast integer, a stale
// stored form) fall back to a known value, so drawing code never switches on
// an unknown one.
template<class E> E InRange(E value, E last, E fallback)
{
    const int v = static_cast<int>(value);
    return (v >= 0 && v <= static_cast<int>(last)) ? value : fallback;
}

[[noreturn]] void CannotAssign(const QObject *source, const char *target)
{
    const std::string name = source ? source->metaObject()->className() : "nil";
    throw EKeslError("Cannot assign a " + name + " to a " + target);
}
} // namespace

// ---------------------------------------------------------------------------
// TCrossHair

TCrossHair::TCrossHair(QObject *Owner) : QObject(Owner) { }

void TCrossHair::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCrossHair::SetPosX(double Value)
{
    m_posX = Value;
    Changed();
}

void TCrossHair::SetPosY(double Value)
{
    m_posY = Value;
    Changed();
}

void TCrossHair::SetColor(TColor Value)
{
    m_color = Value;
    Changed();
}

void TCrossHair::SetMode(TCrossHMode Value)
{
    m_mode = InRange(Value, chBoth, chOff);
    Changed();
}

void TCrossHair::SetLineType(TPenStyle Value)
{
    m_lineType = InRange(Value, psInsideFrame, psSolid);
    Changed();
}

void TCrossHair::SetLineWid(int Value)
{
    m_lineWid = Value;
    Changed();
}

void TCrossHair::SetLayer(int Value)
{
    m_layer = Value < 1 ? 1 : (Value > 16 ? 16 : Value);
    Changed();
}

void TCrossHair::Assign(const QObject *Source)
{
    CannotAssign(Source, "TCrossHair");
}

// ---------------------------------------------------------------------------
// TCustomTextLabel

TCustomTextLabel::TCustomTextLabel(QObject *Owner) : QObject(Owner) { }

void TCustomTextLabel::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTextLabel::SetPosX(double Value)
{
    m_posX = Value;
    Changed();
}

void TCustomTextLabel::SetPosY(double Value)
{
    m_posY = Value;
    Changed();
}

void TCustomTextLabel::SetLayer(int Value)
{
    if (Value < 1 || Value > 16)
        return;
    m_layer = Value;
    Changed();
}

void TCustomTextLabel::SetShadowDx(int Value)
{
    m_shadowDx = Value;
    Changed();
}

void TCustomTextLabel::SetShadowDy(int Value)
{
    m_shadowDy = Value;
    Changed();
}

void TCustomTextLabel::SetColorShadow(TColor Value)
{
    m_colorShadow = Value;
    Changed();
}

void TCustomTextLabel::SetAlignment(TAlignment Value)
{
    m_alignment = InRange(Value, taCenter, taCenter);
    Changed();
}

void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment Value)
{
    m_verticalAlignment = InRange(Value, vaBottom, vaBottom);
    Changed();
}

void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode Value)
{
    m_attachToData = InRange(Value, tlamBoth, tlamNone);
    Changed();
}

void TCustomTextLabel::SetColorBkg(TColor Value)
{
    m_colorBkg = Value;
    Changed();
}

void TCustomTextLabel::SetColorBorder(TColor Value)
{
    m_colorBorder = Value;
    Changed();
}

void TCustomTextLabel::SetTransparent(bool Value)
{
    m_transparent = Value;
    Changed();
}

void TCustomTextLabel::SetFont(const TFont &Value)
{
    m_font = Value;
    Changed();
}

void TCustomTextLabel::SetCaption(const QString &Value)
{
    // Only the line feed breaks a line; other control characters have no
    // glyph and would show as boxes.
    QString text = Value;
    for (QChar &c : text) {
        if (c.unicode() < 32 && c.unicode() != 10)
            c = QLatin1Char(' ');
    }
    m_caption = text;
    Changed();
}

void TCustomTextLabel::SetMode(TTxtLblMode Value)
{
    m_mode = InRange(Value, tlShadow, tlsimple);
    Changed();
}

void TCustomTextLabel::SetVisible(bool Value)
{
    m_visible = Value;
    Changed();
}

void TCustomTextLabel::Assign(const QObject *Source)
{
    CannotAssign(Source, metaObject()->className());
}
