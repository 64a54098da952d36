#include "Kesl_kurvo_geometry_p.h"

#include "Kesl_kurvo.h"
#include "PixelMath.h"

#include <algorithm>
#include <cmath>

namespace KurvoGeometry {

using PixelMath::RoundSat;

std::pair<QPoint, QPoint> ArrowBarbs(QPoint tail, QPoint tip, int length)
{
    const double x1 = tail.x(), y1 = tail.y(), x2 = tip.x(), y2 = tip.y();
    double ang;
    if (x2 > x1)
        ang = std::atan((y2 - y1) / (x2 - x1)) + M_PI / 2;
    else if (x2 < x1)
        ang = std::atan((y2 - y1) / (x2 - x1)) + 3 * M_PI / 2;
    else
        ang = y2 < y1 ? 0 : M_PI; // straight up or straight down
    const double L = std::min(length, PixelMath::kItemReach), d = 20 * M_PI / 180;
    return {QPoint(tip.x() - RoundSat(std::sin(ang + d) * L), tip.y() + RoundSat(std::cos(ang + d) * L)),
            QPoint(tip.x() - RoundSat(std::sin(ang - d) * L), tip.y() + RoundSat(std::cos(ang - d) * L))};
}

QPoint BarDepthOffset(int angle, int depth)
{
    const double ang = angle * M_PI / 180.0;
    const int dp = PixelMath::ClampItem(depth);
    return QPoint(RoundSat(std::cos(ang) * dp), -RoundSat(std::sin(ang) * dp));
}

int TextLeft(int x, int width, std::uint8_t alignment)
{
    if (alignment == 1)
        return x - width;
    if (alignment == 2)
        return x - width / 2;
    return x;
}

} // namespace KurvoGeometry
