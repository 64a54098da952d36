#pragma once

#include "Component.h"

#include <QWidget>

#include <functional>

// A control that paints itself and reports the mouse through bound events;
// the base of the library's display controls.
class TControl : public QWidget, public TLoadable
{
    Q_OBJECT

public:
    using TMouseEvent =
        std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    explicit TControl(QWidget *parent = nullptr) : QWidget(parent) { }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // A click is a left-button release inside the control.
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
};
