// What the simulation shows, apart from any window: the distribution and its
// parameters, the view, the extras, the generator and the samples or means
// drawn from it. The window, the chart's menu, the pictures, the files and the
// screen reader all read it; only the model decides.
#pragma once

#include "SampleSource.h"
#include "TeachingExtras.h"
#include "TheoryOverlay.h"
#include "ViewRules.h"

#include <QFlags>
#include <QObject>

#include <cstdint>
#include <optional>
#include <vector>

class QTimer;
class TIntVector;
class TRandomGenerator;
class TVector;

// The histogram of the samples the view counts.
struct THistogramCounts
{
    std::vector<int> Counts; // one per bin of 0.1 from -20 to 20
    int Samples = 0; // all of them, those outside the bins included
    int Outside = 0; // below -20 or at and above 20
    int MaxCount = 0;
};

class TSimulation : public QObject
{
    Q_OBJECT

public:
    // How many samples the histogram counts, how many means of n it counts,
    // and how long a running-means run is.
    static constexpr int kSamples = 100000;
    static constexpr int kMeans = 10000;
    static constexpr int kRunLength = 500;
    static constexpr int kTickInterval = 50; // ms between two samples of a run
    // The parameters' scroll-bar positions: location * 10, width * 100.
    static constexpr int kLocationLow = -100, kLocationHigh = 100;
    static constexpr int kWidthLow = 1, kWidthHigh = 500;

    enum TChange {
        ParametersChanged = 1, // distribution, location or width
        DataChanged = 2, // new samples, a new step of a run, another view
        ExtrasChanged = 4,
        RunChanged = 8, // a run started or stopped
    };
    Q_DECLARE_FLAGS(TChanges, TChange)

    // Generator is used for every sample; it must outlive the model.
    explicit TSimulation(TRandomGenerator &generator, QObject *parent = nullptr);
    ~TSimulation() override;

    std::optional<TDistribution> Distribution() const { return m_distribution; }
    int LocationPosition() const { return m_locationPosition; }
    int WidthPosition() const { return m_widthPosition; }
    double Location() const { return TSampleSource::LocationOf(m_locationPosition); }
    double Width() const { return TSampleSource::WidthOf(m_widthPosition); }
    TSampleSource Source() const;
    // Each redraws the histogram view with fresh samples while it is shown.
    // Positions outside the scroll bars' ranges are clamped into them.
    void SetDistribution(std::optional<TDistribution> distribution);
    void SetLocationPosition(int position);
    void SetWidthPosition(int position);

    TView View() const;
    // The histogram (or the means of n) is the view, so parameter changes redraw it.
    bool HistogramShown() const { return m_histogramShown; }
    // Fresh samples (or means of n samples) for the histogram view, which it makes the view.
    void ShowHistogram();

    const TTeachingExtras &Extras() const { return m_extras; }
    // Another n draws fresh means; other extras only change what is drawn.
    void SetExtras(const TTeachingExtras &extras);
    bool Allows(TExtra extra) const { return ExtraAllowed(View(), extra); }

    // The running-means run: its samples drawn one per tick of the run timer.
    bool Running() const { return m_running; }
    void StartRun();
    void StopRun();
    void ToggleRun();
    void Step(); // one sample; the last one ends the run
    int RunCount() const { return m_runCount; }
    QTimer *RunTimer() const { return m_timer; }

    // When set, every run starts the generator from this seed instead of the clock.
    void SetFixedSeed(std::optional<std::uint32_t> seed) { m_fixedSeed = seed; }
    std::optional<std::uint32_t> FixedSeed() const { return m_fixedSeed; }
    // The generator's state when the samples shown began: from it they are drawn again.
    std::uint32_t ViewSeed() const { return m_viewSeed; }
    TRandomGenerator &Generator() const { return m_generator; }

    // The storage of the samples (the histogram's and a run's), of the means
    // of n, and of the histogram's counts.
    TVector &Samples() const { return *m_samples; }
    TVector &Means() const { return *m_means; }
    TIntVector &Bins() const { return *m_bins; }
    // The samples the histogram counts: the samples, or the means of n.
    TVector &HistogramSamples() const;
    // Counts the histogram's samples again; false when the histogram cannot be made.
    bool CountHistogram(THistogramCounts &out) const;
    // The samples the current view shows: all the histogram's, or those of the run.
    int ShownCount() const;
    std::vector<double> ShownValues() const;

    // The density the histogram shows (of the samples or of their means), or
    // the other distribution's at the same location and width.
    std::optional<TTheorySource> Theory(bool other = false) const;

signals:
    void Changed(TSimulation::TChanges what);

private:
    void DrawHistogramSamples();
    void Emit(TChanges what);

    TRandomGenerator &m_generator;
    std::optional<TDistribution> m_distribution;
    int m_locationPosition;
    int m_widthPosition;
    bool m_histogramShown = false;
    bool m_running = false;
    int m_runCount = 0;
    TTeachingExtras m_extras;
    std::optional<std::uint32_t> m_fixedSeed;
    std::uint32_t m_viewSeed = 0;
    TVector *m_samples;
    TVector *m_means;
    TIntVector *m_bins;
    QTimer *m_timer;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TSimulation::TChanges)
