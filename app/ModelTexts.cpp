#include "ModelTexts.h"

#include "Kesl_vector.h"
#include "Simulation.h"
#include "ViewMath.h"

#include <algorithm>

namespace {

QString Fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

QString Tr(const TTextLookup &text, const QString &key, const QStringList &arguments = {})
{
    return text ? text(key, arguments) : FillPlaceholders(key, arguments);
}

QString DistributionPhrase(std::optional<TDistribution> d, const TTextLookup &text)
{
    if (!d)
        return Tr(text, QStringLiteral("the samples drawn before"));
    return Tr(text,
              *d == TDistribution::Normal ? QStringLiteral("the normal distribution")
                                          : QStringLiteral("the Cauchy distribution"));
}

QString DistributionName(std::optional<TDistribution> d, const TTextLookup &text)
{
    if (!d)
        return Tr(text, QStringLiteral("the samples drawn before"));
    return Tr(text,
              *d == TDistribution::Normal ? QStringLiteral("Normal Distribution")
                                          : QStringLiteral("Cauchy Distribution"));
}

std::optional<TDistribution> Other(std::optional<TDistribution> d)
{
    if (!d)
        return d;
    return *d == TDistribution::Normal ? TDistribution::Cauchy : TDistribution::Normal;
}

// What the histogram counts: the samples, or the means of n samples each
// (one sample each reads as such, not as "1 samples").
QString HistogramWhat(const TSimulation &model, int count, const TTextLookup &text)
{
    const int n = model.Extras().MeanOf;
    const QStringList base = {QString::number(count), DistributionPhrase(model.Distribution(), text),
                              Fixed(model.Location(), 2), Fixed(model.Width(), 2)};
    if (model.View() != TView::MeansOfN)
        return Tr(text, QStringLiteral("Histogram of <%1%> samples of <%2%>, location <%3%>, width <%4%>"), base);
    if (n == 1)
        return Tr(text,
                  QStringLiteral("Histogram of <%1%> means of one sample each of <%2%>, location <%3%>, width <%4%>"),
                  base);
    return Tr(text,
              QStringLiteral("Histogram of <%1%> means of <%5%> samples each of <%2%>, location <%3%>, width <%4%>"),
              base + QStringList {QString::number(n)});
}

// The extras on the chart now, each with the figure it shows.
QStringList HistogramExtras(const TSimulation &model, const TTextLookup &text)
{
    QStringList parts;
    const TTeachingExtras &e = model.Extras();
    const std::optional<TTheorySource> theory = model.Theory();
    if (theory && (e.DensityCurve || e.MeanOf > 0 || e.CompareOther)) {
        const double peak = Density(theory->Distribution, theory->Location, theory->Width, theory->Location);
        parts << Tr(text, QStringLiteral("red density curve, peak <%1%>"), {Fixed(peak, 3)});
    }
    if (const std::optional<TTheorySource> other = model.Theory(true); other && e.CompareOther) {
        const double peak = Density(other->Distribution, other->Location, other->Width, other->Location);
        parts << Tr(text, QStringLiteral("blue density curve of <%1%> for comparison, peak <%2%>"),
                    {DistributionPhrase(Other(model.Distribution()), text), Fixed(peak, 3)});
    }
    if (theory && (e.ShareOutside || e.MeanOf > 0)) {
        const double exact = ShareOutside(theory->Distribution, theory->Location, theory->Width, kHistLow, kHistHigh);
        parts << Tr(text, QStringLiteral("exact share outside −20 … 20: <%1%> %"), {Fixed(100 * exact, 2)});
    }
    if (e.LogY)
        parts << Tr(text, QStringLiteral("bars on a logarithmic y axis"));
    return parts;
}

QString HistogramDescription(const TSimulation &model, const TTextLookup &text)
{
    THistogramCounts h;
    if (!model.CountHistogram(h))
        return HistogramWhat(model, model.ShownCount(), text);
    qint64 counted = 0;
    for (const int c : h.Counts)
        counted += c;
    const double outside = h.Samples > 0 ? 100.0 * double(h.Samples - counted) / h.Samples : 0.0;
    const QString shape = Tr(text, QStringLiteral("tallest bar <%1%>; <%2%> % outside −20 … 20"),
                             {Fixed(double(HistogramDensity(h.MaxCount, h.Samples)), 3), Fixed(outside, 1)});
    return (QStringList {HistogramWhat(model, h.Samples, text), shape} + HistogramExtras(model, text))
        .join(QStringLiteral("; "));
}

QString MeansDescription(const TSimulation &model, const TTextLookup &text)
{
    const std::vector<double> samples = model.ShownValues();
    const int n = int(samples.size());
    if (n == 0)
        return Tr(text, QStringLiteral("Running means: no samples drawn yet"));
    double sum = 0;
    for (const double v : samples)
        sum += v;
    QStringList parts = {
        Tr(text, QStringLiteral("Running means of <%1%> of 500 samples of <%2%>, location <%3%>, width <%4%>"),
           {QString::number(n), DistributionPhrase(model.Distribution(), text), Fixed(model.Location(), 2),
            Fixed(model.Width(), 2)}),
        Tr(text, QStringLiteral("mean of all <%1%>: <%2%>"), {QString::number(n), Fixed(sum / n, 3)})};
    if (model.Extras().RunningMedian) {
        std::vector<double> sorted = samples;
        std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
        double median = sorted[std::size_t(n / 2)];
        if (n % 2 == 0)
            median = (median + *std::max_element(sorted.begin(), sorted.begin() + n / 2)) / 2;
        parts << Tr(text, QStringLiteral("green median of all: <%1%>"), {Fixed(median, 3)});
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace

QString ChartDescription(const TSimulation &model, const TTextLookup &text)
{
    return (model.HistogramShown() ? HistogramDescription(model, text) : MeansDescription(model, text)) +
        QLatin1Char('.');
}

QString PageTitle(const TSimulation &model, const TTextLookup &text)
{
    const QString name = DistributionName(model.Distribution(), text);
    if (model.View() == TView::RunningMeans || !model.Extras().CompareOther || !model.Distribution())
        return name;
    return Tr(text, QStringLiteral("<%1%> compared with the <%2%>"),
              {name, DistributionName(Other(model.Distribution()), text)});
}

QString ChartContextLine(const TSimulation &model, const TTextLookup &text)
{
    const QStringList args = {DistributionName(model.Distribution(), text), Fixed(model.Location(), 2),
                              Fixed(model.Width(), 2), QString::number(model.ShownCount()),
                              QString::number(model.ViewSeed())};
    switch (model.View()) {
    case TView::Histogram:
        return Tr(text, QStringLiteral("<%1%>, location <%2%>, width <%3%>, <%4%> samples, seed <%5%>"), args);
    case TView::MeansOfN:
        return Tr(text,
                  QStringLiteral("<%1%>, location <%2%>, width <%3%>, <%4%> means of <%6%> samples each, seed <%5%>"),
                  args + QStringList {QString::number(model.Extras().MeanOf)});
    case TView::RunningMeans:
        return Tr(text,
                  QStringLiteral("<%1%>, location <%2%>, width <%3%>, running means of <%4%> samples, seed <%5%>"),
                  args);
    }
    return {};
}

QString ViewKeyword(const TSimulation &model)
{
    switch (model.View()) {
    case TView::Histogram: return QStringLiteral("distribution");
    case TView::MeansOfN: return QStringLiteral("mean-of-n");
    case TView::RunningMeans: return QStringLiteral("means");
    }
    return {};
}

QStringList SamplesContext(const TSimulation &model)
{
    const std::optional<TDistribution> d = model.Distribution();
    QStringList lines = {QStringLiteral("view: %1").arg(ViewKeyword(model))};
    if (model.View() == TView::MeansOfN)
        lines << QStringLiteral("n: %1").arg(model.Extras().MeanOf);
    lines << QStringLiteral("distribution: %1")
                 .arg(!d                                ? QStringLiteral("none")
                          : *d == TDistribution::Normal ? QStringLiteral("normal")
                                                        : QStringLiteral("cauchy"))
          << QStringLiteral("location: %1").arg(model.Location(), 0, 'f', 2)
          << QStringLiteral("width: %1").arg(model.Width(), 0, 'f', 2)
          << QStringLiteral("count: %1").arg(model.ShownCount()) << QStringLiteral("seed: %1").arg(model.ViewSeed());
    if (model.View() == TView::MeansOfN)
        lines << (model.Extras().MeanOf == 1
                      ? QStringLiteral("each row is the mean of 1 sample")
                      : QStringLiteral("each row is the mean of %1 samples").arg(model.Extras().MeanOf));
    return lines;
}
