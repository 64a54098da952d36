// The chart's value-to-pixel mapping of a layer, inline for the paint loop and
// the public mapping alike.
#pragma once

#include "Kesl_kurvo.h"
#include "Kesl_kurvo_layers_p.h"
#include "Kesl_kurvo_p.h"

inline void TCustomKurvo::MapFast(int layer, double x, double y, int &px, int &py) const
{
    d->layers->Map(layer, x, y, px, py);
}

// A mapped pixel kept where the paint engine draws it exactly; true when it moved.
__attribute__((always_inline)) inline bool TCustomKurvo::ClampPixel(int &x, int &y)
{
    const int cx = PixelMath::ClampItem(x), cy = PixelMath::ClampItem(y);
    const bool clamped = cx != x || cy != y;
    x = cx;
    y = cy;
    return clamped;
}
