// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include "HostZone.h"
#include "ZoneFile.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/tztrans.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr double millisecondsPerSecond = 1000.0;
constexpr double millisecondsPerDay = 86400000.0;

std::optional<std::int32_t> asField(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

namespace fs = std::filesystem;

const char* const zoneDatabase = "/usr/share/zoneinfo";

// Set when the zone file's path changes, so that the next look reads it.
bool hostZoneFileMoved = false;

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

// The zone a file in the database names by its path, as a link to it does
// (systemd's timedatectl makes one); a copy of one has the same bytes.
std::unique_ptr<icu::TimeZone> zoneOfFile(const std::string& path) {
    const auto inDatabase = path.find("/zoneinfo/");
    return inDatabase != std::string::npos
               ? knownZone(path.substr(inDatabase + std::strlen("/zoneinfo/")))
               : zoneWithTheSameFile(path);
}

} // namespace

// ICU's calendar object is made for a locale, and reads that locale's week
// data as it is made: a megabyte of data the program never uses. Days, weekdays
// and wall times in the years around now are counted here instead, on the zone
// alone and with the calendar's own rules for skipped and repeated wall times;
// anything further out, or a zone that cannot list its transitions, goes to an
// ICU calendar made when first needed. The zone's rules come from the
// system's zone database where it has the zone: ICU's own zones cost another
// megabyte and a half, and are made only when a calendar needs one.
struct Calendar::Engine {
    std::optional<ZoneFile> file;
    // The file's zone by name, and the file: a copy of a zone's file has no
    // name, and ICU finds its zone by its bytes.
    std::string id;
    std::string path;
    mutable std::unique_ptr<icu::TimeZone> zone;
    mutable const icu::BasicTimeZone* transitions = nullptr;
    mutable std::unique_ptr<icu::Calendar> calendarObject;

    explicit Engine(icu::TimeZone* adopted)
        : zone(adopted), transitions(dynamic_cast<const icu::BasicTimeZone*>(adopted)) {}
    Engine(ZoneFile file, std::string id, std::string path)
        : file(std::move(file)), id(std::move(id)), path(std::move(path)) {}

    // The zone that $TZ or the zone file names.
    static std::unique_ptr<Engine> host() {
        std::error_code error;
        const std::string target = fs::canonical(hostZoneFile(), error).string();
        if (!std::getenv("TZ") && !error) {
            if (auto read = ZoneFile::read(target)) {
                const auto inDatabase = target.find("/zoneinfo/");
                return std::make_unique<Engine>(
                    std::move(*read),
                    inDatabase == std::string::npos
                        ? std::string()
                        : target.substr(inDatabase + std::strlen("/zoneinfo/")),
                    target);
            }
            if (auto zone = zoneOfFile(target)) {
                return std::make_unique<Engine>(zone.release());
            }
        }
        return std::make_unique<Engine>(icu::TimeZone::detectHostTimeZone());
    }

    icu::TimeZone* icuZone() const {
        if (!zone && file) {
            zone = id.empty() ? zoneOfFile(path) : knownZone(id);
            transitions = dynamic_cast<const icu::BasicTimeZone*>(zone.get());
        }
        return zone.get();
    }

    icu::Calendar* calendar() const {
        if (!calendarObject && icuZone()) {
            UErrorCode status = U_ZERO_ERROR;
            auto made = std::make_unique<icu::GregorianCalendar>(zone->clone(), status);
            if (U_FAILURE(status)) {
                return nullptr;
            }
            made->setLenient(true);
            made->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
            made->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
            calendarObject = std::move(made);
        }
        return calendarObject.get();
    }

