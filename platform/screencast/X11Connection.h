// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>
#include <QThread>
#include <xcb/xcb.h>

// Qt's own connection to the X server, for those that follow it beside Qt's
// event handling: none outside an X11 session or off the thread that handles
// its events.
inline xcb_connection_t* qtX11Connection() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application || QThread::currentThread() != application->thread()) {
        return nullptr;
    }
    static xcb_connection_t* const connection = [application]() -> xcb_connection_t* {
        // The offscreen platform may offer the same interface, without a connection.
        const auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
        return QGuiApplication::platformName() == QStringLiteral("xcb") && x11 ? x11->connection()
                                                                               : nullptr;
    }();
    return connection;
}
