// The chart's value-to-pixel mapping of a layer, inline for the paint loop and
// the public mapping alike.
#pragma once

#include "Kesl_kurvo.h"
#include "Kesl_kurvo_layers_p.h"

inline void TCustomKurvo::MapFast(int layer, double x, double y, int &px, int &py) const
{
    m_layers->Map(layer, x, y, px, py);
}
