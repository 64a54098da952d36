#pragma once

#include "Kesl_Scale_types.h"
#include "Kesl_keslbase_dtlabel.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// Tick computing of the axis scales: the passes turn a value range and the
// label settings into an ordered sequence of ticks as plain data. Drawing
// (pixels, tick list, notifications) is left to the scale.

// Extended precision where the compiler offers it (80 bits on x86).
using TExtended = long double;

// No pass produces more ticks than this; a pass that reaches it stops there
// and sets TScaleTickResult::Capped (the linear pass gives its short ticks at
// most half of it). MinTicks 0 on a wide range would otherwise ask for one
// tick per unit. Besides the cap, every pass ends as soon as adding the step
// no longer changes the tick value.
constexpr int kMaxPassTicks = 5000;

// One tick, in the order the scale draws them.
struct TScaleTick
{
    double Value = 0.0;
    // Long (7 px horizontal, 6 px vertical) or short (4 px) line.
    bool Long = false;
    // Label text; empty for short ticks and unlabelled long ticks.
    QString Label;
    // Time-of-day passes: date line written after the label; empty: none.
    QString DateLine;
    // Whether the tick line is drawn. False only for the intermediate
    // logarithmic candidates of a horizontal scale without short ticks, which
    // still raise the tick notification.
    bool Drawn = true;
    // Whether the value goes into the scale's tick list: false for the long
    // ticks of the linear and time-table passes on horizontal scales with
    // short ticks (those values were recorded as short ticks) and for ticks
    // that are not drawn.
    bool Recorded = true;
};

// Which pass produced the ticks.
enum class TScaleTickPass : std::uint8_t {
    None, // nothing (equal or unusable range)
    Linear, // numeric linear pass (also the ftTime fall-back)
    Logarithmic, // numeric logarithmic pass
    TimeTable, // ftTime pass
    TimeOfDay, // ftDateTime hours, minutes, seconds, hundredths
    Days,
    Months,
    Years,
    Message // ftDateTime range that cannot be drawn: only a message
};

// Everything a pass reads from the scale.
struct TScaleTickSettings
{
    double RangeLow = 0.0;
    double RangeHigh = 100.0;
    int MinTicks = 3; // 0 or 2..10 (horizontal scales 2..20)
    int DecPlaces = -2; // -3..12
    bool ShortTicks = true;
    bool Logarithmic = false;
    TFigType LabelType = ftNum;
    QString UserTickText;
    QString ScaleInscript;
    bool Vertical = false; // sctYL/sctYR
    TDTLabelSettings DateFormat;
};

// Result of one run of the passes.
struct TScaleTickResult
{
    TScaleTickPass Pass = TScaleTickPass::None;
    std::vector<TScaleTick> Ticks;
    // Label heights: true for the numeric and time-table passes (the height of
    // "0"), false for the date passes (each label's own height).
    bool LabelHeightOfZero = true;
    // Tick notification before the label (linear and logarithmic passes of
    // vertical scales, logarithmic pass of horizontal ones) or after it.
    bool NotifyBeforeLabel = false;
    // Pass Message: the lines to write around the pixel of MessageValue
    // (one line on horizontal scales, three or four on vertical ones).
    QStringList MessageLines;
    double MessageValue = 0.0;
    // True when the pass stopped at kMaxPassTicks.
    bool Capped = false;
};

// Runs the pass the settings select: ftDateTime the date/time dispatcher,
// ftTime the time table (numbers when it declines), otherwise logarithmic or
// linear. Never fails; bad ranges give no ticks or a message.
TScaleTickResult ComputeScaleTicks(const TScaleTickSettings &s);

// The single passes, as ComputeScaleTicks runs them.
TScaleTickResult LinearTickPass(const TScaleTickSettings &s);
TScaleTickResult LogTickPass(const TScaleTickSettings &s);
// Empty when the range does not fit the time table.
std::optional<TScaleTickResult> TimeTableTickPass(const TScaleTickSettings &s);
TScaleTickResult DateTimeTickPass(const TScaleTickSettings &s);

// --- Helpers of the numeric passes ---

struct TTickStep
{
    TExtended FirstTick = 0;
    TExtended Step = 0; // 0: no ticks; negative on reversed ranges
    std::uint16_t SubDivisions = 1;
};
// Largest step of the series 1, 2, 5 x 10^k that gives at least MinTicks
// intervals (MinTicks 0: step 1), and the first multiple of it in the range.
TTickStep ChooseTickStep(int MinTicks, TExtended Low, TExtended High);

// Decimals of the linear pass (-1: exponential).
int AutoDecimals(int DecPlaces, TExtended High, TExtended Low);
// Decimals of the logarithmic pass (-1: exponential, -3: decade exponents).
int AutoLogDecimals(int DecPlaces, TExtended A, TExtended B);
// Fixed-point text with Decimals digits, or for Decimals < 0 two significant
// digits in exponential form with a leading sign position (" 1.0E+03"); an
// exponent of three digits gives "********".
QString FormatTickNumber(TExtended Value, int Decimals);
// Piece Index (from 1) of the "|"-separated Texts; the last one beyond the end.
QString UserTickItem(const QString &Texts, int Index);
// Number placed at the first "&" of Inscript, or Inscript followed by Number.
QString ApplyInscript(const QString &Number, const QString &Inscript);

// --- Helpers of the date/time passes ---

// Seconds as " hh:nn:ss" or " hh:nn:ss.zzz" (first character the sign, a
// blank for values >= 0); rounded to whole milliseconds before splitting.
QString TimeLabel(double Value, bool WithMilliseconds);

// Formats a date/time axis value (days since 30 December 1899, the fraction
// being the time of day) with a pattern: "..." literal, h hh nn ss zz am/pm dd
// mm mmm yy yyyy. The day is the one containing the value, also before 1900.
// With Hundredths, zz gives the hundredths of the second with two digits.
QString FormatDateTimeValue(const QString &Pattern, double Value, bool Hundredths = false);

// The pattern of date lines and day labels.
QString DateLinePattern(bool MonthName, TYearLength YearLength, TDateOrder DateOrder, QChar Separator);
