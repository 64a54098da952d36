#pragma once

#include "Kesl_math1.h"
#include "MainParts.h"
#include "Simulation.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QMimeData;
class TFrmAbout;
class TvrxDemonClient;

// The main window: a tool panel on top (actions, distribution, location and
// width), the chart area in the middle and a read-only description below.
class TFrmMain : public QWidget, public TMainParts
{
    Q_OBJECT

public:
    // Without a single-instance rule (a snapshot run) a running program does not stop this one.
    // A language ("de", "en") picks a table shipped with the program instead
    // of the one beside it; a host's table always wins.
    explicit TFrmMain(QWidget *parent = nullptr, bool singleInstance = true, const QString &language = QString());
    ~TFrmMain() override;

    // Host link with the translation engine; a quit request from a host frees it.
    QPointer<TvrxDemonClient> cliDemon;
    // The About dialog, set by the program entry; none in tests and snapshots.
    TFrmAbout *FrmAbout = nullptr;

    // Model (from the parts) is what the window shows: the controls change it
    // and follow it. Translated (from the parts) looks up the loaded table.

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

    // The histogram view with fresh samples, made the view.
    void ShowDistri();
    // Draws the model's view on the chart as it stands.
    void DrawView();

    // Memo1's drag mode is automatic: pressing it and moving the mouse drags
    // its text away. The drag itself (Qt's, which blocks until dropped) is a
    // service of the window (it takes the data); another may take its place.
    using TStartDrag = std::function<void(QMimeData *Data)>;
    TStartDrag StartDrag;

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
    // The controls and the chart follow a change of the model.
    void ModelChanged(TSimulation::TChanges what);
    void SyncControls();
    void StartMemoDrag();
    void ArrangeControls();
    void PlaceOnScreen();
    // Says so on standard error and atop the description when the window is
    // drawn at a smaller scale than asked.
    void ReportScaleFit() const;
    void LoadIcon();

    TRandomGenerator m_generator;
    bool m_shownOnce = false;
    std::optional<QPoint> m_memoPress; // where a drag of Memo1 may start
};
