// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeWireSession.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Query = bool (*)();

// The real plug-in against a real PipeWire daemon. Each test loads its own
// copy of the plug-in, so each starts unconnected, as in a fresh program.
class ScreenCastPluginTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    PipeWireSession session;

    static Query loadPlugin(const fs::path& folder) {
        const fs::path copy = folder / "tallyglow-screen-cast.so";
        fs::copy_file(SCREEN_CAST_PLUGIN, copy);
        // Never closed, as the program never closes it.
        void* handle = ::dlopen(copy.c_str(), RTLD_LAZY | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << ::dlerror();
        return handle ? reinterpret_cast<Query>(::dlsym(handle, "tallyglowIsScreenBeingCast"))
                      : nullptr;
    }

    Query isScreenBeingCast = loadPlugin(folder.path());

    // Asks until the answer is the expected one; false if it never was.
    bool becomes(bool expected, std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (isScreenBeingCast() == expected) {
                return true;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    // Asks repeatedly for a while; true if every answer was the expected one.
    bool stays(bool expected, std::chrono::milliseconds duration = 1s) {
        const auto deadline = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < deadline) {
            if (isScreenBeingCast() != expected) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }

    void castBeingRead(const std::string& name) {
        session.startSource(name, "Video/Source");
        ASSERT_TRUE(session.waitForNode(name));
        session.startReader(name);
    }
};

TEST_F(ScreenCastPluginTest, WithoutADaemonTheAnswerIsFalseUntilOneAppears) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    EXPECT_FALSE(isScreenBeingCast());
    EXPECT_TRUE(stays(false, 300ms));

    session.startDaemon();
    castBeingRead("testcast");
    // Found at one of the next reconnection attempts.
    EXPECT_TRUE(becomes(true, 15s));
}

TEST_F(ScreenCastPluginTest, ACastAlreadyReadCountsFromTheFirstAnswer) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    session.startDaemon();
    castBeingRead("testcast");
    ASSERT_TRUE(session.waitForNode("testcast", "running"));
    EXPECT_TRUE(isScreenBeingCast());
}

TEST_F(ScreenCastPluginTest, AHungDaemonDoesNotHoldTheFirstAnswer) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    // A socket that takes connections and never answers, like a daemon stuck.
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (session.runtimeFolder() / "pipewire-0").string();
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 4), 0);

    const auto asked = std::chrono::steady_clock::now();
    EXPECT_FALSE(isScreenBeingCast());
    // Bounded well below anything a user would notice as a stuck start.
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
    ::close(listener);
}

TEST_F(ScreenCastPluginTest, ANewCastCountsBeforeItIsReadAndThenWhileItIsRead) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    session.startDaemon();
    ASSERT_FALSE(isScreenBeingCast()); // connected before the casts appear
    // As mutter, KWin and niri publish casts, and as the wlroots portals do.
    for (const std::string mediaClass : {"Stream/Output/Video", "Video/Source"}) {
        SCOPED_TRACE(mediaClass);
        const std::string name = mediaClass == "Video/Source" ? "portalcast" : "compositorcast";
        session.startSource(name, mediaClass);
        // Not read yet, its first frame still to come: it counts already...
        EXPECT_TRUE(becomes(true, 2s));
        // ...but not for long while nobody reads it.
        EXPECT_TRUE(becomes(false, 5s));
        ASSERT_EQ(session.nodeState(name), "suspended");

        ChildProcess& reader = session.startReader(name);
        EXPECT_TRUE(becomes(true));
        // A portal leaves the node behind when its reader goes: it no longer counts.
        reader.stop();
        EXPECT_TRUE(becomes(false));
        EXPECT_TRUE(stays(false, 500ms));
        EXPECT_FALSE(session.nodeState(name).empty());
    }
}

TEST_F(ScreenCastPluginTest, ACameraBeingReadIsNoCast) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    session.startDaemon();
    session.startSource("roledcamera", "Video/Source", "media.role=Camera");
    session.startSource("devicecamera", "Video/Source", "device.id=999");
    ASSERT_TRUE(session.waitForNode("roledcamera"));
    ASSERT_TRUE(session.waitForNode("devicecamera"));
    session.startReader("roledcamera");
    session.startReader("devicecamera");
    ASSERT_TRUE(session.waitForNode("roledcamera", "running"));
    ASSERT_TRUE(session.waitForNode("devicecamera", "running"));
    EXPECT_TRUE(stays(false));

    // The same plug-in sees a real cast beside them.
    castBeingRead("testcast");
    EXPECT_TRUE(becomes(true));
}

TEST_F(ScreenCastPluginTest, ADaemonThatRestartsIsFoundAgain) {
    ASSERT_NE(isScreenBeingCast, nullptr);
    session.startDaemon();
    castBeingRead("testcast");
    ASSERT_TRUE(becomes(true));

    session.stopDaemon();
    EXPECT_FALSE(isScreenBeingCast());
    EXPECT_TRUE(stays(false, 500ms));

    session.startDaemon();
    castBeingRead("testcast");
    EXPECT_TRUE(becomes(true, 15s));
}

} // namespace
