// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <dlfcn.h>
#include <filesystem>
#include <string>

// Reaches the scripted plug-in beside a test program, if it is loaded.
class ScriptedScreenCast {
public:
    explicit ScriptedScreenCast(std::filesystem::path pluginPath) : path(std::move(pluginPath)) {}

    // Whether the process has the plug-in loaded; never loads it.
    bool isLoaded() const { return handle(RTLD_NOLOAD) != nullptr; }

    // Loads the plug-in when needed (as the detector would) and sets its answer.
    void setAnswer(bool answer) const {
        using SetAnswer = void (*)(bool);
        reinterpret_cast<SetAnswer>(::dlsym(handle(0), "scriptedScreenCastSetAnswer"))(answer);
    }

    // How often the plug-in was asked; 0 when it is not loaded.
    int queryCount() const {
        void* loaded = handle(RTLD_NOLOAD);
        if (!loaded) {
            return 0;
        }
        using QueryCount = int (*)();
        return reinterpret_cast<QueryCount>(::dlsym(loaded, "scriptedScreenCastQueryCount"))();
    }

private:
    // The extra reference dlopen takes is never given back: the detector
    // never unloads the plug-in either.
    void* handle(int flags) const { return ::dlopen(path.c_str(), RTLD_LAZY | flags); }

    std::filesystem::path path;
};
