#pragma once

/// @file
/// Mark figures as pixel masks.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

class TCanvas;

/// A mark figure as rows of pixels relative to the mark's centre: row r is
/// y + top + r, and bit b of a row is column x + right - b.
struct TMarkMask
{
    /// Offset of the first row from the mark's centre, in pixels (negative: above).
    std::int8_t top;
    /// Offset of the column of bit 0 from the mark's centre, in pixels.
    std::int8_t right;
    /// Number of rows used in bits, 0..9.
    std::uint8_t rows;
    /// The rows of pixels, first row first.
    std::uint16_t bits[9];
};

/// The 7x7 pattern of shapes 1-6, 18 and 25 (rows y-3 .. y+3, bit 6 = column
/// x-3); nullptr for other shapes.
const std::uint8_t *MarkPatternRows(int shape);

/// The pixels of the shapes that may be written straight into a bitmap: the
/// dot, the patterns, the filled squares and the filled triangles (these as
/// drawn with a one-pixel solid copy pen and a solid brush). nullptr for the
/// others.
const TMarkMask *FastMarkMask(int shape);

/// The mask of a shape when it may be written straight into this canvas with
/// its current pen and brush (the same pixels as the drawing calls); nullptr
/// when the shape must be drawn through the canvas.
const TMarkMask *DirectMarkMask(const TCanvas &canvas, int shape);

/// Marks this far from the centre or more can touch no pixel of the mask.
constexpr int kMarkMaskReach = 9;

/// Writes the mask centred on (x, y) into a w x h RGB32 surface whose first
/// row is bits and whose rows are stride pixels apart, clipped to the surface.
inline void WriteMaskClipped(std::uint32_t *bits, std::ptrdiff_t stride, int w, int h, const TMarkMask &mask, int x,
                             int y, std::uint32_t px)
{
    if (std::int64_t(x) + kMarkMaskReach < 0 || std::int64_t(x) - kMarkMaskReach >= w ||
        std::int64_t(y) + kMarkMaskReach < 0 || std::int64_t(y) - kMarkMaskReach >= h)
        return; // nothing of it would land on the surface
    const int xr = x + mask.right;
    // Columns 0..w-1 are bits xr-w+1 .. xr.
    const int lo = std::max(0, xr - w + 1);
    const int hi = std::min(15, xr);
    if (lo > hi)
        return;
    const std::uint32_t keep = ((2u << hi) - 1u) & ~((1u << lo) - 1u);
    const int r0 = std::max(0, -(y + mask.top));
    const int r1 = std::min(int(mask.rows), h - (y + mask.top));
    for (int r = r0; r < r1; ++r) {
        std::uint32_t *const line = bits + std::ptrdiff_t(y + mask.top + r) * stride;
        for (std::uint32_t b = mask.bits[r] & keep; b; b &= b - 1u)
            line[xr - std::countr_zero(b)] = px;
    }
}
