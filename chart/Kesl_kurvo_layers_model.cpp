// The layer model's arithmetic: transforms, range rules, isometric half range, history.
#include "Kesl_kurvo_layers_p.h"

#include <cmath>

namespace {

// Scale and offset that put low on `from` and high on `to`; an axis without
// extent (or without room) maps everything to `centre`.
void AxisTransform(long double low, long double high, bool logarithmic, long double from, long double to,
                   long double room, long double centre, long double &k, long double &d)
{
    if (logarithmic) {
        low = std::log(low);
        high = std::log(high);
    }
    if (room <= 0 || high == low) {
        k = 0;
        d = centre;
    } else {
        k = (to - from) / (high - low);
        d = (from * high - to * low) / (high - low);
    }
}

} // namespace

void TKurvoLayers::Calculate(int layer, const TChartGeometry &a, const TAxisSpan &x, const TAxisSpan &y)
{
    TLayerTransform &t = m_tf[std::size_t(layer - 1)];
    t.logX = x.logarithmic;
    t.logY = y.logarithmic;
    t.revX = x.high < x.low;
    t.revY = y.high < y.low;
    t.w = a.Width;
    t.h = a.Height;
    const long double w = a.W(), h = a.H();
    AxisTransform(x.low, x.high, x.logarithmic, a.Left(), a.Right(), w, a.Width / 2.0L, t.kx, t.dx);
    AxisTransform(y.low, y.high, y.logarithmic, a.Bottom(), a.Top(), h, a.Height / 2.0L, t.ky, t.dy);
    t.fkx = double(t.kx);
    t.fdx = double(t.dx);
    t.fky = double(t.ky);
    t.fdy = double(t.dy);
}

void TKurvoLayers::WidenEmpty(long double &low, long double &high, bool logarithmic, double minRange)
{
    if (low != high)
        return;
    if (logarithmic) {
        low /= 1.1L;
        high *= 1.1L;
    } else {
        low -= minRange / 2;
        high += minRange / 2;
    }
}

bool TKurvoLayers::Acceptable(long double low, long double high, double minRange)
{
    // NaN ends fail the comparison.
    return std::fabs(low - high) >= minRange && std::isfinite(double(low)) && std::isfinite(double(high));
}

double TKurvoLayers::IsoHalf(const TChartGeometry &a, double xLow, double xHigh) const
{
    const double wb = a.W() + 1, hb = a.H() + 1;
    if (wb <= 0)
        return 0;
    return (xHigh - xLow) * hb / wb * m_aspectY / m_aspectX / 2;
}

void TKurvoLayers::Record(const std::array<TRangeRecord, kLayers> &ranges)
{
    for (std::size_t i = 0; i < ranges.size(); ++i)
        m_history[i][std::size_t(m_historyIndex - 1)] = ranges[i];
    m_historyIndex = m_historyIndex >= kHistory ? 1 : m_historyIndex + 1;
}

TKurvoLayers::TRangeRecord TKurvoLayers::HistoryEntry(int layer, int entry) const
{
    if (entry < 1 || entry > kHistory || !KurvoLayer::Valid(layer))
        return {0, 0, 0, 0};
    return m_history[std::size_t(layer - 1)][std::size_t(entry - 1)];
}
