// The chart's layer model: per layer the mapping of chart coordinates to
// pixels, the rules a requested range goes through, isometric recentring, the
// joined axes' followers and the range history. Plain values, no widget.
#pragma once

#include "PixelMath.h"

#include <array>
#include <cmath>
#include <cstdint>

// The data area inside the control: left/top is its first pixel, right/bottom
// the far edge the mapping puts a range's high end on.
struct TPlotArea
{
    int width = 0, height = 0; // the control
    int left = 0, top = 0, right = 0, bottom = 0;
};

// One axis of a layer as its scale property has it.
struct TAxisSpan
{
    long double low = 0, high = 1;
    bool logarithmic = false;
};

// Pixel of an axis value, not yet rounded: k * u + d with u = v, or u = ln v on
// a logarithmic axis (values it cannot map give `fallback`). Worked out in the
// double copies fk, fd of the transform k, d; a result so close to a pixel
// half that their rounding could decide its side is worked out again in long
// double and rounded there (halves to even), so that every value lands on the
// pixel the transform itself gives.
namespace KurvoMap {
// The pixel of v in long double, rounded: a whole number.
double ExactPixel(const long double &k, const long double &d, bool logarithmic, double v);

__attribute__((always_inline)) inline double Pixel(double fk, double fd, const long double &k, const long double &d,
                                                   bool logarithmic, double v, double fallback)
{
    double u = v;
    if (logarithmic) {
        if (!PixelMath::LogMappable(v))
            return fallback;
        u = std::log(v);
    }
    const double ku = fk * u, p = ku + fd;
    // The double result is off by at most a few units in its last place of
    // |ku| + |fd|; 2^-50 of that covers it. Beyond 2^31 everything saturates.
    const double nearest = (p + 6755399441055744.0) - 6755399441055744.0;
    if (std::fabs(std::fabs(p - nearest) - 0.5) <= (std::fabs(ku) + std::fabs(fd)) * 0x1p-50 && std::fabs(p) < 0x1p31)
        [[unlikely]]
        return ExactPixel(k, d, logarithmic, v);
    return p;
}
} // namespace KurvoMap

struct TLayerTransform
{
    long double kx = 0, dx = 0, ky = 0, dy = 0;
    double fkx = 0, fdx = 0, fky = 0, fdy = 0; // the same in double, for mapping (KurvoMap::Pixel)
    bool logX = false, logY = false, revX = false, revY = false;
    double w = 0, h = 0; // control size for the log fallbacks
};

class TKurvoLayers
{
public:
    static constexpr int kLayers = 16;
    static constexpr int kHistory = 16;
    using TRangeRecord = std::array<double, 4>; // x low, y high, x high, y low

    // layer 1..16 throughout; the callers keep it in range.
    void Calculate(int layer, const TPlotArea &area, const TAxisSpan &x, const TAxisSpan &y);
    const TLayerTransform &Transform(int layer) const { return m_tf[std::size_t(layer - 1)]; }
    void Map(int layer, double x, double y, int &px, int &py) const
    {
        const TLayerTransform &t = Transform(layer);
        px = PixelMath::RoundSat(KurvoMap::Pixel(t.fkx, t.fdx, t.kx, t.dx, t.logX, x, t.revX ? t.w : 0));
        py = PixelMath::RoundSat(KurvoMap::Pixel(t.fky, t.fdy, t.ky, t.dy, t.logY, y, t.revY ? 0 : t.h));
    }

    // An empty range grows to a usable one: by a tenth around it on a
    // logarithmic axis, by minRange otherwise.
    static void WidenEmpty(long double &low, long double &high, bool logarithmic, double minRange);
    // Whether an axis takes low..high at all: both finite and at least minRange apart.
    static bool Acceptable(long double low, long double high, double minRange);
    // Whether a logarithmic axis takes v as one end.
    static bool LogEndAcceptable(double v) { return v >= PixelMath::kLogFloor; }

    bool Isometric() const { return m_isometric; }
    void SetIsometric(bool v) { m_isometric = v; }
    double PixelAspect() const { return m_aspectY / m_aspectX; }
    // Half of the y range that keeps one x unit as long as one y unit on screen.
    double IsoHalf(const TPlotArea &area, double xLow, double xHigh) const;

    // The layers other than `layer` that follow it on x or y, one bit each (bit 0 is layer 1).
    template<class TJoints> static std::uint32_t Followers(const TJoints &joints, int layer)
    {
        std::uint32_t m = 0;
        for (int k = 1; k <= kLayers; ++k)
            if (k != layer && (joints.XControlledBy(k) == layer || joints.YControlledBy(k) == layer))
                m |= 1u << (k - 1);
        return m;
    }

    // Stores every layer's ranges at the current entry and moves on, round the 16 entries.
    void Record(const std::array<TRangeRecord, kLayers> &ranges);
    TRangeRecord HistoryEntry(int layer, int entry) const; // entry 1..16, zeros outside
    int HistoryIndex() const { return m_historyIndex; }

private:
    std::array<TLayerTransform, kLayers> m_tf {};
    bool m_isometric = false;
    double m_aspectX = 1, m_aspectY = 1; // square pixels on this platform
    std::array<std::array<TRangeRecord, kHistory>, kLayers> m_history {};
    int m_historyIndex = 1;
};
