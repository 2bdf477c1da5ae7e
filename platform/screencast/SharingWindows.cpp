// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharingWindows.h"

#include "X11Connection.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <set>
#include <string_view>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

Reply replyTo(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    // Errors come back here: a window may be gone by the time it is asked about.
    return {xcb_get_property_reply(connection, cookie, nullptr), &std::free};
}

std::string textOf(const Reply& reply) {
    if (!reply || reply->format != 8) {
        return {};
    }
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return {text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

std::vector<std::uint32_t> numbersOf(const Reply& reply) {
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* numbers = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {numbers, numbers + xcb_get_property_value_length(reply.get()) / 4};
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Adds to what this client hears from a window, keeping whatever it (Qt, for
// the root window) listens to there already.
void listenFor(xcb_connection_t* connection, xcb_window_t window, std::uint32_t events) {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr),
        &std::free);
    if (!attributes) {
        return; // gone already
    }
    const std::uint32_t mask = attributes->your_event_mask | events;
    const xcb_void_cookie_t change =
        xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &mask);
    xcb_discard_reply(connection, change.sequence);
}

// What the root window tells of its children (made, shown, moved, gone): the
// window and the child, at the same places in every such event.
struct ChildEvent {
    std::uint8_t responseType;
    std::uint8_t pad;
    std::uint16_t sequence;
    xcb_window_t event;
    xcb_window_t window;
};

bool isAboutAChild(std::uint8_t kind) {
    switch (kind) {
    case XCB_CREATE_NOTIFY:
    case XCB_DESTROY_NOTIFY:
    case XCB_UNMAP_NOTIFY:
    case XCB_MAP_NOTIFY:
    case XCB_REPARENT_NOTIFY:
    case XCB_CONFIGURE_NOTIFY:
    case XCB_GRAVITY_NOTIFY:
    case XCB_CIRCULATE_NOTIFY:
        return true;
    default:
        return false;
    }
}

// The programs whose sharing windows carry a class of their own.
bool isFirefox(const std::string& name) {
    return name == "firefox" || name == "firefox-esr";
}
bool isZoom(const std::string& name) {
    return name == "zoom";
}

} // namespace

SharingWindows* SharingWindows::shared() {
    xcb_connection_t* const connection = qtX11Connection();
    if (!connection) {
        return nullptr;
    }
    static SharingWindows* const follower = [connection]() -> SharingWindows* {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        auto* windows = new SharingWindows(connection, screen->root);
        qApp->installNativeEventFilter(windows);
        return windows;
    }();
    return follower;
}

SharingWindows::SharingWindows(xcb_connection_t* connection, xcb_window_t root)
    : connection(connection), root(root) {
    static constexpr std::array<std::string_view, atomCount> names = {
        "_NET_CLIENT_LIST",    "_NET_WM_PID",  "WM_WINDOW_ROLE", "_NET_WM_STATE",
        "_NET_WM_STATE_ABOVE", "_NET_WM_NAME", "UTF8_STRING"};
    std::array<xcb_intern_atom_cookie_t, atomCount> cookies;
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, names[i].size(), names[i].data());
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (xcb_intern_atom_reply_t* reply =
                xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            std::free(reply);
        }
    }
    changeNotice = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    // Windows as they are made, too: Chromium makes its bar before it shares,
    // but shows it when it likes, under Cinnamon up to a second later.
    listenFor(connection, root,
              XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    readClientList();
    decide();
}

bool SharingWindows::isAnyListed() {
    std::uint64_t changes = 0;
    [[maybe_unused]] const auto taken = ::read(changeNotice, &changes, sizeof changes);
    return listed;
}

bool SharingWindows::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const std::uint8_t kind =
        static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7f;
    const auto* child = static_cast<const ChildEvent*>(message);
    const bool gone = kind == XCB_DESTROY_NOTIFY || kind == XCB_UNMAP_NOTIFY;
    if (isAboutAChild(kind) && child->event == root && child->window != root) {
        const auto found = made.find(child->window);
        if (kind == XCB_CREATE_NOTIFY &&
            !static_cast<const xcb_create_notify_event_t*>(message)->override_redirect) {
            read(child->window, made[child->window]);
            decide();
        } else if (gone && found != made.end()) {
            made.erase(found);
            decide();
        } else if (kind == XCB_REPARENT_NOTIFY && found != made.end() && !found->second.watched) {
            // Framed by the window manager, it is no longer heard of here.
            made.erase(found);
        }
        return true; // only this listens to the root's children: not Qt's
    }
    // A window that may become a sharing one tells of its own end, wherever it is.
    if (gone && child->event == child->window && made.erase(child->window)) {
        decide();
        return false; // the window may be Qt's
    }
    if (kind != XCB_PROPERTY_NOTIFY) {
        return false;
    }
    const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
    if (change->window == root) {
        if (change->atom == atoms[clientList]) {
            readClientList();
            decide();
        }
        return false;
    }
    const xcb_atom_t telling[] = {XCB_ATOM_WM_CLASS, XCB_ATOM_WM_NAME, atoms[name],
                                  atoms[role],       atoms[pid],       atoms[state]};
    if (std::ranges::find(telling, change->atom) == std::end(telling)) {
        return false;
    }
    for (auto* windows : {&clients, &made}) {
        if (const auto client = windows->find(change->window); client != windows->end()) {
            read(client->first, client->second);
            decide();
        }
    }
    return false; // the event may be Qt's too
}

