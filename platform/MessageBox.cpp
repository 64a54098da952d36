#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
TMessageBoxHandler &Handler()
{
    static TMessageBoxHandler handler;
    return handler;
}
} // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler)
{
    TMessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

void ShowMessageBox(TMsgDlgType type, const QString &text, QWidget *parent, const QString &title)
{
    const QString caption = title.isEmpty() ? QApplication::applicationDisplayName() : title;
    if (Handler()) {
        Handler()(type, caption, text);
        return;
    }
    QMessageBox box(type == mtError ? QMessageBox::Critical
                                    : (type == mtWarning ? QMessageBox::Warning : QMessageBox::Information),
                    caption, text, QMessageBox::Ok, parent);
    box.exec();
}
