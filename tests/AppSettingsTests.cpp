// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppSettings.h"
#include "TestSupport.h"

#include <QSettings>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class AppSettingsTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path file = folder / "tallyglow" / "tallyglow.conf";
    ScopedEnvironment locale{"LC_ALL", "en_US.UTF-8"};

    std::unique_ptr<AppSettings> open() {
        return AppSettingsTesting::make(std::make_shared<Defaults>(file));
    }

    // What the file holds, read as another program would.
    QStringList storedKeys() const {
        return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat).allKeys();
    }
    QString stored(const char* key) const {
        return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat)
            .value(key)
            .toString();
    }
    void store(const std::string& lines) { writeWholeFile(file, "[General]\n" + lines); }
};

TEST_F(AppSettingsTest, AnEmptyStoreGivesTheFallbacksAndStoresNothing) {
    const auto settings = open();
    EXPECT_EQ(settings->dailyPay(), 0.0);
    EXPECT_EQ(settings->startHour(), 9);
    EXPECT_EQ(settings->startMinute(), 0);
    EXPECT_EQ(settings->endHour(), 17);
    EXPECT_EQ(settings->endMinute(), 0);
    EXPECT_EQ(settings->currencySymbol(), "$");
    EXPECT_FALSE(settings->maskEarnings());
    EXPECT_TRUE(settings->maskWhileScreenSharing());
    EXPECT_EQ(settings->workDays(), "1234567");
    EXPECT_FALSE(settings->hasBreakStart());
    EXPECT_FALSE(fs::exists(file));
}

TEST(AppSettingsLocale, TheCurrencyFallbackFollowsTheUsersLocale) {
    const struct {
        const char* lcAll;
        const char* lang;
        const char* symbol;
    } cases[] = {
        {"de_DE.UTF-8", "", "€"},  {"de_CH.UTF-8", "", "CHF"},
        {"ja_JP.UTF-8", "", "￥"}, {"C", "de_DE.UTF-8", "$"},
        {"POSIX", "", "$"},        {"", "en_GB.UTF-8", "£"},
        {"", "C.UTF-8", "$"},      {"", "fr", "$"}, // a language alone has no currency
    };
    for (const auto& each : cases) {
        TemporaryFolder folder;
        ScopedEnvironment lcAll("LC_ALL", each.lcAll);
        ScopedEnvironment lcMonetary("LC_MONETARY", "");
        ScopedEnvironment lang("LANG", each.lang);
        const auto settings =
            AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
        EXPECT_EQ(settings->currencySymbol(), each.symbol) << each.lcAll << " " << each.lang;
    }
}

TEST_F(AppSettingsTest, AWeeklyPayIsConvertedOnceAndTheOldKeysAreRemoved) {
    const struct {
        const char* stored;
        double dailyPay;
        bool dailyPayStored;
    } cases[] = {
        {"weeklyPay=500\ndaysPerWeek=5\n", 100.0, true},
        {"weeklyPay=1000\ndaysPerWeek=3\n", 1000.0 / 3.0, true},
        {"weeklyPay=400\n", 400.0, true},
        {"weeklyPay=400\ndaysPerWeek=0\n", 400.0, true},
        {"weeklyPay=400\ndaysPerWeek=1\n", 400.0, true},
        {"weeklyPay=400\ndaysPerWeek=-2\n", 400.0, true},
        {"weeklyPay=0\ndaysPerWeek=5\n", 0.0, false},
        {"weeklyPay=-500\ndaysPerWeek=5\n", 0.0, false},
        {"weeklyPay=nan\ndaysPerWeek=5\n", 0.0, false},
        {"weeklyPay=inf\ndaysPerWeek=5\n", 0.0, false},
        {"daysPerWeek=5\nhoursPerDay=8\n", 0.0, false},
        {"dailyPay=0\nweeklyPay=500\ndaysPerWeek=5\n", 0.0, true},
        {"dailyPay=120\nweeklyPay=500\n", 120.0, true},
    };
    for (const auto& each : cases) {
        store(each.stored);
        const auto settings = open();
        EXPECT_EQ(settings->dailyPay(), each.dailyPay) << each.stored;
        QStringList expected;
        if (each.dailyPayStored) {
            expected << "dailyPay";
        }
        EXPECT_EQ(storedKeys(), expected) << each.stored;
        fs::remove(file);
    }
}

