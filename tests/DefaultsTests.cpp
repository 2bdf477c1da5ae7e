// SPDX-License-Identifier: GPL-3.0-or-later
#include "Defaults.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

class DefaultsTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path file = folder / "tallyglow" / "tallyglow.conf";
};

TEST_F(DefaultsTest, ValuesSurviveAReopenWithTheirTypes) {
    const double oneThird = 1000.0 / 3.0;
    {
        Defaults defaults(file);
        defaults.setDouble(oneThird, "third");
        defaults.setDouble(1e308, "huge");
        defaults.setDouble(-0.01, "negative");
        defaults.setDouble(std::numeric_limits<double>::infinity(), "infinite");
        defaults.setInteger(25, "hour");
        defaults.setInteger(std::numeric_limits<std::int64_t>::min(), "smallest");
        defaults.setBool(true, "yes");
        defaults.setBool(false, "no");
    }
    Defaults reopened(file);
    EXPECT_EQ(reopened.doubleForKey("third"), oneThird); // exact, not rounded
    EXPECT_EQ(reopened.doubleForKey("huge"), 1e308);
    EXPECT_EQ(reopened.doubleForKey("negative"), -0.01);
    EXPECT_EQ(reopened.doubleForKey("infinite"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(reopened.integerForKey("hour"), 25);
    EXPECT_EQ(reopened.integerForKey("smallest"), std::numeric_limits<std::int64_t>::min());
    EXPECT_TRUE(reopened.boolForKey("yes"));
    EXPECT_FALSE(reopened.boolForKey("no"));
    EXPECT_TRUE(reopened.hasObject("no"));
}

TEST_F(DefaultsTest, TextSurvivesAReopenExactly) {
    const std::vector<std::string> texts = {"",
                                            "$",
                                            "€",
                                            "CHF",
                                            "%n%@%s",
                                            "@Variant(x)",
                                            "a, b",
                                            "=;#[General]\\\"'",
                                            "  padded  ",
                                            "line\nbreak",
                                            "٣ ³ ½ Ⅻ 1️⃣"};
    for (const auto& text : texts) {
        Defaults(file).setString(text, "currencySymbol");
        EXPECT_EQ(Defaults(file).stringForKey("currencySymbol"), text) << text;
    }
}

TEST_F(DefaultsTest, MissingKeysReadAsZeroAndFallbacksAreNeverStored) {
    Defaults defaults(file);
    EXPECT_FALSE(defaults.hasObject("startHour"));
    EXPECT_EQ(defaults.doubleForKey("dailyPay"), 0.0);
    EXPECT_EQ(defaults.integerForKey("startHour"), 0);
    EXPECT_FALSE(defaults.boolForKey("maskEarnings"));
    EXPECT_EQ(defaults.stringForKey("currencySymbol"), std::nullopt);

    defaults.registerDefaults({{"startHour", std::int64_t{9}}, {"currencySymbol", "€"}});
    EXPECT_TRUE(defaults.hasObject("startHour"));
    EXPECT_EQ(defaults.integerForKey("startHour"), 9);
    EXPECT_EQ(defaults.stringForKey("currencySymbol"), "€");
    EXPECT_FALSE(fs::exists(file)) << "reads and fallbacks must not create the file";

    defaults.setInteger(7, "startHour");
    EXPECT_EQ(defaults.integerForKey("startHour"), 7);
    Defaults reopened(file);
    EXPECT_EQ(reopened.integerForKey("startHour"), 7);
    EXPECT_FALSE(reopened.hasObject("currencySymbol"));
}

TEST_F(DefaultsTest, RemovalForgetsTheKeyAndLeavesTheOthers) {
    Defaults defaults(file);
    defaults.setDouble(500, "weeklyPay");
    defaults.setInteger(5, "daysPerWeek");
    defaults.removeObject("weeklyPay");
    defaults.removeObject("neverStored");
    EXPECT_FALSE(defaults.hasObject("weeklyPay"));
    Defaults reopened(file);
    EXPECT_FALSE(reopened.hasObject("weeklyPay"));
    EXPECT_EQ(reopened.integerForKey("daysPerWeek"), 5);
}

TEST_F(DefaultsTest, TheFileAndItsFolderArePrivate) {
    ::umask(022);
    // The folder as it was before the first save; 0 for none.
    for (const mode_t earlierMode : {0u, 0755u, 0777u, 0750u, 0700u, 0500u}) {
        fs::remove_all(file.parent_path());
        ::chmod(folder.path().c_str(), 0755);
        if (earlierMode != 0) {
            fs::create_directories(file.parent_path());
            ::chmod(file.parent_path().c_str(), earlierMode);
        }
        Defaults defaults(file);
        defaults.setDouble(200, "dailyPay");
        EXPECT_EQ(modeOf(file), 0600u) << std::oct << earlierMode;
        // A folder the user made read-only stays so; root writes into it anyway.
        EXPECT_EQ(modeOf(file.parent_path()), earlierMode == 0500u ? 0500u : 0700u)
            << std::oct << earlierMode;
        EXPECT_EQ(modeOf(folder.path()), 0755u) << "the folder above is the user's";
        defaults.setDouble(300, "dailyPay");
        EXPECT_EQ(modeOf(file), 0600u) << "every save must keep the file private";
    }
}

TEST_F(DefaultsTest, ValuesOfAnotherTypeAreConvertedOrReadAsNotStored) {
    writeWholeFile(file, "[General]\n"
                         "dailyPay=lots\n"
                         "startHour=nine\n"
                         "endHour=17.75\n"
                         "startMinute=1e300\n"
                         "maskEarnings=maybe\n"
                         "maskWhileScreenSharing=0\n"
                         "currencySymbol=a, b\n"
                         "nan=nan\n"
                         "payInBytes=@ByteArray(1000)\n"
                         "hourAsFlag=true\n"
                         "hourWithZeros=010\n"
                         "hourInHex=0x10\n"
                         "maskAsWord=YES\n"
                         "maskAsOff=off\n"
                         "maskAsNumber=2\n");
    Defaults defaults(file);
    defaults.registerDefaults({{"dailyPay", 1.5},
                               {"startHour", std::int64_t{9}},
                               {"startMinute", std::int64_t{0}},
                               {"maskEarnings", true},
                               {"currencySymbol", "$"}});
    EXPECT_EQ(defaults.doubleForKey("dailyPay"), 1.5);
    EXPECT_EQ(defaults.integerForKey("startHour"), 9);
    EXPECT_EQ(defaults.integerForKey("endHour"), 17) << "a fraction counts by its whole part";
    EXPECT_EQ(defaults.integerForKey("startMinute"), 0) << "too large for an integer";
    EXPECT_TRUE(defaults.boolForKey("maskEarnings"));
    EXPECT_FALSE(defaults.boolForKey("maskWhileScreenSharing"));
    EXPECT_EQ(defaults.stringForKey("currencySymbol"), "$") << "a list is not text";
    EXPECT_TRUE(std::isnan(defaults.doubleForKey("nan")));
    EXPECT_EQ(defaults.integerForKey("nan"), 0);
    // The conversions the README lists.
    EXPECT_EQ(defaults.doubleForKey("payInBytes"), 1000);
    EXPECT_EQ(defaults.integerForKey("hourAsFlag"), 1);
    EXPECT_EQ(defaults.integerForKey("hourWithZeros"), 10);
    defaults.registerDefaults({{"hourInHex", std::int64_t{9}}, {"maskAsOff", true}});
    EXPECT_EQ(defaults.integerForKey("hourInHex"), 9);
    EXPECT_TRUE(defaults.boolForKey("maskAsWord"));
    EXPECT_TRUE(defaults.boolForKey("maskAsOff")) << "off is not a yes/no word: the fallback";
    EXPECT_TRUE(defaults.boolForKey("maskAsNumber"));
}

TEST_F(DefaultsTest, InvalidUtf8ReadsAsText) {
    writeWholeFile(file, "[General]\ncurrencySymbol=\xff\xfe$\xc3\n");
    const auto symbol = Defaults(file).stringForKey("currencySymbol");
    ASSERT_TRUE(symbol.has_value());
    EXPECT_NE(symbol->find('$'), std::string::npos);
    EXPECT_EQ(QString::fromStdString(*symbol).toStdString(), *symbol) << "must be valid UTF-8";
}

struct BadFile {
    const char* name;
    std::string contents;
    // Files set aside before, by suffix; each must survive.
    std::vector<std::string> earlierSetAside = {};
    const char* setAsideAs = ".bad";
};

// Test names show the row's name rather than its bytes.
void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

class UnreadableFileTest : public DefaultsTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(UnreadableFileTest, ReadsAsEmptyIsNeverRewrittenByReadsAndIsSetAsideOnSave) {
    const std::string original = GetParam().contents;
    writeWholeFile(file, original);
    for (const auto& suffix : GetParam().earlierSetAside) {
        writeWholeFile(file.string() + suffix, "earlier" + suffix);
    }
    {
        Defaults defaults(file);
        EXPECT_FALSE(defaults.hasObject("dailyPay"));
        EXPECT_EQ(defaults.doubleForKey("dailyPay"), 0.0);
        EXPECT_EQ(readWholeFile(file), original) << "a read must never touch the file";

        defaults.setBool(true, "maskEarnings");
        EXPECT_TRUE(defaults.lastSaveSucceeded());
    }
    EXPECT_EQ(readWholeFile(fs::path(file.string() + GetParam().setAsideAs)), original);
    for (const auto& suffix : GetParam().earlierSetAside) {
        EXPECT_EQ(readWholeFile(file.string() + suffix), "earlier" + suffix);
    }
    QSettings saved(QString::fromStdString(file.string()), QSettings::IniFormat);
    EXPECT_EQ(saved.status(), QSettings::NoError);
    EXPECT_EQ(saved.allKeys(), QStringList{"maskEarnings"}) << "nothing of the bad file comes back";
    EXPECT_TRUE(Defaults(file).boolForKey("maskEarnings"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableFileTest,
    ::testing::Values(BadFile{"binary", "\x7f"
                                        "ELF\0\x01\x02\n[General]\ndailyPay=9\n\xff"s},
                      BadFile{"brokenSyntax", "[General\ndailyPay=200\n\"unterminated=\n"},
                      BadFile{"huge", "[General]\ndailyPay=200\n" + std::string(3 << 20, '#')},
                      BadFile{"secondBadFile", "\x01\x02\0"s, {".bad"}, ".bad.1"},
                      BadFile{
                          "fourthBadFile", "[General\n", {".bad", ".bad.1", ".bad.2"}, ".bad.3"},
                      BadFile{"aGapIsFilled", "[General\n", {".bad", ".bad.2"}, ".bad.1"}),
    [](const auto& info) { return std::string(info.param.name); });

// Edited by hand into something unreadable while the program runs: the next
// change sets it aside and writes every setting held, not only itself.
TEST_F(DefaultsTest, AFileThatTurnsBadWhileOpenIsReplacedByEverySettingHeld) {
    writeWholeFile(file, "[General]\ndailyPay=250\nstartHour=8\ncurrencySymbol=\"a, b\"\n");
    Defaults defaults(file);
    defaults.setInteger(30, "startMinute");
    writeWholeFile(file, "[General\n\x01");
    defaults.setBool(true, "maskEarnings");
    EXPECT_EQ(readWholeFile(file.string() + ".bad"), "[General\n\x01");
    Defaults reopened(file);
    EXPECT_EQ(reopened.doubleForKey("dailyPay"), 250);
    EXPECT_EQ(reopened.integerForKey("startHour"), 8);
    EXPECT_EQ(reopened.integerForKey("startMinute"), 30);
    EXPECT_EQ(reopened.stringForKey("currencySymbol"), "a, b");
    EXPECT_TRUE(reopened.boolForKey("maskEarnings"));
}

// A storm of changes in one pass of the event loop is one save, made as the pass ends.
TEST_F(DefaultsTest, ChangesMadeInOnePassOfTheEventLoopAreSavedTogether) {
    int argc = 1;
    char name[] = "tallyglow-tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    Defaults defaults(file);
    bool writtenDuringThePass = true;
    bool writtenAfterThePass = false;
    QTimer::singleShot(0, &application, [&] {
        for (int toggle = 0; toggle <= 2000; ++toggle) {
            defaults.setBool(toggle % 2 == 0, "maskEarnings");
        }
        writtenDuringThePass = fs::exists(file);
        // Timers due later than the end of the pass.
        QTimer::singleShot(1, &application, [&] {
            writtenAfterThePass = Defaults(file).boolForKey("maskEarnings");
            QCoreApplication::quit();
        });
    });
    QCoreApplication::exec();
    EXPECT_FALSE(writtenDuringThePass);
    EXPECT_TRUE(writtenAfterThePass);
}

TEST_F(DefaultsTest, AFolderInPlaceOfTheFileIsLeftAlone) {
    fs::create_directories(file);
    Defaults defaults(file);
    EXPECT_FALSE(defaults.hasObject("dailyPay"));
    defaults.setDouble(100, "dailyPay");
    EXPECT_EQ(defaults.doubleForKey("dailyPay"), 100);
    EXPECT_TRUE(fs::is_directory(file.string() + ".bad"));
    EXPECT_EQ(Defaults(file).doubleForKey("dailyPay"), 100);
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class FailedSaveTest : public DefaultsTest {
protected:
    // A file where a folder should be: nothing can be saved below it, not even by root.
    fs::path blocked = folder / "blocked";
    fs::path blockedFile = blocked / "tallyglow" / "tallyglow.conf";
    void block() {
        fs::remove_all(blocked);
        writeWholeFile(blocked, "not a folder");
    }
    void unblock() { fs::remove(blocked); }
};

TEST_F(FailedSaveTest, KeepsTheValueInMemoryAndTheNextChangeWritesIt) {
    block();
    ::testing::internal::CaptureStderr();
    Defaults defaults(blockedFile);
    defaults.setDouble(250, "dailyPay");
    defaults.setBool(true, "maskEarnings");
    defaults.removeObject("maskEarnings");
    defaults.setBool(true, "maskEarnings");
    EXPECT_FALSE(defaults.lastSaveSucceeded());
    EXPECT_EQ(defaults.doubleForKey("dailyPay"), 250);
    EXPECT_EQ(readWholeFile(blocked), "not a folder");
    const std::string failure = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lineCount(failure), 1u) << failure;
    EXPECT_NE(failure.find(blockedFile.string()), std::string::npos) << failure;

    unblock();
    ::testing::internal::CaptureStderr();
    defaults.setInteger(8, "startHour");
    EXPECT_TRUE(defaults.lastSaveSucceeded());
    const std::string recovery = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lineCount(recovery), 1u) << recovery;
    Defaults reopened(blockedFile);
    EXPECT_EQ(reopened.doubleForKey("dailyPay"), 250) << "the change that failed is written too";
    EXPECT_TRUE(reopened.boolForKey("maskEarnings"));
    EXPECT_EQ(reopened.integerForKey("startHour"), 8);
    EXPECT_EQ(modeOf(blockedFile), 0600u);
}

TEST_F(FailedSaveTest, IsRetriedWithoutAnotherChangeWhileTheEventLoopRuns) {
    int argc = 1;
    char name[] = "tallyglow-tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const auto runEventLoopUntil = [](auto done, std::chrono::milliseconds longest) {
        const auto end = std::chrono::steady_clock::now() + longest;
        while (!done() && std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };

    block();
    ::testing::internal::CaptureStderr();
    Defaults defaults(blockedFile);
    defaults.setBool(true, "maskEarnings");
    // The first retry, a second later, fails as well and says nothing more.
    runEventLoopUntil([] { return false; }, std::chrono::milliseconds(1500));
    EXPECT_FALSE(defaults.lastSaveSucceeded());
    unblock();
    runEventLoopUntil([&] { return defaults.lastSaveSucceeded(); }, std::chrono::seconds(10));
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(defaults.lastSaveSucceeded());
    EXPECT_EQ(lineCount(output), 2u) << "one line for the failure, one for the recovery:\n"
                                     << output;
    EXPECT_TRUE(Defaults(blockedFile).boolForKey("maskEarnings"));

    // A change still waiting when the program quits gets one last try.
    block();
    defaults.setDouble(300, "dailyPay");
    unblock();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    QCoreApplication::exec();
    EXPECT_EQ(Defaults(blockedFile).doubleForKey("dailyPay"), 300);
}

TEST_F(DefaultsTest, AnotherProgramsWritesAreMergedNotLost) {
    Defaults mine(file);
    Defaults theirs(file);
    mine.setDouble(200, "dailyPay");
    theirs.setInteger(8, "startHour");
    Defaults reopened(file);
    EXPECT_EQ(reopened.doubleForKey("dailyPay"), 200);
    EXPECT_EQ(reopened.integerForKey("startHour"), 8);
}

// The writer writes three keys per round, each save on its own; a kill at any
// moment must leave the file as it was after some whole save.
TEST_F(DefaultsTest, AKillDuringABurstOfWritesLeavesAWholeFile) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20'000);
    for (int attempt = 0; attempt < 25; ++attempt) {
        fs::remove(file);
        int rounds[2];
        ASSERT_EQ(::pipe(rounds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(rounds[1], STDOUT_FILENO);
            ::close(rounds[0]);
            ::execl(PREFERENCES_WRITER, PREFERENCES_WRITER, file.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(rounds[1]);
        // Once it has written a first round, kill it at some moment of the burst.
        char firstLine[16] = {};
        ASSERT_GT(::read(rounds[0], firstLine, sizeof firstLine), 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(rounds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";
        // A real restart after a crash comes later than this.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));

        ASSERT_TRUE(fs::exists(file)) << "a whole round was written, the file must be there";
        QSettings written(QString::fromStdString(file.string()), QSettings::IniFormat);
        ASSERT_EQ(written.status(), QSettings::NoError) << "torn file after attempt " << attempt;
        Defaults defaults(file);
        const std::int64_t round = defaults.integerForKey("startHour");
        ASSERT_GT(round, 0);
        const std::string symbol = defaults.stringForKey("currencySymbol").value_or("");
        ASSERT_GT(symbol.size(), 200u) << symbol;
        const std::int64_t symbolRound = std::stoll(symbol.substr(symbol.find_first_not_of('x')));
        EXPECT_EQ(symbol.size(), 200 + symbolRound % 50 + std::to_string(symbolRound).size());
        const double pay = defaults.doubleForKey("dailyPay");
        EXPECT_TRUE(symbolRound == round || symbolRound == round - 1) << symbol;
        EXPECT_TRUE(pay == static_cast<double>(symbolRound) + 0.5 ||
                    pay == static_cast<double>(symbolRound) - 0.5)
            << pay;
        EXPECT_EQ(modeOf(file), 0600u);
    }
}

} // namespace
