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
    if (TStoreAlways::StoreEnum(m_s.TimeFormat, v, tfAMPM))
        Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v)
{
    if (TStoreAlways::StoreEnum(m_s.DateOrder, v, doYYMMDD))
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
    if (TStoreOnChange::StoreEnum(m_s.YearLength, v, ylYYYY))
        Changed();
}

void TDTLabel::SetMonthName(bool v)
{
    if (TStoreOnChange::Store(m_s.MonthName, v))
        Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v)
{
    if (TStoreOnChange::StoreEnum(m_s.DateForTime, v, dtAllTicks))
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
