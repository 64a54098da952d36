#include "Kesl_kurvo_markfield_p.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr int kReach = kMarkMaskReach;

// out |= row moved d columns to the right (to the left when d < 0).
void OrShifted(std::uint64_t *out, const std::uint64_t *row, std::size_t n, int d)
{
    if (d == 0) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] |= row[i];
    } else if (d > 0) {
        out[0] |= row[0] << d;
        for (std::size_t i = 1; i < n; ++i)
            out[i] |= (row[i] << d) | (row[i - 1] >> (64 - d));
    } else {
        const int e = -d;
        for (std::size_t i = 0; i + 1 < n; ++i)
            out[i] |= (row[i] >> e) | (row[i + 1] << (64 - e));
        out[n - 1] |= row[n - 1] >> e;
    }
}

// Sets the pixels of the 64 columns from line whose bits are set in m.
void WriteChunk(std::uint32_t *line, std::uint64_t m, int columns, std::uint32_t px)
{
    if (columns == 64 && std::popcount(m) >= 40) {
        // Mostly set: fill all and put the few others back.
        std::uint32_t keep[64];
        std::memcpy(keep, line, sizeof keep);
        std::fill_n(line, 64, px);
        for (std::uint64_t z = ~m; z; z &= z - 1)
            line[std::countr_zero(z)] = keep[std::countr_zero(z)];
        return;
    }
    for (; m; m &= m - 1)
        line[std::countr_zero(m)] = px;
}

} // namespace

void TMarkField::Reset(std::uint32_t *bits, std::ptrdiff_t stride, int w, int h)
{
    m_bits = bits;
    m_stride = stride;
    m_w = std::max(w, 0);
    m_h = std::max(h, 0);
    m_fieldW = m_w + 2 * kReach;
    m_fieldH = m_h + 2 * kReach;
    m_rowWords = std::size_t(m_fieldW) / 64 + 1;
    m_words.assign(m_rowWords * std::size_t(m_fieldH), 0);
}

// The figure pixels of field row y: each mask row r takes the centres of
// field row y - top - r, spread along the row by the bits of that mask row.
void TMarkField::SpreadRow(const TMarkMask &mask, int y, std::uint64_t *out) const
{
    std::fill_n(out, m_rowWords, 0);
    for (int r = 0; r < mask.rows; ++r) {
        const int src = y - mask.top - r;
        if (src < m_lowY || src > m_highY)
            continue;
        const std::uint64_t *row = m_words.data() + std::size_t(src) * m_rowWords;
        // Bit b of a mask row is column centre + right - b.
        for (unsigned b = mask.bits[r]; b; b &= b - 1)
            OrShifted(out, row, m_rowWords, mask.right - std::countr_zero(b));
    }
}

void TMarkField::WriteRow(const std::uint64_t *spread, int y, std::uint32_t px) const
{
    std::uint32_t *const line = m_bits + std::ptrdiff_t(y) * m_stride;
    for (int x = 0; x < m_w; x += 64) {
        // Surface column x is field column x + kReach.
        const std::size_t k = std::size_t(x + kReach) / 64;
        const int s = (x + kReach) % 64;
        std::uint64_t m = spread[k] >> s;
        if (s != 0 && k + 1 < m_rowWords)
            m |= spread[k + 1] << (64 - s);
        const int columns = std::min(64, m_w - x);
        if (columns < 64)
            m &= (std::uint64_t(1) << columns) - 1;
        if (m)
            WriteChunk(line + x, m, columns, px);
    }
}

void TMarkField::Write(const TMarkMask &mask, std::uint32_t px)
{
    // Adding a centre does not track the rows: it stays one store.
    auto empty = [this](int y) {
        const auto row = m_words.begin() + std::ptrdiff_t(std::size_t(y) * m_rowWords);
        return std::all_of(row, row + std::ptrdiff_t(m_rowWords), [](std::uint64_t w) { return w == 0; });
    };
    for (m_lowY = 0; m_lowY < m_fieldH && empty(m_lowY);)
        ++m_lowY;
    for (m_highY = m_fieldH - 1; m_highY >= m_lowY && empty(m_highY);)
        --m_highY;
    if (m_highY < m_lowY)
        return;
    // Field rows kReach .. kReach + h - 1 are the surface's.
    const int first = std::max(kReach, m_lowY + mask.top);
    const int last = std::min(kReach + m_h - 1, m_highY + mask.top + mask.rows - 1);
    std::vector<std::uint64_t> spread(m_rowWords);
    for (int y = first; y <= last; ++y) {
        SpreadRow(mask, y, spread.data());
        WriteRow(spread.data(), y - kReach, px);
    }
}
