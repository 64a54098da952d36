#pragma once

/// @file
/// The base of the display controls.

#include "Component.h"

#include <QWidget>

#include <functional>

/// A control that paints itself and reports the mouse through bound events;
/// the base of the library's display controls.
class TControl : public QWidget, public TLoadable
{
    Q_OBJECT

public:
    /// A button went down or up: the button, the modifier keys held, and the
    /// position in pixels of the control.
    using TMouseEvent =
        std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
    /// The mouse moved: the modifier keys held and the position in pixels of the control.
    using TMouseMoveEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    /// A control on parent (which owns it), with no events bound.
    explicit TControl(QWidget *parent = nullptr) : QWidget(parent) { }

    /// Raised by a left-button release inside the control.
    TNotifyEvent OnClick;
    /// Raised by a double click.
    TNotifyEvent OnDblClick;
    /// Raised when a mouse button goes down over the control.
    TMouseEvent OnMouseDown;
    /// Raised when a mouse button is released.
    TMouseEvent OnMouseUp;
    /// Raised when the mouse moves over the control (or while a button is held).
    TMouseMoveEvent OnMouseMove;

protected:
    /// Raises OnMouseDown.
    void mousePressEvent(QMouseEvent *event) override;
    /// Raises OnMouseUp, then OnClick: a click is a left-button release inside the control.
    void mouseReleaseEvent(QMouseEvent *event) override;
    /// Raises OnDblClick.
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    /// Raises OnMouseMove.
    void mouseMoveEvent(QMouseEvent *event) override;
};
