// The chart's recorded items, packed: the paint loop streams what it reads of
// every item (coordinates, kind, layer, class, colours, pen) in 48 bytes; the
// rest of a record (box edges, text, sizes) sits in a side list that only the
// items needing it use.
#pragma once

#include "Kesl_kurvo.h"

#include <utility>
#include <vector>

struct TPackedItem
{
    double X1, Y1, X2, Y2;
    TColor Color;
    TColor FillColor;
    std::uint8_t Kind;
    std::uint8_t Layer; // 0 when the recorded layer does not fit (never drawn)
    std::uint8_t ItemClass;
    std::uint8_t Style;
    std::uint8_t PenStyle;
    std::uint8_t LineWidth;
    bool HasRest; // the whole record is in the side list
};
static_assert(sizeof(TPackedItem) <= 48, "the paint loop streams at most 48 bytes per item");

class TKurvoItemStore
{
public:
    int Count() const { return m_count; }
    int Allocated() const { return int(m_items.size()); }
    const TPackedItem *Data() const { return m_items.data(); }
    // The record as it was committed; index 0..Count()-1.
    TChartItem Get(int index) const;
    // Appends a record, growing the list by allocStep slots when it is full.
    void Commit(const TChartItem &item, int allocStep);
    void Clear();

private:
    std::vector<TPackedItem> m_items; // size() is the allocated length
    std::vector<std::pair<int, TChartItem>> m_rest; // by ascending index
    int m_count = 0;
};
