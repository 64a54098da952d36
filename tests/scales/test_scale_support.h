#pragma once

#include "Kesl_Scale.h"

#include <QImage>

#include <memory>

// Helpers shared by the scale drawing and control tests.
namespace scaletest {

constexpr TColor kLabelBox = clRed;

// A scale that draws only when asked: its own painting stays locked.
inline std::unique_ptr<TScale> MakeScale(TScaleType type = sctXB)
{
    auto s = std::make_unique<TScale>();
    s->SetScaleType(type);
    return s;
}

// A white bitmap whose brush fills label boxes red, so that the box of every
// label drawn on a non-transparent scale can be found exactly.
inline std::unique_ptr<TBitmap> LabelCanvas(int w = 400, int h = 400)
{
    auto bmp = std::make_unique<TBitmap>(w, h);
    bmp->Canvas().Brush.Color = kLabelBox;
    bmp->Canvas().Pen.Color = clBlack;
    return bmp;
}

// Base coordinate Paint gives a scale of the default 400 x 400 size.
inline int DefaultBase(const TScale &s)
{
    switch (s.ScaleType()) {
    case sctXB: return s.height() - s.MarginBottom() - 1;
    case sctXT: return s.MarginTop();
    case sctYL: return s.MarginLeft();
    case sctYR: return s.width() - s.MarginRight() - 1;
    }
    return 0;
}

inline void DrawAt(TScale &s, TCanvas &c, int base)
{
    if (s.ScaleType() == sctXB || s.ScaleType() == sctXT)
        s.DrawHorizScale(c, base);
    else
        s.DrawVertScale(c, base);
}

inline TColor SurfacePixel(const QImage &img, int x, int y)
{
    return QColorToColor(QColor(img.pixel(x, y)));
}

} // namespace scaletest
