// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Calendar.h"

#include <optional>

class AppSettings;

// How much has been earned in the shift in force at a given instant, and
// when that can next change.
namespace EarningsCalculator {

// One shift: from the start time on a work day to the end time that day, or
// the next day when the end is at or before the start, with the part of the
// unpaid break that falls inside it.
struct Shift {
    Instant start;
    Instant end;
    // Both equal to the end when the break is not inside the shift.
    Instant breakStart;
    Instant breakEnd;
    // The end of the calendar day on which the shift ended: its pay shows until then.
    Instant shownUntil;
    // The whole pay of the shift.
    double pay = 0;

    // The shift's length in real seconds, the break left out.
    double paidSeconds() const;
    // Paid seconds from the start up to `now`.
    double paidSecondsAt(Instant now) const;
    // Nothing before the start, a share proportional to the paid time elapsed
    // while it runs, the whole pay after it until the end of its day, then 0.
    double earnedAt(Instant now) const;
};

// The shift that starts on the day containing `day`, if that is a work day
// and the calendar can form it; with `startedBy`, only if it starts at or
// before that instant (the rest is then not formed at all).
std::optional<Shift> shiftStartingOn(const AppSettings& settings, Instant day,
                                     const Calendar& calendar,
                                     std::optional<Instant> startedBy = std::nullopt);

// The latest shift that started at or before `now`, when its figure can still
// show: shifts that started before yesterday are over, days included. Its
// earnedAt() is plain arithmetic: a caller may keep it until nextChange().
std::optional<Shift> shiftInForce(const AppSettings& settings, Instant now,
                                  const Calendar& calendar);

// The figure at `now`: what the shift in force has earned. Never negative,
// never more than the shift's pay; 0 whenever no meaningful amount exists.
double earnedToday(const AppSettings& settings, Instant now, const Calendar& calendar);

// The next instant, strictly after `now`, at which the figure's text (two
// decimals, ties to even) can change: the next cent, a shift or break edge,
// the end of the day the shift ended on, today's shift start or midnight,
// whichever comes first.
Instant nextChange(const AppSettings& settings, Instant now, const Calendar& calendar);

} // namespace EarningsCalculator
