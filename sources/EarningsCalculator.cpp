// SPDX-License-Identifier: GPL-3.0-or-later
#include "EarningsCalculator.h"

#include "AppSettings.h"

namespace EarningsCalculator {

double earnedToday(const AppSettings& settings, Instant now, const Calendar& calendar) {
    const double pay = settings.dailyPay();
    // Written so that NaN fails too.
    if (!(pay > 0)) {
        return 0;
    }

    const auto start =
        calendar.dateBySettingTime(settings.startHour(), settings.startMinute(), 0, now);
    if (!start) {
        return 0;
    }
    const auto end = calendar.dateBySettingTime(settings.endHour(), settings.endMinute(), 0, now);
    if (!end) {
        return 0;
    }

    if (!(*end > *start)) {
        return 0;
    }
    if (!(*start < now)) {
        return 0;
    }
    if (!(now < *end)) {
        return pay;
    }

    const double elapsed = now.timeIntervalSince(*start);
    const double span = end->timeIntervalSince(*start);
    const double fraction = elapsed / span;
    return pay * fraction;
}

} // namespace EarningsCalculator
