#include "TheoryOverlay.h"

#include "Kesl_kurvo.h"
#include "RunningMedian.h"
#include "ViewMath.h"

#include <algorithm>
#include <cmath>

namespace {

// The chart's text labels used for the note (upper right) and the legend
// (upper left).
struct TCorner
{
    int Label;
    TAlignment Alignment;
};
constexpr TCorner kNoteCorner {1, taRightJustify}, kLegendCorner {2, taLeftJustify};
constexpr int kNoteInset = 6; // pixels between the note and the plot's corner
constexpr TColor kGreen = 0x008000;

// Data colour and line width for a scope; the caller's come back afterwards.
class TPenScope
{
public:
    TPenScope(TKurvo &rc, TColor color, int width) : m_rc(rc), m_color(rc.DataColor()), m_width(rc.LineWidth())
    {
        rc.SetDataColor(color);
        rc.SetLineWidth(width);
    }
    ~TPenScope()
    {
        m_rc.SetDataColor(m_color);
        m_rc.SetLineWidth(m_width);
    }
    TPenScope(const TPenScope &) = delete;
    TPenScope &operator=(const TPenScope &) = delete;

private:
    TKurvo &m_rc;
    TColor m_color;
    int m_width;
};

// A limit as the note shows it, with a true minus sign.
QString LimitText(double v)
{
    QString s = QString::number(v, 'g', 6);
    if (s.startsWith(QLatin1Char('-')))
        s.replace(0, 1, QChar(0x2212));
    return s;
}

QString PercentText(double share)
{
    return QString::number(100 * share, 'f', 2);
}

} // namespace

void AddDensityCurve(TKurvo &rc, const TTheorySource &source, double floor, TColor color)
{
    const TPenScope pen(rc, color, 1);
    const int first = rc.DataToPixel(1, kHistLow, 0).x(), last = rc.DataToPixel(1, kHistHigh, 0).x();
    for (int px = first; px <= last; ++px) {
        const double x = rc.PixelToData(1, px, 0).x();
        const double y = std::max(floor, Density(source.Distribution, source.Location, source.Width, x));
        if (px == first)
            rc.MoveTo(x, y);
        else
            rc.DrawTo(x, y);
    }
}

TTheorySource OtherDistribution(const TTheorySource &source)
{
    const TDistribution other =
        source.Distribution == TDistribution::Normal ? TDistribution::Cauchy : TDistribution::Normal;
    return {other, source.Location, source.Width};
}

TTheorySource MeanOfSamples(const TTheorySource &source, int n)
{
    if (source.Distribution == TDistribution::Cauchy || n < 1)
        return source;
    return {source.Distribution, source.Location, source.Width / std::sqrt(double(n))};
}

QStringList ShareOutsideArguments(const TTheorySource &source, int outside, int samples)
{
    const double counted = samples > 0 ? double(outside) / samples : 0;
    const double theory = ShareOutside(source.Distribution, source.Location, source.Width, kHistLow, kHistHigh);
    return {LimitText(kHistLow), LimitText(kHistHigh), PercentText(counted), PercentText(theory)};
}

namespace {

void PlaceLabel(TKurvo &rc, const TCorner &corner)
{
    TTextLabel *label = rc.TextLabel(corner.Label);
    if (!label->Visible())
        return; // a hidden label is placed when it is shown
    // Control pixels: the plot's top corner, inset.
    const TChartGeometry area = rc.DataArea();
    const double x = corner.Alignment == taRightJustify ? area.Right() - kNoteInset : area.Left() + kNoteInset;
    const double y = area.Top() + kNoteInset;
    if (label->PosX() != x)
        label->SetPosX(x);
    if (label->PosY() != y)
        label->SetPosY(y);
}

void ShowLabel(TKurvo &rc, const TCorner &corner, const QString &text)
{
    TTextLabel *label = rc.TextLabel(corner.Label);
    if (text.isEmpty()) {
        if (label->Visible())
            label->SetVisible(false);
        return;
    }
    label->SetAttachToData(tlamNone);
    label->SetAlignment(corner.Alignment);
    label->SetVerticalAlignment(vaTop);
    label->SetTransparent(false);
    label->SetMode(tlsimple);
    label->SetCaption(text);
    label->SetVisible(true);
    PlaceLabel(rc, corner);
}

} // namespace

void ShowCornerNote(TKurvo &rc, const QString &text)
{
    ShowLabel(rc, kNoteCorner, text);
}

void ShowLegend(TKurvo &rc, const QString &text)
{
    ShowLabel(rc, kLegendCorner, text);
}

void PlaceCornerNote(TKurvo &rc)
{
    PlaceLabel(rc, kNoteCorner);
    PlaceLabel(rc, kLegendCorner);
}

void AddRunningMedian(TKurvo &rc, std::span<const double> samples)
{
    const TPenScope pen(rc, kGreen, 2);
    const std::vector<double> medians = RunningMedians(samples);
    for (std::size_t i = 0; i < medians.size(); ++i) {
        if (i == 0)
            rc.MoveTo(1, medians[0]);
        else
            rc.DrawTo(double(i + 1), medians[i]);
    }
}
