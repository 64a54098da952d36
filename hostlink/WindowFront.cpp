#include "WindowFront.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t Atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return atom;
}

bool WindowManagerRuns(xcb_connection_t *c, xcb_window_t root)
{
    xcb_get_property_reply_t *r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, Atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = r && xcb_get_property_value_length(r) == 4;
    std::free(r);
    return runs;
}

// Qt asks for the focus with the time of the last event this program saw.
// The user has worked elsewhere since (the second start came from there), so
// the X server and window managers refuse a request that old. Another
// start of the program is the user's own request: it is made without a time,
// to a window manager as a task bar would make it.
void ActivateOnX11(QWidget *w)
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Other platforms (off screen too) may answer without a connection.
    xcb_connection_t *c = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!c || !w->windowHandle())
        return;
    const auto window = xcb_window_t(w->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (WindowManagerRuns(c, root)) {
        xcb_client_message_event_t e {};
        e.response_type = XCB_CLIENT_MESSAGE;
        e.format = 32;
        e.window = window;
        e.type = Atom(c, "_NET_ACTIVE_WINDOW");
        e.data.data32[0] = 2; // the request of a task bar or pager
        e.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&e));
    } else {
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    }
    xcb_flush(c);
}

} // namespace

void BringToFront(QWidget *Window)
{
    Window->setWindowState(Window->windowState() & ~Qt::WindowMinimized);
    Window->raise();
    // Raised alone, the window would hide the dialog that blocks it.
    QWidget *front = QApplication::activeModalWidget();
    if (front && front != Window)
        front->raise();
    else
        front = Window;
    front->activateWindow();
    ActivateOnX11(front);
}
