// The scale on a canvas: mapping, ticks, labels, captions and the paint routine.
#include "Kesl_Scale.h"

#include "Kesl_ScaleTicks.h"
#include "Kesl_keslbase_dtlabel.h"
#include "PixelMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kHorizLong = 7;
constexpr int kVertLong = 6;
constexpr int kShort = 4;
constexpr int kHorizLabelGap = 7;
constexpr int kVertLabelGap = 8;
constexpr int kLabelEdge = 2;

} // namespace

double TScale::TickValue(int index) const
{
    if (index < 1 || index > m_ticks.size())
        return 0.0;
    return m_ticks[index - 1];
}

void TScale::UpdateMapping()
{
    if (IsLoading() || m_rangeLow == m_rangeHigh)
        return;
    const bool horiz = IsHorizontal();
    const int size = horiz ? width() : height();
    const int len = horiz ? size - m_marginLeft - m_marginRight - 1 : size - m_marginTop - m_marginBottom - 1;
    double k = m_k;
    double offset = m_offset;
    if (len <= 0) {
        k = 0.0;
        offset = size / 2.0;
    } else if (m_logarithmic) {
        if (m_rangeLow <= 0.0 || m_rangeHigh <= 0.0)
            return; // keeps the previous mapping
        const double lnLow = std::log(m_rangeLow);
        const double lnHigh = std::log(m_rangeHigh);
        if (horiz) {
            k = len / (lnHigh - lnLow);
            offset = m_marginLeft - lnLow * k;
        } else {
            k = len / (lnLow - lnHigh);
            offset = m_marginTop - lnHigh * k;
        }
    } else if (horiz) {
        k = len / (m_rangeHigh - m_rangeLow);
        offset = m_marginLeft - m_rangeLow * k;
    } else {
        k = len / (m_rangeLow - m_rangeHigh);
        offset = m_marginTop - m_rangeHigh * k;
    }
    // Ends so close that their difference underflows (or so far apart that it
    // overflows) give no usable factor: everything then maps to the middle.
    if (!std::isfinite(k) || !std::isfinite(offset)) {
        k = 0.0;
        offset = size / 2.0;
    }
    m_k = k;
    m_offset = offset;
}

int TScale::ValueToPixel(double v) const
{
    const double p =
        PixelMath::AxisToPixel(m_k, m_offset, m_logarithmic, v, m_rangeHigh >= m_rangeLow ? 0.0 : double(width()));
    // A value the mapping cannot place (NaN) sits at the origin, not at the far end.
    return PixelMath::RoundSat(std::isnan(p) ? 0.0 : p);
}

void TScale::RecordTick(double v)
{
    if (m_ticks.size() < TickListCapacity)
        m_ticks.append(v);
}

void TScale::DrawHorizScale(TCanvas &canvas, int baseY)
{
    DrawScale(canvas, baseY, false);
}

void TScale::DrawVertScale(TCanvas &canvas, int baseX)
{
    DrawScale(canvas, baseX, true);
}

TScaleTickSettings TScale::TickSettings(bool vertical) const
{
    TScaleTickSettings s;
    s.RangeLow = m_rangeLow;
    s.RangeHigh = m_rangeHigh;
    s.MinTicks = m_minTicks;
    s.DecPlaces = m_decPlaces;
    s.ShortTicks = m_shortTicks;
    s.Logarithmic = m_logarithmic;
    s.LabelType = m_labelType;
    s.UserTickText = m_userTickText;
    s.ScaleInscript = m_scaleInscript;
    s.Vertical = vertical;
    s.DateFormat = m_dateFormat->Settings();
    return s;
}

bool TScale::TicksTowardsPlus() const
{
    // Ticks point away from the base line to the side of the labels.
    return m_scaleType == sctXT || m_scaleType == sctYL;
}

void TScale::DrawHorizLabel(TCanvas &canvas, std::int64_t p, int lineBase, const QString &text)
{
    // Centred on the tick but kept 2 px inside the control at both edges;
    // lineBase is the base line the label belongs to.
    const std::int64_t shift = m_drawShift;
    const std::int64_t W = width();
    const std::int64_t w = canvas.TextWidth(text);
    const std::int64_t hw = w / 2;
    const int h = canvas.TextHeight(text);
    const std::int64_t pl = p - shift;
    const std::int64_t left = pl + hw < W - kLabelEdge ? pl - std::min(hw, pl - kLabelEdge) : W - 2 * hw - kLabelEdge;
    const int top = TicksTowardsPlus() ? lineBase + kHorizLabelGap : lineBase - h - kHorizLabelGap;
    canvas.TextOut(PixelMath::SatInt(left + shift), top, text);
}

