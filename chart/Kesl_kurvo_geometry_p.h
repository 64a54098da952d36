// The pixel geometry of the drawn item kinds, apart from any canvas.
#pragma once

#include <QPoint>

#include <cstdint>
#include <utility>

namespace KurvoGeometry {

// The two back corners of an arrow head of `length` pixels at `tip`, for a
// shaft from `tail`; the barbs open 20 degrees to either side.
std::pair<QPoint, QPoint> ArrowBarbs(QPoint tail, QPoint tip, int length);

// How far the back face of a 3-D bar is shifted for a view from `angle`
// degrees at `depth` pixels (y grows downwards).
QPoint BarDepthOffset(int angle, int depth);

// Left edge of a text `width` pixels wide anchored at x: alignment 0 starts
// there, 1 ends there, 2 is centred on it.
int TextLeft(int x, int width, std::uint8_t alignment);

} // namespace KurvoGeometry
