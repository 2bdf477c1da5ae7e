// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks, the menu and the settings window, on a status item of the tests' own.

#include "AppDelegateTesting.h"
#include "ClockChanges.h"
#include "RecordingStatusItem.h"
#include "ScriptedScreenCast.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class AppDelegateMenuTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::unique_ptr<AppSettings> settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
    std::shared_ptr<AppDelegate> delegate = AppDelegateTesting::makeShared(*settings);
    RecordingStatusItem* item = nullptr;
    // A PipeWire daemon's socket, without which the detector loads no plug-in.
    ScopedEnvironment runtime{"XDG_RUNTIME_DIR", folder.path().string()};
    ScopedEnvironment noOtherRuntime{"PIPEWIRE_RUNTIME_DIR", ""};

    void SetUp() override {
        writeWholeFile(folder / "pipewire-0", "");
        auto recording = std::make_unique<RecordingStatusItem>();
        item = recording.get();
        AppDelegateTesting::setStatusItem(*delegate, std::move(recording));
        settings->setCurrencySymbol("$");
        settings->setDailyPay(100);
        settings->setMaskWhileScreenSharing(false);
        AppDelegateTesting::wireClicksAndBuildMenu(*delegate);
    }

    StatusMenu& menu() { return *AppDelegateTesting::menu(*delegate); }
    QAction& action(const char* text) {
        for (QAction* each : menu().actions()) {
            if (each->text() == QString::fromUtf8(text)) {
                return *each;
            }
        }
        throw std::runtime_error(text);
    }
};

TEST_F(AppDelegateMenuTest, TheMenuHoldsMaskSettingsAndQuitAndIsTheItemsMenu) {
    const QList<QAction*> items = menu().actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), "Mask");
    EXPECT_TRUE(items[0]->isCheckable());
    EXPECT_EQ(items[0], AppDelegateTesting::maskMenuItem(*delegate));
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("Settings\u2026"));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), "Quit Tallyglow");
    EXPECT_EQ(items[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (int plain : {0, 1}) {
        EXPECT_TRUE(items[plain]->shortcut().isEmpty());
    }
    EXPECT_EQ(item->itemMenu, &menu());
}

TEST_F(AppDelegateMenuTest, APlainClickShowsTheMenuWhereverItCameFrom) {
    EXPECT_EQ(item->recordingButton()->action(), ClickAnswer::showMenu);
    EXPECT_FALSE(settings->maskEarnings());
}

TEST_F(AppDelegateMenuTest, TheCheckMarkFollowsManualMaskingAtEachOpening) {
    // The scripted plug-in beside this program stands in for a screen cast.
    const ScriptedScreenCast screenCasts(
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tallyglow-screen-cast.so");
    const struct {
        bool manual;
        bool screenCast;
        bool titleMasked;
    } cases[] = {
        {true, false, true},
        {false, false, false},
        {true, true, true},
        // Masked only because of the cast: the hand-set switch is off, and so is its mark.
        {false, true, true},
    };
    settings->setMaskWhileScreenSharing(true);
    for (const auto& each : cases) {
        SCOPED_TRACE(std::to_string(each.manual) + " " + std::to_string(each.screenCast));
        screenCasts.setAnswer(each.screenCast);
        settings->setMaskEarnings(each.manual);
        AppDelegateTesting::refresh(*delegate);
        EXPECT_EQ(AppDelegateTesting::isMasked(*delegate), each.titleMasked);
        item->menuWillOpen();
        EXPECT_EQ(AppDelegateTesting::maskMenuItem(*delegate)->isChecked(), each.manual);
    }
    screenCasts.setAnswer(false);
}

TEST_F(AppDelegateMenuTest, MaskAndAMiddleClickFlipTheMaskingAndShowItAtOnce) {
    const auto titles = [&] {
        return item->titles();
    };
    action("Mask").trigger();
    EXPECT_TRUE(settings->maskEarnings());
    ASSERT_FALSE(titles().empty());
    EXPECT_EQ(titles().back().find_first_of("0123456789"), std::string::npos) << titles().back();

    item->recordingButton()->secondaryAction();
    EXPECT_FALSE(settings->maskEarnings());
    EXPECT_NE(titles().back().find_first_of("0123456789"), std::string::npos) << titles().back();
    EXPECT_FALSE(menu().menu()->isVisible()) << "a middle click shows no menu";
}

TEST_F(AppDelegateMenuTest, SettingsOpensOneWindowAndReusesItWhereItWas) {
    EXPECT_EQ(AppDelegateTesting::settingsWindow(*delegate), nullptr);
    action("Settings\u2026").trigger();
    QWidget* window = AppDelegateTesting::settingsWindow(*delegate);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tallyglow Settings");
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";

    window->move(window->pos() + QPoint(40, 30));
    const QPoint movedTo = window->pos();
    // A pay typed and left without Return is kept when the window closes.
    auto* payField = window->findChild<QLineEdit*>("amountField");
    ASSERT_NE(payField, nullptr);
    QTest::keyClick(payField, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(payField, "42");
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings->dailyPay(), 42);
    settings->setDailyPay(321);

    AppDelegateTesting::openSettings(*delegate);
    EXPECT_EQ(AppDelegateTesting::settingsWindow(*delegate), window) << "the same window";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), movedTo) << "not centred again";
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().width() > 0);
}

