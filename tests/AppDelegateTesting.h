// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppDelegate.h"
#include "StatusMenu.h"
#include "Window.h"

#include <QTimer>
#include <memory>

// Reaches the delegate's private operations from tests and benchmarks.
struct AppDelegateTesting {
    static std::unique_ptr<AppDelegate> make(AppSettings& settings) {
        return std::unique_ptr<AppDelegate>(new AppDelegate(settings));
    }
    // Clicks and the menu reach the delegate weakly, through a shared pointer.
    static std::shared_ptr<AppDelegate> makeShared(AppSettings& settings) {
        return std::shared_ptr<AppDelegate>(new AppDelegate(settings));
    }
    static void setStatusItem(AppDelegate& delegate, std::unique_ptr<StatusItem> item) {
        delegate.statusItem = std::move(item);
    }
    static void refresh(AppDelegate& delegate) { delegate.refresh(); }
    // Launch step 6, and how long the title then sleeps.
    static void startRefreshing(AppDelegate& delegate) { delegate.startRefreshing(); }
    static int refreshWait(const AppDelegate& delegate) { return delegate.timer->interval(); }
    static bool isMasked(const AppDelegate& delegate) { return delegate.isMasked(); }

    // Launch steps 3 and 4, on the status item the test gave.
    static void wireClicksAndBuildMenu(AppDelegate& delegate) {
        delegate.wireClicks(*delegate.statusItem->button());
        delegate.buildMenu();
    }
    static void openSettingsOnFirstRun(AppDelegate& delegate) { delegate.openSettingsOnFirstRun(); }
    static void openSettings(AppDelegate& delegate) { delegate.openSettings(); }
    static StatusMenu* menu(const AppDelegate& delegate) { return delegate.menu.get(); }
    static QAction* maskMenuItem(const AppDelegate& delegate) { return delegate.maskMenuItem; }
    static QWidget* settingsWindow(const AppDelegate& delegate) {
        return delegate.settingsWindow ? delegate.settingsWindow->widget() : nullptr;
    }
};
