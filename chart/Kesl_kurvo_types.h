#pragma once

// The chart's plain types: the recorded drawing item and the enumerations of
// its settings.

#include "Colors.h"
#include "Kesl_kurvo_layer.h"

#include <QString>

#include <cstdint>

// Control size, margins and shadow, and from them the data area: Left/Top is
// its first pixel, Right/Bottom the far edge a range's high end maps to.
struct TChartGeometry
{
    int Width = 0, Height = 0;
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    int ShadowWidth = 0;

    int Left() const { return MarginLeft; }
    int Right() const { return Width - MarginRight - ShadowWidth; }
    int Top() const { return MarginTop; }
    int Bottom() const { return Height - MarginBottom - ShadowWidth; }
    int W() const { return Right() - Left(); } // data-area width (w)
    int H() const { return Bottom() - Top(); } // data-area height (h)
    // Both ends count as inside.
    bool Inside(int x, int y) const { return x >= Left() && x <= Right() && y >= Top() && y <= Bottom(); }
};

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
    // At most kMaxChars characters (code points) in UTF-8, zero-terminated.
    static constexpr int kMaxChars = 17;
    char Text[kMaxChars * 4 + 1];
    std::int32_t Size;
    std::int32_t Depth;
    std::uint8_t Style;

    QString TextString() const { return QString::fromUtf8(Text); }
};

// Stored in a byte, so that a stored form's value beyond the last is a value
// of the type that its setter can refuse.
enum TTextBkg : std::uint8_t { tbClear, tbSolid };
enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
enum TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum GridStyleType : std::uint8_t {
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
