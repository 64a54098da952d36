#pragma once

#include <QApplication>

// The application object: an exception that reaches the event loop is shown
// in an error message box and the program goes on.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
