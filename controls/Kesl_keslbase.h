#pragma once

/// @file
/// 3-D frames and mark symbols, drawn on a canvas.

#include "Canvas.h"
#include "Kesl_keslbase_markmasks.h"

#include <cstdint>

/// Look of a frame: none, a one-pixel line, lowered or raised 3-D edges of
/// two pixels, or an embossed or engraved groove.
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

/// Draws a one- or two-pixel frame just inside the inclusive rectangle
/// (left, top, right, bottom). Only the pen colour is changed, and not restored.
void DrawFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right, int bottom, TColor highlight,
               TColor light, TColor shadow, TColor darkShadow, TColor line);

/// Draws mark shape 0..255 centred on (x, y) in the pen colour.
void DrawMark(TCanvas &canvas, std::uint8_t shape, int x, int y);

/// Draws one shape at many points with the canvas's pen and brush as they are
/// when the run is made: exactly the pixels of DrawMark at each point, with the
/// checks and the colour worked out once (a chart draws tens of thousands).
/// The canvas must not be resized while the run is in use.
class TMarkRun
{
public:
    /// A run of mark shape 0..255 on canvas, with its present pen and brush.
    TMarkRun(TCanvas &canvas, std::uint8_t shape);
    /// The shape the run draws.
    std::uint8_t Shape() const { return m_shape; }
    /// Draws the mark centred on (x, y), in pixels of the canvas; parts outside it are clipped.
    void Draw(int x, int y)
    {
        if (m_mask)
            WriteMaskClipped(m_bits, m_stride, m_width, m_height, *m_mask, x, y, m_pixel);
        else
            DrawSlow(x, y);
    }

private:
    void DrawSlow(int x, int y);

    TCanvas *m_canvas;
    std::uint8_t m_shape;
    const TMarkMask *m_mask;
    std::uint32_t *m_bits = nullptr;
    std::ptrdiff_t m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_pixel = 0;
};

// The settings object of date/time scales.
#include "Kesl_keslbase_dtlabel.h"
