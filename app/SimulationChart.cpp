#include "SimulationChart.h"

#include "Kesl_kurvo.h"
#include "MainChartDesign.h"
#include "Simulation.h"
#include "TheoryOverlay.h"
#include "ViewMath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr TColor kGrey = 0x808080;
// Mark shapes: small plus, filled square, arrowheads up and down.
constexpr std::uint8_t kMarkSample = 1;
constexpr std::uint8_t kMarkMean = 7;
constexpr std::uint8_t kMarkAbove = 36;
constexpr std::uint8_t kMarkBelow = 34;

struct TDrawing
{
    TKurvo &RC;
    const TSimulation &Model;
    const TTextLookup &Text;

    QString Tr(const QString &key, const QStringList &arguments = {}) const
    {
        return Text ? Text(key, arguments) : FillPlaceholders(key, arguments);
    }
};

QString DensityName(const TDrawing &d, TDistribution distribution)
{
    return d.Tr(distribution == TDistribution::Normal ? QStringLiteral("normal density")
                                                      : QStringLiteral("Cauchy density"));
}

// A logarithmic axis takes only positive ends: the range is set before the
// switch to it, and the switch back comes before a range from zero.
void SetHistogramRange(const TDrawing &d, double bottom, long double top)
{
    if (!d.Model.Extras().LogY) {
        d.RC.Scale1Y()->SetLogarithmic(false);
        d.RC.SetLayerRange(0, kHistLow, 0, kHistHigh, top);
        return;
    }
    d.RC.SetLayerRange(0, kHistLow, bottom, kHistHigh, std::max<long double>(top, 2 * bottom));
    d.RC.Scale1Y()->SetLogarithmic(true);
}

// The other distribution's curve is seen whole: its peak is a quarter above
// or a fifth below this one's.
double ComparedPeak(const TSimulation &model)
{
    const std::optional<TTheorySource> other = model.Theory(true);
    if (!other || !model.Extras().CompareOther)
        return 0;
    return Density(other->Distribution, other->Location, other->Width, other->Location);
}

void DrawHistogramTheory(const TDrawing &d, int outside, int samples)
{
    const TTeachingExtras &extras = d.Model.Extras();
    const std::optional<TTheorySource> theory = d.Model.Theory();
    // The histogram of means is there to be compared with its exact density.
    const double floor = extras.LogY ? d.RC.Scale1Y()->RangeLow() : 0;
    if (theory && (extras.DensityCurve || extras.MeanOf > 0 || extras.CompareOther))
        AddDensityCurve(d.RC, *theory, floor);
    if (theory && extras.CompareOther) {
        const TTheorySource other = *d.Model.Theory(true);
        AddDensityCurve(d.RC, other, floor, clBlue);
        ShowLegend(d.RC,
                   d.Tr(QStringLiteral("red: <%1%>, blue: <%2%>"),
                        {DensityName(d, theory->Distribution), DensityName(d, other.Distribution)}));
    } else {
        ShowLegend(d.RC, QString());
    }
    QString note;
    if (theory && extras.MeanOf == 1)
        note = d.Tr(QStringLiteral("means of 1 sample, outside <%1%> … <%2%>: <%3%> % (theory <%4%> %)"),
                    ShareOutsideArguments(*theory, outside, samples));
    else if (theory && extras.MeanOf > 0)
        note = d.Tr(QStringLiteral("means of <%1%> samples, outside <%2%> … <%3%>: <%4%> % (theory <%5%> %)"),
                    QStringList {QString::number(extras.MeanOf)} + ShareOutsideArguments(*theory, outside, samples));
    else if (theory && extras.ShareOutside)
        note = d.Tr(QStringLiteral("outside <%1%> … <%2%>: <%3%> % (theory <%4%> %)"),
                    ShareOutsideArguments(*theory, outside, samples));
    ShowCornerNote(d.RC, note);
    PlaceCornerNote(d.RC);
}

// One grey bar per bin at its upper edge, scaled as a density over all N
// samples (those outside the bins lower the bars), painted once.
bool DrawHistogram(const TDrawing &d)
{
    THistogramCounts h;
    if (!d.Model.CountHistogram(h))
        return false;
    const bool logY = d.Model.Extras().LogY;
    TKurvo &rc = d.RC;
    rc.SetPaintSuppressed(true);
    rc.ClearItems();
    rc.SetDataColor(kGrey);
    rc.SetLineWidth(4);
    // On the logarithmic axis the bars stand on its lower end; empty bins have none.
    const double bottom = logY ? LogAxisLow(h.Samples) : 0;
    for (const THistogramBar &bar : HistogramBars(h.Counts, h.Samples))
        if (!logY || bar.Height > 0)
            rc.AddLine(bar.X, bottom, bar.X, bar.Height);
    // Range and captions are set before the one paint (the picture is the
    // same as painting after each): the view redraws on every scroll step.
    SetHistogramRange(d, bottom, std::max<long double>(HistogramDensity(h.MaxCount, h.Samples), ComparedPeak(d.Model)));
    rc.Scale1X()->SetCaption(d.Tr(QStringLiteral("x")));
    rc.Scale1Y()->SetCaption(d.Tr(QStringLiteral("probability")));
    FitLeftMargin(rc);
    DrawHistogramTheory(d, h.Outside, h.Samples);
    rc.SetPaintSuppressed(false);
    return true;
}

// Each sample grey (or a red arrowhead at the edge beyond the plotting limit)
// and the mean of the first i samples blue at x = i. The limit only grows,
// with the means of the samples before.
void DrawMeans(const TDrawing &d)
{
    TKurvo &rc = d.RC;
    rc.SetPaintSuppressed(true);
    rc.ClearItems();
    rc.SetLineWidth(1);
    const std::vector<double> samples = d.Model.ShownValues();
    const std::vector<double> means = RunningMeans(samples);
    ShowCornerNote(rc, QString());
    ShowLegend(rc, QString());
    double limit = 10.0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        const double i = double(k + 1), v = samples[k];
        if (v > limit) {
            rc.SetDataColor(clRed);
            rc.AddMark(i, limit, kMarkAbove);
        } else if (v < -limit) {
            rc.SetDataColor(clRed);
            rc.AddMark(i, -limit, kMarkBelow);
        } else {
            rc.SetDataColor(kGrey);
            rc.AddMark(i, v, kMarkSample);
        }
        rc.SetDataColor(clBlue);
        rc.AddMark(i, means[k], kMarkMean);
        limit = std::max(limit, std::fabs(means[k]));
    }
    const bool median = d.Model.Extras().RunningMedian;
    if (median)
        AddRunningMedian(rc, samples);
    rc.Scale1Y()->SetLogarithmic(false);
    const double high = limit > 10 ? limit + 1 : 11;
    rc.SetLayerRange(0, 0, -high, TSimulation::kRunLength, high);
    FitLeftMargin(rc);
    rc.Scale1X()->SetCaption(d.Tr(QStringLiteral("number of random numbers n")));
    rc.Scale1Y()->SetCaption(
        d.Tr(median ? QStringLiteral("random numbers (gray), the mean (blue) and the median (green) as a function of n")
                    : QStringLiteral("random numbers (gray) and the mean as a function of n (blue)")));
    rc.SetPaintSuppressed(false);
}

} // namespace

bool DrawSimulation(TKurvo &rc, const TSimulation &model, const TTextLookup &text)
{
    const TDrawing d {rc, model, text};
    if (model.HistogramShown())
        return DrawHistogram(d);
    DrawMeans(d);
    return true;
}
