// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Calendar.h"

class AppSettings;

// How much of the daily pay has been earned at a given instant of its day.
namespace EarningsCalculator {

// Nothing before the working day, a share proportional to the real seconds
// elapsed inside it, the whole pay after it. Never negative, never more than
// the pay; 0 whenever no meaningful amount exists.
double earnedToday(const AppSettings& settings, Instant now, const Calendar& calendar);

} // namespace EarningsCalculator
