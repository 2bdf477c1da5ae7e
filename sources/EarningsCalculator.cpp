// SPDX-License-Identifier: GPL-3.0-or-later
#include "EarningsCalculator.h"

#include "AppSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace EarningsCalculator {

namespace {

constexpr double secondsPerMinute = 60;
constexpr double secondsPerHour = 3600;
constexpr double secondsPerDay = 86400;

// The first instant of the day after the one containing `day`: its midnight,
// or the first valid time when a clock change skips it.
std::optional<Instant> endOfDay(const Calendar& calendar, Instant day) {
    return calendar.dateBySettingTime(24, 0, 0, day);
}

// Noon of the day before, an instant no clock change moves to another day.
std::optional<Instant> dayBefore(const Calendar& calendar, Instant day) {
    return calendar.dateBySettingTime(-12, 0, 0, day);
}

// The amount as the title shows it: the exact value to the nearest
// hundredth, ties to even. The longest double in fixed point fits.
std::string shownText(double amount) {
    std::array<char, 400> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), amount, std::chars_format::fixed, 2);
    return std::string(text.data(), result.ptr);
}

Instant later(Instant instant, double seconds) {
    return Instant{instant.secondsSinceEpoch + seconds};
}

// The first instant after `now`, to the microsecond, and at or before `limit`
// at which the shown amount of a running shift goes up; nothing when there is none.
std::optional<Instant> nextCent(const Shift& shift, Instant now, Instant limit) {
    const std::string shownNow = shownText(shift.earnedAt(now));
    // After `now` the amount never goes down, so a different text is a higher one.
    const auto changedAt = [&](Instant instant) {
        return shownText(shift.earnedAt(instant)) != shownNow;
    };
    Instant before = now;
    Instant after = limit;
    if (!(after > before) || !changedAt(after)) {
        return std::nullopt;
    }
    // The linear share inverted: the paid time at which the amount reaches the
    // half cent above the one shown, then the real instant, past the break.
    double shown = 0;
    std::from_chars(shownNow.data(), shownNow.data() + shownNow.size(), shown);
    const double halfCentAbove = (shown + 0.005) / shift.pay;
    const Instant paidReached = later(shift.start, shift.paidSeconds() * halfCentAbove);
    const Instant estimate =
        paidReached < shift.breakStart
            ? paidReached
            : later(paidReached, shift.breakEnd.timeIntervalSince(shift.breakStart));
    // Rounding on the way may leave the estimate a little off: settle it.
    constexpr double margin = 0.002;
    if (const Instant early = later(estimate, -margin); before < early && !changedAt(early)) {
        before = early;
    }
    if (const Instant late = later(estimate, margin); late < after && changedAt(late)) {
        after = late;
    }
    constexpr double precision = 1e-6;
    while (after.timeIntervalSince(before) > precision) {
        const Instant middle{(before.secondsSinceEpoch + after.secondsSinceEpoch) / 2};
        (changedAt(middle) ? after : before) = middle;
    }
    return after;
}

} // namespace

double Shift::paidSeconds() const {
    return end.timeIntervalSince(start) - breakEnd.timeIntervalSince(breakStart);
}

double Shift::paidSecondsAt(Instant now) const {
    const Instant until = std::clamp(now, start, end);
    const double inBreak = std::max(0.0, std::min(until, breakEnd).timeIntervalSince(breakStart));
    return until.timeIntervalSince(start) - inBreak;
}

double Shift::earnedAt(Instant now) const {
    const double paid = paidSeconds();
    // Written so that NaN fails too.
    if (!(pay > 0) || !(paid > 0) || now < start || !(now < shownUntil)) {
        return 0;
    }
    if (!(now < end)) {
        return pay;
    }
    return pay * (paidSecondsAt(now) / paid);
}