    std::optional<Instant> instant() const {
        UErrorCode status = U_ZERO_ERROR;
        const UDate milliseconds = calendarObject->getTime(status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        return Instant{milliseconds / millisecondsPerSecond};
    }

    // Counted here: days from 1900 to 2200, all Gregorian, moved by at most
    // this many hours, minutes or seconds (each under twelve years), so that
    // no result comes near the calendar's own limits.
    static constexpr double firstCountedDay = -2208988800000.0; // 1900-01-01
    static constexpr double lastCountedDay = 7258118400000.0;   // 2200-01-01
    static constexpr std::int64_t longestMove = 100000;

    bool counts(double milliseconds) const {
        return (file || zone) && milliseconds >= firstCountedDay && milliseconds < lastCountedDay;
    }

    bool countsWallTimes() const { return file || transitions; }

    // The offset in force at the instant, in milliseconds.
    std::optional<std::int32_t> offset(double milliseconds) const {
        if (file) {
            return file->offset(milliseconds / millisecondsPerSecond) * 1000;
        }
        UErrorCode status = U_ZERO_ERROR;
        std::int32_t raw = 0;
        std::int32_t daylight = 0;
        zone->getOffset(milliseconds, false, raw, daylight, status);
        return U_FAILURE(status) ? std::nullopt : std::optional(raw + daylight);
    }

    // The local day that contains the instant, counted from 1970-01-01.
    std::optional<double> localDay(double milliseconds) const {
        const auto offsetThen = offset(milliseconds);
        if (!offsetThen) {
            return std::nullopt;
        }
        return std::floor((milliseconds + *offsetThen) / millisecondsPerDay);
    }

    // As the calendar resolves a wall time: a repeated one as its first
    // occurrence; a skipped one as the transition that skips it.
    std::optional<Instant> wallTime(double day, std::int32_t hour, std::int32_t minute,
                                    std::int32_t second) const {
        double inDay = hour;
        inDay = (inDay * 60 + minute) * 60 + second;
        const double wall = day * millisecondsPerDay + inDay * 1000;
        UErrorCode status = U_ZERO_ERROR;
        std::int32_t raw = 0;
        std::int32_t daylight = 0;
        if (file) {
            raw = file->formerOffset(wall / millisecondsPerSecond) * 1000;
        } else {
            transitions->getOffsetFromLocal(wall, UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER, raw,
                                            daylight, status);
        }
        const std::int32_t wallOffset = raw + daylight;
        const double guess = wall - wallOffset;
        const auto guessOffset = offset(guess);
        if (U_FAILURE(status) || !guessOffset) {
            return std::nullopt;
        }
        if (wallOffset == *guessOffset) {
            return Instant{guess / millisecondsPerSecond};
        }
        if (file) {
            const auto change = file->lastChange(guess / millisecondsPerSecond);
            return change ? std::optional(Instant{*change}) : std::nullopt;
        }
        icu::TimeZoneTransition transition;
        if (!transitions->getPreviousTransition(guess, true, transition)) {
            return std::nullopt;
        }
        return Instant{transition.getTime() / millisecondsPerSecond};
    }
};

Instant Instant::now() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return Instant{std::chrono::duration<double>(sinceEpoch).count()};
}

Calendar::Calendar(std::unique_ptr<Engine> engine) : engine(std::move(engine)) {}

Calendar::Calendar(const std::string& timeZoneId) {
    const std::string path = std::string(zoneDatabase) + '/' + timeZoneId;
    auto file = timeZoneId.starts_with('/') || timeZoneId.find("..") != std::string::npos
                    ? std::nullopt
                    : ZoneFile::read(path);
    engine = file ? std::make_unique<Engine>(std::move(*file), timeZoneId, path)
                  : std::make_unique<Engine>(
                        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZoneId)));
}

Calendar::~Calendar() = default;
Calendar::Calendar(Calendar&&) noexcept = default;
Calendar& Calendar::operator=(Calendar&&) noexcept = default;

