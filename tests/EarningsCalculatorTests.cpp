// SPDX-License-Identifier: GPL-3.0-or-later
#include "EarningsCalculator.h"
#include "TestSupport.h"
#include "TitleText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

class EarningsCalculatorTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::unique_ptr<AppSettings> settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));

    void window(int startHour, int startMinute, int endHour, int endMinute) {
        settings->setStartHour(startHour);
        settings->setStartMinute(startMinute);
        settings->setEndHour(endHour);
        settings->setEndMinute(endMinute);
    }

    // A store over these preferences, with a pay of 200 a day unless they say otherwise.
    void week(const std::string& lines) {
        writeWholeFile(folder / "week.conf", "[General]\ndailyPay=200\n" + lines);
        settings = AppSettingsTesting::make(std::make_shared<Defaults>(folder / "week.conf"));
    }

    static Instant at(const Calendar& calendar, int year, int month, int day, int hour, int minute,
                      double second = 0) {
        const auto instant = calendar.date(year, month, day, hour, minute, 0);
        EXPECT_TRUE(instant.has_value());
        return Instant{instant->secondsSinceEpoch + second};
    }
};

TEST_F(EarningsCalculatorTest, PayAccruesLinearlyOverAnOrdinaryDay) {
    const Calendar calendar("America/New_York");
    settings->setDailyPay(200);
    window(9, 0, 17, 0);
    const struct {
        int hour, minute;
        double second, earned;
    } cases[] = {
        {0, 0, 0, 0},
        {8, 59, 59, 0},
        {9, 0, 0, 0},
        {9, 0, 30, 200.0 * 30 / 28800},
        {10, 0, 0, 25},
        {13, 0, 0, 100},
        {16, 59, 59.5, 200.0 * 28799.5 / 28800},
        {17, 0, 0, 200},
        {23, 0, 0, 200},
        {23, 59, 59.999, 200},
    };
    for (const auto& each : cases) {
        const Instant now = at(calendar, 2026, 6, 15, each.hour, each.minute, each.second);
        EXPECT_DOUBLE_EQ(EarningsCalculator::earnedToday(*settings, now, calendar), each.earned)
            << each.hour << ":" << each.minute << ":" << each.second;
    }
}

// 2026-06-15 is a Monday; New York moves its clocks on Sunday 2026-03-08 and 2026-11-01.
TEST_F(EarningsCalculatorTest, ShiftsFollowTheWorkingWeek) {
    const Calendar berlin("Europe/Berlin");
    const Calendar newYork("America/New_York");
    const std::string weekdays = "workDays=12345\n", night = "startHour=22\nendHour=6\n";
    const std::string lunch = "breakStartHour=12\nbreakMinutes=60\n";
    const std::string hourly = "payPeriod=hour\nhourlyPay=25\n", hour = "breakMinutes=60\n";
    const struct {
        const char* what;
        const Calendar& calendar;
        std::string settings;
        int month, day, hour, minute;
        double earned;
    } cases[] = {
        {"Saturday evening, a day off", berlin, weekdays, 6, 20, 18, 0, 0},
        {"night before, Sunday off", berlin, weekdays + night, 6, 15, 21, 0, 0},
        {"night past midnight", berlin, weekdays + night, 6, 16, 2, 0, 100},
        {"night over", berlin, weekdays + night, 6, 16, 7, 0, 200},
        {"Friday night, Saturday off", berlin, weekdays + night, 6, 20, 21, 0, 200},
        {"past the next midnight", berlin, weekdays + night, 6, 21, 0, 30, 0},
        {"09:00 to 09:00 is 24 hours", berlin, "endHour=9\n", 6, 16, 3, 0, 150},
        {"ended at midnight, the next morning", berlin, "startHour=16\nendHour=0\n", 6, 16, 9, 0,
         0},
        {"before the break", berlin, lunch, 6, 15, 11, 0, 200.0 * 2 / 7},
        {"in the break", berlin, lunch, 6, 15, 12, 30, 200.0 * 3 / 7},
        {"after the break", berlin, lunch, 6, 15, 14, 0, 200.0 * 4 / 7},
        {"a break at 08:00 is tomorrow's", berlin, hour + "breakStartHour=8\n", 6, 15, 13, 0, 100},
        {"half the break inside", berlin, hour + "breakStartHour=16\nbreakStartMinute=30\n", 6, 15,
         13, 0, 200 * 4 / 7.5},
        {"break after midnight", berlin, night + "breakStartHour=2\nbreakMinutes=30\n", 6, 16, 3, 0,
         120},
        {"by the hour, with a break", berlin, hourly + lunch, 6, 15, 18, 0, 175},
        {"by the hour, spring forward", newYork, night + hourly, 3, 8, 7, 0, 175},
        {"by the hour, fall back", newYork, night + hourly, 11, 1, 7, 0, 225},
        // 00:00-06:00 lasts 7 hours; the break runs from the first 01:00 to the second 01:30.
        {"break over fall back", newYork,
         "startHour=0\nendHour=6\nbreakStartHour=1\nbreakMinutes=90\n", 11, 1, 3, 0,
         200 * 2.5 / 5.5},
        {"no work days", berlin, "workDays=\n", 6, 15, 13, 0, 0},
        {"odd work days, Sunday", berlin, "workDays=x7 7\n", 6, 21, 13, 0, 100},
    };
    for (const auto& each : cases) {
        week(each.settings);
        const Instant now = at(each.calendar, 2026, each.month, each.day, each.hour, each.minute);
        EXPECT_NEAR(EarningsCalculator::earnedToday(*settings, now, each.calendar), each.earned,
                    1e-9)
            << each.what;
    }
}

