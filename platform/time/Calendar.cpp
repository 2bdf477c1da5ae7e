// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/stat.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <vector>

namespace {

constexpr double millisecondsPerSecond = 1000.0;

std::optional<std::int32_t> asField(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

namespace fs = std::filesystem;

const char* const zoneDatabase = "/usr/share/zoneinfo";

std::string& hostZoneFile() {
    static std::string path = "/etc/localtime";
    return path;
}

// What identifies the host's zone cheaply: $TZ and every step from the zone
// file to what it finally names, not what that contains. A link re-pointed,
// anywhere along a chain of links, or a file replaced or rewritten in place,
// gets a new inode or change time.
struct HostZoneStamp {
    struct Step {
        ino_t inode = 0;
        std::int64_t changedSeconds = 0;
        long changedNanoseconds = 0;
        bool operator==(const Step&) const = default;
    };
    std::string tz;
    bool tzSet = false;
    std::string zoneFile;
    std::vector<Step> steps;

    static HostZoneStamp read() {
        HostZoneStamp stamp;
        if (const char* tz = std::getenv("TZ")) {
            stamp.tzSet = true;
            stamp.tz = tz;
        }
        stamp.zoneFile = hostZoneFile();
        // As many links as the kernel itself follows.
        constexpr int longestChain = 40;
        fs::path step = stamp.zoneFile;
        for (int count = 0; count < longestChain; ++count) {
            struct stat link {};
            if (::lstat(step.c_str(), &link) != 0) {
                break;
            }
            stamp.steps.push_back({link.st_ino, link.st_ctim.tv_sec, link.st_ctim.tv_nsec});
            if (!S_ISLNK(link.st_mode)) {
                break;
            }
            std::error_code error;
            const fs::path target = fs::read_symlink(step, error);
            if (error) {
                break;
            }
            step = step.parent_path() / target;
        }
        return stamp;
    }
    bool operator==(const HostZoneStamp&) const = default;
};

std::optional<std::string> wholeFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::unique_ptr<icu::TimeZone> knownZone(const std::string& id) {
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
    if (*zone == icu::TimeZone::getUnknown()) {
        return nullptr;
    }
    return zone;
}

// A copied zone file: the zone whose file in the database has the same bytes.
std::unique_ptr<icu::TimeZone> zoneWithTheSameFile(const fs::path& copy) {
    std::error_code error;
    const auto size = fs::file_size(copy, error);
    const auto contents = error ? std::nullopt : wholeFile(copy);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::StringEnumeration> ids(icu::TimeZone::createTimeZoneIDEnumeration(
        UCAL_ZONE_TYPE_CANONICAL, nullptr, nullptr, status));
    if (!contents || U_FAILURE(status)) {
        return nullptr;
    }
    while (const char* id = ids->next(nullptr, status)) {
        const fs::path candidate = fs::path(zoneDatabase) / id;
        if (fs::file_size(candidate, error) == size && !error && wholeFile(candidate) == contents) {
            return knownZone(id);
        }
    }
    return nullptr;
}

// The zone that $TZ or the zone file names. A link names the zone by its path
// in the database, as systemd's timedatectl makes it.
icu::TimeZone* hostTimeZone() {
    if (!std::getenv("TZ")) {
        std::error_code error;
        const std::string target = fs::canonical(hostZoneFile(), error).string();
        const auto inDatabase = target.find("/zoneinfo/");
        std::unique_ptr<icu::TimeZone> zone;
        if (!error && inDatabase != std::string::npos) {
            zone = knownZone(target.substr(inDatabase + std::strlen("/zoneinfo/")));
        } else if (!error) {
            zone = zoneWithTheSameFile(target);
        }
        if (zone) {
            return zone.release();
        }
    }
    return icu::TimeZone::detectHostTimeZone();
}

} // namespace

struct Calendar::Engine {
    std::unique_ptr<icu::Calendar> calendar;

    explicit Engine(icu::TimeZone* zone) {
        UErrorCode status = U_ZERO_ERROR;
        calendar = std::make_unique<icu::GregorianCalendar>(zone, status);
        if (U_FAILURE(status)) {
            calendar.reset();
            return;
        }
        calendar->setLenient(true);
        calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    }

    std::optional<Instant> instant() const {
        UErrorCode status = U_ZERO_ERROR;
        const UDate milliseconds = calendar->getTime(status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        return Instant{milliseconds / millisecondsPerSecond};
    }
};

Instant Instant::now() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return Instant{std::chrono::duration<double>(sinceEpoch).count()};
}

Calendar::Calendar(std::unique_ptr<Engine> engine) : engine(std::move(engine)) {}

Calendar::Calendar(const std::string& timeZoneId)
    : Calendar(std::make_unique<Engine>(
          icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZoneId)))) {}

Calendar::~Calendar() = default;
Calendar::Calendar(Calendar&&) noexcept = default;
Calendar& Calendar::operator=(Calendar&&) noexcept = default;

const Calendar& Calendar::current() {
    static HostZoneStamp stamp = HostZoneStamp::read();
    static Calendar calendar(std::make_unique<Engine>(hostTimeZone()));
    if (HostZoneStamp now = HostZoneStamp::read(); !(now == stamp)) {
        stamp = std::move(now);
        calendar = Calendar(std::make_unique<Engine>(hostTimeZone()));
    }
    return calendar;
}

void Calendar::setHostZoneFile(std::string path) {
    hostZoneFile() = std::move(path);
}

std::string Calendar::timeZoneId() const {
    std::string id;
    if (engine->calendar) {
        icu::UnicodeString name;
        engine->calendar->getTimeZone().getID(name);
        name.toUTF8String(id);
    }
    return id;
}

std::optional<Instant> Calendar::dateBySettingTime(std::int64_t hour, std::int64_t minute,
                                                   std::int64_t second, Instant day) const {
    const auto hourField = asField(hour);
    const auto minuteField = asField(minute);
    const auto secondField = asField(second);
    if (!engine->calendar || !hourField || !minuteField || !secondField) {
        return std::nullopt;
    }
    icu::Calendar& calendar = *engine->calendar;
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(day.secondsSinceEpoch * millisecondsPerSecond, status);
    const std::int32_t year = calendar.get(UCAL_EXTENDED_YEAR, status);
    const std::int32_t month = calendar.get(UCAL_MONTH, status);
    const std::int32_t dayOfMonth = calendar.get(UCAL_DATE, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, year);
    calendar.set(UCAL_MONTH, month);
    calendar.set(UCAL_DATE, dayOfMonth);
    calendar.set(UCAL_HOUR_OF_DAY, *hourField);
    calendar.set(UCAL_MINUTE, *minuteField);
    calendar.set(UCAL_SECOND, *secondField);
    return engine->instant();
}

std::optional<int> Calendar::isoWeekday(Instant day) const {
    if (!engine->calendar) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    engine->calendar->setTime(day.secondsSinceEpoch * millisecondsPerSecond, status);
    // ICU counts from Sunday = 1.
    const std::int32_t weekday = engine->calendar->get(UCAL_DAY_OF_WEEK, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return (weekday + 5) % 7 + 1;
}

std::optional<Instant> Calendar::date(int year, int month, int day, int hour, int minute,
                                      int second) const {
    if (!engine->calendar) {
        return std::nullopt;
    }
    engine->calendar->clear();
    engine->calendar->set(year, month - 1, day, hour, minute, second);
    return engine->instant();
}
