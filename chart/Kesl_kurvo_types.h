#pragma once

// The chart's plain types: the recorded drawing item and the enumerations of
// its settings.

#include "Colors.h"

#include <QString>

#include <cstdint>

enum TChartItemKind : std::uint8_t {
    ikNone = 0,
    ikMark = 1,
    ikLine = 2,
    ikDrawTo = 3,
    ikRectangle = 4,
    ikBox = 5,
    ikBar3D = 6,
    ikText = 7,
    ikMoveTo = 8,
    ikEllipse = 9,
    ikMoveRel = 12,
    ikDrawRel = 13,
    ikArrow = 14,
    ikTextOffset = 15,
    ikPixelBox = 16
};

// One recorded drawing command. Plain data: new slots of the list are zeroed.
struct TChartItem
{
    double X1, Y1, X2, Y2;
    TColor Color;
    TColor FillColor;
    TColor DarkEdgeColor;
    TColor LightEdgeColor;
    std::uint8_t PenStyle;
    std::int32_t LineWidth;
    std::uint8_t ItemClass;
    std::uint8_t Kind;
    std::int32_t Layer;
    bool Transparent;
    std::uint8_t FrameStyle;
    char Text[18]; // at most 17 single-byte characters, zero-terminated
    std::int32_t Size;
    std::int32_t Depth;
    std::uint8_t Style;

    QString TextString() const { return QString::fromLatin1(Text); }
};

enum TTextBkg { tbClear, tbSolid };
enum TShadowStyle { ssFlying, ssBox };
enum TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum GridStyleType {
    gsNone,
    gsPoints,
    gsVertLines,
    gsHorizLines,
    gsLines,
    gsHorizDotLines,
    gsVertDotLines,
    gsDotLines
};
enum TrcLayout {
    rcl_X1Bottom_Y1Left,
    rcl_X1Bottom_Y2Left,
    rcl_X1Bottom_Y3Left,
    rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both,
    rcl_X2Bottom_Y2Left,
    rcl_X2Both_Y2Both
};
