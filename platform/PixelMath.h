// Pixel arithmetic and axis mapping shared by the chart, the scales, the mouse
// code and the marks: one rounding rule and one saturation rule, so that every
// part puts a value on the same pixel.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace PixelMath {

// Pixels saturate symmetrically, so negating one never overflows.
constexpr int kPixelMax = 2147483647;
// Logarithmic axes map values above this; below it the logarithm is useless.
constexpr double kLogFloor = 1e-100;
// Chart items are drawn within this many pixels of the origin: far beyond any
// picture, and near enough that the paint engine draws every segment exactly.
constexpr int kItemReach = 30000;

// Nearest int, halves to the even neighbour, saturated to +-kPixelMax; NaN
// gives the low end. Adding and removing 1.5 * 2^52 rounds in the default
// rounding mode without a library call, which the paint loops notice.
__attribute__((always_inline)) inline int RoundSat(double v)
{
    if (!(v > -double(kPixelMax)))
        return -kPixelMax;
    if (v > double(kPixelMax))
        return kPixelMax;
    return int((v + 6755399441055744.0) - 6755399441055744.0);
}

// A wide result brought back into +-kPixelMax.
constexpr int SatInt(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, -kPixelMax, kPixelMax));
}

constexpr int AddSat(int a, int b)
{
    return SatInt(std::int64_t(a) + b);
}

// A coordinate kept within `reach` pixels of the drawable range 0..extent, so
// that the paint engine gets a segment it draws exactly and without overflow.
constexpr int ClampDrawable(std::int64_t v, int extent, int reach)
{
    return int(std::clamp<std::int64_t>(v, -std::int64_t(reach), std::int64_t(extent) + reach));
}

constexpr int ClampItem(int v)
{
    return std::clamp(v, -kItemReach, kItemReach);
}

// Whether a logarithmic axis maps v.
constexpr bool LogMappable(double v)
{
    return v > kLogFloor;
}

// Whether a logarithmic axis takes v as a range end. The floor itself is
// taken, so that a range may start there, though it maps like the values
// below it.
constexpr bool LogEndAccepted(double v)
{
    return v >= kLogFloor;
}

// Axis value to pixel (not rounded): k * v + d, or k * ln v + d on a
// logarithmic axis, where values at or below the floor give `fallback`.
__attribute__((always_inline)) inline double AxisToPixel(double k, double d, bool logarithmic, double v,
                                                         double fallback)
{
    if (!logarithmic)
        return k * v + d;
    return LogMappable(v) ? k * std::log(v) + d : fallback;
}

// The inverse of AxisToPixel, in long double so that a pixel goes back to the
// value it came from. The result saturates to the finite doubles; an axis
// without extent (k == 0) or with a broken mapping gives `fallback`.
inline double PixelToAxis(long double pixel, long double k, long double d, bool logarithmic, double fallback)
{
    if (k == 0 || !std::isfinite(k) || !std::isfinite(d))
        return fallback;
    long double v = (pixel - d) / k;
    if (logarithmic)
        v = std::exp(v);
    if (std::isnan(v))
        return fallback;
    return double(std::clamp<long double>(v, -DBL_MAX, DBL_MAX));
}

} // namespace PixelMath
