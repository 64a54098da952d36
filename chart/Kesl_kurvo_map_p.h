// The chart's value-to-pixel mapping of a layer, inline for the paint loop and
// the public mapping alike.
#pragma once

#include "Kesl_kurvo.h"

inline void TCustomKurvo::MapFast(int layer, double x, double y, int &px, int &py) const
{
    const TTransform &t = m_tf[std::size_t(layer - 1)];
    px = PixelMath::RoundSat(PixelMath::AxisToPixel(t.fkx, t.fdx, t.logX, x, t.revX ? t.w : 0));
    py = PixelMath::RoundSat(PixelMath::AxisToPixel(t.fky, t.fdy, t.logY, y, t.revY ? 0 : t.h));
}
