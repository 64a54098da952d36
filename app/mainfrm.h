#pragma once

#include "SampleSource.h"
#include "TeachingExtras.h"
#include "TheoryOverlay.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QMimeData;
class QFrame;
class TDigrel;
class TKurvo;
class TFrmAbout;
class THueband;
class QScrollBar;
class QTimer;
class QToolButton;
class TIntVector;
class TMemo;
class TRadioGroup;
class TVector;
class TvrxDemonClient;

// The main window: a tool panel on top (actions, distribution, location and
// width), the chart area in the middle and a read-only description below.
class TFrmMain : public QWidget
{
    Q_OBJECT

public:
    // The layout's outer sizes include a window frame of this many pixels;
    // Qt sizes a top-level widget by its client area.
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 33;
    static constexpr int kDesignLeft = 322;
    static constexpr int kDesignTop = 231;
    static constexpr int kDesignWidth = 760;
    static constexpr int kDesignHeight = 417;
    static constexpr int kMinWidth = 760;
    static constexpr int kMinHeight = 400;
    static constexpr int kPanelHeight = 73;
    static constexpr int kMemoHeight = 88;

    // Without a single-instance rule (a snapshot run) a running program does not stop this one.
    // A language ("de", "en") picks a table shipped with the program instead
    // of the one beside it; a host's table always wins.
    explicit TFrmMain(QWidget *parent = nullptr, bool singleInstance = true, const QString &language = QString());
    ~TFrmMain() override;

    // Controls, in creation order.
    TKurvo *RC = nullptr;
    QFrame *Panel1 = nullptr;
    THueband *Hueband1 = nullptr;
    QToolButton *SButShowDistri = nullptr;
    QToolButton *SButDrawSamples = nullptr;
    TDigrel *NLabLoc = nullptr;
    TDigrel *NLabWid = nullptr;
    QToolButton *SButAbout = nullptr;
    QToolButton *SButExit = nullptr;
    TRadioGroup *RGDistri = nullptr;
    QScrollBar *SBarLoc = nullptr;
    QScrollBar *SBarWid = nullptr;
    TMemo *Memo1 = nullptr;
    TVector *Vec1 = nullptr;
    TIntVector *Histo = nullptr;
    TVector *MeanVec = nullptr; // the means of Extras.MeanOf samples each
    QTimer *Timer1 = nullptr;
    // Host link with the translation engine; a quit request from a host frees it.
    QPointer<TvrxDemonClient> cliDemon;
    // The About dialog, set by the program entry; none in tests and snapshots.
    TFrmAbout *FrmAbout = nullptr;

    // State.
    int NrOfSamples = 0;
    bool MeansRunning = false;
    bool DistriShown = false;
    // When set, every running-means run starts the generator from this seed instead of the clock.
    std::optional<std::uint32_t> FixedSeed;
    // The generator's state when the samples shown began: from it they are drawn again.
    std::uint32_t ViewSeed = 0;

    // Distribution parameters, always read from the scroll bars.
    double Location() const;
    double Width() const;

    // What the chart shows beside the samples; set before the window is shown,
    // or through SetExtras, which redraws the current view.
    TTeachingExtras Extras;
    void SetExtras(const TTeachingExtras &extras);

    // Translation of a text the code asks for; the key itself without an
    // engine. Arguments replace the placeholders <%1%>, <%2%>, ….
    QString Translated(const QString &key, const QStringList &arguments = {}) const;

    // The area between the tool panel and the description, where the chart sits.
    QRect ChartArea() const;

    // Handlers.
    void FormShow();
    void SButShowDistriClick(QObject *Sender);
    void SButDrawSamplesClick(QObject *Sender);
    void Timer1Timer(QObject *Sender);
    void RGDistriClick(QObject *Sender);
    void SBarLocChange(QObject *Sender);
    void SBarWidChange(QObject *Sender);
    void BButAboutClick(QObject *Sender);
    void BButCloseClick(QObject *Sender);

    // The histogram view: fresh samples, counted into 400 bins.
    void ShowDistri();
    // Counts and draws the samples Vec1 holds now, without drawing new ones.
    void DrawDistri();
    // The samples the histogram counts: Vec1, or the means of samples.
    TVector &HistogramSamples() const;
    // The running-means view: every sample so far and the mean of the first n.
    void ShowMeans();
    // The samples the current view shows: all of Vec1, or those of the run.
    int ShownSampleCount() const; // without copying them
    std::vector<double> ShownSamples() const;
    // Draws one sample of the selected distribution; false when none is selected.
    bool DrawSample(double &value) const;

    // The selected distribution and its parameters, read from the controls.
    using TSampleSource = ::TSampleSource;
    TSampleSource SampleSource() const;
    // The histogram's length: how many samples the first view draws.
    static constexpr int kSamples = 100000;
    // How many means the histogram of means counts.
    static constexpr int kMeans = 10000;

    // Memo1's drag mode is automatic: pressing it and moving the mouse drags
    // its text away. Tests put a hook in place of the blocking drag; the
    // previous hook is returned.
    using TStartDragHook = std::function<void(QMimeData *Data)>;
    static TStartDragHook SetStartDragHook(TStartDragHook hook);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // In creation order: chart, panel, description and data, then the host link.
    void CreateControls(bool singleInstance, const QString &language);
    void CreatePanel();
    void CreateDescriptionAndData();
    void ConnectHandlers();
    void CreateHostLink(bool singleInstance, const QString &language);
    void LoadTable(const QString &language);
    void ShowAboutThenDistri();
    // The density curve and the share-outside note, as Extras asks.
    void SetHistogramRange(double bottom, long double top);
    std::optional<TTheorySource> ShownTheory(bool other) const;
    double ComparedPeak() const;
    void DrawDistriTheory(int outside, int samples);
    void StartMemoDrag();
    void ArrangeControls();
    void PlaceOnScreen();
    // Says so on standard error when the window is drawn at a smaller scale than asked.
    void ReportScaleFit() const;
    void SetParameterControlsEnabled(bool enabled);
    void LoadIcon();

    bool m_shownOnce = false;
    std::optional<QPoint> m_memoPress; // where a drag of Memo1 may start
};
