#include "AppDelegate.h"

#include "AppSettings.h"
#include "EarningsCalculator.h"
#include "ScreenShareDetector.h"
#include "SettingsView.h"
#include "StatusBar.h"
#include "TitleText.h"
#include "Window.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <cstdlib>

namespace {

// How often the title follows the clock.
constexpr std::chrono::milliseconds refreshInterval{500};

// Either of these held during a click flips the masking instead of showing the menu.
constexpr std::uint64_t maskToggleModifiers = ModifierFlags::shift | ModifierFlags::option;

} // namespace

AppDelegate::AppDelegate() : AppDelegate(AppSettings::shared()) {}

AppDelegate::AppDelegate(AppSettings& settings) : settings(settings) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    if (weakSelf.expired()) {
        std::abort(); // the entry point owns the delegate through a shared pointer
    }

    // 1. No window and no taskbar entry: the panel item is the program's only presence.
    Application::shared().setActivationPolicy(ActivationPolicy::accessory);

    // 2. The panel item; panels make it as wide as its title.
    statusItem = StatusBar::system().statusItem();

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

    // 6. From now on the title follows the clock. The tick holds the delegate weakly.
    timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::CoarseTimer);
    timer->setInterval(refreshInterval);
    QObject::connect(timer.get(), &QTimer::timeout, [weakSelf] {
        if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) {
            self->refresh();
        }
    });
    timer->start();

    // 7. With no positive daily pay set, the settings window opens in front.
    openSettingsOnFirstRun();
}

void AppDelegate::applicationShouldHandleReopen() {
    openSettings();
}

void AppDelegate::wireClicks(StatusButton& button) {
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    button.setAction([weakSelf](ClickSource) {
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

    menu = std::make_unique<QMenu>();

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
    // On Linux the program comes forward with its window: the window asks for
    // the focus even while another program has it.
    settingsWindow->makeKeyAndOrderFront();
}

void AppDelegate::openSettingsOnFirstRun() {
    // Written so that a pay that is not a number opens nothing.
    if (settings.dailyPay() <= 0) {
        openSettings();
    }
}

void AppDelegate::refresh() {
    if (!statusItem) {
        std::abort(); // launch creates the item before anything refreshes
    }
    StatusButton* button = statusItem->button();
    if (!button) {
        return;
    }
    const double amount =
        EarningsCalculator::earnedToday(settings, Instant::now(), Calendar::current());
    std::string title = TitleText::format(settings.currencySymbol(), amount);
    const bool masked = isMasked();
    if (masked) {
        title = TitleText::maskNumerals(title);
    }
    button->setTitle(title);
    Application::publishTitle({title, masked});
    if (settingsView && settingsView->isVisible()) {
        settingsView->showMasking(masked, ScreenShareDetector::detection());
    }
    // The plug-in is loaded by the detector's first query, which isMasked()
    // makes only once automatic masking is asked; from then on its changes
    // can be followed.
    if (!screenCastNotifier) {
        followScreenCastChanges();
    }
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
