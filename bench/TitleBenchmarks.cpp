// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegateTesting.h"
#include "AppSettingsTesting.h"
#include "PipeWireSession.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

namespace fs = std::filesystem;

// Keeps only the last title, as a panel does.
class LastTitleItem : public StatusItem {
public:
    class Button : public StatusButton {
    public:
        void setTitle(const std::string& title) override { shown = title; }
        void useMonospacedDigitFont() override {}
        void setAction(std::function<ClickAnswer()>) override {}
        void setSecondaryAction(std::function<void()>) override {}
        std::string shown;
    };
    StatusButton* button() override { return &ownButton; }
    void setMenu(StatusMenu*, std::function<void()>) override {}
    void setShownChanged(std::function<void(bool)>) override {}
    Button ownButton;
};

// One whole refresh: the calculator for now, the format, the masking decision
// by hand (the detector is not asked), the mask when on, the button's title.
void wholeTitle(benchmark::State& state) {
    TemporaryFolder folder;
    const auto settings =
        AppSettingsTesting::make(std::make_shared<Defaults>((folder / "tallyglow.conf").string()));
    settings->setDailyPay(86400);
    settings->setCurrencySymbol("$");
    // A day that spans the whole day, so the amount is never 0.
    settings->setStartHour(0);
    settings->setEndHour(23);
    settings->setEndMinute(59);
    settings->setMaskWhileScreenSharing(false);
    settings->setMaskEarnings(state.range(0) != 0);
    const auto delegate = AppDelegateTesting::make(*settings);
    auto item = std::make_unique<LastTitleItem>();
    const LastTitleItem& shown = *item;
    AppDelegateTesting::setStatusItem(*delegate, std::move(item));
    for (auto _ : state) {
        AppDelegateTesting::refresh(*delegate);
        benchmark::DoNotOptimize(shown.ownButton.shown.data());
    }
    state.SetLabel(shown.ownButton.shown);
}
BENCHMARK(wholeTitle)->ArgName("masked")->Arg(0)->Arg(1);

using Query = bool (*)();

// A copy of its own per case: the plug-in keeps its connection for the life
// of the process.
Query loadPluginCopy(const fs::path& folder) {
    const fs::path copy = folder / "tallyglow-screen-cast.so";
    fs::copy_file(SCREEN_CAST_PLUGIN, copy);
    void* handle = ::dlopen(copy.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) {
        throw std::runtime_error(::dlerror());
    }
    return reinterpret_cast<Query>(::dlsym(handle, "tallyglowIsScreenBeingCast"));
}

// One query of the plug-in when nothing changed: with a daemon that holds an
// unread cast, and with no daemon at all.
void detectorQuery(benchmark::State& state) {
    TemporaryFolder folder;
    PipeWireSession session;
    const bool withDaemon = state.range(0) != 0;
    if (withDaemon) {
        session.startDaemon();
        session.startSource("benchcast", "Video/Source");
        if (!session.waitForNode("benchcast", "suspended")) {
            state.SkipWithError("the cast did not appear");
            return;
        }
    }
    const Query isScreenBeingCast = loadPluginCopy(folder.path());
    // Connected, and the registry read, before measuring.
    for (int warmUp = 0; warmUp < 50; ++warmUp) {
        isScreenBeingCast();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(isScreenBeingCast());
    }
}
BENCHMARK(detectorQuery)->ArgName("daemon")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
