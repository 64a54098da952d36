// Grid lines and points, and the chart's text labels.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_map_p.h"
#include "Kesl_kurvo_p.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr int kMaxGridValues = 1000;

// Decade exponent of v, a logarithm within 1e-14 of an integer counting as it.
double Decade(double v)
{
    const double e = std::log(v) / kLn10;
    const double r = std::round(e);
    return std::fabs(e - r) < 1e-14 ? r : std::floor(e);
}

// The scale's own ticks (its low end when it has none).
std::vector<double> TickGridValues(const TScale *scale)
{
    std::vector<double> out;
    const int n = scale->NumTicks();
    for (int i = 1; i <= n && int(out.size()) < kMaxGridValues; ++i)
        out.push_back(scale->TickValue(i));
    if (n == 0)
        out.push_back(std::min(scale->RangeLow(), scale->RangeHigh()));
    return out;
}

// Multiples of |step| from low up to high.
std::vector<double> LinearGridValues(double low, double high, double step)
{
    std::vector<double> out;
    const double s = std::fabs(step);
    double v = std::ceil(low / s) * s;
    if (!std::isfinite(v))
        return out;
    for (int i = 0; v < high && i < kMaxGridValues; ++i) {
        out.push_back(v);
        const double next = v + s;
        if (next == v)
            break; // the step vanishes against the value
        v = next;
    }
    return out;
}

// On a logarithmic axis: -1 every decade, -2 at 1, 2 and 5 of each, any other
// negative step at every integer multiple of the decade.
std::vector<double> LogGridValues(double low, double high, double step)
{
    std::vector<double> out;
    if (low <= 0)
        low = PixelMath::kLogFloor;
    double p = std::pow(10.0, Decade(low)); // power of ten not above low
    double lead = low / p;
    double v;
    if (step == -1) {
        v = (std::fabs(lead - 1) < 1e-12) ? p : p * 10;
        lead = 1;
    } else if (step == -2) {
        const double d = std::round(lead);
        lead = d <= 2 ? 2 : (d <= 5 ? 5 : 10);
        v = lead * p;
    } else {
        lead = std::max(1.0, std::round(lead));
        v = lead * p;
    }
    for (int i = 0; v < high && i < kMaxGridValues && std::isfinite(v); ++i) {
        out.push_back(v);
        if (step == -1) {
            v *= 10;
            continue;
        }
        double d = std::round(v / p) + (step == -2 ? 0 : 1);
        if (d >= 10) {
            p *= 10;
            d = 1;
        }
        if (step == -2)
            d = d < 2 ? 2 : (d < 5 ? 5 : 10);
        v = d * p;
    }
    return out;
}

// The values of one grid direction between low and high (ordered).
std::vector<double> GridValues(double low, double high, double step, bool log, const TScale *scale)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {};
    if (step == 0)
        return TickGridValues(scale);
    if (step > 0 || !log)
        return LinearGridValues(low, high, step);
    return LogGridValues(low, high, step);
}

} // namespace

void TCustomKurvo::DrawGrid(TCanvas &c, int ox, int oy)
{
    const int layer = d->currentLayer;
    const int li = layer - 1;
    const TScaleProps *px = d->propsX[std::size_t(li)];
    const TScaleProps *py = d->propsY[std::size_t(li)];
    const double xl = std::min(px->RangeLow(), px->RangeHigh()), xh = std::max(px->RangeLow(), px->RangeHigh());
    const double yl = std::min(py->RangeLow(), py->RangeHigh()), yh = std::max(py->RangeLow(), py->RangeHigh());
    const std::vector<double> xs = GridValues(xl, xh, d->gridDx, px->Logarithmic(), d->scaleX[std::size_t(li)]);
    const std::vector<double> ys = GridValues(yl, yh, d->gridDy, py->Logarithmic(), d->scaleY[std::size_t(li)]);
    c.Brush.Color = d->chartColor;
    c.Pen.Color = d->gridColor;
    c.Pen.Width = 1;
    c.Pen.Mode = pmCopy;
    const int sx = ox - MarginLeft(), sy = oy - MarginTop();
    auto pix = [&](double x, double y) {
        int a, b;
        DataToPixel(layer, x, y, a, b);
        return QPoint(PixelMath::AddSat(a, sx), PixelMath::AddSat(b, sy));
    };
    const bool dotted = d->gridStyle == gsHorizDotLines || d->gridStyle == gsVertDotLines || d->gridStyle == gsDotLines;
    c.Pen.Style = dotted ? psDot : psSolid;
    const bool vert = d->gridStyle == gsVertLines || d->gridStyle == gsVertDotLines || d->gridStyle == gsLines ||
        d->gridStyle == gsDotLines;
    const bool horiz = d->gridStyle == gsHorizLines || d->gridStyle == gsHorizDotLines || d->gridStyle == gsLines ||
        d->gridStyle == gsDotLines;
    if (vert) {
        for (double x : xs) {
            const QPoint a = pix(x, yl), b = pix(x, yh);
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
        }
    }
    if (horiz) {
        for (double y : ys) {
            const QPoint a = pix(xl, y), b = pix(xh, y);
            c.MoveTo(a.x(), a.y());
            c.LineTo(b.x(), b.y());
        }
    }
    if (d->gridStyle == gsPoints) {
        int count = 0;
        for (double x : xs)
            for (double y : ys) {
                if (count++ >= kMaxGridValues)
                    break;
                const QPoint p = pix(x, y);
                c.SetPixel(p.x(), p.y(), d->gridColor);
            }
    }
    c.Pen.Style = psSolid;
}

