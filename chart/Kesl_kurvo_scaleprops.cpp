#include "Kesl_kurvo_scaleprops.h"
#include "Kesl_setting.h"
#include "PixelMath.h"

#include <algorithm>
#include <cmath>

const double TScaleProps::LogFloor = PixelMath::kLogFloor;

// Every write is news to the owner, an equal or refused value included.
template<typename T> void TScaleProps::Store(T &field, const T &value)
{
    if (TStoreAlways::Store(field, value))
        Changed();
}

TScaleProps::TScaleProps(QObject *Owner) : QObject(Owner)
{
    BeginLoading();
    m_dateFormat = new TDTLabel(this);
    TDTLabelSettings s;
    s.TimeFormat = tfHHMMSS;
    s.DateSeparator = QLatin1Char('-');
    s.TimeSeparator = QLatin1Char(':');
    s.YearLength = ylYYYY;
    s.MonthName = true;
    s.DateOrder = doDDMMYY;
    s.DateForTime = dtOnePerDay;
    m_dateFormat->SetSettings(s);
    m_dateFormat->OnChange = [this](QObject *) { DateFormatChanged(); };
}

TScaleProps::~TScaleProps()
{
    // The date/time object is a child and goes with this object; its handler
    // must not call back into a half-destroyed owner.
    m_dateFormat->OnChange = nullptr;
}

void TScaleProps::Changed()
{
    if (!m_holdChange && OnChange)
        OnChange(this);
}

void TScaleProps::DateFormatChanged()
{
    Changed();
}

void TScaleProps::SetScaleType(TScaleType Value)
{
    TStoreAlways::StoreEnum(m_scaleType, Value, sctYR);
}

void TScaleProps::SetCaption(const QString &Value)
{
    Store(m_caption, Value);
}

void TScaleProps::SetCaptionPosX(int Value)
{
    Store(m_captionPosX, Value);
}

void TScaleProps::SetCaptionPosY(int Value)
{
    Store(m_captionPosY, Value);
}

void TScaleProps::SetCaptionAlignment(TAlignment Value)
{
    if (InEnumRange(Value, taCenter))
        Store(m_captionAlignment, Value);
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor Value)
{
    if (InEnumRange(Value, uaSclBotRgt))
        Store(m_captionAnchor, Value);
}

void TScaleProps::SetColorScale(TColor Value)
{
    Store(m_colorScale, Value);
}

void TScaleProps::SetDateFormat(const TDTLabel *Value)
{
    if (Value && Value != m_dateFormat) {
        // The object's own setters notify field by field; one notification
        // for the whole copy is enough.
        m_holdChange = true;
        m_dateFormat->SetSettings(Value->Settings());
        m_holdChange = false;
    }
    Changed();
}

void TScaleProps::SetDecPlaces(int Value)
{
    Store(m_decPlaces, std::clamp(Value, -3, 12));
}

void TScaleProps::SetFont(const TFont &Value)
{
    Store(m_font, Value);
}

void TScaleProps::SetLogarithmic(bool Value)
{
    if (Value && !IsLoading() &&
        (!PixelMath::LogEndAccepted(m_rangeLow) || !PixelMath::LogEndAccepted(m_rangeHigh) ||
         m_labelType == ftDateTime))
        Value = false;
    Store(m_logarithmic, Value);
}

void TScaleProps::SetLabelType(TFigType Value)
{
    if (!InEnumRange(Value, ftUserText))
        return;
    m_labelType = Value;
    if (Value == ftDateTime)
        m_logarithmic = false;
    if (Value == ftTime)
        m_decPlaces = 4;
    Changed();
}

void TScaleProps::SetMinTicks(int Value)
{
    Store(m_minTicks, Value);
}

namespace {
bool Finite(double v)
{
    return std::isfinite(v);
}

// Whether an axis can map v as one of its ends: a finite number, and on a
// logarithmic axis one above zero (its logarithm is taken).
bool Mappable(double v, bool logarithmic)
{
    return Finite(v) && (!logarithmic || v > 0);
}
} // namespace

void TScaleProps::SetMinRange(double Value)
{
    const bool accepted = Finite(Value) && Value > LogFloor;
    if (accepted)
        m_minRange = Value;
    if (accepted && std::fabs(m_rangeHigh - m_rangeLow) < Value) {
        // Halves first, so that ends near the largest doubles cannot overflow.
        const double centre = m_rangeLow / 2 + m_rangeHigh / 2;
        const double low = centre - Value / 2;
        const double high = centre + Value / 2;
        if (Mappable(low, m_logarithmic) && Mappable(high, m_logarithmic)) {
            m_rangeLow = low;
            m_rangeHigh = high;
        }
    }
    Changed();
}

void TScaleProps::SetRangeLow(double Value)
{
    // An end closer than MinRange to the other pulls it along, also below the
    // logarithmic floor; only ends the axis cannot map are refused.
    const bool pulled = std::fabs(m_rangeHigh - Value) < m_minRange;
    const double high = pulled ? Value + m_minRange : m_rangeHigh;
    const bool stored = pulled ? Mappable(Value, m_logarithmic) && Mappable(high, m_logarithmic)
                               : Finite(Value) && !(m_logarithmic && !PixelMath::LogEndAccepted(Value));
    if (stored) {
        m_rangeLow = Value;
        m_rangeHigh = high;
    }
    Changed();
}

void TScaleProps::SetRangeHigh(double Value)
{
    const bool pulled = std::fabs(m_rangeLow - Value) < m_minRange;
    const double low = pulled ? Value - m_minRange : m_rangeLow;
    const bool stored = pulled ? Mappable(Value, m_logarithmic) && Mappable(low, m_logarithmic)
                               : Finite(Value) && !(m_logarithmic && !PixelMath::LogEndAccepted(Value));
    if (stored) {
        m_rangeLow = low;
        m_rangeHigh = Value;
    }
    Changed();
}

void TScaleProps::SetShortTicks(bool Value)
{
    Store(m_shortTicks, Value);
}

void TScaleProps::SetScaleInscript(const QString &Value)
{
    Store(m_scaleInscript, Value);
}

void TScaleProps::SetScalePos(int Value)
{
    Store(m_scalePos, Value);
}

void TScaleProps::SetUserTickText(const QString &Value)
{
    Store(m_userTickText, Value);
}

void TScaleProps::SetVisible(bool Value)
{
    Store(m_visible, Value);
}

// ---------------------------------------------------------------------------

TScalePropsHoriz::TScalePropsHoriz(QObject *Owner) : TScaleProps(Owner)
{
    SetScaleType(sctXT);
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz Value)
{
    if (!InEnumRange(Value, slBottom))
        return;
    m_location = Value;
    SetScaleType(Value == slTop ? sctXB : sctXT);
    Changed();
}

TScalePropsVert::TScalePropsVert(QObject *Owner) : TScaleProps(Owner)
{
    SetScaleType(sctYR);
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert Value)
{
    if (!InEnumRange(Value, slRight))
        return;
    m_location = Value;
    SetScaleType(Value == slLeft ? sctYR : sctYL);
    Changed();
}