// An edge when one is given, else the first instant the title's amount differs.
TEST_F(EarningsCalculatorTest, TheNextChangeIsTheFirstInstantTheTextCanChange) {
    const Calendar berlin("Europe/Berlin");
    const std::string lunch = "workDays=12345\nbreakStartHour=12\nbreakMinutes=60\n";
    const std::string night = "startHour=22\nendHour=6\n";
    const struct {
        const char* what;
        std::string settings;
        int day, hour, minute;
        double second;
        int edgeDay, edgeHour; // no edge on day 0
    } cases[] = {
        {"before the shift", lunch, 15, 8, 0, 0, 15, 9},
        {"inside", lunch, 15, 10, 17, 33.3, 0, 0},
        {"before the break", lunch, 15, 11, 59, 59, 15, 12},
        {"in the break", lunch, 15, 12, 0, 0, 15, 13},
        {"after the break", lunch, 15, 13, 0, 0, 0, 0},
        {"the last cent", lunch, 15, 16, 59, 59.9, 15, 17},
        {"after the shift", lunch, 15, 17, 0, 0, 16, 0},
        {"a day off", lunch, 20, 10, 0, 0, 21, 0},
        {"no pay", lunch + "payPeriod=hour\n", 15, 13, 0, 0, 16, 0},
        {"night over", night + "workDays=1\n", 16, 6, 0, 0, 17, 0},
        {"night over, next one tonight", night + "workDays=12\n", 16, 6, 0, 0, 16, 22},
        {"a cent an hour, by the hour", "startHour=0\nendHour=6\npayPeriod=hour\nhourlyPay=0.01\n",
         15, 3, 0, 0, 0, 0},
    };
    for (const auto& each : cases) {
        week(each.settings);
        const Instant now = at(berlin, 2026, 6, each.day, each.hour, each.minute, each.second);
        const Instant next = EarningsCalculator::nextChange(*settings, now, berlin);
        const auto shown = [&](Instant instant) {
            return TitleText::format("",
                                     EarningsCalculator::earnedToday(*settings, instant, berlin));
        };
        EXPECT_GT(next, now) << each.what;
        if (each.edgeDay) {
            EXPECT_EQ(next, at(berlin, 2026, 6, each.edgeDay, each.edgeHour, 0)) << each.what;
        } else {
            EXPECT_NE(shown(next), shown(now)) << each.what;
            EXPECT_EQ(shown(Instant{next.secondsSinceEpoch - 0.001}), shown(now)) << each.what;
        }
    }
}

