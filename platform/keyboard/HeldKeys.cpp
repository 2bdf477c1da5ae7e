// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeldKeys.h"

#include "Application.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QStyleHints>
#include <chrono>
#include <cstdlib>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace {

std::uint64_t flagsOf(Qt::KeyboardModifiers modifiers) {
    std::uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= ModifierFlags::shift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= ModifierFlags::control;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= ModifierFlags::option;
    }
    if (modifiers & Qt::MetaModifier) {
        flags |= ModifierFlags::command;
    }
    return flags;
}

std::uint64_t flagsOfX11Mask(std::uint8_t mask) {
    std::uint64_t flags = 0;
    if (mask & XCB_MOD_MASK_SHIFT) {
        flags |= ModifierFlags::shift;
    }
    if (mask & XCB_MOD_MASK_CONTROL) {
        flags |= ModifierFlags::control;
    }
    if (mask & XCB_MOD_MASK_1) {
        flags |= ModifierFlags::option;
    }
    if (mask & XCB_MOD_MASK_4) {
        flags |= ModifierFlags::command;
    }
    return flags;
}

// The start of an XKB StateNotify event, as the X protocol lays it out.
struct KeyboardStateNotice {
    std::uint8_t responseType;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    std::uint32_t time;
    std::uint8_t deviceId;
    std::uint8_t modifiers; // in effect now, as X11 mask bits
};
constexpr std::uint8_t xkbStateNotify = 2;

// Some panels tell the item of a click only once it cannot be the first half
// of a double click: GNOME's AppIndicator extension waits the double-click
// time, when the Shift held for the click is often up again. The X server's
// keyboard-state notices (which Qt asks for anyway) say when keys went up; a
// key released within the double-click time (and the moment a panel takes to
// call) still counts for the next click, unless it was already down for the
// click before.
class ReleasedKeys : public QAbstractNativeEventFilter {
public:
    explicit ReleasedKeys(std::uint8_t noticeCode) : noticeCode(noticeCode) {}

    std::uint64_t flagsForClick() {
        using namespace std::chrono_literals;
        const auto now = std::chrono::steady_clock::now();
        const std::chrono::milliseconds doubleClickTime(
            QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool counts =
            now - releasedAt <= doubleClickTime + 250ms && releasedKeyWentDownAt > lastClick;
        lastClick = now;
        return counts ? released : 0;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        const auto* notice = static_cast<const KeyboardStateNotice*>(message);
        if (eventType != "xcb_generic_event_t" || (notice->responseType & 0x7f) != noticeCode ||
            notice->xkbType != xkbStateNotify) {
            return false;
        }
        const auto time = std::chrono::steady_clock::now();
        const std::uint64_t now = flagsOfX11Mask(notice->modifiers);
        if (now & ~held) {
            wentDownAt = time;
        }
        if (held & ~now) {
            released = held & ~now;
            releasedAt = time;
            releasedKeyWentDownAt = wentDownAt;
        }
        held = now;
        return false; // Qt keeps its own keyboard state from the same notice
    }

private:
    std::uint8_t noticeCode;
    std::uint64_t held = 0;
    std::uint64_t released = 0;
    std::chrono::steady_clock::time_point wentDownAt;
    std::chrono::steady_clock::time_point releasedAt;
    std::chrono::steady_clock::time_point releasedKeyWentDownAt;
    std::chrono::steady_clock::time_point lastClick;
};

ReleasedKeys* releasedKeys = nullptr;

// Only on X11, where the keyboard's state is there to be heard.
void listenForReleasedKeys() {
    // The offscreen platform may offer the same interface, without a connection.
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || !connection) {
        return;
    }
    static constexpr char name[] = "XKEYBOARD";
    xcb_query_extension_reply_t* extension = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
    if (extension && extension->present) {
        releasedKeys = new ReleasedKeys(extension->first_event);
        qApp->installNativeEventFilter(releasedKeys);
    }
    std::free(extension);
}

} // namespace

void HeldKeys::listen() {
    listenForReleasedKeys();
}

std::uint64_t HeldKeys::forClick() {
    return flagsOf(QGuiApplication::queryKeyboardModifiers()) |
           (releasedKeys ? releasedKeys->flagsForClick() : 0);
}