void TScale::DrawTickLabels(TCanvas &canvas, const TScaleTick &t, const TScaleTickResult &r, std::int64_t p,
                            const TTickPlace &at)
{
    if (!t.Long)
        return;
    const int base = at.Base;
    const bool vertical = at.Vertical;
    if (!t.Label.isEmpty()) {
        if (vertical) {
            const int h = r.LabelHeightOfZero ? at.ZeroHeight : canvas.TextHeight(t.Label);
            const int left =
                m_scaleType == sctYL ? base + kVertLabelGap : base - kVertLabelGap - canvas.TextWidth(t.Label);
            canvas.TextOut(left, PixelMath::SatInt(p - h / 2), t.Label);
        } else {
            DrawHorizLabel(canvas, p, base, t.Label);
        }
    }
    if (!t.DateLine.isEmpty()) {
        const int h = canvas.TextHeight(t.DateLine);
        if (vertical) {
            const int left =
                m_scaleType == sctYL ? base + kVertLabelGap : base - kVertLabelGap - canvas.TextWidth(t.DateLine);
            canvas.TextOut(left, PixelMath::SatInt(p - 3 * (h / 2)), t.DateLine);
        } else {
            DrawHorizLabel(canvas, p, TicksTowardsPlus() ? base + h : base - h, t.DateLine);
        }
    }
}

void TScale::DrawTick(TCanvas &canvas, const TScaleTick &t, const TScaleTickResult &r, const TTickPlace &at)
{
    const int base = at.Base;
    const bool vertical = at.Vertical;
    const std::int64_t p = std::int64_t(ValueToPixel(t.Value)) + m_drawShift;
    const int pi = PixelMath::SatInt(p);
    const int x0 = vertical ? base : pi;
    const int y0 = vertical ? pi : base;
    if (t.Recorded)
        RecordTick(t.Value);
    if (t.Drawn) {
        const int dir = TicksTowardsPlus() ? 1 : -1;
        int len;
        if (vertical)
            len = (t.Long || r.Pass == TScaleTickPass::Logarithmic) ? kVertLong : kShort;
        else
            len = t.Long ? kHorizLong : kShort;
        canvas.MoveTo(x0, y0);
        if (vertical)
            canvas.LineTo(x0 + dir * len, y0);
        else
            canvas.LineTo(x0, y0 + dir * len);
    }
    auto notify = [&] {
        if (OnScaleTickDrawn)
            OnScaleTickDrawn(this, canvas, m_scaleType, t.Value, x0, y0);
    };
    if (r.NotifyBeforeLabel)
        notify();
    DrawTickLabels(canvas, t, r, p, at);
    if (!r.NotifyBeforeLabel)
        notify();
}

void TScale::DrawTickMessage(TCanvas &canvas, const TScaleTickResult &r, int base, bool vertical)
{
    const std::int64_t p = std::int64_t(ValueToPixel(r.MessageValue)) + m_drawShift;
    if (vertical) {
        const int h = canvas.TextHeight(QStringLiteral("T"));
        for (int i = 0; i < r.MessageLines.size(); ++i) {
            const QString &line = r.MessageLines[i];
            const int left = m_scaleType == sctYL ? base + 2 : base - 2 - canvas.TextWidth(line);
            canvas.TextOut(left, PixelMath::SatInt(p + std::int64_t(i - 1) * h), line);
        }
    } else {
        const QString line = r.MessageLines.join(QLatin1Char(' '));
        canvas.TextOut(PixelMath::SatInt(p - canvas.TextWidth(line) / 2), base + kHorizLabelGap, line);
    }
}

void TScale::DrawScale(TCanvas &canvas, int base, bool vertical)
{
    canvas.Brush.Style = m_transparent ? bsClear : bsSolid;
    if (!vertical && m_minTicks != 0)
        m_minTicks = std::clamp(m_minTicks, 2, 20);
    m_ticks.clear();
    m_ticks.reserve(TickListCapacity);

    const TScaleTickResult r = ComputeScaleTicks(TickSettings(vertical));
    const TTickPlace at {base, vertical, canvas.TextHeight(QStringLiteral("0"))};
    for (const TScaleTick &t : r.Ticks)
        DrawTick(canvas, t, r, at);
    if (r.Pass == TScaleTickPass::Message && !r.MessageLines.isEmpty())
        DrawTickMessage(canvas, r, base, vertical);
    if (!m_caption.isEmpty())
        DrawCaption(canvas, base, vertical);
}

