// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include <gtest/gtest.h>
#include <memory>
#include <unicode/basictz.h>
#include <unicode/gregocal.h>
#include <unicode/tztrans.h>

namespace {

// ICU's own calendar, set up as the program's rules say: what Calendar
// counts for itself must agree with it at every clock change.
std::optional<double> icuWallTime(icu::Calendar& calendar, double day, int hour, int minute,
                                  int second) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(day * 1000, status);
    const int year = calendar.get(UCAL_EXTENDED_YEAR, status);
    const int month = calendar.get(UCAL_MONTH, status);
    const int date = calendar.get(UCAL_DATE, status);
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, year);
    calendar.set(UCAL_MONTH, month);
    calendar.set(UCAL_DATE, date);
    calendar.set(UCAL_HOUR_OF_DAY, hour);
    calendar.set(UCAL_MINUTE, minute);
    calendar.set(UCAL_SECOND, second);
    const double milliseconds = calendar.getTime(status);
    return U_SUCCESS(status) ? std::optional(milliseconds / 1000) : std::nullopt;
}

TEST(CalendarTest, WallTimesAndWeekdaysAgreeWithICUsCalendarAroundEveryClockChange) {
    const struct {
        int hour, minute, second;
    } times[] = {{0, 0, 0},   {24, 0, 0},    {-12, 0, 0},  {2, 30, 0},    {1, 30, 0},
                 {3, 0, 0},   {0, 30, 0},    {23, 59, 59}, {26, 0, 0},    {-1, 59, 59},
                 {0, -30, 0}, {12, 0, 3600}, {2000, 0, 0}, {0, 90000, 0}, {99999, 0, 0}};
    for (const char* zoneName :
         {"America/New_York", "Australia/Lord_Howe", "Pacific/Apia", "America/Sao_Paulo",
          "Antarctica/Troll", "Europe/London", "America/St_Johns", "Asia/Kolkata", "Etc/UTC"}) {
        const Calendar calendar(zoneName);
        auto* zone = static_cast<icu::BasicTimeZone*>(
            icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zoneName)));
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar icu(zone->clone(), status);
        icu.setLenient(true);
        icu.setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        icu.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        // Each change from 2008 to 2030, and the hours and days either side of it.
        std::vector<double> days{1.2e9, 1.9e9};
        icu::TimeZoneTransition transition;
        for (double from = 1.2e12;
             zone->getNextTransition(from, false, transition) && transition.getTime() < 1.9e12;
             from = transition.getTime()) {
            for (const double shift : {-86400.0, -3600.0, -1.0, 0.0, 1800.0, 43200.0}) {
                days.push_back(transition.getTime() / 1000 + shift);
            }
        }
        delete zone;
        for (const double day : days) {
            UErrorCode weekdayStatus = U_ZERO_ERROR;
            icu.setTime(day * 1000, weekdayStatus);
            EXPECT_EQ(calendar.isoWeekday(Instant{day}),
                      (icu.get(UCAL_DAY_OF_WEEK, weekdayStatus) + 5) % 7 + 1)
                << zoneName << " " << day;
            for (const auto& time : times) {
                const auto counted =
                    calendar.dateBySettingTime(time.hour, time.minute, time.second, Instant{day});
                const auto expected = icuWallTime(icu, day, time.hour, time.minute, time.second);
                ASSERT_EQ(counted.has_value(), expected.has_value()) << zoneName << " " << day;
                EXPECT_EQ(counted ? counted->secondsSinceEpoch : 0, expected.value_or(0))
                    << zoneName << " " << day << " " << time.hour << ":" << time.minute << ":"
                    << time.second;
            }
        }
    }
}

} // namespace
