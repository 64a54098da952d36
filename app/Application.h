#pragma once

#include "SystemSettings.h"

#include <QApplication>

#include <memory>

namespace ApplicationDetail {
// Set up before the framework starts: a framework that finds no display
// ends the program with one line saying how to get a picture instead, rather
// than with an abort. Its other start-up messages are passed on afterwards.
class TDisplayGuard
{
protected:
    TDisplayGuard();
    void Release();
};
} // namespace ApplicationDetail

// Opens /dev/null on whichever of standard input, output and error is closed,
// so that nothing opened later takes their numbers (a pipe that became
// standard error would read every message as a signal).
void OpenStandardDescriptors();

// Called first thing at start, after OpenStandardDescriptors(): from then on
// SIGTERM, SIGINT and SIGHUP end the program at any time. While an event loop
// watches them (see QuitOnTerminationSignals) they end it as "Exit" does; when
// no loop watches, or the watching loop does not come round within
// TerminationGraceMs (a start blocked before its loop, a flooded event queue),
// the signal ends the process at once by its default action. A file being
// written (TTerminationDeferred) is finished first. SIGXFSZ is ignored, so
// that a write past the file-size limit fails with "File too large" instead
// of killing the program.
void InstallProcessSignals();
inline constexpr int TerminationGraceMs = 500;

// While one exists, a termination signal waits until it is gone, so that a
// file is never left half-written or under its temporary name: the write
// goes on to its end and the program ends after it.
class TTerminationDeferred
{
public:
    TTerminationDeferred();
    ~TTerminationDeferred();
    TTerminationDeferred(const TTerminationDeferred &) = delete;
    TTerminationDeferred &operator=(const TTerminationDeferred &) = delete;
};

// From now on SIGTERM, SIGINT and SIGHUP end every running event loop of App, so that
// the program ends as after "Exit": its windows and its host link (endpoint,
// instance lock) are destroyed and the exit status is 0; Requested becomes
// true. Needs InstallProcessSignals() first.
void QuitOnTerminationSignals(QCoreApplication &App, bool &Requested);

// The application object: an exception that reaches the event loop is shown
// in an error message box and the program goes on. A platform without a
// screen ends the start with one line. Qt's dialogs keep their state in a
// private copy of the user's Qt settings (TPrivateQtSettings).
class TApplication : private ApplicationDetail::TDisplayGuard, public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    void QuitOnTerminationSignals() { ::QuitOnTerminationSignals(*this, m_terminationRequested); }
    // True once such a signal has arrived.
    bool TerminationRequested() const { return m_terminationRequested; }

private:
    bool m_terminationRequested = false;
    std::unique_ptr<TPrivateQtSettings> m_qtSettings;
};
