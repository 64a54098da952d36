#pragma once

#include "Component.h"

#include <QChar>
#include <QObject>

// Clock-time style of time-of-day labels: 14:05, 14h05 or 2:05pm.
enum TTimeFormat { tfHHMMSS, tfHHhMM, tfAMPM };
// Year in date labels: none, two digits or four digits.
enum TYearLength { ylNone, ylYY, ylYYYY };
// Order of the parts of a date.
enum TDateOrder { doMMDDYY, doDDMMYY, doYYMMDD };
// Where a date line accompanies the labels of a time-of-day scale.
enum TDateForTime { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };

// The fields of TDTLabel as a plain value, for the tick passes and for copying
// between scales. The defaults are those a scale gives its own object.
struct TDTLabelSettings
{
    TTimeFormat TimeFormat = tfHHMMSS;
    QChar DateSeparator = QLatin1Char('-');
    QChar TimeSeparator = QLatin1Char(':');
    TYearLength YearLength = ylYYYY;
    bool MonthName = true;
    TDateOrder DateOrder = doDDMMYY;
    TDateForTime DateForTime = dtOnePerDay;

    friend bool operator==(const TDTLabelSettings &, const TDTLabelSettings &) = default;
};

// How a date/time axis scale writes its labels. Every change is reported
// through OnChange, which the owning scale binds to its redraw.
class TDTLabel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TTimeFormat TimeFormat READ TimeFormat WRITE SetTimeFormat)
    Q_PROPERTY(QChar DateSeparator READ DateSeparator WRITE SetDateSeparator)
    Q_PROPERTY(QChar TimeSeparator READ TimeSeparator WRITE SetTimeSeparator)
    Q_PROPERTY(TYearLength YearLength READ YearLength WRITE SetYearLength)
    Q_PROPERTY(bool MonthName READ MonthName WRITE SetMonthName)
    Q_PROPERTY(TDateOrder DateOrder READ DateOrder WRITE SetDateOrder)
    Q_PROPERTY(TDateForTime DateForTime READ DateForTime WRITE SetDateForTime)

public:
    explicit TDTLabel(QObject *parent = nullptr);

    TTimeFormat TimeFormat() const { return m_s.TimeFormat; }
    QChar DateSeparator() const { return m_s.DateSeparator; }
    QChar TimeSeparator() const { return m_s.TimeSeparator; }
    TYearLength YearLength() const { return m_s.YearLength; }
    bool MonthName() const { return m_s.MonthName; }
    TDateOrder DateOrder() const { return m_s.DateOrder; }
    TDateForTime DateForTime() const { return m_s.DateForTime; }

    // These two notify on every call, the current value included.
    void SetTimeFormat(TTimeFormat v);
    void SetDateOrder(TDateOrder v);
    // These notify only when the value changes.
    void SetDateSeparator(QChar v);
    void SetTimeSeparator(QChar v);
    void SetYearLength(TYearLength v);
    void SetMonthName(bool v);
    void SetDateForTime(TDateForTime v);

    // All fields at once, as a value.
    TDTLabelSettings Settings() const { return m_s; }
    // Takes over every field of s through the setters above (so their
    // notification rules apply field by field).
    void SetSettings(const TDTLabelSettings &s);

    // Set by the owner; called with this object after a change.
    TNotifyEvent OnChange;

private:
    void Changed();

    TDTLabelSettings m_s;
};
