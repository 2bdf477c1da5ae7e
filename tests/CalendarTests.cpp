// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calendar.h"

#include <gtest/gtest.h>
#include <memory>
#include <unicode/basictz.h>
#include <unicode/gregocal.h>
#include <unicode/tztrans.h>

namespace {

// What Calendar counts for itself agrees with ICU's own calendar, set up by
// the program's rules, on the days around every clock change from 2008 to 2030,
// and from 2040 to 2043, which zone files give by their closing rule alone.
TEST(CalendarTest, WallTimesAndWeekdaysAgreeWithICUsCalendarAroundEveryClockChange) {
    const int times[][3] = {{0, 0, 0},   {24, 0, 0},    {-12, 0, 0},  {2, 30, 0},    {1, 30, 0},
                            {3, 0, 0},   {0, 30, 0},    {23, 59, 59}, {26, 0, 0},    {-1, 59, 59},
                            {0, -30, 0}, {12, 0, 3600}, {2000, 0, 0}, {0, 90000, 0}, {99999, 0, 0}};
    for (const char* name :
         {"America/New_York", "Australia/Lord_Howe", "Pacific/Apia", "America/Sao_Paulo",
          "Antarctica/Troll", "Europe/London", "America/St_Johns", "Asia/Kolkata", "Etc/UTC"}) {
        const Calendar calendar(name);
        const std::unique_ptr<icu::BasicTimeZone> zone(static_cast<icu::BasicTimeZone*>(
            icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name))));
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar icu(zone->clone(), status);
        icu.setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        icu.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        std::vector<double> days{1.2e9, 1.9e9};
        icu::TimeZoneTransition change;
        for (const auto& [first, last] : {std::pair{1.2e12, 1.9e12}, std::pair{2.21e12, 2.32e12}}) {
            for (double from = first;
                 zone->getNextTransition(from, false, change) && change.getTime() < last;
                 from = change.getTime()) {
                for (const double shift : {-86400.0, -3600.0, -0.5, 0.0, 1800.0, 43200.0}) {
                    days.push_back(change.getTime() / 1000 + shift);
                }
            }
        }
        for (const double day : days) {
            icu.setTime(day * 1000, status);
            EXPECT_EQ(calendar.isoWeekday(Instant{day}),
                      (icu.get(UCAL_DAY_OF_WEEK, status) + 5) % 7 + 1);
            const int date[] = {icu.get(UCAL_EXTENDED_YEAR, status), icu.get(UCAL_MONTH, status),
                                icu.get(UCAL_DATE, status)};
            for (const auto& [hour, minute, second] : times) {
                icu.clear();
                icu.set(UCAL_EXTENDED_YEAR, date[0]);
                icu.set(UCAL_MONTH, date[1]);
                icu.set(UCAL_DATE, date[2]);
                icu.set(UCAL_HOUR_OF_DAY, hour);
                icu.set(UCAL_MINUTE, minute);
                icu.set(UCAL_SECOND, second);
                const double expected = icu.getTime(status) / 1000;
                const auto counted = calendar.dateBySettingTime(hour, minute, second, Instant{day});
                ASSERT_TRUE(counted && U_SUCCESS(status)) << name << " " << day;
                EXPECT_EQ(counted->secondsSinceEpoch, expected)
                    << name << " " << day << " " << hour << ":" << minute << ":" << second;
            }
        }
    }
}

} // namespace
