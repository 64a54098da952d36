#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
TMessageBoxHandler &Handler()
{
    static TMessageBoxHandler handler;
    return handler;
}
TMessageTextFilter &Filter()
{
    static TMessageTextFilter filter;
    return filter;
}
} // namespace

TMessageTextFilter SetMessageTextFilter(TMessageTextFilter filter)
{
    TMessageTextFilter old = std::move(Filter());
    Filter() = std::move(filter);
    return old;
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler)
{
    TMessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

void ShowMessageBox(TMsgDlgType type, const QString &message, QWidget *parent, const QString &title)
{
    const QString text = Filter() ? Filter()(message) : message;
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
