#pragma once

#include <QString>

#include <optional>

// Date/time values are days since 30 December 1899 00:00, the fraction being
// the time of day. One pattern language writes them for the numeric label and
// the date/time scales; these options are where the two uses differ.
//
// Common to both: text between double or single quotes is copied as it is;
// h and hh the hour (12-hour clock, 0 shown as 12, when the pattern has
// am/pm), nn minutes, ss seconds, dd day, mm month, mmm the locale's short
// month name, yy and yyyy the year, am/pm "am" before noon and "pm" from noon.
struct TDateTimePatternOptions
{
    // The platform's wider letter set: letters in either case and runs of any
    // length (d and dddd, m and mmmm, y, z and zzz, ...), m or mm right after
    // an hour for the minutes, a/p and ampm besides am/pm, and the am/pm text
    // in the pattern's letter case; z and zz give the milliseconds without
    // padding. Without it only the common fields and zz (milliseconds with at
    // least two digits) count, lower-case and exactly as written, and every
    // other character is copied.
    bool WideLetters = false;
    // A negative value: the day that contains it, with the time counted
    // forward from that day's midnight (-1.25 is 18:00 on 28 December 1899).
    // Otherwise the day is the truncated value and the time of day the
    // fraction's size (-1.25 is 06:00 on 29 December 1899).
    bool ContainingDay = false;
    // The time of day is rounded to hundredths of a second, which zz shows.
    bool Hundredths = false;
    // Only values from First up to, not including, End are written: by
    // default 1 January 0001 to 31 December 9999.
    double First = -693593.0;
    double End = 2958466.0;
};

// The value written with the pattern; nothing when the value is not finite
// or outside the options' range. The time of day is rounded but never spills
// into the next day, so date and time of one text always agree.
std::optional<QString> FormatDateTimePattern(const QString &pattern, double value,
                                             const TDateTimePatternOptions &options);
