#include "Kesl_keslbase_dtlabel.h"

#include "Kesl_setting.h"

TDTLabel::TDTLabel(QObject *parent) : QObject(parent) { }

void TDTLabel::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TDTLabel::SetTimeFormat(TTimeFormat v)
{
    if (TStoreAlways::Store(m_s.TimeFormat, v))
        Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v)
{
    if (TStoreAlways::Store(m_s.DateOrder, v))
        Changed();
}

void TDTLabel::SetDateSeparator(QChar v)
{
    if (TStoreOnChange::Store(m_s.DateSeparator, v))
        Changed();
}

void TDTLabel::SetTimeSeparator(QChar v)
{
    if (TStoreOnChange::Store(m_s.TimeSeparator, v))
        Changed();
}

void TDTLabel::SetYearLength(TYearLength v)
{
    if (TStoreOnChange::Store(m_s.YearLength, v))
        Changed();
}

void TDTLabel::SetMonthName(bool v)
{
    if (TStoreOnChange::Store(m_s.MonthName, v))
        Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v)
{
    if (TStoreOnChange::Store(m_s.DateForTime, v))
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