std::optional<Shift> shiftStartingOn(const AppSettings& settings, Instant day,
                                     const Calendar& calendar, std::optional<Instant> startedBy) {
    const auto weekday = calendar.isoWeekday(day);
    if (!weekday || !settings.worksOn(*weekday)) {
        return std::nullopt;
    }
    const auto start =
        calendar.dateBySettingTime(settings.startHour(), settings.startMinute(), 0, day);
    if (!start || (startedBy && *startedBy < *start)) {
        return std::nullopt;
    }
    auto end = calendar.dateBySettingTime(settings.endHour(), settings.endMinute(), 0, day);
    if (!end) {
        return std::nullopt;
    }
    // An end at or before the start is on the next day, formed on that day.
    if (!(*end > *start)) {
        const auto nextDay = endOfDay(calendar, day);
        end = nextDay ? calendar.dateBySettingTime(settings.endHour(), settings.endMinute(), 0,
                                                   *nextDay)
                      : std::nullopt;
        if (!end || !(*end > *start)) {
            return std::nullopt;
        }
    }
    // A shift that ends at midnight ended on the day before: its pay is not
    // shown through the whole of the next day.
    const auto shownUntil = endOfDay(calendar, later(*end, -1));
    if (!shownUntil) {
        return std::nullopt;
    }
    Shift shift{*start, *end, *end, *end, *shownUntil, 0};

    // The break begins at the first occurrence of its wall time at or after
    // the start and lasts real minutes; only its part inside the shift counts.
    if (settings.hasBreakStart() && settings.breakMinutes() > 0) {
        const auto breakOn = [&](std::optional<Instant> breakDay) -> std::optional<Instant> {
            if (!breakDay) {
                return std::nullopt;
            }
            return calendar.dateBySettingTime(settings.breakStartHour(),
                                              settings.breakStartMinute(), 0, *breakDay);
        };
        auto breakStart = breakOn(*start);
        if (breakStart && *breakStart < *start) {
            breakStart = breakOn(endOfDay(calendar, *start));
        }
        if (breakStart && !(*breakStart < *start)) {
            const Instant breakEnd =
                later(*breakStart, static_cast<double>(settings.breakMinutes()) * secondsPerMinute);
            shift.breakStart = std::min(*breakStart, *end);
            shift.breakEnd = std::min(breakEnd, *end);
        }
    }

    shift.pay = settings.payPeriod() == AppSettings::PayPeriod::hour
                    ? settings.hourlyPay() * (shift.paidSeconds() / secondsPerHour)
                    : settings.dailyPay();
    return shift;
}

std::optional<Shift> shiftInForce(const AppSettings& settings, Instant now,
                                  const Calendar& calendar) {
    if (auto today = shiftStartingOn(settings, now, calendar, now)) {
        return today;
    }
    const auto yesterday = dayBefore(calendar, now);
    if (!yesterday) {
        return std::nullopt;
    }
    return shiftStartingOn(settings, *yesterday, calendar, now);
}

double earnedToday(const AppSettings& settings, Instant now, const Calendar& calendar) {
    // Written so that NaN fails too; no calendar work without a pay.
    if (!(settings.payInForce() > 0)) {
        return 0;
    }
    const auto shift = shiftInForce(settings, now, calendar);
    return shift ? shift->earnedAt(now) : 0;
}

Instant nextChange(const AppSettings& settings, Instant now, const Calendar& calendar) {
    // Midnight at the latest, or a day on when the calendar cannot say.
    Instant next = later(now, secondsPerDay);
    const auto earlier = [&](std::optional<Instant> candidate) {
        if (candidate && now < *candidate && *candidate < next) {
            next = *candidate;
        }
    };
    earlier(endOfDay(calendar, now));
    if (!(settings.payInForce() > 0)) {
        return next;
    }
    // Today's shift, or tomorrow's where a start time out of range rolls it into today.
    for (const auto day : {std::optional(now), endOfDay(calendar, now)}) {
        if (const auto shift = day ? shiftStartingOn(settings, *day, calendar) : std::nullopt) {
            earlier(shift->start);
        }
    }
    const auto shift = shiftInForce(settings, now, calendar);
    if (!shift) {
        return next;
    }
    earlier(shift->breakStart);
    earlier(shift->breakEnd);
    earlier(shift->end);
    earlier(shift->shownUntil);
    const bool inBreak = !(now < shift->breakStart) && now < shift->breakEnd;
    if (now < shift->end && !inBreak) {
        earlier(nextCent(*shift, now, next));
    }
    return next;
}

} // namespace EarningsCalculator
