#include "AppDelegate.h"

#include "AppSettings.h"
#include "EarningsCalculator.h"
#include "ScreenShareDetector.h"
#include "StatusBar.h"
#include "TitleText.h"

#include <QTimer>
#include <chrono>
#include <cstdlib>

namespace {

// How often the title follows the clock.
constexpr std::chrono::milliseconds refreshInterval{500};

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

    // 2. The panel item, as wide as its title.
    statusItem = StatusBar::system().statusItem(StatusItem::variableLength);

    // 3. The button: digits of equal width, so the title does not jitter as it counts.
    //    The click wiring (statusItemClicked) follows the font here.
    if (StatusButton* button = statusItem->button()) {
        button->useMonospacedDigitFont();
    }

    // 4. The status menu ("Mask", "Settings…", "Quit Tallyglow") is built here,
    //    kept in menu and maskMenuItem, and not attached to the item.

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

    // 7. The first-run check goes here: with no positive daily pay set, the
    //    settings window opens in front.
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
    if (isMasked()) {
        title = TitleText::maskNumerals(title);
    }
    button->setTitle(title);
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
