#include "Kesl_kurvo_scaleprops.h"

#include <cmath>

namespace {
template<class E> bool InRange(E value, E last)
{
    const int v = static_cast<int>(value);
    return v >= 0 && v <= static_cast<int>(last);
}
} // namespace

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
    if (m_holdDepth > 0) {
        m_heldChange = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

template<class F> void TScaleProps::Batch(F &&f)
{
    ++m_holdDepth;
    const bool outerHeld = m_heldChange;
    m_heldChange = false;
    try {
        f();
    } catch (...) {
        --m_holdDepth;
        m_heldChange = outerHeld || m_heldChange;
        throw;
    }
    --m_holdDepth;
    const bool changed = m_heldChange;
    m_heldChange = outerHeld || changed;
    if (changed && m_holdDepth == 0) {
        m_heldChange = false;
        Changed();
    }
}

void TScaleProps::DateFormatChanged()
{
    Changed();
}

void TScaleProps::SetScaleType(TScaleType Value)
{
    if (InRange(Value, sctYR))
        m_scaleType = Value;
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
    if (!InRange(Value, taCenter) || Value == m_captionAlignment)
        return;
    m_captionAlignment = Value;
    Changed();
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor Value)
{
    if (!InRange(Value, uaSclBotRgt) || Value == m_captionAnchor)
        return;
    m_captionAnchor = Value;
    Changed();
}

void TScaleProps::SetColorScale(TColor Value)
{
    Store(m_colorScale, Value);
}

void TScaleProps::SetDateFormat(const TDTLabel *Value)
{
    if (!Value || Value == m_dateFormat)
        return;
    const TDTLabelSettings s = Value->Settings();
    if (s == m_dateFormat->Settings())
        return;
    // The object's own setters notify field by field; one notification for
    // the whole copy is enough.
    Batch([&] { m_dateFormat->SetSettings(s); });
}

void TScaleProps::SetDecPlaces(int Value)
{
    Value = Value < -3 ? -3 : (Value > 12 ? 12 : Value);
    if (Value == m_decPlaces)
        return;
    m_decPlaces = Value;
    Changed();
}

void TScaleProps::SetFont(const TFont &Value)
{
    Store(m_font, Value);
}

void TScaleProps::SetLogarithmic(bool Value)
{
    if (Value && !IsLoading() && (!(m_rangeLow >= LogFloor) || !(m_rangeHigh >= LogFloor) || m_labelType == ftDateTime))
        Value = false;
    if (Value == m_logarithmic)
        return;
    m_logarithmic = Value;
    Changed();
}

void TScaleProps::SetLabelType(TFigType Value)
{
    if (!InRange(Value, ftUserText))
        return;
    Batch([&] {
        if (Value != m_labelType) {
            m_labelType = Value;
            Changed();
        }
        if (Value == ftDateTime && m_logarithmic) {
            m_logarithmic = false;
            Changed();
        }
        if (Value == ftTime)
            SetDecPlaces(4);
    });
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
} // namespace

void TScaleProps::SetMinRange(double Value)
{
    if (!Finite(Value) || Value <= LogFloor)
        return;
    bool changed = Value != m_minRange;
    m_minRange = Value;
    if (std::fabs(m_rangeHigh - m_rangeLow) < Value) {
        // Halves first, so that ends near the largest doubles cannot overflow.
        const double centre = m_rangeLow / 2 + m_rangeHigh / 2;
        const double low = centre - Value / 2;
        const double high = centre + Value / 2;
        // A logarithmic axis keeps its range rather than get an end below the
        // floor, which it could not map.
        const bool mappable = !m_logarithmic || low >= LogFloor;
        if (Finite(low) && Finite(high) && mappable && (low != m_rangeLow || high != m_rangeHigh)) {
            m_rangeLow = low;
            m_rangeHigh = high;
            changed = true;
        }
    }
    if (changed)
        Changed();
}

void TScaleProps::SetRangeLow(double Value)
{
    if (!Finite(Value))
        return;
    double low = Value;
    double high = m_rangeHigh;
    if (std::fabs(m_rangeHigh - Value) < m_minRange) {
        high = Value + m_minRange;
        if (!Finite(high))
            return;
    }
    // On a logarithmic axis no written end may fall below the floor, also not
    // when the other end is pulled along (high > Value here).
    if (m_logarithmic && Value < LogFloor)
        return;
    if (low == m_rangeLow && high == m_rangeHigh)
        return;
    m_rangeLow = low;
    m_rangeHigh = high;
    Changed();
}

void TScaleProps::SetRangeHigh(double Value)
{
    if (!Finite(Value))
        return;
    double high = Value;
    double low = m_rangeLow;
    const bool pulled = std::fabs(m_rangeLow - Value) < m_minRange;
    if (pulled) {
        low = Value - m_minRange;
        if (!Finite(low))
            return;
    }
    // As for RangeLow; here a pulled end lies below Value.
    if (m_logarithmic && (pulled ? low : Value) < LogFloor)
        return;
    if (low == m_rangeLow && high == m_rangeHigh)
        return;
    m_rangeLow = low;
    m_rangeHigh = high;
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
    if (!InRange(Value, slBottom))
        return;
    const TScaleType type = Value == slTop ? sctXB : sctXT;
    if (Value == m_location && type == ScaleType())
        return;
    m_location = Value;
    SetScaleType(type);
    Changed();
}

TScalePropsVert::TScalePropsVert(QObject *Owner) : TScaleProps(Owner)
{
    SetScaleType(sctYR);
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert Value)
{
    if (!InRange(Value, slRight))
        return;
    const TScaleType type = Value == slLeft ? sctYR : sctYL;
    if (Value == m_location && type == ScaleType())
        return;
    m_location = Value;
    SetScaleType(type);
    Changed();
}
