// Grid lines and points, and the chart's text labels.
#include "Kesl_kurvo.h"
#include "Kesl_kurvo_map_p.h"

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

// The values of one grid direction between low and high (ordered).
std::vector<double> GridValues(double low, double high, double step, bool log, const TScale *scale)
{
    std::vector<double> out;
    if (!std::isfinite(low) || !std::isfinite(high))
        return out;
    if (step == 0) {
        const int n = scale->NumTicks();
        for (int i = 1; i <= n && int(out.size()) < kMaxGridValues; ++i)
            out.push_back(scale->TickValue(i));
        if (n == 0)
            out.push_back(std::min(scale->RangeLow(), scale->RangeHigh()));
        return out;
    }
    if (step > 0 || !log) {
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
        } else if (step == -2) {
            double d = std::round(v / p);
            if (d >= 10) {
                p *= 10;
                d = 1;
            }
            d = d < 2 ? 2 : (d < 5 ? 5 : 10);
            v = d * p;
        } else {
            double d = std::round(v / p) + 1;
            if (d >= 10) {
                p *= 10;
                d = 1;
            }
            v = d * p;
        }
    }
    return out;
}

} // namespace

void TCustomKurvo::DrawGrid(TCanvas &c, int ox, int oy)
{
    const int layer = m_currentLayer;
    const int li = layer - 1;
    const TScaleProps *px = m_propsX[std::size_t(li)];
    const TScaleProps *py = m_propsY[std::size_t(li)];
    const double xl = std::min(px->RangeLow(), px->RangeHigh()), xh = std::max(px->RangeLow(), px->RangeHigh());
    const double yl = std::min(py->RangeLow(), py->RangeHigh()), yh = std::max(py->RangeLow(), py->RangeHigh());
    const std::vector<double> xs = GridValues(xl, xh, m_gridDx, px->Logarithmic(), m_scaleX[std::size_t(li)]);
    const std::vector<double> ys = GridValues(yl, yh, m_gridDy, py->Logarithmic(), m_scaleY[std::size_t(li)]);
    c.Brush.Color = m_chartColor;
    c.Pen.Color = m_gridColor;
    c.Pen.Width = 1;
    c.Pen.Mode = pmCopy;
    const int sx = ox - MarginLeft(), sy = oy - MarginTop();
    auto pix = [&](double x, double y) {
        int a, b;
        DataToPixel(layer, x, y, a, b);
        return QPoint(PixelMath::AddSat(a, sx), PixelMath::AddSat(b, sy));
    };
    const bool dotted = m_gridStyle == gsHorizDotLines || m_gridStyle == gsVertDotLines || m_gridStyle == gsDotLines;
    c.Pen.Style = dotted ? psDot : psSolid;
    const bool vert = m_gridStyle == gsVertLines || m_gridStyle == gsVertDotLines || m_gridStyle == gsLines ||
        m_gridStyle == gsDotLines;
    const bool horiz = m_gridStyle == gsHorizLines || m_gridStyle == gsHorizDotLines || m_gridStyle == gsLines ||
        m_gridStyle == gsDotLines;
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
    if (m_gridStyle == gsPoints) {
        int count = 0;
        for (double x : xs)
            for (double y : ys) {
                if (count++ >= kMaxGridValues)
                    break;
                const QPoint p = pix(x, y);
                c.SetPixel(p.x(), p.y(), m_gridColor);
            }
    }
    c.Pen.Style = psSolid;
}

void TCustomKurvo::DrawTextLabels(TCanvas &c, int ox, int oy)
{
    const int sx = ox - MarginLeft(), sy = oy - MarginTop();
    for (int i = kTextLabels; i >= 1; --i) {
        const TTextLabel *l = m_labels[std::size_t(i - 1)];
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
            x = -kPixelClamp;
        if (std::isnan(l->PosY()) && (att == tlamNone || att == tlamXOnly))
            y = -kPixelClamp;
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
        if (l->Alignment() == taRightJustify)
            x -= w;
        else if (l->Alignment() == taCenter)
            x -= w / 2;
        x += sx;
        y += sy;
        const int bx1 = x - 4, by1 = y - h * n - 2, bx2 = x + w + 4, by2 = y + 2;
        switch (l->Mode()) {
        case tlsimple:
        case tlUnderline:
            if (!l->Transparent()) {
                c.Pen.Color = l->ColorBkg();
                c.Rectangle(bx1, by1, bx2, by2);
            }
            if (l->Mode() == tlUnderline) {
                c.Pen.Color = l->ColorBorder();
                c.MoveTo(x, y);
                c.LineTo(x + w, y);
            }
            break;
        case tlBox: c.Rectangle(bx1, by1, bx2, by2); break;
        case tlShadow: {
            const TBrush keep = c.Brush;
            c.Pen.Color = l->ColorShadow();
            c.Brush = TBrush {l->ColorShadow(), bsSolid};
            c.Rectangle(bx1 + l->ShadowDx(), by1 + l->ShadowDy(), bx2 + l->ShadowDx(), by2 + l->ShadowDy());
            c.Brush = keep;
            c.Pen.Color = l->ColorBorder();
            c.Rectangle(bx1, by1, bx2, by2);
            break;
        }
        case tlOff: break;
        }
        c.Brush.Style = bsClear;
        for (int k = 0; k < n; ++k) {
            const int lw = c.TextWidth(lines[k]);
            int tx = x;
            if (l->Alignment() == taRightJustify)
                tx += w - lw;
            else if (l->Alignment() == taCenter)
                tx += (w - lw) / 2;
            c.TextOut(tx, y - h * (n - k), lines[k]);
        }
    }
}
