// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegate.h"
#include "Application.h"
#include "StatusBar.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

// The process-wide application and delegate; both live for the whole run and
// are never torn down: the process may end from anywhere (Qt ends it when the
// X server goes away), and the desktop's objects are gone by then.
Application* app = nullptr;
std::shared_ptr<AppDelegate>& delegate = *new std::shared_ptr<AppDelegate>();

namespace {

// Ends a process that made no settings store, without tearing down Qt's bus
// thread and type registry in an order that makes Qt print warnings after our
// own output (Trying to construct an instance of an invalid type).
[[noreturn]] void endAt(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace

// The panel item, from the library that `tallyglow` loads only to start it.
extern "C" __attribute__((visibility("default"))) int tallyglowRunPanelItem(int, char**) {
    app = &Application::shared();
    // One panel item per desktop session: a second launch asks the first to
    // show its settings, and goes; one that cannot reach it says so. The bus
    // answers while the panels are looked for and the settings store is
    // created, converted and loaded: a file from before was converted by the
    // first launch long before.
    app->claimInstanceName();
    StatusBar::system().lookForPanels();
    delegate = std::make_shared<AppDelegate>();
    if (!app->isOnlyInstanceInSession()) {
        const std::string failure = app->reopenRunningInstance();
        if (!failure.empty()) {
            std::fprintf(stderr, "tallyglow: %s\n", failure.c_str());
        }
        endAt(failure.empty() ? 0 : 1);
    }
    app->setDelegate(delegate.get());
    return app->run();
}
