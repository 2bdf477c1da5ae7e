#pragma once

#include "StatusItem.h"

#include <memory>

// The desktop's panel, where items show beside the clock.
class StatusBar {
public:
    static StatusBar& system();

    // A new item in the panel, shown for as long as it is held. Panels size an
    // item to its label, so every item has variable length whatever is asked.
    std::unique_ptr<StatusItem> statusItem(double length);

private:
    StatusBar() = default;
};