TEST_F(EarningsCalculatorTest, NoPayMeansNothingEarnedEvenAfterTheWindow) {
    const Calendar calendar("UTC");
    window(9, 0, 17, 0);
    for (double pay : {0.0, -0.0, -200.0, std::numeric_limits<double>::quiet_NaN(),
                       -std::numeric_limits<double>::infinity()}) {
        settings->setDailyPay(pay);
        for (int hour : {8, 12, 20}) {
            EXPECT_EQ(EarningsCalculator::earnedToday(*settings, at(calendar, 2026, 6, 15, hour, 0),
                                                      calendar),
                      0)
                << pay << " at " << hour;
        }
    }
}

TEST_F(EarningsCalculatorTest, ClockChangesLengthenOrShortenTheRealWindow) {
    const Calendar newYork("America/New_York");
    const Calendar lordHowe("Australia/Lord_Howe");
    settings->setDailyPay(300);
    const struct {
        const char* what;
        const Calendar& calendar;
        int month, day;
        int startHour, startMinute, endHour;
        Instant now;
        double earned;
    } cases[] = {
        // Spring forward 02:00 -> 03:00: 01:00-05:00 lasts 3 real hours.
        {"spring 01-05 at 04:00", newYork, 3, 8, 1, 0, 5, at(newYork, 2026, 3, 8, 4, 0), 200},
        // A start in the skipped hour is taken as 03:00.
        {"spring 02:30 start", newYork, 3, 8, 2, 30, 5, at(newYork, 2026, 3, 8, 4, 0), 150},
        // Fall back 02:00 -> 01:00: 00:00-03:00 lasts 4 real hours.
        {"autumn 00-03 at 02:00", newYork, 11, 1, 0, 0, 3, at(newYork, 2026, 11, 1, 2, 0), 225},
        // 01:30 happens twice; the start is the first one, 2.5 real hours before 03:00.
        {"autumn first 01:30", newYork, 11, 1, 1, 30, 3, at(newYork, 2026, 11, 1, 2, 0), 180},
        // Lord Howe moves by half an hour: 02:00 -> 02:30 in October ...
        {"Lord Howe forward", lordHowe, 10, 4, 1, 0, 5, at(lordHowe, 2026, 10, 4, 4, 0),
         300 * 2.5 / 3.5},
        // ... and 02:00 -> 01:30 in April.
        {"Lord Howe back", lordHowe, 4, 5, 1, 0, 5, at(lordHowe, 2026, 4, 5, 4, 0),
         300 * 3.5 / 4.5},
    };
    for (const auto& each : cases) {
        window(each.startHour, each.startMinute, each.endHour, 0);
        EXPECT_NEAR(EarningsCalculator::earnedToday(*settings, each.now, each.calendar),
                    each.earned, 1e-9)
            << each.what;
    }
}

TEST_F(EarningsCalculatorTest, TheRepeatedHourCountsFromItsFirstOccurrence) {
    const Calendar newYork("America/New_York");
    settings->setDailyPay(100);
    window(1, 30, 3, 0);
    // From the first 01:30 to 03:00 is 150 real minutes; 15 of them are a tenth.
    const Instant firstOneThirty = at(newYork, 2026, 11, 1, 1, 30);
    EXPECT_NEAR(EarningsCalculator::earnedToday(
                    *settings, Instant{firstOneThirty.secondsSinceEpoch + 15 * 60}, newYork),
                10, 1e-9);
}

TEST_F(EarningsCalculatorTest, ANewDayStartsAtNothing) {
    const Calendar calendar("Asia/Tokyo");
    settings->setDailyPay(200);
    window(0, 0, 23, 59);
    const Instant midnight = at(calendar, 2026, 6, 16, 0, 0);
    const double before = EarningsCalculator::earnedToday(
        *settings, Instant{midnight.secondsSinceEpoch - 0.5}, calendar);
    EXPECT_EQ(before, 200);
    EXPECT_EQ(EarningsCalculator::earnedToday(*settings, midnight, calendar), 0);
    EXPECT_LT(EarningsCalculator::earnedToday(*settings, Instant{midnight.secondsSinceEpoch + 0.5},
                                              calendar),
              0.01);
}

