#include "Simulation.h"

#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "ViewMath.h"

#include <QTimer>

#include <algorithm>

namespace {

// The panel's settings when the window opens: the Cauchy distribution,
// location 0.0 and width 1.0.
constexpr TDistribution kStartDistribution = TDistribution::Cauchy;
constexpr int kStartLocationPosition = 0;
constexpr int kStartWidthPosition = 100;

} // namespace

TSimulation::TSimulation(TRandomGenerator &generator, QObject *parent)
    : QObject(parent),
      m_generator(generator),
      m_distribution(kStartDistribution),
      m_locationPosition(kStartLocationPosition),
      m_widthPosition(kStartWidthPosition),
      m_samples(new TVector(this)),
      m_means(new TVector(this)),
      m_bins(new TIntVector(this)),
      m_timer(new QTimer(this))
{
    m_samples->setObjectName(QStringLiteral("Vec1"));
    m_samples->SetNrOfElem(kSamples);
    m_means->setObjectName(QStringLiteral("MeanVec"));
    m_means->SetNrOfElem(kMeans);
    m_bins->setObjectName(QStringLiteral("Histo"));
    m_bins->SetNrOfElem(1);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kTickInterval);
    connect(m_timer, &QTimer::timeout, this, &TSimulation::Step);
}

TSimulation::~TSimulation() = default;

TSampleSource TSimulation::Source() const
{
    return TSampleSource::At(m_distribution, m_locationPosition, m_widthPosition);
}

void TSimulation::Emit(TChanges what)
{
    emit Changed(what);
}

void TSimulation::SetDistribution(std::optional<TDistribution> distribution)
{
    m_distribution = distribution;
    if (m_histogramShown)
        DrawHistogramSamples();
    Emit(m_histogramShown ? ParametersChanged | DataChanged : TChanges(ParametersChanged));
}

void TSimulation::SetLocationPosition(int position)
{
    m_locationPosition = std::clamp(position, kLocationLow, kLocationHigh);
    SetDistribution(m_distribution);
}

void TSimulation::SetWidthPosition(int position)
{
    m_widthPosition = std::clamp(position, kWidthLow, kWidthHigh);
    SetDistribution(m_distribution);
}

TView TSimulation::View() const
{
    if (!m_histogramShown)
        return TView::RunningMeans;
    return m_extras.MeanOf > 0 ? TView::MeansOfN : TView::Histogram;
}

void TSimulation::ShowHistogram()
{
    m_histogramShown = true;
    DrawHistogramSamples();
    Emit(DataChanged);
}

// Without a distribution the samples already there are counted again.
void TSimulation::DrawHistogramSamples()
{
    m_viewSeed = m_generator.Seed();
    const TSampleSource source = Source();
    std::vector<double> means;
    if (m_extras.MeanOf > 0) {
        if (source.DrawMeans(m_generator, m_extras.MeanOf, kMeans, means))
            for (int i = 1; i <= kMeans; ++i)
                m_means->SetElem(i, means[static_cast<std::size_t>(i) - 1]);
        return;
    }
    // The loop runs 100000 times per scroll step: the parameters are read once.
    const int n = m_samples->NrOfElem();
    double v = 0;
    for (int i = 1; i <= n && source.Draw(m_generator, v); ++i)
        m_samples->SetElem(i, v);
}

void TSimulation::SetExtras(const TTeachingExtras &extras)
{
    const bool newSamples = extras.MeanOf != m_extras.MeanOf;
    m_extras = extras;
    if (m_histogramShown && newSamples) {
        DrawHistogramSamples();
        Emit(ExtrasChanged | DataChanged);
        return;
    }
    Emit(ExtrasChanged);
}

void TSimulation::StartRun()
{
    if (m_running)
        return;
    m_histogramShown = false;
    m_running = true;
    if (m_fixedSeed)
        m_generator.SetSeed(*m_fixedSeed);
    else
        m_generator.SeedFromClock();
    m_viewSeed = m_generator.Seed();
    m_samples->Clear();
    m_runCount = 0;
    m_timer->start();
    Emit(RunChanged | DataChanged);
}

void TSimulation::StopRun()
{
    m_histogramShown = false;
    const bool wasRunning = m_running;
    m_running = false;
    m_timer->stop();
    if (wasRunning)
        Emit(RunChanged);
}

void TSimulation::ToggleRun()
{
    if (m_running)
        StopRun();
    else
        StartRun();
}

void TSimulation::Step()
{
    m_runCount += 1;
    double v = 0;
    if (m_runCount <= m_samples->NrOfElem() && Source().Draw(m_generator, v))
        m_samples->SetElem(m_runCount, v);
    if (m_runCount >= kRunLength) {
        m_timer->stop();
        m_running = false;
        Emit(RunChanged | DataChanged);
        return;
    }
    Emit(DataChanged);
}

TVector &TSimulation::HistogramSamples() const
{
    return m_extras.MeanOf > 0 ? *m_means : *m_samples;
}

bool TSimulation::CountHistogram(THistogramCounts &out) const
{
    TVector &samples = HistogramSamples();
    const int n = samples.NrOfElem();
    int underflow = 0, overflow = 0, maxCount = 0;
    if (!samples.Histogram(1, n, kHistLow, kHistHigh, kBinWidth, m_bins, underflow, overflow, maxCount))
        return false;
    out.Counts.resize(static_cast<std::size_t>(m_bins->NrOfElem()));
    for (std::size_t i = 0; i < out.Counts.size(); ++i)
        out.Counts[i] = m_bins->Elem(static_cast<int>(i) + 1);
    out.Samples = n;
    out.Outside = underflow + overflow;
    out.MaxCount = maxCount;
    return true;
}

int TSimulation::ShownCount() const
{
    return m_histogramShown ? HistogramSamples().NrOfElem() : std::clamp(m_runCount, 0, m_samples->NrOfElem());
}

std::vector<double> TSimulation::ShownValues() const
{
    const int n = ShownCount();
    const TVector &shown = m_histogramShown ? HistogramSamples() : *m_samples;
    std::vector<double> values(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        values[static_cast<std::size_t>(i)] = shown.Elem(i + 1);
    return values;
}

std::optional<TTheorySource> TSimulation::Theory(bool other) const
{
    if (!m_distribution)
        return std::nullopt;
    TTheorySource theory {*m_distribution, Location(), Width()};
    if (other)
        theory = OtherDistribution(theory);
    if (m_histogramShown && m_extras.MeanOf > 0)
        return MeanOfSamples(theory, m_extras.MeanOf);
    return theory;
}
