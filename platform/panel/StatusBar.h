// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <memory>

// The desktop's panel, where items show beside the clock.
class StatusBar {
public:
    static StatusBar& system();

    // A new item in the panel, shown for as long as it is held.
    std::unique_ptr<StatusItem> statusItem();
    // Starts asking the bus where an item could show, so that the answers
    // are in by the time one is made; making one asks too.
    void lookForPanels();

private:
    StatusBar() = default;
};
