// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegateTesting.h"
#include "EarningsCalculator.h"
#include "RecordingStatusItem.h"
#include "ScriptedScreenCast.h"
#include "TestSupport.h"
#include "TitleText.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

// The detector looks for its plug-in beside the running program; beside this
// test program lies the scripted one.
class AppDelegateTitleTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::unique_ptr<AppSettings> settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
    std::unique_ptr<AppDelegate> delegate = AppDelegateTesting::make(*settings);
    RecordingStatusItem* item = nullptr;
    ScriptedScreenCast screenCasts{SCRIPTED_SCREEN_CAST};
    // A PipeWire daemon's socket, without which the detector loads no plug-in.
    ScopedEnvironment runtime{"XDG_RUNTIME_DIR", folder.path().string()};
    ScopedEnvironment noOtherRuntime{"PIPEWIRE_RUNTIME_DIR", ""};

    void SetUp() override {
        writeWholeFile(folder / "pipewire-0", "");
        ASSERT_EQ(std::filesystem::path(SCRIPTED_SCREEN_CAST).parent_path(),
                  std::filesystem::read_symlink("/proc/self/exe").parent_path());
        auto recording = std::make_unique<RecordingStatusItem>();
        item = recording.get();
        AppDelegateTesting::setStatusItem(*delegate, std::move(recording));
        settings->setDailyPay(100);
        settings->setCurrencySymbol("$");
        // Without work days nothing is earned at any hour.
        settings->setWorkDays("");
    }

    std::string refreshedTitle() {
        AppDelegateTesting::refresh(*delegate);
        return item->titles().back();
    }
};

TEST_F(AppDelegateTitleTest, RefreshShowsTheCalculatedAmountAfterTheSymbol) {
    settings->setMaskWhileScreenSharing(false);
    EXPECT_EQ(refreshedTitle(), "$0.00");
    settings->setCurrencySymbol("CHF");
    EXPECT_EQ(refreshedTitle(), "CHF0.00");
    settings->setMaskEarnings(true);
    EXPECT_EQ(refreshedTitle(), "CHF•.••");

    // A day that spans the whole day: the amount grows with the clock.
    settings->setMaskEarnings(false);
    settings->setCurrencySymbol("$");
    settings->setDailyPay(86400);
    settings->setWorkDays("1234567");
    settings->setStartHour(0);
    settings->setStartMinute(0);
    settings->setEndHour(23);
    settings->setEndMinute(59);
    const double before =
        EarningsCalculator::earnedToday(*settings, Instant::now(), Calendar::current());
    const std::string title = refreshedTitle();
    const double after =
        EarningsCalculator::earnedToday(*settings, Instant::now(), Calendar::current());
    ASSERT_EQ(title.substr(0, 1), "$");
    const double shown = std::stod(title.substr(1));
    EXPECT_GE(shown, std::round(before * 100) / 100 - 0.005) << title;
    EXPECT_LE(shown, std::round(after * 100) / 100 + 0.005) << title;
    EXPECT_EQ(title, TitleText::format("$", shown));
}

TEST_F(AppDelegateTitleTest, RefreshSetsTheTitleEvenWhenItIsUnchanged) {
    settings->setMaskWhileScreenSharing(false);
    AppDelegateTesting::refresh(*delegate);
    AppDelegateTesting::refresh(*delegate);
    EXPECT_EQ(item->titles(), (std::vector<std::string>{"$0.00", "$0.00"}));
}

TEST_F(AppDelegateTitleTest, AnItemWithoutAButtonIsLeftAlone) {
    auto buttonless = std::make_unique<RecordingStatusItem>(false);
    const RecordingStatusItem& shown = *buttonless;
    AppDelegateTesting::setStatusItem(*delegate, std::move(buttonless));
    screenCasts.setAnswer(true);
    const int queries = screenCasts.queryCount();
    AppDelegateTesting::refresh(*delegate);
    EXPECT_TRUE(shown.titles().empty());
    EXPECT_EQ(screenCasts.queryCount(), queries); // nothing was computed
}

TEST_F(AppDelegateTitleTest, MaskingFollowsTheSwitchesAndAsksTheDetectorOnlyWhenItMatters) {
    const struct {
        bool maskEarnings, maskWhileScreenSharing, screenWatched;
        bool masked, consulted;
    } rows[] = {
        {true, false, false, true, false},   {true, true, true, true, false},
        {true, true, false, true, false},    {false, false, true, false, false},
        {false, false, false, false, false}, {false, true, false, false, true},
        {false, true, true, true, true},
    };
    for (const auto& row : rows) {
        settings->setMaskEarnings(row.maskEarnings);
        settings->setMaskWhileScreenSharing(row.maskWhileScreenSharing);
        screenCasts.setAnswer(row.screenWatched);
        const std::string label = std::to_string(row.maskEarnings) +
                                  std::to_string(row.maskWhileScreenSharing) +
                                  std::to_string(row.screenWatched);

        int queries = screenCasts.queryCount();
        EXPECT_EQ(AppDelegateTesting::isMasked(*delegate), row.masked) << label;
        EXPECT_EQ(screenCasts.queryCount() - queries, row.consulted ? 1 : 0) << label;

        queries = screenCasts.queryCount();
        EXPECT_EQ(refreshedTitle(), row.masked ? "$•.••" : "$0.00") << label;
        EXPECT_EQ(screenCasts.queryCount() - queries, row.consulted ? 1 : 0) << label;
    }
}

TEST_F(AppDelegateTitleTest, AutomaticMaskingFollowsEachAnswerOfTheDetector) {
    settings->setMaskEarnings(false);
    settings->setMaskWhileScreenSharing(true);
    std::vector<std::string> expected;
    for (const bool watched : {true, false, false, true, false}) {
        screenCasts.setAnswer(watched);
        AppDelegateTesting::refresh(*delegate);
        expected.push_back(watched ? "$•.••" : "$0.00");
    }
    EXPECT_EQ(item->titles(), expected);
}

} // namespace
