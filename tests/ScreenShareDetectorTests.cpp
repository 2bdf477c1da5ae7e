// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

// The detector's lookup happens once per process, so each case runs a copy of
// the probe program in a folder of its own, beside the plug-in file of the case.
class ScreenShareDetectorTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path plugin = folder / "tallyglow-screen-cast.so";
    // The detector loads the plug-in only while a PipeWire daemon's socket exists.
    fs::path runtime = folder / "runtime";

    void SetUp() override {
        fs::copy_file(SCREEN_CAST_PROBE, folder / "screen-cast-probe");
        fs::create_directory(runtime);
        writeWholeFile(runtime / "pipewire-0", "");
    }

    void install(const char* file) { fs::copy_file(file, plugin); }

    // What the probe prints for the commands, without the closing newline.
    std::string probe(const std::string& commands) {
        const std::string command =
            "env -u PIPEWIRE_RUNTIME_DIR -u PIPEWIRE_REMOTE XDG_RUNTIME_DIR=" + runtime.string() +
            " " + (folder / "screen-cast-probe").string() + " " + commands;
        FILE* output = ::popen(command.c_str(), "r");
        std::string printed;
        std::array<char, 256> chunk;
        while (output && std::fgets(chunk.data(), chunk.size(), output)) {
            printed += chunk.data();
        }
        EXPECT_EQ(output ? ::pclose(output) : -1, 0) << command;
        if (!printed.empty() && printed.back() == '\n') {
            printed.pop_back();
        }
        return printed;
    }
};

TEST_F(ScreenShareDetectorTest, WithoutThePluginEveryAnswerIsFalseAndTheLookupIsNotRepeated) {
    // A plug-in that turns up after the first query is not looked for again.
    EXPECT_EQ(
        probe("query query install " SCRIPTED_SCREEN_CAST " answer true query query loaded opens"),
        "false false unloaded false false unloaded 1");
}

TEST_F(ScreenShareDetectorTest, WithoutADaemonThePluginIsLoadedOnlyOnceOneMayAnswer) {
    install(SCRIPTED_SCREEN_CAST);
    fs::remove(runtime / "pipewire-0");
    EXPECT_EQ(probe("query refresh 0 1 loaded socket loaded query loaded answer true "
                    "refresh 0 1 opens"),
              "false $0.00 unloaded unloaded false loaded $•.•• 1");
}

TEST_F(ScreenShareDetectorTest, APluginWithoutTheFunctionAnswersFalse) {
    install(SCREEN_CAST_PLUGIN_WITHOUT_QUERY);
    EXPECT_EQ(probe("query query loaded opens"), "false false loaded 1");
}

TEST_F(ScreenShareDetectorTest, EachQueryAsksThePluginAnew) {
    install(SCRIPTED_SCREEN_CAST);
    EXPECT_EQ(probe("loaded query loaded answer true query query answer false query "
                    "answer true query opens"),
              "unloaded false loaded true true false true 1");
}

TEST_F(ScreenShareDetectorTest, ConcurrentFirstQueriesShareOneLookup) {
    install(SCRIPTED_SCREEN_CAST);
    EXPECT_EQ(probe("concurrent-query answer true concurrent-query opens"),
              "false false false false false false false false "
              "true true true true true true true true 1");
}

TEST_F(ScreenShareDetectorTest, TheDelegateLoadsThePluginOnlyWhenAutomaticMaskingDecides) {
    install(SCRIPTED_SCREEN_CAST);
    // refresh MANUAL AUTOMATIC
    EXPECT_EQ(probe("refresh 1 1 refresh 1 0 refresh 0 0 loaded refresh 0 1 loaded "
                    "answer true refresh 0 1 refresh 0 0 refresh 1 1 opens"),
              "$•.•• $•.•• $0.00 unloaded $0.00 loaded $•.•• $0.00 $•.•• 1");
}

TEST_F(ScreenShareDetectorTest, WithoutThePluginManualMaskingStillWorks) {
    EXPECT_EQ(probe("refresh 0 1 refresh 1 1 refresh 1 0 opens"), "$0.00 $•.•• $•.•• 1");
}

} // namespace
