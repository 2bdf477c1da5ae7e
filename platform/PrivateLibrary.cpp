// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateLibrary.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

void* openPrivateLibrary(const char* fileName) {
    char folder[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", folder, sizeof folder - 1);
    if (length <= 0) {
        return nullptr;
    }
    folder[length] = '\0';
    char* const lastSlash = std::strrchr(folder, '/');
    if (!lastSlash) {
        return nullptr;
    }
    *lastSlash = '\0';
    char besideProgram[PATH_MAX];
    char installed[PATH_MAX];
    const int besideLength =
        std::snprintf(besideProgram, sizeof besideProgram, "%s/%s", folder, fileName);
    const int installedLength = std::snprintf(installed, sizeof installed, "%s/%s/%s", folder,
                                              TALLYGLOW_PLUGIN_FOLDER_FROM_PROGRAM, fileName);
    // A path too long to hold is no path of ours.
    if (besideLength < 0 || besideLength >= PATH_MAX || installedLength < 0 ||
        installedLength >= PATH_MAX) {
        return nullptr;
    }
    const bool fromInstalled = ::access(besideProgram, F_OK) != 0 && ::access(installed, F_OK) == 0;
    return ::dlopen(fromInstalled ? installed : besideProgram, RTLD_LAZY);
}