namespace {

// Where a line `lineWidth` wide starts in a box `width` wide.
int AlignedOffset(TAlignment a, int width, int lineWidth)
{
    if (a == taRightJustify)
        return width - lineWidth;
    if (a == taCenter)
        return (width - lineWidth) / 2;
    return 0;
}

// A label's box, shadowed box or background and underline around text
// `w` x `textH` whose bottom left is x, y.
void DrawLabelFrame(TCanvas &c, const TTextLabel &l, int x, int y, int w, int textH)
{
    const int bx1 = x - 4, by1 = y - textH - 2, bx2 = x + w + 4, by2 = y + 2;
    switch (l.Mode()) {
    case tlsimple:
    case tlUnderline:
        if (!l.Transparent()) {
            c.Pen.Color = l.ColorBkg();
            c.Rectangle(bx1, by1, bx2, by2);
        }
        if (l.Mode() == tlUnderline) {
            c.Pen.Color = l.ColorBorder();
            c.MoveTo(x, y);
            c.LineTo(x + w, y);
        }
        break;
    case tlBox: c.Rectangle(bx1, by1, bx2, by2); break;
    case tlShadow: {
        const TBrush keep = c.Brush;
        c.Pen.Color = l.ColorShadow();
        c.Brush = TBrush {l.ColorShadow(), bsSolid};
        c.Rectangle(bx1 + l.ShadowDx(), by1 + l.ShadowDy(), bx2 + l.ShadowDx(), by2 + l.ShadowDy());
        c.Brush = keep;
        c.Pen.Color = l.ColorBorder();
        c.Rectangle(bx1, by1, bx2, by2);
        break;
    }
    case tlOff: break;
    }
}

} // namespace

void TCustomKurvo::DrawTextLabels(TCanvas &c, int ox, int oy)
{
    const int sx = ox - MarginLeft(), sy = oy - MarginTop();
    for (int i = kTextLabels; i >= 1; --i) {
        const TTextLabel *l = d->labels[std::size_t(i - 1)];
        if (!l->Visible() || l->Mode() == tlOff || !LayerVisible(l->Layer()))
            continue;
        int x, y;
        DataToPixel(l->Layer(), l->PosX(), l->PosY(), x, y);
        const TTxtLblAttachMode att = l->AttachToData();
        if (att == tlamNone || att == tlamYOnly)
            x = PixelMath::RoundSat(l->PosX());
        if (att == tlamNone || att == tlamXOnly)
            y = PixelMath::RoundSat(l->PosY());
        if (std::isnan(l->PosX()) && (att == tlamNone || att == tlamYOnly))
            x = -PixelMath::kItemReach;
        if (std::isnan(l->PosY()) && (att == tlamNone || att == tlamXOnly))
            y = -PixelMath::kItemReach;
        ClampPixel(x, y);
        c.Font = l->Font();
        c.Pen = TPen {l->ColorBorder(), 1, psSolid, pmCopy};
        c.Brush = TBrush {l->ColorBkg(), l->Transparent() ? bsClear : bsSolid};
        const QStringList lines = l->Caption().split(QLatin1Char('\n'));
        const int n = int(lines.size());
        int w = 0;
        for (const QString &s : lines)
            w = std::max(w, c.TextWidth(s));
        if (w == 0)
            w = c.TextWidth(l->Caption());
        const int h = c.TextHeight(l->Caption());
        if (l->VerticalAlignment() == vaTop)
            y += h * n;
        else if (l->VerticalAlignment() == vaCenter)
            y += (h * n) / 2;
        x += sx - AlignedOffset(l->Alignment(), w, 0);
        y += sy;
        DrawLabelFrame(c, *l, x, y, w, h * n);
        c.Brush.Style = bsClear;
        for (int k = 0; k < n; ++k)
            c.TextOut(x + AlignedOffset(l->Alignment(), w, c.TextWidth(lines[k])), y - h * (n - k), lines[k]);
    }
}
