// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PublishedTitle.h"

#include <functional>
#include <optional>

struct DBusConnection;

// The title of the Tallyglow running in this session, read over the session
// bus as it publishes it. Never starts a Tallyglow. Speaks to the bus
// through libdbus alone: panels run the command that uses this every second,
// and loading a toolkit would cost more than the answer.
class RunningInstanceTitle {
public:
    using Listener = std::function<void(const std::optional<PublishedTitle>&)>;

    // Connects to the session bus, if there is one.
    RunningInstanceTitle();
    ~RunningInstanceTitle();
    RunningInstanceTitle(const RunningInstanceTitle&) = delete;
    RunningInstanceTitle& operator=(const RunningInstanceTitle&) = delete;

    bool hasBus() const { return bus != nullptr; }

    // The title now; nothing when no Tallyglow runs on the bus, or there is no bus.
    std::optional<PublishedTitle> read();

    // Calls the listener with the title now and with each change after it,
    // and with nothing whenever no Tallyglow runs; returns when the bus goes.
    void follow(const Listener& listener);

private:
    DBusConnection* bus = nullptr;
};
