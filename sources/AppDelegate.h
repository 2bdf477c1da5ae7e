#pragma once

#include "StatusItem.h"

#include <memory>

class AppSettings;

// The program's one delegate: launch, the status title, clicks, the menu and
// the settings window.
class AppDelegate {
public:
    AppDelegate();
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

private:
    // Tests drive the delegate through this.
    friend struct AppDelegateTesting;

    // A delegate over a store of the caller's own; the program uses AppSettings::shared().
    explicit AppDelegate(AppSettings& settings);

    // Recomputes the title and puts it on the status item's button.
    void refresh();
    // Whether the title's digits are hidden now.
    bool isMasked() const;

    std::unique_ptr<StatusItem> statusItem;
    AppSettings& settings;
};
