// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoneFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr std::int64_t secondsPerDay = 86400;
constexpr std::size_t headerSize = 44;

std::optional<std::string> wholeFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rbe"),
                                                               &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get())) {
        bytes.append(buffer, read);
    }
    return std::ferror(file.get()) ? std::nullopt : std::optional(bytes);
}

std::uint64_t bigEndian(const unsigned char* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t at = 0; at < size; ++at) {
        value = value << 8 | bytes[at];
    }
    return value;
}

// Days from 1970-01-01 to the date, in the Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The year of the day counted from 1970-01-01.
std::int64_t yearOf(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    return yearOfEra + era * 400 + (shiftedMonth >= 10);
}

bool isLeapYear(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

} // namespace

std::int64_t ZoneFile::Day::local(std::int64_t year) const {
    std::int64_t date = daysFromCivil(year, 1, 1);
    if (kind == Kind::julianWithoutLeapDay) {
        date += day - 1 + (isLeapYear(year) && day >= 60);
    } else if (kind == Kind::dayOfYear) {
        date += day;
    } else {
        const std::int64_t firstOfMonth = daysFromCivil(year, month, 1);
        const std::int64_t length =
            (month == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, month + 1, 1)) -
            firstOfMonth;
        // 1970-01-01 was a Thursday; Sunday counts as 0.
        const std::int64_t firstWeekday = ((firstOfMonth + 4) % 7 + 7) % 7;
        std::int64_t inMonth = (day - firstWeekday + 7) % 7 + (week - 1) * 7;
        if (inMonth >= length) {
            inMonth -= 7; // week 5 is the last such day of the month
        }
        date = firstOfMonth + inMonth;
    }
    return date * secondsPerDay + time;
}

std::optional<ZoneFile> ZoneFile::read(const std::string& path) {
    const std::optional<std::string> bytes = wholeFile(path);
    if (!bytes || bytes->size() < headerSize || bytes->compare(0, 4, "TZif") != 0) {
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes->data());
    struct Counts {
        std::uint64_t isUniversal, isStandard, leaps, times, types, characters;
    };
    const auto countsAt = [&](std::size_t at) {
        const auto count = [&](int index) {
            return bigEndian(data + at + 20 + index * 4, 4);
        };
        return Counts{count(0), count(1), count(2), count(3), count(4), count(5)};
    };
    const auto blockSize = [](const Counts& counts, std::uint64_t timeSize) {
        return counts.times * (timeSize + 1) + counts.types * 6 + counts.characters +
               counts.leaps * (timeSize + 4) + counts.isStandard + counts.isUniversal;
    };
    // Version 2 and later repeat the data with 64-bit times, then give the rule.
    const bool wide = (*bytes)[4] >= '2';
    Counts counts = countsAt(0);
    std::uint64_t at = headerSize;
    if (wide) {
        at += blockSize(counts, 4);
        if (at + headerSize > bytes->size()) {
            return std::nullopt;
        }
        counts = countsAt(at);
        at += headerSize;
    }
    const std::uint64_t timeSize = wide ? 8 : 4;
    if (counts.leaps != 0 || counts.types == 0 || counts.times > bytes->size() ||
        counts.types > 256 || at + blockSize(counts, timeSize) > bytes->size()) {
        return std::nullopt;
    }
    const unsigned char* times = data + at;
    const unsigned char* indices = times + counts.times * timeSize;
    const unsigned char* types = indices + counts.times;
    const auto offsetOf = [&](std::uint64_t type) {
        return static_cast<std::int32_t>(bigEndian(types + type * 6, 4));
    };
    ZoneFile zone;
    // Instants before the first change are read with the first type.
    zone.first = offsetOf(0);
    std::int32_t current = zone.first;
    for (std::uint64_t index = 0; index < counts.times; ++index) {
        if (indices[index] >= counts.types) {
            return std::nullopt;
        }
        const std::int32_t next = offsetOf(indices[index]);
        if (next != current) {
            const std::uint64_t time = bigEndian(times + index * timeSize, timeSize);
            zone.changes.push_back(
                {wide ? static_cast<std::int64_t>(time) : static_cast<std::int32_t>(time), current,
                 next});
            current = next;
        }
    }
    const std::size_t footer = at + blockSize(counts, timeSize);
    if (wide && footer < bytes->size() && (*bytes)[footer] == '\n') {
        const std::size_t end = bytes->find('\n', footer + 1);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        if (end > footer + 1) {
            zone.rule = parseRule(bytes->substr(footer + 1, end - footer - 1));
            if (!zone.rule) {
                return std::nullopt;
            }
        }
    }
    return zone;
}

