#include "Kesl_keslbase.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

struct FramePen
{
    TCanvas &c;
    // The frame is made of horizontal and vertical segments only, so pulling a
    // coordinate that lies beyond the canvas back to just outside it changes no
    // pixel; it keeps the ±1/±2 arithmetic below free of overflow and every
    // segment short.
    std::int64_t ClampX(std::int64_t v) const { return std::clamp<std::int64_t>(v, -4, std::int64_t(c.Width()) + 3); }
    std::int64_t ClampY(std::int64_t v) const { return std::clamp<std::int64_t>(v, -4, std::int64_t(c.Height()) + 3); }
    void MoveTo(std::int64_t x, std::int64_t y) { c.MoveTo(int(ClampX(x)), int(ClampY(y))); }
    void LineTo(std::int64_t x, std::int64_t y) { c.LineTo(int(ClampX(x)), int(ClampY(y))); }
};

int Saturated(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void DrawFrame(TCanvas &canvas, TFrameStyle style, int left, int top, int right, int bottom, TColor highlight,
               TColor light, TColor shadow, TColor darkShadow, TColor line)
{
    if (style == fsNone)
        return;
    FramePen p {canvas};
    const std::int64_t l = left, t = top, r = right, b = bottom;
    if (style == fsSimple) {
        canvas.Pen.Color = line;
        p.MoveTo(l, t);
        p.LineTo(l, b);
        p.LineTo(r, b);
        p.LineTo(r, t);
        p.LineTo(l, t);
        canvas.MoveTo(left, top);
        return;
    }

    TColor a = shadow, bb = highlight, cc = darkShadow, d = light; // fsLowered
    switch (style) {
    case fsRaised:
        a = highlight;
        bb = darkShadow;
        cc = light;
        d = shadow;
        break;
    case fsEmbossed:
        a = highlight;
        bb = shadow;
        cc = shadow;
        d = highlight;
        break;
    case fsEngraved:
        a = shadow;
        bb = highlight;
        cc = highlight;
        d = shadow;
        break;
    default: break;
    }

    // Outer ring: top and left first, then right and bottom, so the bottom-left
    // corner ends in the second colour and the top-right one keeps the first.
    canvas.Pen.Color = a;
    p.MoveTo(l, b);
    p.LineTo(l, t);
    p.LineTo(r + 1, t);
    canvas.Pen.Color = bb;
    p.MoveTo(r, t + 1);
    p.LineTo(r, b);
    p.LineTo(l - 1, b);
    // Inner ring in the same order.
    canvas.Pen.Color = cc;
    p.MoveTo(l + 1, b - 1);
    p.LineTo(l + 1, t + 1);
    p.LineTo(r, t + 1);
    canvas.Pen.Color = d;
    p.MoveTo(r - 1, t + 2);
    p.LineTo(r - 1, b - 1);
    p.LineTo(l, b - 1);
    // The pen ends where the last segment ends, as if nothing had been clamped.
    canvas.MoveTo(left, Saturated(b - 1));
}
