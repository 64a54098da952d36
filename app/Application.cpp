#include "Application.h"

#include "CommandLine.h"
#include "MessageBox.h"

#include <exception>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    SetProgramIdentity();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowMessageBox(mtError, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowMessageBox(mtError, QStringLiteral("Unknown error"));
    }
    return false;
}
