#include "Kesl_kurvo_labels.h"

#include "KeslError.h"
#include "Kesl_setting.h"

#include <string>

namespace {
// The chart repaints on every write to a cross-hair or a text label.
using Setting = TSettingStore<TNotifyRule::EveryWrite>;

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
    if (Setting::Store(m_posX, Value))
        Changed();
}

void TCrossHair::SetPosY(double Value)
{
    if (Setting::Store(m_posY, Value))
        Changed();
}

void TCrossHair::SetColor(TColor Value)
{
    if (Setting::Store(m_color, Value))
        Changed();
}

void TCrossHair::SetMode(TCrossHMode Value)
{
    if (Setting::StoreEnum(m_mode, Value, chBoth))
        Changed();
}

void TCrossHair::SetLineType(TPenStyle Value)
{
    if (Setting::StoreEnum(m_lineType, Value, psInsideFrame))
        Changed();
}

void TCrossHair::SetLineWid(int Value)
{
    if (Setting::Store(m_lineWid, Value))
        Changed();
}

void TCrossHair::SetLayer(int Value)
{
    if (Setting::Store(m_layer, Value < 1 ? 1 : (Value > 16 ? 16 : Value)))
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
    if (Setting::Store(m_posX, Value))
        Changed();
}

void TCustomTextLabel::SetPosY(double Value)
{
    if (Setting::Store(m_posY, Value))
        Changed();
}

void TCustomTextLabel::SetLayer(int Value)
{
    if (Value < 1 || Value > 16)
        return;
    if (Setting::Store(m_layer, Value))
        Changed();
}

void TCustomTextLabel::SetShadowDx(int Value)
{
    if (Setting::Store(m_shadowDx, Value))
        Changed();
}

void TCustomTextLabel::SetShadowDy(int Value)
{
    if (Setting::Store(m_shadowDy, Value))
        Changed();
}

void TCustomTextLabel::SetColorShadow(TColor Value)
{
    if (Setting::Store(m_colorShadow, Value))
        Changed();
}

void TCustomTextLabel::SetAlignment(TAlignment Value)
{
    if (Setting::StoreEnum(m_alignment, Value, taCenter))
        Changed();
}

void TCustomTextLabel::SetVerticalAlignment(TVerticalAlignment Value)
{
    if (Setting::StoreEnum(m_verticalAlignment, Value, vaBottom))
        Changed();
}

void TCustomTextLabel::SetAttachToData(TTxtLblAttachMode Value)
{
    if (Setting::StoreEnum(m_attachToData, Value, tlamBoth))
        Changed();
}

void TCustomTextLabel::SetColorBkg(TColor Value)
{
    if (Setting::Store(m_colorBkg, Value))
        Changed();
}

void TCustomTextLabel::SetColorBorder(TColor Value)
{
    if (Setting::Store(m_colorBorder, Value))
        Changed();
}

void TCustomTextLabel::SetTransparent(bool Value)
{
    if (Setting::Store(m_transparent, Value))
        Changed();
}

void TCustomTextLabel::SetFont(const TFont &Value)
{
    if (Setting::Store(m_font, Value))
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
    if (Setting::Store(m_caption, text))
        Changed();
}

void TCustomTextLabel::SetMode(TTxtLblMode Value)
{
    if (Setting::StoreEnum(m_mode, Value, tlShadow))
        Changed();
}

void TCustomTextLabel::SetVisible(bool Value)
{
    if (Setting::Store(m_visible, Value))
        Changed();
}

void TCustomTextLabel::Assign(const QObject *Source)
{
    CannotAssign(Source, metaObject()->className());
}
