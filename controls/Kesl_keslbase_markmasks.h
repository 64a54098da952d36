#pragma once

#include <cstdint>

// A mark figure as rows of pixels relative to the mark's centre: row r is
// y + top + r, and bit b of a row is column x + right - b.
struct TMarkMask
{
    std::int8_t top;
    std::int8_t right;
    std::uint8_t rows;
    std::uint16_t bits[9];
};

// The 7x7 pattern of shapes 1-6, 18 and 25 (rows y-3 .. y+3, bit 6 = column
// x-3); nullptr for other shapes.
const std::uint8_t *MarkPatternRows(int shape);

// The pixels of the shapes that may be written straight into a bitmap: the
// dot, the patterns, the filled squares and the filled triangles (these as
// drawn with a one-pixel solid copy pen and a solid brush). nullptr for the
// others.
const TMarkMask *FastMarkMask(int shape);
