// The chart's layer model: per layer the mapping of chart coordinates to
// pixels, the rules a requested range goes through, isometric recentring, the
// joined axes' followers and the range history. Plain values, no widget.
#pragma once

#include "Kesl_kurvo_types.h"
#include "PixelMath.h"

#include <array>
#include <cstdint>

// One axis of a layer as its scale property has it.
struct TAxisSpan
{
    long double low = 0, high = 1;
    bool logarithmic = false;
};

struct TLayerTransform
{
    long double kx = 0, dx = 0, ky = 0, dy = 0;
    // The same in double, for mapping. They differ from the above by at most
    // one part in 2^53, so a mapped point can change pixels only when it lies
    // within about 1e-13 pixels of a pixel half; checking every point for
    // that made drawing runs of marks a fifth slower.
    double fkx = 0, fdx = 0, fky = 0, fdy = 0;
    bool logX = false, logY = false, revX = false, revY = false;
    double w = 0, h = 0; // control size for the log fallbacks
};

class TKurvoLayers
{
public:
    static constexpr int kLayers = kKurvoLayers;
    static constexpr int kHistory = 16;
    using TRangeRecord = std::array<double, 4>; // x low, y high, x high, y low

    // layer 1..16 throughout; the callers keep it in range.
    void Calculate(int layer, const TChartGeometry &area, const TAxisSpan &x, const TAxisSpan &y);
    const TLayerTransform &Transform(int layer) const { return m_tf[std::size_t(layer - 1)]; }
    void Map(int layer, double x, double y, int &px, int &py) const
    {
        const TLayerTransform &t = Transform(layer);
        px = PixelMath::RoundSat(PixelMath::AxisToPixel(t.fkx, t.fdx, t.logX, x, t.revX ? t.w : 0));
        py = PixelMath::RoundSat(PixelMath::AxisToPixel(t.fky, t.fdy, t.logY, y, t.revY ? 0 : t.h));
    }

    // An empty range grows to a usable one: by a tenth around it on a
    // logarithmic axis, by minRange otherwise.
    static void WidenEmpty(long double &low, long double &high, bool logarithmic, double minRange);
    // Whether an axis takes low..high at all: both finite and at least minRange apart.
    static bool Acceptable(long double low, long double high, double minRange);
    // Whether a logarithmic axis takes v as one end.

    bool Isometric() const { return m_isometric; }
    void SetIsometric(bool v) { m_isometric = v; }
    double PixelAspect() const { return m_aspectY / m_aspectX; }
    // Half of the y range that keeps one x unit as long as one y unit on screen.
    double IsoHalf(const TChartGeometry &area, double xLow, double xHigh) const;

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