void SharingWindows::readClientList() {
    const Reply reply = replyTo(connection, xcb_get_property(connection, 0, root, atoms[clientList],
                                                             XCB_ATOM_WINDOW, 0, UINT32_MAX / 4));
    const std::vector<std::uint32_t> listedNow = numbersOf(reply);
    const std::set<xcb_window_t> stillListed(listedNow.begin(), listedNow.end());
    std::erase_if(clients, [&](const auto& client) { return !stillListed.contains(client.first); });
    for (const xcb_window_t window : listedNow) {
        if (!clients.contains(window)) {
            read(window, clients[window]);
        }
    }
}

void SharingWindows::read(xcb_window_t window, Client& client) {
    const auto ask = [&](xcb_atom_t property, xcb_atom_t type, std::uint32_t length) {
        return xcb_get_property(connection, 0, window, property, type, 0, length);
    };
    const auto classCookie = ask(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64);
    const auto roleCookie = ask(atoms[role], XCB_ATOM_STRING, 64);
    const auto pidCookie = ask(atoms[pid], XCB_ATOM_CARDINAL, 1);
    const auto stateCookie = ask(atoms[state], XCB_ATOM_ATOM, 64);
    const auto nameCookie = ask(atoms[name], atoms[utf8String], 64);
    const auto oldNameCookie = ask(XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 64);

    // WM_CLASS holds the instance and the class, each ending in a zero.
    const std::string classes = textOf(replyTo(connection, classCookie));
    const std::size_t end = classes.find('\0');
    client.instance = lowercase(classes.substr(0, end));
    client.className = end == std::string::npos ? std::string()
                                                : lowercase(std::string(classes.c_str() + end + 1));
    client.role = textOf(replyTo(connection, roleCookie));
    const std::vector<std::uint32_t> pids = numbersOf(replyTo(connection, pidCookie));
    client.pid = pids.empty() ? 0 : pids.front();
    const std::vector<std::uint32_t> states = numbersOf(replyTo(connection, stateCookie));
    client.above = std::find(states.begin(), states.end(), atoms[stateAbove]) != states.end();
    client.title = textOf(replyTo(connection, nameCookie));
    const std::string oldName = textOf(replyTo(connection, oldNameCookie));
    if (client.title.empty()) {
        client.title = oldName;
    }

    // A Chromium bar may be put on top just after it shows; the others may be
    // named late. Only these windows are listened to, so
    // that an ordinary window's changing title costs nothing.
    const bool mayBecomeOne = client.instance.empty() || isFirefox(client.instance) ||
                              isFirefox(client.className) || isZoom(client.instance) ||
                              isZoom(client.className);
    if (mayBecomeOne && !client.watched) {
        client.watched = true;
        listenFor(connection, window,
                  XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        // What changed before listening began.
        read(window, client);
    }
}

bool SharingWindows::isSharingWindow(const Client& client) const {
    const auto classIs = [&](bool (*program)(const std::string&)) {
        return program(client.instance) || program(client.className);
    };
    if (classIs(isFirefox)) {
        return client.role == "WebRTCGlobalIndicator";
    }
    if (classIs(isZoom)) {
        return client.title == "as_toolbar";
    }
    // Chromium's bar: no class and no role, on top, from the process of a
    // browser window that is listed too. It asks to be on every desktop, but
    // not every window manager does that (Cinnamon's does not). Its title is
    // translated, so it tells nothing.
    if (!client.instance.empty() || !client.role.empty() || !client.pid || !client.above) {
        return false;
    }
    return std::any_of(clients.begin(), clients.end(), [&](const auto& other) {
        return &other.second != &client && other.second.pid == client.pid &&
               !other.second.instance.empty();
    });
}

std::set<std::uint32_t> SharingWindows::takeStoppedSharers() {
    return std::exchange(stoppedSharers, {});
}

void SharingWindows::decide() {
    bool now = false;
    std::set<std::uint32_t> sharingNow;
    for (const auto* windows : {&clients, &made}) {
        for (const auto& [window, client] : *windows) {
            if (isSharingWindow(client)) {
                now = true;
                if (client.pid) {
                    sharingNow.insert(client.pid);
                }
            }
        }
    }
    std::ranges::set_difference(sharers, sharingNow,
                                std::inserter(stoppedSharers, stoppedSharers.end()));
    sharers = std::move(sharingNow);
    if (now == listed) {
        return;
    }
    listed = now;
    const std::uint64_t change = 1;
    [[maybe_unused]] const auto written = ::write(changeNotice, &change, sizeof change);
}
