// Many marks of one shape and colour collected as a bit field of their
// centres and written in one pass over the surface. Marks of one colour give
// the same pixels in any order, and the field turns many scattered figure
// writes into one sweep of word operations and one row-ordered write.
#pragma once

#include "Kesl_keslbase_markmasks.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TMarkField
{
public:
    // Starts an empty field over a w x h RGB32 surface whose first row is
    // bits and whose rows are stride pixels apart.
    void Reset(std::uint32_t *bits, std::ptrdiff_t stride, int w, int h);
    // A centre at (x, y); one that no figure can bring onto the surface is
    // left out, as the direct writes leave it out.
    __attribute__((always_inline)) void Add(int x, int y)
    {
        const std::int64_t fx = std::int64_t(x) + kMarkMaskReach, fy = std::int64_t(y) + kMarkMaskReach;
        if (fx < 0 || fy < 0 || fx >= m_fieldW || fy >= m_fieldH)
            return;
        m_words[std::size_t(fy) * m_rowWords + std::size_t(fx >> 6)] |= std::uint64_t(1) << (fx & 63);
    }
    // Writes the mask placed on every centre, in colour px, clipped to the
    // surface: the pixels of WriteMaskClipped for each centre.
    void Write(const TMarkMask &mask, std::uint32_t px);

private:
    void SpreadRow(const TMarkMask &mask, int y, std::uint64_t *out) const;
    void WriteRow(const std::uint64_t *spread, int y, std::uint32_t px) const;

    std::vector<std::uint64_t> m_words;
    std::size_t m_rowWords = 0;
    std::uint32_t *m_bits = nullptr;
    std::ptrdiff_t m_stride = 0;
    int m_w = 0, m_h = 0;
    // The field is the surface widened by kMarkMaskReach on every side.
    int m_fieldW = 0, m_fieldH = 0;
    int m_lowY = 0, m_highY = -1; // field rows holding centres, found by Write
};
