// SPDX-License-Identifier: GPL-3.0-or-later
#include "Window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace {

// The X server's clock now, read on a connection of our own: Qt reads the
// events of its own connection on another thread.
xcb_timestamp_t serverTime() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    if (xcb_connection_has_error(connection) == 0) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_window_t window = xcb_generate_id(connection);
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        // A property change is stamped with the server's time.
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection);
        while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
            const bool stamped = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (stamped) {
                time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            }
            std::free(event);
            if (stamped) {
                break;
            }
        }
        xcb_destroy_window(connection, window);
    }
    xcb_disconnect(connection);
    return time;
}

// X11 window managers keep a program the user did not just click from taking
// the focus, and a click on a panel item reaches us over D-Bus, not as a click
// of ours. A request from a pager (the panel's kind) is one they follow.
void askWindowManagerForFocus(const QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const char* const name = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    if (!atom) {
        return;
    }
    constexpr std::uint32_t sourceIsPager = 2;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(window.winId());
    request.type = atom->atom;
    request.data.data32[0] = sourceIsPager;
    request.data.data32[1] = serverTime();
    std::free(atom);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

} // namespace

Window::Window(std::unique_ptr<QWidget> content) : frame(std::make_unique<QWidget>()) {
    auto* layout = new QVBoxLayout(frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    // The window takes its content's size.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(content.release());
    frame->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
}

Window::~Window() = default;

void Window::setTitle(const QString& title) {
    frame->setWindowTitle(title);
}

void Window::center() {
    frame->adjustSize();
    const QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect geometry = frame->frameGeometry();
    geometry.moveCenter(screen->availableGeometry().center());
    frame->move(geometry.topLeft());
}

void Window::makeKeyAndOrderFront() {
    frame->show();
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->raise();
    frame->activateWindow();
    askWindowManagerForFocus(*frame);
}
