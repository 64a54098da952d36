#include "Kesl_kurvo_store_p.h"

#include <algorithm>

namespace {

// True when the packed part alone gives the record back unchanged.
bool FitsPacked(const TChartItem &it)
{
    const bool noText = std::all_of(std::begin(it.Text), std::end(it.Text), [](char ch) { return ch == 0; });
    return noText && it.Layer >= 0 && it.Layer <= 255 && it.LineWidth >= 0 && it.LineWidth <= 255 &&
        it.DarkEdgeColor == 0 && it.LightEdgeColor == 0 && !it.Transparent && it.FrameStyle == 0 && it.Size == 0 &&
        it.Depth == 0;
}

} // namespace

TChartItem TKurvoItemStore::Get(int index) const
{
    if (index < 0 || index >= m_count)
        return TChartItem {};
    const TPackedItem &p = m_items[std::size_t(index)];
    if (p.HasRest) {
        const auto pos = std::lower_bound(m_rest.begin(), m_rest.end(), index,
                                          [](const std::pair<int, TChartItem> &e, int i) { return e.first < i; });
        return pos->second;
    }
    TChartItem it {};
    it.X1 = p.X1;
    it.Y1 = p.Y1;
    it.X2 = p.X2;
    it.Y2 = p.Y2;
    it.Color = p.Color;
    it.FillColor = p.FillColor;
    it.Kind = p.Kind;
    it.Layer = p.Layer;
    it.ItemClass = p.ItemClass;
    it.Style = p.Style;
    it.PenStyle = p.PenStyle;
    it.LineWidth = p.LineWidth;
    return it;
}

void TKurvoItemStore::Commit(const TChartItem &it, int allocStep)
{
    if (std::size_t(m_count) >= m_items.size())
        m_items.resize(m_items.size() + std::size_t(std::max(allocStep, 1)));
    const bool rest = !FitsPacked(it);
    const bool layerFits = it.Layer >= 0 && it.Layer <= 255;
    m_items[std::size_t(m_count)] =
        TPackedItem {it.X1,        it.Y1,        it.X2,       it.Y2,
                     it.Color,     it.FillColor, it.Kind,     std::uint8_t(layerFits ? it.Layer : 0),
                     it.ItemClass, it.Style,     it.PenStyle, std::uint8_t(std::clamp(it.LineWidth, 0, 255)),
                     rest};
    if (rest)
        m_rest.emplace_back(m_count, it);
    ++m_count;
}

void TKurvoItemStore::Clear()
{
    m_items.clear();
    m_items.shrink_to_fit();
    m_rest.clear();
    m_rest.shrink_to_fit();
    m_count = 0;
}
