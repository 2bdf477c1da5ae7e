// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One time zone's rules as the system's zone database keeps them, in a TZif
// file (RFC 8536): its changes of offset so far, and the rule its last line
// gives for the years after them. Instants are seconds since the epoch;
// offsets, seconds east of UTC.
class ZoneFile {
public:
    // Nothing when the file is missing, or is not a zone file read here
    // (one that counts leap seconds, or has a rule that cannot be read).
    static std::optional<ZoneFile> read(const std::string& path);

    // The offset in force at the instant.
    std::int32_t offset(double at) const;
    // The offset a wall time is read with (wall times counted as seconds
    // since 1970-01-01 00:00 on the wall): the one in force before a change
    // for a wall time the change skips or repeats.
    std::int32_t formerOffset(double wall) const;
    // The instant of the last change of offset at or before this one.
    std::optional<double> lastChange(double at) const;

private:
    struct Change {
        std::int64_t at = 0;
        std::int32_t before = 0;
        std::int32_t after = 0;
    };
    // A rule's day in a year, as the last line of the file gives it, and the
    // wall time on it (which may go past midnight either way).
    struct Day {
        enum class Kind { monthWeekDay, julianWithoutLeapDay, dayOfYear } kind{};
        int month = 0;
        int week = 0;
        int day = 0;
        std::int32_t time = 7200;
        std::int64_t local(std::int64_t year) const;
    };
    struct Rule {
        std::int32_t standard = 0;
        std::optional<std::int32_t> daylight;
        Day start;
        Day end;
    };

    static std::optional<Rule> parseRule(const std::string& text);
    // The changes the rule makes from the year before that of the instant to
    // the year after, in order.
    std::array<Change, 6> ruleChanges(double at) const;
    std::optional<Change> changeAtOrBefore(double at) const;

    std::int32_t first = 0;
    std::vector<Change> changes;
    std::optional<Rule> rule;
};
