// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegate.h"

#include "AppSettings.h"
#include "ClockChanges.h"
#include "EarningsCalculator.h"
#include "PanelNotice.h"
#include "ScreenShareDetector.h"
#include "SettingsView.h"
#include "StatusBar.h"
#include "StatusMenu.h"
#include "TitleText.h"
#include "Window.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

// The title is refreshed when its figure can next change, but never sooner
// than this after the last refresh: the figure is right within half a second.
constexpr std::chrono::milliseconds shortestRefreshWait{500};
// Nor later than this: the kernel tells of a clock that is set, but a clock
// faked inside the process (a preloaded library that moves time) jumps
// without notice, and shows within this.
constexpr std::chrono::seconds longestRefreshWait{60};

// Either of these held during a click flips the masking instead of showing the menu.
constexpr std::uint64_t maskToggleModifiers = ModifierFlags::shift | ModifierFlags::option;

// A panel that starts with the session, or restarts, takes the item well
// within this; after it, the user is told why nothing shows.
constexpr std::chrono::seconds panelWaitLimit{10};

} // namespace

AppDelegate::AppDelegate() : AppDelegate(AppSettings::shared()) {}

AppDelegate::AppDelegate(AppSettings& settings)
    : panelNotice(std::make_shared<PanelNotice>()), settings(settings) {}

AppDelegate::~AppDelegate() {
    settings.objectWillChange.unsubscribe(settingsChange);
}

void AppDelegate::applicationDidFinishLaunching() {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    if (weakSelf.expired()) {
        std::abort(); // the entry point owns the delegate through a shared pointer
    }

    // 1. No window and no taskbar entry: the panel item is the program's only presence.
    Application::shared().setActivationPolicy(ActivationPolicy::accessory);

    // 2. The panel item; panels make it as wide as its title. Where no panel
    //    takes it in time, the user is told why, once, and it shows the moment one does.
    statusItem = StatusBar::system().statusItem();
    panelWait = std::make_unique<QTimer>();
    panelWait->setSingleShot(true);
    panelWait->setInterval(panelWaitLimit);
    QObject::connect(panelWait.get(), &QTimer::timeout, [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->panelNotice->tellWhyNoPanelShowsItem();
        }
    });
    statusItem->setShownChanged([weakSelf](bool shown) {
        if (const auto self = weakSelf.lock()) {
            self->panelShowsItem(shown);
        }
    });
    panelWait->start();

    // 3. The button: digits of equal width, so the title does not jitter as it
    //    counts; then its clicks.
    if (StatusButton* button = statusItem->button()) {
        button->useMonospacedDigitFont();
        wireClicks(*button);
    }

    // 4. The menu: every click reaches statusItemClicked first, which decides whether it shows.
    buildMenu();

    // 5. The first title, before the first tick.
    refresh();

    // 6. From now on the title follows the clock.
    startRefreshing();

    // 7. With no positive daily pay set, the settings window opens in front.
    openSettingsOnFirstRun();
}

void AppDelegate::applicationShouldHandleReopen() {
    openSettings();
}

// Each refresh sets the timer for the moment the figure can next change;
// anything else that changes it refreshes at once. Everything here holds the
// delegate weakly.
void AppDelegate::startRefreshing() {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    const auto refreshSelf = [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->refresh();
        }
    };
    timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    // A coarse timer may fire 5% late: a second late after a 20 s wait.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, refreshSelf);
    clockChanges = std::make_unique<ClockChanges>(refreshSelf);
    settingsChange = settings.objectWillChange.subscribe([weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->refreshSoon();
        }
    });
    scheduleRefresh(Instant::now(), Calendar::current(), isMasked());
}

void AppDelegate::wireClicks(StatusButton& button) {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    button.setAction([weakSelf] {
        const auto self = weakSelf.lock();
        return self ? self->statusItemClicked() : ClickAnswer::handled;
    });
    // A middle click flips the masking on every desktop, Wayland included,
    // where the program cannot see which keys are held.
    button.setSecondaryAction([weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->toggleMask();
        }
    });
}

void AppDelegate::buildMenu() {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    const auto onSelf = [weakSelf](void (AppDelegate::*operation)()) {
        return [weakSelf, operation] {
            if (const auto self = weakSelf.lock()) {
                ((*self).*operation)();
            }
        };
    };

    menu = std::make_unique<StatusMenu>();

    //: Menu item with a check mark: hides the figure in the panel (a verb).
    maskMenuItem = menu->addAction(QCoreApplication::translate("AppDelegate", "Mask"));
    maskMenuItem->setCheckable(true);
    QObject::connect(maskMenuItem, &QAction::triggered, onSelf(&AppDelegate::toggleMask));

    QAction* settingsItem =
        menu->addAction(QCoreApplication::translate("AppDelegate", "Settings…"));
    QObject::connect(settingsItem, &QAction::triggered, onSelf(&AppDelegate::openSettings));

    menu->addSeparator();

    QAction* quitItem =
        menu->addAction(QCoreApplication::translate("AppDelegate", "Quit Tallyglow"));
    quitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(quitItem, &QAction::triggered, [] { Application::terminate(); });

    // Menu items show no images here, so there is no image visibility to set.

    // The menu stays with the item; a click shows it only when answered so.
    statusItem->setMenu(menu.get(), onSelf(&AppDelegate::menuWillOpen));
}