TEST_F(EarningsCalculatorTest, OutOfRangeTimesNeverBreakTheBounds) {
    const Calendar calendar("America/New_York");
    settings->setDailyPay(200);
    const std::int64_t odd[] = {-1,
                                25,
                                75,
                                1000,
                                std::numeric_limits<std::int64_t>::max(),
                                std::numeric_limits<std::int64_t>::min(),
                                4294967305};
    for (std::int64_t value : odd) {
        for (int field = 0; field < 4; ++field) {
            window(9, 0, 17, 0);
            switch (field) {
            case 0:
                settings->setStartHour(value);
                break;
            case 1:
                settings->setStartMinute(value);
                break;
            case 2:
                settings->setEndHour(value);
                break;
            default:
                settings->setEndMinute(value);
                break;
            }
            for (int hour : {0, 8, 12, 20}) {
                const double earned = EarningsCalculator::earnedToday(
                    *settings, at(calendar, 2026, 3, 8, hour, 0), calendar);
                EXPECT_GE(earned, 0) << value << " in field " << field;
                EXPECT_LE(earned, 200) << value << " in field " << field;
            }
        }
    }
    // A value that only fits an int64 must not wrap round to an ordinary hour.
    window(9, 0, 17, 0);
    settings->setStartHour(4294967305); // 2^32 + 9
    EXPECT_EQ(
        EarningsCalculator::earnedToday(*settings, at(calendar, 2026, 6, 15, 12, 0), calendar), 0);
}

// The host's zone as $TZ sets it, and with $TZ unset as the zone file names
// it: a link into the zone database, made anew as `ln -sf` does or re-pointed
// as timedatectl does, or a copied file, replaced or rewritten in place.
TEST_F(EarningsCalculatorTest, TheNextComputationFollowsAChangeOfTheHostTimeZone) {
    namespace fs = std::filesystem;
    const fs::path zoneFile = folder / "localtime";
    Calendar::setHostZoneFile(zoneFile);
    struct RestoreZoneFile {
        ~RestoreZoneFile() { Calendar::setHostZoneFile("/etc/localtime"); }
    } restore;
    ScopedEnvironment tz("TZ", "");

    // The inner ones: the zone file links to a link, which is re-pointed.
    enum Change { setTZ, link, repointLink, copyFile, rewriteFile, linkToLink, repointInnerLink };
    const struct {
        Change change;
        std::string zone;
    } steps[] = {
        {setTZ, "Asia/Tokyo"},       {setTZ, "America/New_York"},
        {link, "Europe/Berlin"},     {repointLink, "Australia/Lord_Howe"},
        {link, "Asia/Tokyo"},        {copyFile, "America/New_York"},
        {rewriteFile, "Asia/Tokyo"}, {repointLink, "Europe/Berlin"},
        {linkToLink, "Asia/Tokyo"},  {repointInnerLink, "America/New_York"},
    };
    settings->setDailyPay(200);
    window(9, 0, 17, 0);
    const Instant noonInLondon = at(Calendar("Europe/London"), 2026, 6, 15, 12, 0);
    for (const auto& step : steps) {
        const fs::path zone = "/usr/share/zoneinfo/" + step.zone;
        if (step.change == setTZ) {
            ::setenv("TZ", step.zone.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        if (step.change == link || step.change == copyFile || step.change == linkToLink) {
            fs::remove(zoneFile);
        }
        if (step.change == link) {
            fs::create_symlink(zone, zoneFile);
        } else if (step.change == linkToLink) {
            fs::create_symlink(zone, folder / "inner");
            fs::create_symlink("inner", zoneFile);
        } else if (step.change == repointLink || step.change == repointInnerLink) {
            const fs::path repointed = step.change == repointLink ? zoneFile : folder / "inner";
            fs::create_symlink(zone, folder / "link.new");
            fs::rename(folder / "link.new", repointed);
        } else if (step.change == copyFile) {
            fs::copy_file(zone, zoneFile);
        } else if (step.change == rewriteFile) {
            writeWholeFile(zoneFile, readWholeFile(zone));
        }
        const Calendar& current = Calendar::current();
        EXPECT_EQ(current.timeZoneId(), step.zone);
        EXPECT_EQ(EarningsCalculator::earnedToday(*settings, noonInLondon, current),
                  EarningsCalculator::earnedToday(*settings, noonInLondon, Calendar(step.zone)))
            << step.zone;
    }
}

} // namespace
