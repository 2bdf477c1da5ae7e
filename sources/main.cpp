// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "PrivateLibrary.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

constexpr const char* panelItemFileName = "tallyglow-panel-item.so";

} // namespace

// The command line answers without the toolkit, which panels would otherwise
// load every second just to print the title; the panel item and its
// settings window come from a library loaded only to start them.
int main(int argumentCount, char** arguments) {
    const CommandLine commandLine(argumentCount, arguments);
    if (!commandLine.startsPanelItem()) {
        return commandLine.run();
    }
    const auto path = privateLibraryPath(panelItemFileName);
    void* panelItem = path.empty() ? nullptr : ::dlopen(path.c_str(), RTLD_LAZY);
    const auto run = panelItem
                         ? reinterpret_cast<int (*)()>(::dlsym(panelItem, "tallyglowRunPanelItem"))
                         : nullptr;
    if (!run) {
        const char* why = panelItem ? "no entry point" : ::dlerror();
        std::fprintf(stderr, "tallyglow: cannot load %s: %s\n",
                     path.empty() ? panelItemFileName : path.c_str(), why ? why : "not found");
        return 1;
    }
    return run();
}
