// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the screen-share detector in a process of its own, since its lookup
// happens once per process. Tests copy this program into a folder of their
// own, next to the plug-in file of the case, and read what it prints: one
// word per command, separated by spaces.
//
//   query                    the detector's answer: true or false
//   concurrent-query         the first query from eight threads at once
//   answer true|false        sets the scripted plug-in's answer, if it is loaded
//   loaded                   whether the plug-in is loaded: loaded or unloaded
//   opens                    how often the plug-in was opened
//   install FILE             copies FILE to where the plug-in is looked for
//   socket                   makes the PipeWire daemon's socket file, as a
//                            daemon starting does ($XDG_RUNTIME_DIR/pipewire-0)
//   refresh MANUAL AUTOMATIC a delegate refresh with these switches (0 or 1):
//                            the title it shows

#include "AppDelegateTesting.h"
#include "AppSettingsTesting.h"
#include "RecordingStatusItem.h"
#include "ScreenShareDetector.h"

#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

const char* const pluginFileName = "tallyglow-screen-cast.so";

std::atomic<int> pluginOpens{0};

std::filesystem::path pluginPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / pluginFileName;
}

void* loadedPlugin() {
    return ::dlopen(pluginPath().c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

const char* word(bool value) {
    return value ? "true" : "false";
}

} // namespace

// Counts the detector's openings of the plug-in, then opens as asked.
extern "C" void* dlopen(const char* file, int mode) noexcept {
    using Open = void* (*)(const char*, int);
    static const Open realOpen = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "dlopen"));
    if (file && !(mode & RTLD_NOLOAD) && std::string_view(file).ends_with(pluginFileName)) {
        ++pluginOpens;
    }
    return realOpen(file, mode);
}

int main(int argumentCount, char** arguments) {
    const std::vector<std::string> commands(arguments + 1, arguments + argumentCount);
    const auto folder =
        std::filesystem::temp_directory_path() / ("tallyglow-probe-" + std::to_string(::getpid()));
    std::string separator;
    auto say = [&](const std::string& text) {
        std::cout << separator << text;
        separator = " ";
    };
    for (std::size_t index = 0; index < commands.size(); ++index) {
        const std::string& command = commands[index];
        if (command == "query") {
            say(word(ScreenShareDetector::isScreenWatched()));
        } else if (command == "concurrent-query") {
            std::atomic<bool> go{false};
            std::vector<char> answers(8);
            std::vector<std::thread> threads;
            for (char& answer : answers) {
                threads.emplace_back([&go, &answer] {
                    while (!go) {
                    }
                    answer = ScreenShareDetector::isScreenWatched();
                });
            }
            go = true;
            for (auto& thread : threads) {
                thread.join();
            }
            for (const char answer : answers) {
                say(word(answer));
            }
        } else if (command == "answer") {
            const bool answer = commands.at(++index) == "true";
            void* plugin = loadedPlugin();
            if (!plugin) {
                say("unloaded");
                continue;
            }
            using SetAnswer = void (*)(bool);
            reinterpret_cast<SetAnswer>(::dlsym(plugin, "scriptedScreenCastSetAnswer"))(answer);
        } else if (command == "loaded") {
            say(loadedPlugin() ? "loaded" : "unloaded");
        } else if (command == "opens") {
            say(std::to_string(pluginOpens));
        } else if (command == "install") {
            std::filesystem::copy_file(commands.at(++index), pluginPath(),
                                       std::filesystem::copy_options::overwrite_existing);
        } else if (command == "socket") {
            std::ofstream(std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "pipewire-0");
        } else if (command == "refresh") {
            const bool manual = commands.at(++index) == "1";
            const bool automatic = commands.at(++index) == "1";
            std::filesystem::create_directories(folder);
            const auto settings = AppSettingsTesting::make(
                std::make_shared<Defaults>((folder / "tallyglow.conf").string()));
            settings->setDailyPay(100);
            settings->setCurrencySymbol("$");
            settings->setMaskEarnings(manual);
            settings->setMaskWhileScreenSharing(automatic);
            // No work days: the title is the same at any hour.
            settings->setWorkDays("");
            const auto delegate = AppDelegateTesting::make(*settings);
            auto item = std::make_unique<RecordingStatusItem>();
            const RecordingStatusItem& shown = *item;
            AppDelegateTesting::setStatusItem(*delegate, std::move(item));
            AppDelegateTesting::refresh(*delegate);
            say(shown.titles().back());
        } else {
            std::cerr << "unknown command " << command << "\n";
            return 2;
        }
    }
    std::cout << "\n";
    std::filesystem::remove_all(folder);
    return 0;
}
