// The chart's layout: the margins around the data area, the shadow beside it
// and the standard layouts that place margins, caption and the first four
// layers' scales at once. Plain values, no widget.
#pragma once

#include "Kesl_kurvo.h"
#include "Kesl_kurvo_layers_p.h"

#include <QSize>

// Where a standard layout puts one scale.
struct TLayoutScale
{
    bool visible;
    int location; // slBottom/slTop for x, slLeft/slRight for y
    int capX, capY;
    TAlignment align;
    TScaleUnitAnchor anchor;
    int pos;
};

struct TLayoutRow
{
    int left, right, top, bottom;
    int capX, capY;
    TAlignment align;
    TCaptionAnchorHoriz anchorH;
    TCaptionAnchorVert anchorV;
    TLayoutScale x[4];
    TLayoutScale y[4];
};

class TKurvoLayout
{
public:
    int left = 50, right = 10, top = 16, bottom = 32;
    int shadow = 0; // 0..32
    TrcLayout kind = rcl_X1Bottom_Y1Left;

    static constexpr int kMaxShadow = 32;
    // The row of a standard layout; nullptr for a value outside the enumeration.
    static const TLayoutRow *Row(TrcLayout k);
    // Takes a standard layout's kind and margins.
    void Apply(TrcLayout k, const TLayoutRow &row);

    TChartGeometry Area(int width, int height) const { return {width, height, left, right, top, bottom, shadow}; }
    // The smallest control that leaves a data area.
    QSize MinimumSize() const { return {left + right + shadow + 80, top + bottom + shadow + 20}; }
    // The data bitmap: one pixel more each way on screen, for the far frame line.
    QSize DataSize(int width, int height, bool printer) const;
    // The margin a hosted scale of this type gets on its own side, `pos`
    // pixels out from the data area.
    int ScaleSideMargin(TScaleType type, int pos, int width, int height) const;
};
