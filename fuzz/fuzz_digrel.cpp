// Turns any value into the text of a numeric label, with any display type,
// precision, separator and sign flags. Nothing may overflow, no text may be
// longer than the widest a double can need, and the decimal forms must read
// back as the value they show, rounded as their precision says.
#include "Kesl_DigrelFormat.h"

#include "FuzzInput.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// The text as a number; the trailing unit letters or signs of other forms
// are not read. Long double holds the texts of the largest doubles rounded
// up; a double reads the integer texts back exactly.
template<typename T> T ReadBack(const QString &text)
{
    const std::string s = text.toStdString();
    T v = NAN;
    const char *begin = s.data() + (s.starts_with('+') ? 1 : 0);
    std::from_chars(begin, s.data() + s.size(), v);
    return v;
}

// Decimal forms read back within half a unit of their last digit.
void CheckReadBack(double value, const QString &text, const TDigrelFormat &f)
{
    if (!std::isfinite(value))
        return;
    const int p = std::clamp(f.Precision, 0, 15);
    const int g = std::clamp(p, 2, 15);
    const long double shown = ReadBack<long double>(text);
    // The shortest decimal form of the value is within half a unit of its
    // last bit, which for the smallest numbers is the smallest double.
    const long double slack = std::fabs(value) * 1e-15L + std::numeric_limits<double>::denorm_min();
    switch (f.DisplayType) {
    case dtFixP: Check(std::fabs(shown - value) <= 0.5L * std::pow(10.0L, -p) + slack); break;
    case dtFloat:
    case dtExp: Check(std::fabs(shown - value) <= 0.5L * std::pow(10.0L, 1 - g) * std::fabs(value) + slack); break;
    case dtInt: Check(ReadBack<double>(text) == std::nearbyint(value)); break;
    default: break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const double value = ConsumeValue(in, 20);
    TDigrelFormat f;
    f.DisplayType = TDisplay(in.ConsumeIntegralInRange<int>(dtFloat, dtEEngNoDP));
    f.Precision = in.ConsumeIntegralInRange(-4, 20);
    f.Comma = in.ConsumeBool();
    f.ForcePlusSign = in.ConsumeBool();
    f.StateText = QString::fromUtf8(in.ConsumeRandomLengthString(16));
    f.OverflowIndicator = QString::fromUtf8(in.ConsumeRandomLengthString(16));
    f.DTFormat = QString::fromUtf8(in.ConsumeRemainingBytesAsString());

    const QString text = DigrelValueText(value, f);
    if (text == f.OverflowIndicator || f.DisplayType == dtState)
        return 0;
    if (f.DisplayType == dtDateTime) {
        // No pattern letter writes more than a long day or month name.
        Check(text.size() <= 32 * std::max<qsizetype>(f.DTFormat.size(), 1));
        return 0;
    }
    // Sign, 309 integral digits, point, 15 decimals and a unit letter or
    // degree sign fit in this; every form must stay within it.
    Check(text.size() <= 330);
    if (!f.Comma)
        CheckReadBack(value, text, f);
    else
        Check(!text.contains(QLatin1Char('.')));
    return 0;
}