void TScale::DrawCaption(TCanvas &canvas, int base, bool vertical)
{
    const int w = canvas.TextWidth(m_caption);
    const int shift = int(m_drawShift);
    int x, y;
    if (vertical) {
        x = base + m_captionPosX;
        y = m_captionPosY + shift;
        switch (m_captionAnchor) {
        case uaSclTopLft: y += m_marginTop; break;
        case uaSclCenter: y += m_marginTop + (height() - m_marginTop - m_marginBottom) / 2; break;
        case uaSclBotRgt: y += height() - m_marginBottom; break;
        }
    } else {
        y = base + m_captionPosY;
        x = m_captionPosX + shift;
        switch (m_captionAnchor) {
        case uaSclTopLft: x += m_marginLeft; break;
        case uaSclCenter: x += m_marginLeft + (width() - m_marginLeft - m_marginRight) / 2; break;
        case uaSclBotRgt: x += width() - m_marginRight; break;
        }
    }
    switch (m_captionAlignment) {
    case taLeftJustify: break;
    case taRightJustify: x -= w; break;
    case taCenter: x -= w / 2; break;
    }
    canvas.TextOut(x, y, m_caption);
}

// The scale at its base line (offset by dx, dy) and the base line itself.
void TScale::DrawScaleAndBase(TCanvas &c, int dx, int dy)
{
    const int W = width();
    const int H = height();
    const bool vertical = !IsHorizontal();
    c.Pen.Color = m_colorScale;
    int base = 0;
    switch (m_scaleType) {
    case sctXB: base = dy + H - m_marginBottom - 1; break;
    case sctXT: base = dy + m_marginTop; break;
    case sctYL: base = dx + m_marginLeft; break;
    case sctYR: base = dx + W - m_marginRight - 1; break;
    }
    // Along the scale the drawing moves with the offset as well.
    m_drawShift = vertical ? dy : dx;
    if (vertical)
        DrawVertScale(c, base);
    else
        DrawHorizScale(c, base);
    m_drawShift = 0;
    if (m_showBaseLine) {
        // The end point itself is left out.
        if (vertical) {
            c.MoveTo(base, dy + m_marginTop);
            c.LineTo(base, dy + H - m_marginBottom - 1);
        } else {
            c.MoveTo(dx + m_marginLeft, base);
            c.LineTo(dx + W - m_marginRight - 1, base);
        }
    }
}

// Background, scale and frame of an opaque scale at (x, y).
void TScale::DrawOpaque(TCanvas &c, int x, int y)
{
    const int W = width(), H = height();
    c.Pen.Color = m_colorBackGnd;
    c.Brush.Color = m_colorBackGnd;
    c.Brush.Style = bsSolid;
    c.Rectangle(x, y, x + W, y + H);
    DrawScaleAndBase(c, x, y);
    if (OnAfterScaleRendered)
        OnAfterScaleRendered(this, c);
    DrawFrame(c, m_frameStyle, x, y, x + W - 1, y + H - 1, m_highlightColor, clSilver, m_shadowColor, m_darkColor,
              m_darkColor);
}

void TScale::Paint()
{
    if (!Visible() || IsLoading() || m_paintLock)
        return;
    const int W = width();
    const int H = height();

    TCanvas *target = m_extCanvas;
    int X = m_extX;
    int Y = m_extY;
    if (!target) {
        if (W <= 0 || H <= 0)
            return;
        if (m_surface.size() != QSize(W, H) || !m_surfaceCanvas) {
            m_surfaceCanvas.reset();
            m_surface = QImage(W, H, QImage::Format_ARGB32_Premultiplied);
            m_surfaceCanvas = std::make_unique<TCanvas>(&m_surface);
        }
        target = m_surfaceCanvas.get();
        X = Y = 0;
        if (m_transparent) {
            // The own surface starts clear, so the parent shows through it.
            target->Release();
            m_surface.fill(Qt::transparent);
        }
    }
    target->Font = m_font;
    if (OnBeforeScaleRendered)
        OnBeforeScaleRendered(this, *target);

    if (m_transparent) {
        DrawScaleAndBase(*target, X, Y);
        if (OnAfterScaleRendered)
            OnAfterScaleRendered(this, *target);
    } else if (W > 0 && H > 0 && target->IsPage()) {
        // On a page the scale stays lines and text, not a picture of them.
        DrawOpaque(*target, X, Y);
    } else if (W > 0 && H > 0) {
        TBitmap bmp(W, H);
        bmp.Canvas().Font = m_font;
        DrawOpaque(bmp.Canvas(), 0, 0);
        const TCopyMode keep = target->CopyMode;
        target->CopyMode = cmSrcCopy;
        target->Draw(X, Y, bmp);
        target->CopyMode = keep;
    }
    if (target == m_surfaceCanvas.get())
        m_surfaceFresh = true;
}
