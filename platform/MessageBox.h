#pragma once

#include <QString>

#include <functional>

class QWidget;

enum TMsgDlgType { mtInformation, mtError, mtWarning };

// Shows a modal message box with one OK button. Tests replace the handler so
// that nothing blocks on a modal box; the previous handler is returned.
using TMessageBoxHandler = std::function<void(TMsgDlgType type, const QString &title, const QString &text)>;

void ShowMessageBox(TMsgDlgType type, const QString &text, QWidget *parent = nullptr, const QString &title = QString());
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// Puts every message into the language of the window's texts before it is
// shown (or handed to the handler above); the previous filter is returned.
using TMessageTextFilter = std::function<QString(const QString &text)>;
TMessageTextFilter SetMessageTextFilter(TMessageTextFilter filter);