const Calendar& Calendar::current() {
    HostZoneWatch& watch = hostZoneWatch();
    // The chain is watched before it is read, so that no change falls between.
    const auto readAndFollow = [&watch] {
        watch.follow(HostZoneStamp::read().paths);
        return HostZoneStamp::read();
    };
    static HostZoneStamp stamp = readAndFollow();
    static Calendar calendar(Engine::host());
    // $TZ is read each time: a process sets it without telling anyone.
    const char* tz = std::getenv("TZ");
    const bool tzChanged = (tz != nullptr) != stamp.tzSet || (tz && stamp.tz != tz);
    if (!watch.works() || watch.changed() || tzChanged || std::exchange(hostZoneFileMoved, false)) {
        if (HostZoneStamp now = readAndFollow(); !(now == stamp)) {
            stamp = std::move(now);
            calendar = Calendar(Engine::host());
        }
    }
    return calendar;
}

int Calendar::hostZoneChangeDescriptor() {
    return hostZoneWatch().changeDescriptor();
}

void Calendar::setHostZoneFile(std::string path) {
    hostZoneFile() = std::move(path);
    hostZoneFileMoved = true;
}

std::string Calendar::timeZoneId() const {
    if (engine->file && !engine->id.empty()) {
        return engine->id;
    }
    std::string id;
    if (engine->icuZone()) {
        icu::UnicodeString name;
        engine->zone->getID(name);
        name.toUTF8String(id);
    }
    return id;
}

std::optional<Instant> Calendar::dateBySettingTime(std::int64_t hour, std::int64_t minute,
                                                   std::int64_t second, Instant day) const {
    const auto hourField = asField(hour);
    const auto minuteField = asField(minute);
    const auto secondField = asField(second);
    if (!hourField || !minuteField || !secondField) {
        return std::nullopt;
    }
    const double dayMilliseconds = day.secondsSinceEpoch * millisecondsPerSecond;
    const auto near = [](std::int64_t value) {
        return std::llabs(value) <= Engine::longestMove;
    };
    if (engine->countsWallTimes() && engine->counts(dayMilliseconds) && near(hour) &&
        near(minute) && near(second)) {
        const auto localDay = engine->localDay(dayMilliseconds);
        if (!localDay) {
            return std::nullopt;
        }
        return engine->wallTime(*localDay, *hourField, *minuteField, *secondField);
    }
    icu::Calendar* calendar = engine->calendar();
    if (!calendar) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(dayMilliseconds, status);
    const std::int32_t year = calendar->get(UCAL_EXTENDED_YEAR, status);
    const std::int32_t month = calendar->get(UCAL_MONTH, status);
    const std::int32_t dayOfMonth = calendar->get(UCAL_DATE, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    calendar->clear();
    calendar->set(UCAL_EXTENDED_YEAR, year);
    calendar->set(UCAL_MONTH, month);
    calendar->set(UCAL_DATE, dayOfMonth);
    calendar->set(UCAL_HOUR_OF_DAY, *hourField);
    calendar->set(UCAL_MINUTE, *minuteField);
    calendar->set(UCAL_SECOND, *secondField);
    return engine->instant();
}

std::optional<int> Calendar::isoWeekday(Instant day) const {
    const double dayMilliseconds = day.secondsSinceEpoch * millisecondsPerSecond;
    if (engine->counts(dayMilliseconds)) {
        const auto localDay = engine->localDay(dayMilliseconds);
        if (!localDay) {
            return std::nullopt;
        }
        // 1970-01-01 was a Thursday.
        const auto sinceThursday = static_cast<std::int64_t>(*localDay) + 3;
        return static_cast<int>((sinceThursday % 7 + 7) % 7) + 1;
    }
    icu::Calendar* calendar = engine->calendar();
    if (!calendar) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(dayMilliseconds, status);
    // ICU counts from Sunday = 1.
    const std::int32_t weekday = calendar->get(UCAL_DAY_OF_WEEK, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return (weekday + 5) % 7 + 1;
}

// Dates named outright (tests name them) are resolved by the ICU calendar.
std::optional<Instant> Calendar::date(int year, int month, int day, int hour, int minute,
                                      int second) const {
    icu::Calendar* calendar = engine->calendar();
    if (!calendar) {
        return std::nullopt;
    }
    calendar->clear();
    calendar->set(year, month - 1, day, hour, minute, second);
    return engine->instant();
}
