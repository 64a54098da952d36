// The layout's arithmetic and the table of standard layouts.
#include "Kesl_kurvo_layout_p.h"

#include <algorithm>

namespace {

constexpr TLayoutScale kXOff = {false, slBottom, 10, 100, taCenter, uaSclCenter, 0};
constexpr TLayoutScale kYOff = {false, slLeft, 10, 100, taRightJustify, uaSclTopLft, 0};
constexpr TLayoutScale kX1 = {true, slBottom, 0, 22, taCenter, uaSclCenter, 0};
constexpr TLayoutScale kYL(int pos)
{
    return {true, slLeft, 0, -23, taRightJustify, uaSclTopLft, pos};
}

// clang-format off
const TLayoutRow kLayouts[7] = {
    {50, 20, 20, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kXOff, kXOff, kXOff},
     {{true, slLeft, 0, -16, taLeftJustify, uaSclTopLft, 0}, kYOff, kYOff, kYOff}},
    {100, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kXOff, kXOff, kXOff},
     {kYL(0), kYL(50), kYOff, kYOff}},
    {150, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kXOff, kXOff, kXOff},
     {kYL(0), kYL(50), kYL(100), kYOff}},
    {200, 20, 24, 40, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {kX1, kXOff, kXOff, kXOff},
     {kYL(0), kYL(50), kYL(100), kYL(150)}},
    {50, 50, 24, 40, 0, -20, taCenter, cahChartCenter, cavChartTop,
     {kX1, kXOff, kXOff, kXOff},
     {kYL(0), {true, slRight, 0, -23, taLeftJustify, uaSclTopLft, 0}, kYOff, kYOff}},
    {100, 20, 24, 70, 0, -16, taRightJustify, cahChartRight, cavChartTop,
     {{true, slBottom, -20, 7, taRightJustify, uaSclTopLft, 0}, {true, slBottom, -20, 7, taRightJustify, uaSclTopLft, 30},
      kXOff, kXOff},
     {kYL(0), kYL(50), kYOff, kYOff}},
    {50, 50, 48, 40, 0, -46, taCenter, cahChartCenter, cavChartTop,
     {{true, slBottom, -20, 7, taRightJustify, uaSclTopLft, 0}, {true, slTop, -20, -24, taRightJustify, uaSclTopLft, 0},
      kXOff, kXOff},
     {{true, slLeft, 0, -40, taRightJustify, uaSclTopLft, 0}, {true, slRight, 0, -40, taLeftJustify, uaSclTopLft, 0},
      {false, slLeft, 0, -23, taRightJustify, uaSclTopLft, 0}, {false, slLeft, 0, -23, taRightJustify, uaSclTopLft, 0}}},
};
// clang-format on

} // namespace

const TLayoutRow *TKurvoLayout::Row(TrcLayout k)
{
    if (k < rcl_X1Bottom_Y1Left || k > rcl_X2Both_Y2Both)
        return nullptr;
    return &kLayouts[k];
}

void TKurvoLayout::Apply(TrcLayout k, const TLayoutRow &row)
{
    kind = k;
    left = row.left;
    right = row.right;
    top = row.top;
    bottom = row.bottom;
}

QSize TKurvoLayout::DataSize(int width, int height, bool printer) const
{
    const int extra = printer ? 0 : 1;
    const TChartGeometry a = Area(width, height);
    return {std::max(0, a.W() + extra), std::max(0, a.H() + extra)};
}

int TKurvoLayout::ScaleSideMargin(TScaleType type, int pos, int width, int height) const
{
    const TChartGeometry a = Area(width, height);
    switch (type) {
    case sctXB: return pos + height - a.Top() - 1;
    case sctXT: return pos + a.Bottom();
    case sctYL: return pos + a.Right();
    case sctYR: return pos + width - a.Left() - 1;
    }
    return 0;
}