TEST_F(AppSettingsTest, AStoreWithOnlyHoursPerDayLosesJustThatKey) {
    store("hoursPerDay=8\nstartHour=7\n");
    const auto settings = open();
    EXPECT_EQ(storedKeys(), QStringList{"startHour"});
    EXPECT_EQ(settings->startHour(), 7);
}

TEST_F(AppSettingsTest, StoredValuesLoadUnchecked) {
    store("dailyPay=-50\nstartHour=25\nendMinute=-1\ncurrencySymbol=\n"
          "maskEarnings=true\nmaskWhileScreenSharing=false\nworkDays=x7 70\nbreakMinutes=-5\n"
          "breakStartMinute=30\npayPeriod=Hour\nhourlyPay=25\n");
    const auto settings = open();
    EXPECT_TRUE(settings->worksOn(7));
    EXPECT_FALSE(settings->worksOn(1)) << "only the digits 1 to 7 name days";
    EXPECT_TRUE(settings->hasBreakStart()) << "a minute alone sets the break's time";
    EXPECT_EQ(settings->payPeriod(), AppSettings::PayPeriod::day) << "only \"hour\" is per hour";
    EXPECT_EQ(settings->payInForce(), -50);
    EXPECT_EQ(settings->dailyPay(), -50);
    EXPECT_EQ(settings->startHour(), 25);
    EXPECT_EQ(settings->endMinute(), -1);
    EXPECT_EQ(settings->currencySymbol(), "") << "empty text is text, not a missing symbol";
    EXPECT_TRUE(settings->maskEarnings());
    EXPECT_FALSE(settings->maskWhileScreenSharing());
}

TEST_F(AppSettingsTest, EveryAssignmentIsStoredWithItsOwnTypeAndSurvivesARestart) {
    {
        const auto settings = open();
        settings->setDailyPay(1234.567);
        settings->setStartHour(25);
        settings->setStartMinute(-15);
        settings->setEndHour(18);
        settings->setEndMinute(45);
        settings->setCurrencySymbol("%@ CHF");
        settings->setMaskEarnings(true);
        settings->setMaskWhileScreenSharing(false);
        settings->setWorkDays("");
        settings->setBreakStartHour(23);
        settings->setPayPeriod(AppSettings::PayPeriod::hour);
        settings->setHourlyPay(31.5);
    }
    EXPECT_EQ(stored("dailyPay"), "1234.567");
    EXPECT_EQ(stored("payPeriod"), "hour");
    EXPECT_EQ(stored("startHour"), "25");
    EXPECT_EQ(stored("maskEarnings"), "true");
    const auto restarted = open();
    EXPECT_EQ(restarted->dailyPay(), 1234.567);
    EXPECT_EQ(restarted->startHour(), 25);
    EXPECT_EQ(restarted->startMinute(), -15);
    EXPECT_EQ(restarted->endHour(), 18);
    EXPECT_EQ(restarted->endMinute(), 45);
    EXPECT_EQ(restarted->currencySymbol(), "%@ CHF");
    EXPECT_TRUE(restarted->maskEarnings());
    EXPECT_FALSE(restarted->maskWhileScreenSharing());
    EXPECT_EQ(restarted->workDays(), "") << "empty is no work days, not the fallback";
    EXPECT_TRUE(restarted->hasBreakStart());
    EXPECT_EQ(restarted->payInForce(), 31.5);
    EXPECT_EQ(restarted->dailyPay(), 1234.567) << "the daily pay is kept as it was";
}

