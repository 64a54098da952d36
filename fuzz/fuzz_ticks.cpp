// Runs the tick passes of the axis scales on any range and any settings:
// numeric, logarithmic, time and date/time. Every pass must end within the
// tick cap with finite tick values, and no label may be longer than the 14
// characters a scale leaves for it (plus the unit inscription around it).
#include "Kesl_ScaleTicks.h"

#include "FuzzInput.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

QChar ConsumeSeparator(FuzzedDataProvider &in)
{
    return QChar(in.ConsumeIntegralInRange<char16_t>(0x20, 0x7e));
}

TScaleTickSettings ConsumeSettings(FuzzedDataProvider &in)
{
    TScaleTickSettings s;
    s.RangeLow = ConsumeValue(in, 12);
    s.RangeHigh = in.ConsumeBool() ? s.RangeLow + ConsumeValue(in, 12) : ConsumeValue(in, 12);
    s.MinTicks = in.ConsumeIntegralInRange(0, 20);
    s.DecPlaces = in.ConsumeIntegralInRange(-3, 12);
    s.ShortTicks = in.ConsumeBool();
    s.Logarithmic = in.ConsumeBool();
    s.LabelType = TFigType(in.ConsumeIntegralInRange<int>(ftNoFigs, ftDateTime));
    s.Vertical = in.ConsumeBool();
    TDTLabelSettings &d = s.DateFormat;
    d.TimeFormat = TTimeFormat(in.ConsumeIntegralInRange<int>(tfHHMMSS, tfAMPM));
    d.DateSeparator = ConsumeSeparator(in);
    d.TimeSeparator = ConsumeSeparator(in);
    d.YearLength = TYearLength(in.ConsumeIntegralInRange<int>(ylNone, ylYYYY));
    d.MonthName = in.ConsumeBool();
    d.DateOrder = TDateOrder(in.ConsumeIntegralInRange<int>(doMMDDYY, doYYMMDD));
    d.DateForTime = TDateForTime(in.ConsumeIntegralInRange<int>(dtNone, dtAllTicks));
    s.ScaleInscript = QString::fromUtf8(in.ConsumeRandomLengthString(8));
    s.UserTickText = QString::fromUtf8(in.ConsumeRemainingBytesAsString());
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const TScaleTickSettings s = ConsumeSettings(in);
    const TScaleTickResult r = ComputeScaleTicks(s);
    Check(r.Ticks.size() <= std::size_t(kMaxPassTicks));
    // The inscription adds its own characters minus the "&" it replaces.
    const qsizetype longest = 14 + s.ScaleInscript.size();
    for (const TScaleTick &t : r.Ticks) {
        Check(std::isfinite(t.Value));
        if (s.LabelType != ftUserText)
            Check(t.Label.size() <= longest);
        Check(t.Long || t.Label.isEmpty());
    }
    Check(r.Pass != TScaleTickPass::Message || !r.MessageLines.isEmpty());
    return 0;
}
