#include "Kesl_keslbase_dtlabel.h"

#include "Kesl_setting.h"

namespace {
// The owner (a scale) relays each change to its chart: only real ones count.
using Setting = TSettingStore<TNotifyRule::RealChange>;
} // namespace

TDTLabel::TDTLabel(QObject *parent) : QObject(parent) { }

void TDTLabel::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TDTLabel::SetTimeFormat(TTimeFormat v)
{
    if (Setting::Store(m_s.TimeFormat, v))
        Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v)
{
    if (Setting::Store(m_s.DateOrder, v))
        Changed();
}

void TDTLabel::SetDateSeparator(QChar v)
{
    if (Setting::Store(m_s.DateSeparator, v))
        Changed();
}

void TDTLabel::SetTimeSeparator(QChar v)
{
    if (Setting::Store(m_s.TimeSeparator, v))
        Changed();
}

void TDTLabel::SetYearLength(TYearLength v)
{
    if (Setting::Store(m_s.YearLength, v))
        Changed();
}

void TDTLabel::SetMonthName(bool v)
{
    if (Setting::Store(m_s.MonthName, v))
        Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v)
{
    if (Setting::Store(m_s.DateForTime, v))
        Changed();
}

void TDTLabel::SetSettings(const TDTLabelSettings &s)
{
    SetTimeFormat(s.TimeFormat);
    SetDateSeparator(s.DateSeparator);
    SetTimeSeparator(s.TimeSeparator);
    SetYearLength(s.YearLength);
    SetMonthName(s.MonthName);
    SetDateOrder(s.DateOrder);
    SetDateForTime(s.DateForTime);
}
