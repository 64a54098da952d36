#pragma once

/// @file
/// The chart's plain types: the recorded drawing item and the enumerations of
/// its settings.

#include "Colors.h"
#include "Kesl_kurvo_layer.h"

#include <QString>

#include <cstdint>

/// Control size, margins and shadow, and from them the data area: Left/Top is
/// its first pixel, Right/Bottom the far edge a range's high end maps to.
struct TChartGeometry
{
    ///@{

    /// Size of the control in pixels.
    int Width = 0, Height = 0;
    ///@}
    ///@{

    /// Margins around the data area in pixels.
    int MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    ///@}
    /// Width of the shadow at the right and bottom, in pixels.
    int ShadowWidth = 0;

    /// First pixel column of the data area.
    int Left() const { return MarginLeft; }
    /// Right edge of the data area: where a range's high x end maps to.
    int Right() const { return Width - MarginRight - ShadowWidth; }
    /// First pixel row of the data area.
    int Top() const { return MarginTop; }
    /// Bottom edge of the data area: where a range's low y end maps to.
    int Bottom() const { return Height - MarginBottom - ShadowWidth; }
    /// Width of the data area in pixels.
    int W() const { return Right() - Left(); } // data-area width (w)
    /// Height of the data area in pixels.
    int H() const { return Bottom() - Top(); } // data-area height (h)
    /// Both ends count as inside.
    bool Inside(int x, int y) const { return x >= Left() && x <= Right() && y >= Top() && y <= Bottom(); }
};

/// Kind of a recorded drawing item: what it draws and which fields it uses
/// (see the fields of TChartItem). Kinds 0, 10 and 11 draw nothing.
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

/// One recorded drawing command. Plain data: new slots of the list are zeroed.
struct TChartItem
{
    ///@{

    /// Coordinates in the units of the item's layer: the point, the first
    /// corner or the start (X1, Y1) and the second corner or the end (X2, Y2).
    /// Pixel offsets for ikMoveRel and ikDrawRel (X1, Y1) and for ikTextOffset
    /// (X2, Y2); half axes for ikEllipse and half sizes in pixels for ikPixelBox (X2, Y2).
    double X1, Y1, X2, Y2;
    ///@}
    /// Pen colour; text colour of the text kinds; colour of a mark.
    TColor Color;
    /// Brush colour.
    TColor FillColor;
    /// Edge colour of ikBox: upper left when lowered, lower right when raised.
    TColor DarkEdgeColor;
    /// The other edge colour of ikBox.
    TColor LightEdgeColor;
    /// Pen style, a TPenStyle 0..6.
    std::uint8_t PenStyle;
    /// Pen width in pixels.
    std::int32_t LineWidth;
    /// Class tag 0..254 for hiding items class by class.
    std::uint8_t ItemClass;
    /// What the item draws, a TChartItemKind.
    std::uint8_t Kind;
    /// Layer 1..16 whose axes map the coordinates.
    std::int32_t Layer;
    /// No fill (rectangle, ellipse, pixel box); an open head (arrow).
    bool Transparent;
    /// 3-D edge of ikBox, a TFrameStyle.
    std::uint8_t FrameStyle;
    /// Most characters (code points) of a text item.
    static constexpr int kMaxChars = 17;
    /// Text of ikText and ikTextOffset: at most kMaxChars characters in
    /// UTF-8, zero-terminated.
    char Text[kMaxChars * 4 + 1];
    /// Font size in points (text kinds), angle in degrees (ikBar3D), head
    /// length in pixels (ikArrow).
    std::int32_t Size;
    /// Depth in pixels (ikBar3D).
    std::int32_t Depth;
    /// Mark shape 0..255 (ikMark); alignment 0 left, 1 right, 2 centred (text kinds).
    std::uint8_t Style;

    /// Text as a string.
    QString TextString() const { return QString::fromUtf8(Text); }
};

// Stored in a byte, so that a stored form's value beyond the last is a value
// of the type that its setter can refuse.
/// Background of a text: none or filled.
enum TTextBkg : std::uint8_t { tbClear, tbSolid };
/// Shadow of the chart: offset behind it (flying) or joined to it like a box.
enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
/// What the chart's caption is placed against horizontally: the control's
/// or the data area's edges, or the data area's centre.
enum TCaptionAnchorHoriz { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
/// What the chart's caption is placed against vertically.
enum TCaptionAnchorVert { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
/// Grid of the data area: none, points at the tick crossings, or solid or
/// dotted lines in one or both directions.
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
/// Standard layouts of axes: which x axes (bottom, both) and how many y axes
/// on which sides a chart shows.
enum TrcLayout {
    rcl_X1Bottom_Y1Left,
    rcl_X1Bottom_Y2Left,
    rcl_X1Bottom_Y3Left,
    rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both,
    rcl_X2Bottom_Y2Left,
    rcl_X2Both_Y2Both
};