TEST_F(AppSettingsTest, TheSignalComesFirstWhileTheOldValueIsStillInPlace) {
    const auto settings = open();
    std::vector<std::pair<bool, QStringList>> seen;
    settings->objectWillChange.subscribe(
        [&] { seen.emplace_back(settings->maskEarnings(), storedKeys()); });

    settings->setMaskEarnings(true);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].first) << "a subscriber sees the old value";
    EXPECT_TRUE(seen[0].second.isEmpty()) << "nothing is written before the signal";
    EXPECT_TRUE(settings->maskEarnings());
    EXPECT_EQ(storedKeys(), QStringList{"maskEarnings"});
}

TEST_F(AppSettingsTest, AssigningTheSameValueStillSignalsAndWrites) {
    const auto settings = open();
    int signalCount = 0;
    settings->objectWillChange.subscribe([&] { ++signalCount; });
    settings->setMaskEarnings(false);
    ASSERT_TRUE(fs::exists(file));
    struct stat before {};
    ::stat(file.c_str(), &before);
    settings->setMaskEarnings(false);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(signalCount, 2);
    EXPECT_NE(before.st_ino, after.st_ino) << "the second assignment must save again";
}

TEST_F(AppSettingsTest, ReferencesReadAndAssignLikeTheProperties) {
    const auto settings = open();
    int signalCount = 0;
    settings->objectWillChange.subscribe([&] { ++signalCount; });
    auto pay = settings->dailyPayReference();
    auto symbol = settings->currencySymbolReference();
    auto minute = settings->endMinuteReference();
    auto automatic = settings->maskWhileScreenSharingReference();
    pay.set(310.5);
    symbol.set("");
    minute.set(30);
    automatic.set(false);
    EXPECT_EQ(signalCount, 4);
    EXPECT_EQ(pay.get(), 310.5);
    EXPECT_EQ(symbol.get(), "");
    EXPECT_EQ(minute.get(), 30);
    EXPECT_FALSE(automatic.get());
    const auto restarted = open();
    EXPECT_EQ(restarted->dailyPay(), 310.5);
    EXPECT_EQ(restarted->currencySymbol(), "");
    EXPECT_EQ(restarted->endMinute(), 30);
    EXPECT_FALSE(restarted->maskWhileScreenSharing());
}

TEST_F(AppSettingsTest, OddStoredNumbersLoadWithoutHarm) {
    store("dailyPay=inf\nstartHour=1e308\nstartMinute=nan\nendHour=99999999999999999999\n"
          "currencySymbol=\xff\xfe\n");
    const auto settings = open();
    EXPECT_EQ(settings->dailyPay(), 0) << "an infinite pay is not set";
    store("dailyPay=-inf\n");
    EXPECT_EQ(open()->dailyPay(), 0);
    store("hourlyPay=inf\nbreakMinutes=half an hour\n");
    EXPECT_EQ(open()->hourlyPay(), 0);
    EXPECT_EQ(open()->breakMinutes(), 0);
    EXPECT_EQ(settings->startHour(), 9) << "unreadable as an integer: the fallback";
    EXPECT_EQ(settings->startMinute(), 0);
    EXPECT_EQ(settings->endHour(), 17);
    EXPECT_FALSE(settings->currencySymbol().empty());
}

TEST(AppSettingsShared, IsCreatedOnceOverTheUsersPreferencesFile) {
    TemporaryFolder folder;
    ScopedEnvironment configHome("XDG_CONFIG_HOME", folder.path().string());
    AppSettings& first = AppSettings::shared();
    EXPECT_EQ(&first, &AppSettings::shared());
    first.setStartHour(8);
    EXPECT_EQ(Defaults(folder / "tallyglow" / "tallyglow.conf").integerForKey("startHour"), 8);
}

} // namespace
