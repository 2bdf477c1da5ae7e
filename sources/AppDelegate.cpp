#include "AppDelegate.h"

#include "AppSettings.h"
#include "EarningsCalculator.h"
#include "ScreenShareDetector.h"
#include "TitleText.h"

#include <cstdlib>

AppDelegate::AppDelegate() : AppDelegate(AppSettings::shared()) {}

AppDelegate::AppDelegate(AppSettings& settings) : settings(settings) {}

AppDelegate::~AppDelegate() = default;

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
