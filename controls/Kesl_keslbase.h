#pragma once

#include "Canvas.h"

#include <cstdint>

enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// Draws a one- or two-pixel frame just inside the inclusive rectangle
// (left, top, right, bottom). Only the pen colour is changed, and not restored.
void DrawFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right, int bottom, TColor highlight,
               TColor light, TColor shadow, TColor darkShadow, TColor line);

// Draws mark shape 0..255 centred on (x, y) in the pen colour.
void DrawMark(TCanvas &canvas, std::uint8_t shape, int x, int y);

// Settings objects of the chart's labels, cross-hairs and date/time scales,
// each in a header of its own.
#if __has_include("Kesl_keslbase_dtlabel.h")
#include "Kesl_keslbase_dtlabel.h"
#endif
#if __has_include("Kesl_keslbase_textlabel.h")
#include "Kesl_keslbase_textlabel.h"
#endif
