#include "Kesl_ScaleTicks.h"
#include "Kesl_ScaleTicksSink.h"
#include "PixelMath.h"

#include <climits>
#include <cmath>

namespace {

constexpr TExtended kLog10Of2 = 0.3010299956639812L;
constexpr TExtended kLog10Of5 = 0.6989700043360189L;
constexpr TExtended kLogTol = 0.999999999L;
// Logarithmic passes work from here: below it the decade base would underflow.
constexpr TExtended kLogFloor = PixelMath::kLogFloor;
// The first-tick search normally needs two or three steps; this only guards
// against precision oddities far from zero.
constexpr int kMaxFirstTickSteps = 1000;
// A pass reaches a thousandth of a step beyond its ends. The limit itself
// counts as inside: 0.001 times the step carries rounding error, so the
// comparison allows a billionth of that on top.
constexpr TExtended kEndTol = 0.001L * (1 + 1e-9L);

TExtended Sign(TExtended low, TExtended high)
{
    return low < high ? 1.0L : -1.0L;
}

// Label of a long tick of the linear pass (count from 1).
QString LinearLabel(const TScaleTickSettings &s, TExtended v, int decimals, int count)
{
    const TExtended width = TExtended(s.RangeHigh) - TExtended(s.RangeLow);
    QString text;
    if (std::fabs(v / width) < 1e-14L) {
        if (std::fabs(width) <= 100000.0L)
            text = FormatTickNumber(0.0L, decimals);
        else
            text = decimals != 0 ? QStringLiteral("0.0") : QStringLiteral("0");
    } else {
        text = FormatTickNumber(v, decimals);
    }
    text.truncate(14);
    if (s.DecPlaces == 0 && std::fabs(v - std::nearbyint(v)) > 1e-6L)
        text.clear();
    if (s.LabelType == ftUserText)
        return UserTickItem(s.UserTickText, count);
    return ApplyInscript(text, s.ScaleInscript);
}

} // namespace

TTickStep ChooseTickStep(int MinTicks, TExtended Low, TExtended High)
{
    TTickStep r;
    r.FirstTick = Low;
    if (Low == High || !std::isfinite(Low) || !std::isfinite(High))
        return r; // Step 0: no ticks
    const TExtended dir = Sign(Low, High);
    const TExtended width = std::fabs(High - Low);
    if (MinTicks <= 0) {
        r.Step = dir;
        r.SubDivisions = width <= 10.0L ? 5 : 1;
    } else {
        const TExtended x = width / MinTicks;
        TExtended e = std::log(x) / 2.302585092994046L;
        TExtended h = e - std::trunc(e);
        if (std::fabs(h) < 1e-10L || std::fabs(h) > 0.9999999999L) {
            h = 0;
            e = std::nearbyint(e);
        }
        if (e < 0 && h != 0)
            e -= 1;
        if (h < 0)
            h += 1;
        // Mantissa times an exact power of ten, so that steps like 20 or 0.2
        // come out as close to the decimal as the type allows.
        TExtended mantissa = 5;
        r.SubDivisions = 5;
        if (h < kLog10Of2 + 1e-10L) {
            mantissa = 1;
        } else if (h < kLog10Of5 + 1e-10L) {
            mantissa = 2;
            r.SubDivisions = 4;
        }
        r.Step = dir * mantissa * std::pow(10.0L, std::trunc(e));
        if (r.Step == 0 || !std::isfinite(r.Step)) {
            r.Step = 0;
            return r;
        }
    }
    TExtended first = (std::trunc(Low / r.Step) - 1) * r.Step;
    for (int n = 0; n < kMaxFirstTickSteps && dir * (Low - first) > kEndTol * std::fabs(r.Step); ++n) {
        const TExtended next = first + r.Step;
        if (next == first) // the step is below the spacing of numbers here
            break;
        first = next;
    }
    r.FirstTick = first;
    return r;
}

namespace {

// The short ticks of a linear pass, one step before the first long tick on.
// They take at most half the cap, so that a capped pass still has labelled
// long ticks.
void AddShortTicks(TTickSink &sink, TScaleTickResult &r, const TTickStep &st, TExtended low, TExtended high)
{
    const TExtended dir = Sign(low, high);
    const TExtended shortStep = st.Step / st.SubDivisions;
    int shortCount = 0;
    const TExtended start = st.FirstTick - st.Step;
    TExtended prev = 0;
    for (long long j = 0;; ++j) {
        const TExtended v = start + TExtended(j) * shortStep;
        if (j > 0 && v == prev)
            break; // adding the step no longer changes the value
        prev = v;
        // Short ticks carry the same rounding noise as the long ones, so
        // the one at RangeLow may come out a little before it.
        if (dir * (low - v) <= kEndTol * std::fabs(shortStep) && std::isfinite(double(v))) {
            if (++shortCount > kMaxPassTicks / 2) {
                r.Capped = true;
                break;
            }
            sink.Add({double(v), false, {}, {}, true, true});
        }
        if (!(dir * (start + TExtended(j + 1) * shortStep - high) <= kEndTol * std::fabs(shortStep)))
            break;
    }
}

} // namespace

