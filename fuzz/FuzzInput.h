#pragma once

// Input helpers shared by the fuzz targets of the number code.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>

inline void Check(bool Condition)
{
    if (!Condition)
        __builtin_trap();
}

// Any bit pattern, or a short decimal (mantissa times a power of ten up to
// maxExponent either way), so that the values users really set are reached
// quickly.
inline double ConsumeValue(FuzzedDataProvider &in, int maxExponent)
{
    if (in.ConsumeBool())
        return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    const auto mantissa = in.ConsumeIntegral<std::int32_t>();
    return mantissa * std::pow(10.0, in.ConsumeIntegralInRange(-maxExponent, maxExponent));
}
