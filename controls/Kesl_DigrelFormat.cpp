#include "Kesl_DigrelFormat.h"

#include "Kesl_DateTimePattern_p.h"
#include "Kesl_DigrelDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

const QChar kDegree(0xB0);

// The range every integer form can take in 32 bits, signed or not.
constexpr double kLow32 = -2147483648.0;
constexpr double kHighU32 = 4294967295.0;
constexpr double kHighS32 = 2147483647.0;

// Round with halves to the even neighbour (the default rounding mode).
double RoundEven(double v)
{
    return std::nearbyint(v);
}

QString Q(const std::string &s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// General form: up to g significant digits, plain between 1E-4 and 10^g.
QString GeneralText(double value, int g)
{
    TDecimal d = ToDecimal(value);
    RoundSignificant(d, g);
    if (d.IsZero())
        return QStringLiteral("0");
    std::string out = d.Negative ? "-" : "";
    const int k = static_cast<int>(d.Digits.size());
    const int e = d.Exp;
    if (e >= -3 && e <= g) {
        if (e <= 0) {
            // Appended piece by piece: GCC 12 warns falsely about "literal" + string.
            out += "0.";
            out.append(static_cast<std::size_t>(-e), '0');
            out += d.Digits;
        } else {
            out += d.Digits.substr(0, static_cast<std::size_t>(std::min(e, k)));
            if (k < e)
                out += std::string(static_cast<std::size_t>(e - k), '0');
            if (k > e)
                out.append(1, '.').append(d.Digits, static_cast<std::size_t>(e));
        }
    } else {
        out += d.Digits[0];
        if (k > 1)
            out.append(1, '.').append(d.Digits, 1);
        out.append(1, 'E').append(std::to_string(e - 1));
    }
    return Q(out);
}

// Exponent form: d.ddd with g digits, then E, sign and at least three exponent digits.
QString ExponentText(double value, int g)
{
    TDecimal d = ToDecimal(value);
    RoundSignificant(d, g);
    std::string digits = d.Digits;
    digits.resize(static_cast<std::size_t>(g), '0');
    const int exp = d.IsZero() ? 0 : d.Exp - 1;
    std::string e = std::to_string(std::abs(exp));
    if (e.size() < 3)
        e.insert(0, 3 - e.size(), '0');
    std::string out = d.Negative && !d.IsZero() ? "-" : "";
    out += digits.substr(0, 1) + "." + digits.substr(1) + "E" + (exp < 0 ? "-" : "+") + e;
    return Q(out);
}

// Round(value) for values known to lie within the 64-bit range.
std::int64_t RoundToInt64(double value)
{
    return static_cast<std::int64_t>(RoundEven(value));
}

bool InInt64Range(double v)
{
    // 2^63 is exactly representable; the rounded value must stay below it.
    return v > -9223372036854775808.0 && v < 9223372036854775808.0;
}

QString Digits(std::uint64_t v, int base, int count)
{
    QString s = QString::number(v, base).toUpper();
    if (s.size() > count)
        s = s.right(count);
    else if (s.size() < count)
        s = QString(count - s.size(), QLatin1Char('0')) + s;
    return s;
}

bool InRangeR(double v)
{
    return v >= kLow32 && v <= kHighU32;
}

// Replaces v by its nearest integer when it lies within 3e-12 of it.
double Snap(double v)
{
    const double r = RoundEven(v);
    return std::fabs(v - r) < 3e-12 ? r : v;
}

QString RightAligned(const QString &s, int width)
{
    return s.size() >= width ? s : QString(width - s.size(), QLatin1Char(' ')) + s;
}

// Whole degrees of |v| with the sign of v, so -0.5 keeps its "-".
QString WholeDegrees(double v, double wholeMagnitude)
{
    return (v < 0 ? QStringLiteral("-") : QString()) + Q(FixedText(wholeMagnitude, 0));
}

QString DegMinText(double value, int d)
{
    const double v = Snap(value);
    double whole = std::trunc(std::fabs(v));
    const double frac = std::fabs(v) - whole;
    QString minutes = Q(FixedText(frac * 60.0, d));
    if (minutes.toDouble() >= 60.0) {
        // A rounding up to a full 60 minutes belongs to the next degree.
        whole += 1.0;
        minutes = Q(FixedText(0.0, d));
    }
    return WholeDegrees(v, whole) + kDegree + QLatin1Char(' ') + RightAligned(minutes, d + 3) + QLatin1Char('\'');
}

QString DegMinSecText(double value, int d)
{
    const double v = Snap(value);
    double whole = std::trunc(std::fabs(v));
    const double m = Snap((std::fabs(v) - whole) * 60.0);
    int minutes = static_cast<int>(std::trunc(m));
    QString seconds = Q(FixedText((m - std::trunc(m)) * 60.0, d));
    if (seconds.toDouble() >= 60.0) {
        seconds = Q(FixedText(0.0, d));
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        whole += 1.0;
    }
    return WholeDegrees(v, whole) + kDegree + QLatin1Char(' ') + RightAligned(QString::number(minutes), 2) +
        QStringLiteral("' ") + RightAligned(seconds, d + 3) + QLatin1Char('"');
}

// Engineering form with a unit prefix; p <= -2 puts the prefix in place of the point.
QString EngineeringText(double value, int p)
{
    if (!std::isfinite(value))
        return QString();
    p = std::clamp(p, -9, 9);
    const int d = std::abs(p) >= 2 ? std::abs(p) - 1 : 0;
    const bool replace = p <= -2;
    if (value == 0.0)
        return Q(FixedText(0.0, d));
    const double v = std::fabs(value);
    const double lg = std::log10(v);
    const int e = static_cast<int>(std::floor(lg));
    const int g = std::clamp(static_cast<int>(std::floor(lg / 3.0)), -6, 4);
    const int decimals = std::max(0, d - (e - 3 * g));
    QString text = Q(FixedText(v / std::pow(10.0, 3 * g), decimals));
    if (g != 0) {
        const QChar letter = QStringLiteral("afpnum kMGT").at(g + 6);
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        if (replace && dot >= 0)
            text[dot] = letter;
        else
            text += letter;
    }
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

// An empty degree or engineering text cannot be shown.
std::optional<QString> NonEmpty(QString text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// The display type's form of value, or nothing when the type cannot show it (the
// caller then shows the overflow indicator untouched).
std::optional<QString> FormText(double value, const TDigrelFormat &f)
{
    const int p = f.Precision;
    const int g = std::clamp(p, 2, 15);
    const bool finite = std::isfinite(value);
    auto nonFinite = [&]() -> std::optional<QString> {
        if (std::isnan(value))
            return QStringLiteral("NAN");
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    };
    switch (f.DisplayType) {
    case dtFloat: return finite ? GeneralText(value, g) : nonFinite();
    case dtFixP: return finite ? Q(FixedText(value, p)) : nonFinite();
    case dtExp: return finite ? ExponentText(value, g) : nonFinite();
    case dtHex:
        if (!InRangeR(value))
            return std::nullopt;
        return Digits(static_cast<std::uint64_t>(RoundToInt64(value)), 16, std::min(p, 8));
    case dtZeroInt: {
        if (!(value >= kLow32 && value <= kHighS32))
            return std::nullopt;
        const std::int64_t r = RoundToInt64(value);
        const QString digits =
            RightAligned(QString::number(std::llabs(r)), p).replace(QLatin1Char(' '), QLatin1Char('0'));
        return r < 0 ? QLatin1Char('-') + digits : digits;
    }
    case dtInt:
        if (!finite)
            return std::nullopt;
        if (InInt64Range(RoundEven(value)))
            return QString::number(RoundToInt64(value));
        return Q(FixedText(RoundEven(value), 0));
    case dtDateTime: // the platform's letters, 1 January 0001 to 31 December 9999
        return FormatDateTimePattern(f.DTFormat, value, {.WideLetters = true});
    case dtState: return f.StateText;
    case dtBin:
        if (!InRangeR(value))
            return std::nullopt;
        return Digits(static_cast<std::uint32_t>(RoundToInt64(value)), 2, std::min(p, 32));
    case dtOct:
        if (!InRangeR(value))
            return std::nullopt;
        return Digits(static_cast<std::uint32_t>(RoundToInt64(value)), 8, std::min(p, 11));
    case dtDeg: return NonEmpty(finite ? Q(FixedText(value, std::min(p, 8))) + kDegree : QString());
    case dtDegMin: return NonEmpty(finite ? DegMinText(value, std::min(p, 8)) : QString());
    case dtDegMinSec: return NonEmpty(finite ? DegMinSecText(value, std::min(p, 8)) : QString());
    case dtEEng: return NonEmpty(EngineeringText(value, p));
    case dtEEngNoDP: return NonEmpty(EngineeringText(value, -p));
    }
    return std::nullopt;
}

} // namespace

QString DigrelValueText(double value, const TDigrelFormat &format)
{
    TDigrelFormat f = format;
    f.Precision = std::clamp(f.Precision, 0, 15);
    std::optional<QString> form = FormText(value, f);
    // The overflow indicator is the owner's text: no separator or sign rule touches it.
    if (!form)
        return f.OverflowIndicator;
    QString text = *form;
    switch (f.DisplayType) {
    case dtHex:
    case dtDateTime:
    case dtState:
    case dtBin: return text;
    default: break;
    }
    if (f.Comma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    else
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (f.ForcePlusSign && value > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

bool DigrelTextOverflows(int textWidth, int labelWidth, TDisplay type)
{
    return type != dtState && static_cast<long long>(textWidth) > static_cast<long long>(labelWidth) - 6;
}
