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

private:
    StatusBar() = default;
};