ClickAnswer AppDelegate::statusItemClicked() {
    // No panel passes the keys held with a click; they are asked for now.
    if (Application::modifierFlags() & maskToggleModifiers) {
        toggleMask();
        return ClickAnswer::handled;
    }
    return ClickAnswer::showMenu;
}

void AppDelegate::toggleMask() {
    settings.setMaskEarnings(!settings.maskEarnings());
    // A panel may be drawing the menu at this moment, opened by the very
    // click that flipped the masking: its check mark follows at once.
    maskMenuItem->setChecked(settings.maskEarnings());
    refresh();
}

void AppDelegate::menuWillOpen() {
    if (!maskMenuItem) {
        std::abort(); // built at launch
    }
    maskMenuItem->setChecked(settings.maskEarnings());
}

void AppDelegate::panelShowsItem(bool shown) {
    // An item offered again and again without being shown is one spell of not
    // being shown: its wait is not started over, and it gets one notice.
    if (shown == itemShown) {
        return;
    }
    itemShown = shown;
    if (!shown) {
        panelWait->start();
        return;
    }
    panelWait->stop();
    panelNotice->withdraw();
}

void AppDelegate::openSettings() {
    if (!settingsWindow) {
        auto form = std::make_unique<SettingsView>(settings);
        settingsView = form.get();
        auto window = std::make_unique<Window>(std::move(form));
        // Every window has a title bar, close and minimise buttons, and a fixed size.
        window->setTitle(QCoreApplication::translate("AppDelegate", "Tallyglow Settings"));
        // Closing the window hides it; it stays for the next opening.
        window->center();
        settingsWindow = std::move(window);
    }
    settingsView->showMasking(isMasked(), ScreenShareDetector::detection());
    settingsView->showPanelNote(panelNotice->note());
    // On Linux the program comes forward with its window: the window asks for
    // the focus even while another program has it.
    settingsWindow->makeKeyAndOrderFront();
}

void AppDelegate::openSettingsOnFirstRun() {
    // Written so that a pay that is not a number opens nothing.
    if (settings.payInForce() <= 0) {
        openSettings();
    }
}

void AppDelegate::refresh() {
    if (!statusItem) {
        std::abort(); // launch creates the item before anything refreshes
    }
    StatusButton* button = statusItem->button();
    const Instant now = Instant::now();
    const Calendar& calendar = Calendar::current();
    if (!button) {
        scheduleRefresh(now, calendar, false);
        return;
    }
    const double amount = EarningsCalculator::earnedToday(settings, now, calendar);
    std::string title = TitleText::format(settings.currencySymbol(), amount);
    const bool masked = isMasked();
    if (masked) {
        title = TitleText::maskNumerals(title);
    }
    button->setTitle(title);
    Application::publishTitle({title, masked});
    if (settingsView && settingsView->isVisible()) {
        settingsView->showMasking(masked, ScreenShareDetector::detection());
        settingsView->showPanelNote(panelNotice->note());
    }
    // Other programs' screen reads cost the X server a little to follow: only
    // while the user wants the figure masked during sharing, and from after the
    // title is out, so that a new connection to the X server holds no label back.
    ScreenShareDetector::followScreenReads(settings.maskWhileScreenSharing());
    // The detector's first query, which isMasked() makes only while automatic
    // masking applies, loads the plug-in: its changes are followed from then on.
    if (!screenCastsFollowed && !settings.maskEarnings() && settings.maskWhileScreenSharing()) {
        screenCastsFollowed = true;
        followScreenCastChanges();
    }
    scheduleRefresh(now, calendar, masked);
}

void AppDelegate::scheduleRefresh(Instant now, const Calendar& calendar, bool masked) {
    if (!timer) {
        return; // launch shows the first title before the timer exists
    }
    using namespace std::chrono;
    // While a screen cast masks the title, it is asked twice a second: a new
    // cast that nobody reads stops counting after a while, without a word.
    if (masked && !settings.maskEarnings()) {
        timer->start(shortestRefreshWait);
        return;
    }
    const Instant next = EarningsCalculator::nextChange(settings, now, calendar);
    const duration<double> wait(next.timeIntervalSince(now));
    // A millisecond more, so that the refresh lands after the change, not just before it.
    const auto waitInMilliseconds = ceil<milliseconds>(wait) + milliseconds(1);
    timer->start(
        std::clamp<milliseconds>(waitInMilliseconds, shortestRefreshWait, longestRefreshWait));
}

void AppDelegate::refreshSoon() {
    if (refreshPending) {
        return;
    }
    refreshPending = true;
    // The store signals before it changes: the title is made once it has.
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    QTimer::singleShot(0, [weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->refreshPending = false;
            self->refresh();
        }
    });
}

void AppDelegate::followScreenCastChanges() {
    const int descriptor = ScreenShareDetector::changeDescriptor();
    if (descriptor < 0) {
        return;
    }
    screenCastNotifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    QObject::connect(screenCastNotifier.get(), &QSocketNotifier::activated, [weakSelf] {
        // Asking takes in what the plug-in was sent, also while the title
        // does not ask it (masked by hand, or automatic masking off).
        ScreenShareDetector::isScreenWatched();
        if (const auto self = weakSelf.lock()) {
            self->refresh();
        }
    });
}

bool AppDelegate::isMasked() const {
    if (settings.maskEarnings()) {
        return true;
    }
    if (!settings.maskWhileScreenSharing()) {
        return false;
    }
    return ScreenShareDetector::isScreenWatched();
}