// The language is chosen at start from the locale, as gettext chooses it.
TEST(AppDelegateLanguage, TheMenuAndTheSettingsWindowSpeakTheUsersLanguage) {
    const struct {
        const char *lcAll, *lcMessages, *lang, *language; // LC_ALL ... LANGUAGE
        const char *mask, *title;
        const char* quit; // the shortcut, in Qt's own words
    } cases[] = {
        {"", "", "de_DE.UTF-8", "", "Ausblenden", "Tallyglow-Einstellungen", "Strg+Q"},
        {"", "", "de_AT.UTF-8", "", "Ausblenden", "Tallyglow-Einstellungen", "Strg+Q"},
        {"", "ja_JP.UTF-8", "fr_FR.UTF-8", "", "隠す", "Tallyglow の設定", "Ctrl+Q"},
        {"pt_BR.UTF-8", "de_DE.UTF-8", "", "", "Ocultar", "Configurações do Tallyglow", "Ctrl+Q"},
        // LANGUAGE's first language with a translation; English asked for is English.
        {"", "", "de_DE.UTF-8", "sv:nl_BE:de", "Verbergen", "Tallyglow-instellingen", "Ctrl+Q"},
        {"", "", "de_DE.UTF-8", "en_GB:de", "Mask", "Tallyglow Settings", "Ctrl+Q"},
        // LANGUAGE counts for nothing in the C locale, and nothing set is C.
        {"C.UTF-8", "", "de_DE.UTF-8", "de", "Mask", "Tallyglow Settings", "Ctrl+Q"},
        {"", "", "", "de", "Mask", "Tallyglow Settings", "Ctrl+Q"},
        // No translation: European Portuguese is not Brazilian, Swedish is not there.
        {"", "", "pt_PT.UTF-8", "", "Mask", "Tallyglow Settings", "Ctrl+Q"},
        {"sv_SE.UTF-8", "", "", "", "Mask", "Tallyglow Settings", "Ctrl+Q"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(std::string(each.lcAll) + "|" + each.lcMessages + "|" + each.lang + "|" +
                     each.language);
        const ScopedEnvironment lcAll("LC_ALL", each.lcAll);
        const ScopedEnvironment lcMessages("LC_MESSAGES", each.lcMessages);
        const ScopedEnvironment lang("LANG", each.lang);
        const ScopedEnvironment language("LANGUAGE", each.language);
        Translations::useUserLanguage();

        TemporaryFolder folder;
        const auto settings =
            AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
        const auto delegate = AppDelegateTesting::makeShared(*settings);
        AppDelegateTesting::setStatusItem(*delegate, std::make_unique<RecordingStatusItem>());
        AppDelegateTesting::wireClicksAndBuildMenu(*delegate);
        AppDelegateTesting::openSettings(*delegate);
        const QList<QAction*> items = AppDelegateTesting::menu(*delegate)->actions();
        EXPECT_EQ(items[0]->text().toStdString(), each.mask);
        EXPECT_EQ(items[3]->shortcut().toString(QKeySequence::NativeText).toStdString(), each.quit);
        QWidget* window = AppDelegateTesting::settingsWindow(*delegate);
        EXPECT_EQ(window->windowTitle().toStdString(), each.title);
        window->close();
    }
    // The other tests read the texts as written.
    const ScopedEnvironment english("LC_ALL", "C");
    EXPECT_EQ(Translations::useUserLanguage(), QString());
}

TEST(AppDelegateFirstRun, OpensTheSettingsOnlyWithoutAPositivePay) {
    const struct {
        const char* stored;
        bool opens;
    } cases[] = {{"", true},
                 {"dailyPay=0\n", true},
                 {"dailyPay=-5\n", true},
                 {"dailyPay=0.01\n", false},
                 {"dailyPay=nan\n", false}};
    for (const auto& each : cases) {
        TemporaryFolder folder;
        writeWholeFile(folder / "tallyglow.conf", std::string("[General]\n") + each.stored);
        const auto settings =
            AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
        const auto delegate = AppDelegateTesting::makeShared(*settings);
        AppDelegateTesting::openSettingsOnFirstRun(*delegate);
        EXPECT_EQ(AppDelegateTesting::settingsWindow(*delegate) != nullptr, each.opens)
            << each.stored;
    }
}

// The title sleeps until its figure can change: never sooner than half a
// second, never longer than a minute (or than midnight, where it drops to 0).
TEST_F(AppDelegateMenuTest, TheTitleSleepsUntilItsFigureCanChange) {
    const ScriptedScreenCast screenCasts(
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tallyglow-screen-cast.so");
    const Instant now = Instant::now();
    const auto midnight = Calendar::current().dateBySettingTime(24, 0, 0, now);
    if (midnight && midnight->timeIntervalSince(now) < 70) {
        GTEST_SKIP() << "too close to midnight";
    }
    const struct {
        double pay;
        bool screenCast;
        int wait;
    } rows[] = {
        {0, false, 60000},  // nothing earned today: once a minute
        {1e9, false, 500},  // a cent every few microseconds: twice a second
        {0, true, 500},     // masked by a cast, which may stop counting without a word
        {-1, false, 60000}, // and again once the cast is gone
    };
    settings->setStartHour(0);
    settings->setEndHour(0);
    settings->setMaskWhileScreenSharing(true);
    AppDelegateTesting::startRefreshing(*delegate);
    for (const auto& row : rows) {
        settings->setDailyPay(row.pay);
        screenCasts.setAnswer(row.screenCast);
        AppDelegateTesting::refresh(*delegate);
        EXPECT_EQ(AppDelegateTesting::refreshWait(*delegate), row.wait) << row.pay;
    }
}

// A new time zone, or the clock set, refreshes the title at once.
TEST(ClockChangesTest, TellOfANewTimeZoneAndOfTheClockBeingSet) {
    namespace fs = std::filesystem;
    TemporaryFolder folder;
    const fs::path zoneFile = folder / "localtime";
    fs::create_symlink("/usr/share/zoneinfo/Europe/Berlin", zoneFile);
    Calendar::setHostZoneFile(zoneFile);
    struct RestoreZoneFile {
        ~RestoreZoneFile() { Calendar::setHostZoneFile("/etc/localtime"); }
    } restore;
    ScopedEnvironment tz("TZ", "");
    ::unsetenv("TZ");
    ASSERT_EQ(Calendar::current().timeZoneId(), "Europe/Berlin");

    int changes = 0;
    const ClockChanges clockChanges([&changes] { ++changes; });
    fs::create_symlink("/usr/share/zoneinfo/Asia/Tokyo", folder / "localtime.new");
    fs::rename(folder / "localtime.new", zoneFile);
    EXPECT_TRUE(QTest::qWaitFor([&changes] { return changes > 0; }, 2000));
    EXPECT_EQ(Calendar::current().timeZoneId(), "Asia/Tokyo");

    // Setting the clock to what it reads moves it by microseconds, and needs root.
    timespec clock{};
    ::clock_gettime(CLOCK_REALTIME, &clock);
    if (::clock_settime(CLOCK_REALTIME, &clock) != 0) {
        GTEST_SKIP() << "the clock cannot be set here";
    }
    const int before = changes;
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes > before; }, 2000));
}

} // namespace
