// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppSettings.h"
#include "Application.h"
#include "Calendar.h"
#include "StatusItem.h"

#include <QCoreApplication>
#include <QString>
#include <memory>

class AppSettings;
class ClockChanges;
class QAction;
class QSocketNotifier;
class QTimer;
class PanelNotice;
class SettingsView;
class StatusMenu;
class Window;

// The program's one delegate: launch, the status title, clicks, the menu and
// the settings window.
//
// Launch needs the delegate to be owned by a std::shared_ptr: the refresh timer
// holds it weakly through that.
class AppDelegate final : public ApplicationDelegate,
                          public std::enable_shared_from_this<AppDelegate> {
    Q_DECLARE_TR_FUNCTIONS(AppDelegate)

public:
    AppDelegate();
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Makes the program a panel accessory, creates its panel item, shows the
    // first title and starts the refresh timer.
    void applicationDidFinishLaunching() override;
    // Launching the program again opens its settings.
    void applicationShouldHandleReopen() override;

private:
    // Tests drive the delegate through this.
    friend struct AppDelegateTesting;

    // A delegate over a store of the caller's own; the program uses AppSettings::shared().
    explicit AppDelegate(AppSettings& settings);

    // Recomputes the title and puts it on the status item's button, then sets
    // the timer for when the title can next change.
    void refresh();
    // Refreshes once the event loop is back, after whatever is changing now.
    void refreshSoon();
    // Sets the timer for when the title can next change after `now`, but not
    // sooner than half a second from now.
    void scheduleRefresh(Instant now, const Calendar& calendar, bool masked);
    // Whether the title's digits are hidden now.
    bool isMasked() const;
    // Once the screen-cast plug-in is in use, a change it reports refreshes the title
    // at once rather than at the next tick.
    void followScreenCastChanges();

    // A left or right click on the panel item: Shift or Alt held flips the
    // masking; any other click shows the menu. The menu is never detached, so
    // its closing needs no step.
    ClickAnswer statusItemClicked();
    void toggleMask();
    void menuWillOpen();

    // A panel took the item, or none shows it any more: the user hears why
    // only once the item has gone unshown for a while.
    void panelShowsItem(bool shown);

    // Shows the settings window in front, creating it the first time.
    void openSettings();

    // Launch steps of their own.
    void startRefreshing();
    void wireClicks(StatusButton& button);
    void buildMenu();
    void openSettingsOnFirstRun();

    std::unique_ptr<StatusItem> statusItem;
    std::unique_ptr<QTimer> timer;
    std::unique_ptr<ClockChanges> clockChanges;
    ChangeSignal::Subscription settingsChange{};
    bool refreshPending = false;
    // Runs while no panel shows the item.
    std::unique_ptr<QTimer> panelWait;
    bool itemShown = false;
    // What makes this desktop's panel show the item, in a notification and on the form.
    std::shared_ptr<PanelNotice> panelNotice;
    std::unique_ptr<QSocketNotifier> screenCastNotifier;
    bool screenCastsFollowed = false;
    std::unique_ptr<Window> settingsWindow;
    // The settings window's content, told what the title shows.
    SettingsView* settingsView = nullptr;
    AppSettings& settings;
    std::unique_ptr<StatusMenu> menu;
    QAction* maskMenuItem = nullptr;
};