// POSIX's TZ form: a name, its offset west of UTC, and for a zone with
// daylight time, that one's name, its offset, and the day and time it starts
// and ends each year.
std::optional<ZoneFile::Rule> ZoneFile::parseRule(const std::string& text) {
    std::size_t at = 0;
    const auto digit = [&] {
        return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
    };
    const auto skip = [&](char expected) {
        const bool found = at < text.size() && text[at] == expected;
        at += found;
        return found;
    };
    const auto name = [&] {
        if (skip('<')) {
            at = text.find('>', at);
            return at++ != std::string::npos;
        }
        const std::size_t start = at;
        while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at]))) {
            ++at;
        }
        return at - start >= 3;
    };
    const auto number = [&](int& value) {
        const std::size_t start = at;
        for (value = 0; digit() && at - start < 3; ++at) {
            value = value * 10 + (text[at] - '0');
        }
        return at > start;
    };
    const auto time = [&](std::int32_t& value) {
        const int sign = skip('-') ? -1 : (skip('+'), 1);
        int parts[3] = {0, 0, 0};
        for (int part = 0; part < 3 && (part == 0 || skip(':')); ++part) {
            if (!number(parts[part])) {
                return false;
            }
        }
        value = sign * ((parts[0] * 60 + parts[1]) * 60 + parts[2]);
        return true;
    };
    const auto day = [&](Day& rule) {
        bool valid = false;
        if (skip('M')) {
            rule.kind = Day::Kind::monthWeekDay;
            valid = number(rule.month) && skip('.') && number(rule.week) && skip('.') &&
                    number(rule.day) && rule.month >= 1 && rule.month <= 12 && rule.week >= 1 &&
                    rule.week <= 5 && rule.day <= 6;
        } else if (skip('J')) {
            rule.kind = Day::Kind::julianWithoutLeapDay;
            valid = number(rule.day) && rule.day >= 1 && rule.day <= 365;
        } else {
            rule.kind = Day::Kind::dayOfYear;
            valid = number(rule.day) && rule.day <= 365;
        }
        return valid && (!skip('/') || time(rule.time));
    };
    Rule rule;
    std::int32_t west = 0;
    if (!name() || !time(west)) {
        return std::nullopt;
    }
    rule.standard = -west;
    if (at == text.size()) {
        return rule;
    }
    if (!name()) {
        return std::nullopt;
    }
    rule.daylight = rule.standard + 3600;
    if (at < text.size() && text[at] != ',') {
        if (!time(west)) {
            return std::nullopt;
        }
        rule.daylight = -west;
    }
    // A daylight time without its days is not read here.
    if (!skip(',') || !day(rule.start) || !skip(',') || !day(rule.end) || at != text.size()) {
        return std::nullopt;
    }
    return rule;
}

std::array<ZoneFile::Change, 6> ZoneFile::ruleChanges(double at) const {
    std::array<Change, 6> made{};
    const std::int64_t year = yearOf(static_cast<std::int64_t>(std::floor(at / secondsPerDay)));
    for (int index = 0; index < 3; ++index) {
        const std::int64_t each = year - 1 + index;
        made[2 * index] = {rule->start.local(each) - rule->standard, rule->standard,
                           *rule->daylight};
        made[2 * index + 1] = {rule->end.local(each) - *rule->daylight, *rule->daylight,
                               rule->standard};
    }
    std::sort(made.begin(), made.end(),
              [](const Change& one, const Change& other) { return one.at < other.at; });
    return made;
}

std::optional<ZoneFile::Change> ZoneFile::changeAtOrBefore(double at) const {
    std::optional<Change> found;
    const auto after =
        std::upper_bound(changes.begin(), changes.end(), at,
                         [](double instant, const Change& change) { return instant < change.at; });
    if (after != changes.begin()) {
        found = *(after - 1);
    }
    // After the last listed change, the rule goes on.
    const bool ruleChangesOffset = rule && rule->daylight && *rule->daylight != rule->standard;
    if (!ruleChangesOffset || (!changes.empty() && at < changes.back().at)) {
        return found;
    }
    for (const Change& change : ruleChanges(at)) {
        if (change.at <= at && (changes.empty() || change.at > changes.back().at)) {
            found = change;
        }
    }
    return found;
}

std::int32_t ZoneFile::offset(double at) const {
    const std::optional<Change> change = changeAtOrBefore(at);
    return change ? change->after : first;
}

std::int32_t ZoneFile::formerOffset(double wall) const {
    // No offset is a day or more: a change within a day of the wall time
    // is the only one that can bear on it.
    const std::optional<Change> change = changeAtOrBefore(wall + secondsPerDay);
    if (!change || change->at <= wall - secondsPerDay) {
        return offset(wall);
    }
    return wall < change->at + std::max(change->before, change->after) ? change->before
                                                                       : change->after;
}

std::optional<double> ZoneFile::lastChange(double at) const {
    const std::optional<Change> change = changeAtOrBefore(at);
    return change ? std::optional<double>(change->at) : std::nullopt;
}
