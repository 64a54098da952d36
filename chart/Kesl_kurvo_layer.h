#pragma once

/// @file
/// The chart's layer numbers, 1..kKurvoLayers, and the one check of them. Each
/// caller asks it for the outcome it gives a number outside that range.

#include <cstddef>

/// Number of layers of a chart; layers are numbered 1..kKurvoLayers.
constexpr int kKurvoLayers = 16;
/// Not a layer: for TCustomKurvo::SetLayerRange only, where it means every layer.
constexpr int kAllLayers = 0;

namespace KurvoLayer {

/// Whether layer is one of the chart's layers; a setter ignores any other number
/// and a query answers it as "none".
constexpr bool Valid(int layer)
{
    return layer >= 1 && layer <= kKurvoLayers;
}

/// The nearest layer, for the accessors and mappings that always answer.
constexpr int Nearest(int layer)
{
    return layer < 1 ? 1 : (layer > kKurvoLayers ? kKurvoLayers : layer);
}

/// The zero-based slot of the nearest layer.
constexpr std::size_t Slot(int layer)
{
    return std::size_t(Nearest(layer) - 1);
}

} // namespace KurvoLayer
