#pragma once

#include "AppDelegate.h"

#include <memory>

// Reaches the delegate's private operations from tests and benchmarks.
struct AppDelegateTesting {
    static std::unique_ptr<AppDelegate> make(AppSettings& settings) {
        return std::unique_ptr<AppDelegate>(new AppDelegate(settings));
    }
    static void setStatusItem(AppDelegate& delegate, std::unique_ptr<StatusItem> item) {
        delegate.statusItem = std::move(item);
    }
    static void refresh(AppDelegate& delegate) { delegate.refresh(); }
    static bool isMasked(const AppDelegate& delegate) { return delegate.isMasked(); }
};
