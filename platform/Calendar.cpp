#include "Calendar.h"

#include <chrono>
#include <cstdlib>
#include <limits>
#include <sys/stat.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

namespace {

constexpr double millisecondsPerSecond = 1000.0;

std::optional<std::int32_t> asField(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// What identifies the host's zone cheaply: $TZ and the /etc/localtime link.
struct HostZoneStamp {
    std::string tz;
    bool tzSet = false;
    ino_t inode = 0;
    std::int64_t changedSeconds = 0;
    long changedNanoseconds = 0;

    static HostZoneStamp read() {
        HostZoneStamp stamp;
        if (const char* tz = std::getenv("TZ")) {
            stamp.tzSet = true;
            stamp.tz = tz;
        }
        struct stat link {};
        if (::lstat("/etc/localtime", &link) == 0) {
            stamp.inode = link.st_ino;
            stamp.changedSeconds = link.st_ctim.tv_sec;
            stamp.changedNanoseconds = link.st_ctim.tv_nsec;
        }
        return stamp;
    }
    bool operator==(const HostZoneStamp&) const = default;
};

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
    static Calendar calendar(std::make_unique<Engine>(icu::TimeZone::detectHostTimeZone()));
    if (HostZoneStamp now = HostZoneStamp::read(); !(now == stamp)) {
        stamp = std::move(now);
        calendar = Calendar(std::make_unique<Engine>(icu::TimeZone::detectHostTimeZone()));
    }
    return calendar;
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

std::optional<Instant> Calendar::date(int year, int month, int day, int hour, int minute,
                                      int second) const {
    if (!engine->calendar) {
        return std::nullopt;
    }
    engine->calendar->clear();
    engine->calendar->set(year, month - 1, day, hour, minute, second);
    return engine->instant();
}
