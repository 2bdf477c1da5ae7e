// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeWireDaemon.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace PipeWireDaemon {

namespace {

bool exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

} // namespace

// Where PipeWire's clients look: $PIPEWIRE_REMOTE or "pipewire-0", a path of
// its own or a name in the first of $PIPEWIRE_RUNTIME_DIR, $XDG_RUNTIME_DIR and
// $USERPROFILE that is set, then in the system daemon's folder.
bool mayBeReachable() {
    const char* remote = std::getenv("PIPEWIRE_REMOTE");
    const std::string name = remote && remote[0] != '\0' ? remote : "pipewire-0";
    // A list of names, or anything else unusual, is left to PipeWire to read.
    if (name.find_first_of("[]{},: ") != std::string::npos) {
        return true;
    }
    if (name.front() == '/') {
        return exists(name);
    }
    for (const char* variable : {"PIPEWIRE_RUNTIME_DIR", "XDG_RUNTIME_DIR", "USERPROFILE"}) {
        const char* folder = std::getenv(variable);
        if (folder && folder[0] != '\0') {
            if (exists(std::string(folder) + '/' + name)) {
                return true;
            }
            break;
        }
    }
    return exists("/run/pipewire/" + name);
}

} // namespace PipeWireDaemon
