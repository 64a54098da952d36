#include "Kesl_keslbase.h"
#include "PixelMath.h"

#include <array>
#include <cstdint>

namespace {

struct FramePen
{
    TCanvas &c;
    // The frame is made of horizontal and vertical segments only, so pulling a
    // coordinate that lies beyond the canvas back to just outside it changes no
    // pixel; it keeps the ±1/±2 arithmetic below free of overflow and every
    // segment short.
    static constexpr int kReach = 4;
    int ClampX(std::int64_t v) const { return PixelMath::ClampDrawable(v, c.Width() - 1, kReach); }
    int ClampY(std::int64_t v) const { return PixelMath::ClampDrawable(v, c.Height() - 1, kReach); }
    void MoveTo(std::int64_t x, std::int64_t y) { c.MoveTo(ClampX(x), ClampY(y)); }
    void LineTo(std::int64_t x, std::int64_t y) { c.LineTo(ClampX(x), ClampY(y)); }
};

// The outer ring's top-left and bottom-right colours, then the inner ring's.
std::array<TColor, 4> RingColours(TFrameStyle style, TColor highlight, TColor light, TColor shadow, TColor darkShadow)
{
    switch (style) {
    case fsRaised: return {highlight, darkShadow, light, shadow};
    case fsEmbossed: return {highlight, shadow, shadow, highlight};
    case fsEngraved: return {shadow, highlight, highlight, shadow};
    default: return {shadow, highlight, darkShadow, light}; // fsLowered
    }
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

    const auto [a, bb, cc, d] = RingColours(style, highlight, light, shadow, darkShadow);

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
    canvas.MoveTo(left, PixelMath::SatInt(b - 1));
}
