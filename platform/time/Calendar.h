// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// A point on the absolute time line, independent of any time zone.
struct Instant {
    double secondsSinceEpoch = 0;

    static Instant now();

    // Seconds from `earlier` to this instant; positive when this one is later.
    double timeIntervalSince(Instant earlier) const {
        return secondsSinceEpoch - earlier.secondsSinceEpoch;
    }
    auto operator<=>(const Instant&) const = default;
};

// The Gregorian calendar in one time zone.
class Calendar {
public:
    // The calendar of the host's time zone as it is now: $TZ when set, else the
    // zone that /etc/localtime names, as a link into the zone database or as a
    // copy of one of its files. The returned calendar is shared and rebuilt
    // only when $TZ or the zone file has changed.
    static const Calendar& current();
    // Becomes readable when the zone file, or a link on the way to it, may
    // have changed; current() takes in what made it readable. -1 where the
    // system cannot tell.
    static int hostZoneChangeDescriptor();

    // The file that names the host's zone in place of /etc/localtime, for
    // tests that change it.
    static void setHostZoneFile(std::string path);

    // A calendar in the named time zone, e.g. "America/New_York".
    explicit Calendar(const std::string& timeZoneId);
    ~Calendar();
    Calendar(Calendar&&) noexcept;
    Calendar& operator=(Calendar&&) noexcept;

    std::string timeZoneId() const;

    // The instant on the day that contains `day` whose wall-clock time is
    // hour:minute:second. A wall time skipped by a clock change gives the next
    // valid time; a repeated one gives its first occurrence. Out-of-range
    // fields roll over into neighbouring days. Nothing when no instant results.
    std::optional<Instant> dateBySettingTime(std::int64_t hour, std::int64_t minute,
                                             std::int64_t second, Instant day) const;

    // The weekday of the day that contains `day`: 1 = Monday ... 7 = Sunday.
    std::optional<int> isoWeekday(Instant day) const;

    // The instant at the given local wall time on the given date (month 1-12),
    // under the same rules.
    std::optional<Instant> date(int year, int month, int day, int hour, int minute,
                                int second = 0) const;

private:
    struct Engine;
    explicit Calendar(std::unique_ptr<Engine> engine);
    std::unique_ptr<Engine> engine;
};
