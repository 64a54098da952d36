#pragma once

/// @file
/// How date and time labels are written.

#include "Component.h"

#include <QChar>
#include <QObject>

/// Clock-time style of time-of-day labels: 14:05, 14h05 or 2:05pm.
enum TTimeFormat { tfHHMMSS, tfHHhMM, tfAMPM };
/// Year in date labels: none, two digits or four digits.
enum TYearLength { ylNone, ylYY, ylYYYY };
/// Order of the parts of a date.
enum TDateOrder { doMMDDYY, doDDMMYY, doYYMMDD };
/// Where a date line accompanies the labels of a time-of-day scale.
enum TDateForTime { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };

/// The fields of TDTLabel as a plain value, for the tick passes and for copying
/// between scales. The defaults are those a scale gives its own object.
struct TDTLabelSettings
{
    /// Clock-time style (default tfHHMMSS).
    TTimeFormat TimeFormat = tfHHMMSS;
    /// Between day, month and year (default '-').
    QChar DateSeparator = QLatin1Char('-');
    /// Between hours, minutes and seconds (default ':').
    QChar TimeSeparator = QLatin1Char(':');
    /// Digits of the year (default ylYYYY).
    TYearLength YearLength = ylYYYY;
    /// Month as a name of the user's locale rather than a number (default true).
    bool MonthName = true;
    /// Order of day, month and year (default doDDMMYY).
    TDateOrder DateOrder = doDDMMYY;
    /// Date lines on time-of-day scales (default dtOnePerDay).
    TDateForTime DateForTime = dtOnePerDay;

    /// Whether every field is equal.
    friend bool operator==(const TDTLabelSettings &, const TDTLabelSettings &) = default;
};

/// How a date/time axis scale writes its labels. Every change is reported
/// through OnChange, which the owning scale binds to its redraw.
class TDTLabel : public QObject
{
    Q_OBJECT
    /// Clock-time style of time-of-day labels (default tfHHMMSS); notifies on every set.
    Q_PROPERTY(TTimeFormat TimeFormat READ TimeFormat WRITE SetTimeFormat)
    /// Character between day, month and year (default '-'); notifies when it changes.
    Q_PROPERTY(QChar DateSeparator READ DateSeparator WRITE SetDateSeparator)
    /// Character between hours, minutes and seconds (default ':'); notifies when it changes.
    Q_PROPERTY(QChar TimeSeparator READ TimeSeparator WRITE SetTimeSeparator)
    /// Digits of the year in dates (default ylYYYY); notifies when it changes.
    Q_PROPERTY(TYearLength YearLength READ YearLength WRITE SetYearLength)
    /// Month as a name in the user's language rather than a number (default
    /// true); notifies when it changes.
    Q_PROPERTY(bool MonthName READ MonthName WRITE SetMonthName)
    /// Order of day, month and year (default doDDMMYY); notifies on every set.
    Q_PROPERTY(TDateOrder DateOrder READ DateOrder WRITE SetDateOrder)
    /// Date lines that accompany a time-of-day scale (default dtOnePerDay);
    /// notifies when it changes.
    Q_PROPERTY(TDateForTime DateForTime READ DateForTime WRITE SetDateForTime)

public:
    /// Settings with the defaults, owned by parent.
    explicit TDTLabel(QObject *parent = nullptr);

    /// See the TimeFormat property.
    TTimeFormat TimeFormat() const { return m_s.TimeFormat; }
    /// See the DateSeparator property.
    QChar DateSeparator() const { return m_s.DateSeparator; }
    /// See the TimeSeparator property.
    QChar TimeSeparator() const { return m_s.TimeSeparator; }
    /// See the YearLength property.
    TYearLength YearLength() const { return m_s.YearLength; }
    /// See the MonthName property.
    bool MonthName() const { return m_s.MonthName; }
    /// See the DateOrder property.
    TDateOrder DateOrder() const { return m_s.DateOrder; }
    /// See the DateForTime property.
    TDateForTime DateForTime() const { return m_s.DateForTime; }

    /// These two notify on every call, the current value included.
    void SetTimeFormat(TTimeFormat v);
    /// Sets the DateOrder property; notifies on every call.
    void SetDateOrder(TDateOrder v);
    /// These notify only when the value changes.
    void SetDateSeparator(QChar v);
    /// Sets the TimeSeparator property; notifies when it changes.
    void SetTimeSeparator(QChar v);
    /// Sets the YearLength property; notifies when it changes.
    void SetYearLength(TYearLength v);
    /// Sets the MonthName property; notifies when it changes.
    void SetMonthName(bool v);
    /// Sets the DateForTime property; notifies when it changes.
    void SetDateForTime(TDateForTime v);

    /// All fields at once, as a value.
    TDTLabelSettings Settings() const { return m_s; }
    /// Takes over every field of s through the setters above (so their
    /// notification rules apply field by field).
    void SetSettings(const TDTLabelSettings &s);

    /// Set by the owner; called with this object after a change.
    TNotifyEvent OnChange;

private:
    void Changed();

    TDTLabelSettings m_s;
};
