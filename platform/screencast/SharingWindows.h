// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <xcb/xcb.h>

// On X11, browsers and meeting programs read the screen with X11 calls, which
// no PipeWire node tells of; but while they share it they show a window of
// their own: a Chromium-family browser's sharing bar, Firefox's sharing
// indicator, Zoom's share toolbar. This follows the window manager's client
// list, and the windows made meanwhile, and says whether such a window is
// made or listed, minimised or not. X events only, no polling.
class SharingWindows final : public QAbstractNativeEventFilter {
public:
    // The one follower of the session, started on first use. Null outside an
    // X11 session and on any thread but the one that handles the X events.
    static SharingWindows* shared();

    // Whether a sharing window is listed now. Takes in the change notice.
    bool isAnyListed();
    // The processes whose sharing windows have gone since the last call: they
    // have stopped sharing.
    std::set<std::uint32_t> takeStoppedSharers();
    // Readable when the answer has changed.
    int changeDescriptor() const { return changeNotice; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override;

private:
    enum Atom { clientList, pid, role, state, stateAbove, name, utf8String, atomCount };

    // What tells a listed window apart.
    struct Client {
        std::string instance;
        std::string className;
        std::string role;
        std::string title;
        std::uint32_t pid = 0;
        bool above = false;
        bool watched = false;
    };

    SharingWindows(xcb_connection_t* connection, xcb_window_t root);

    void readClientList();
    void read(xcb_window_t window, Client& client);
    bool isSharingWindow(const Client& client) const;
    void decide();

    xcb_connection_t* connection;
    xcb_window_t root;
    xcb_atom_t atoms[atomCount] = {};
    // The window manager's list.
    std::map<xcb_window_t, Client> clients;
    // Top-level windows made since, until they are withdrawn or gone (or
    // framed, unless they may become sharing windows), listed or not: a
    // sharing window counts from the moment it is made.
    std::map<xcb_window_t, Client> made;
    bool listed = false;
    std::set<std::uint32_t> sharers;
    std::set<std::uint32_t> stoppedSharers;
    int changeNotice = -1;
};