TScaleTickResult LinearTickPass(const TScaleTickSettings &s)
{
    TScaleTickResult r;
    r.Pass = TScaleTickPass::Linear;
    r.NotifyBeforeLabel = s.Vertical;
    const TExtended low = s.RangeLow;
    const TExtended high = s.RangeHigh;
    const TTickStep st = ChooseTickStep(s.MinTicks, low, high);
    if (st.Step == 0) {
        r.Pass = TScaleTickPass::None;
        return r;
    }
    TTickSink sink(r);
    const TExtended dir = Sign(low, high);
    if (s.ShortTicks)
        AddShortTicks(sink, r, st, low, high);

    const int decimals = AutoDecimals(s.DecPlaces, high, low);
    // Horizontal scales with short ticks already recorded these values.
    const bool record = s.Vertical || !s.ShortTicks;
    TExtended prev = 0;
    for (long long j = 0;; ++j) {
        const TExtended v = st.FirstTick + TExtended(j) * st.Step;
        if (j > 0 && v == prev)
            break;
        prev = v;
        // A tick just beyond a range end at the limit of doubles has no pixel.
        if (std::isfinite(double(v))) {
            TScaleTick t {double(v), true, {}, {}, true, record};
            if (s.LabelType != ftNoFigs)
                t.Label = LinearLabel(s, v, decimals, int(j + 1));
            if (!sink.Add(std::move(t)))
                break;
        }
        if (!(dir * (st.FirstTick + TExtended(j + 1) * st.Step - high) <= kEndTol * std::fabs(st.Step)))
            break;
    }
    return r;
}

namespace {

constexpr int kNoExponent = INT_MIN;

// The label of a logarithmic tick: its value, or with decimals -3 the
// exponent of a decade power (and nothing between them).
QString LogLabel(const TScaleTickSettings &s, TExtended v, int decimals, int exponent, int count)
{
    QString text;
    if (decimals == -3) {
        if (exponent != kNoExponent)
            text = QString::number(exponent);
    } else {
        text = FormatTickNumber(v, decimals);
    }
    text.truncate(14);
    if (s.DecPlaces == -2 && text.contains(QLatin1Char('.')) && !text.toLower().contains(QLatin1Char('e'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (s.LabelType == ftUserText)
        return UserTickItem(s.UserTickText, count);
    return ApplyInscript(text, s.ScaleInscript);
}

} // namespace

TScaleTickResult LogTickPass(const TScaleTickSettings &s)
{
    const TExtended low = s.RangeLow;
    const TExtended high = s.RangeHigh;
    TScaleTickResult r;
    r.Pass = TScaleTickPass::Logarithmic;
    r.NotifyBeforeLabel = true;
    // A range end at or below zero has no logarithm: such a scale shows no ticks.
    if (!(low > 0) || !(high > 0) || !std::isfinite(low) || !std::isfinite(high))
        return r;
    const TExtended decades = std::fabs(std::log10(high / low));
    if (decades < 1)
        return LinearTickPass(s);

    const bool dense = s.MinTicks > decades + 0.5L;
    const TExtended minEnd = std::fmax(std::fmin(low, high), kLogFloor);
    const TExtended maxEnd = std::fmax(low, high);
    if (maxEnd <= minEnd)
        return r; // the whole range lies below the floor
    const int decimals = AutoLogDecimals(s.DecPlaces, std::fmin(low, high), maxEnd);
    TTickSink sink(r);

    int count = 0;
    auto inside = [&](TExtended v) { return v / kLogTol > minEnd && v * kLogTol < maxEnd; };
    // Each decade power is computed directly, so that 0.01 is the nearest
    // number to 0.01 and not an accumulated product.
    const int firstExp = int(std::floor(std::log10(minEnd * kLogTol)));
    for (int exp = firstExp;; ++exp) {
        const TExtended decade = std::pow(10.0L, TExtended(exp));
        for (int i = 1; i <= (dense ? 9 : 1); ++i) {
            const TExtended v = i * decade;
            const bool labelled = i == 1 || i == 2 || i == 5;
            // Intermediate candidates: vertical scales visit them only with
            // short ticks and draw them long; horizontal scales always visit
            // them and draw them only with short ticks.
            if (!inside(v) || (!labelled && s.Vertical && !s.ShortTicks))
                continue;
            if (!labelled) {
                const bool drawn = s.Vertical || s.ShortTicks;
                if (!sink.Add({double(v), s.Vertical, {}, {}, drawn, drawn}))
                    return r;
                continue;
            }
            ++count;
            TScaleTick t {double(v), true, {}, {}, true, true};
            if (s.LabelType != ftNoFigs)
                t.Label = LogLabel(s, v, decimals, i == 1 ? exp : kNoExponent, count);
            if (!sink.Add(std::move(t)))
                return r;
        }
        const TExtended next = std::pow(10.0L, TExtended(exp + 1));
        if (maxEnd < kLogTol * next || !std::isfinite(next))
            break;
    }
    return r;
}

TScaleTickResult ComputeScaleTicks(const TScaleTickSettings &s)
{
    if (s.LabelType == ftDateTime)
        return DateTimeTickPass(s);
    if (s.LabelType == ftTime) {
        if (auto r = TimeTableTickPass(s))
            return std::move(*r);
    }
    return s.Logarithmic ? LogTickPass(s) : LinearTickPass(s);
}
