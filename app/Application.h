#pragma once

#include <QApplication>

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

// The application object: an exception that reaches the event loop is shown
// in an error message box and the program goes on.
class TApplication : private ApplicationDetail::TDisplayGuard, public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // From now on SIGTERM and SIGINT end every running event loop, so that the
    // program ends as after "Exit": its windows and its host link (endpoint,
    // instance lock) are destroyed and the exit status is 0.
    void QuitOnTerminationSignals();
    // True once such a signal has arrived.
    bool TerminationRequested() const { return m_terminationRequested; }

private:
    bool m_terminationRequested = false;
};
