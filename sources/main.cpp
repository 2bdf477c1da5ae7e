// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateLibrary.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

// Runs the entry point of one of the program's libraries.
int runLibrary(const char* fileName, const char* entryPoint, int argumentCount, char** arguments) {
    void* library = openPrivateLibrary(fileName);
    const auto run =
        library ? reinterpret_cast<int (*)(int, char**)>(::dlsym(library, entryPoint)) : nullptr;
    if (!run) {
        const char* why = library ? "no entry point" : ::dlerror();
        std::fprintf(stderr, "tallyglow: cannot load %s: %s\n", fileName, why ? why : "not found");
        return 1;
    }
    return run(argumentCount, arguments);
}

} // namespace

// The options answer without the toolkit, which panels would otherwise load
// every second just to print the title; the panel item and its settings
// window come from a library of their own, loaded only to start them. The
// program itself links neither's libraries: the libraries it links are
// searched first for every symbol the toolkit's look up as they load.
int main(int argumentCount, char** arguments) {
    if (argumentCount > 1) {
        return runLibrary("tallyglow-command-line.so", "tallyglowRunCommandLine", argumentCount,
                          arguments);
    }
    return runLibrary("tallyglow-panel-item.so", "tallyglowRunPanelItem", argumentCount, arguments);
}
