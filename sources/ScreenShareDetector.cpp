// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenShareDetector.h"

#include "PrivateLibrary.h"
#include "SharingWindows.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <sys/epoll.h>

namespace ScreenShareDetector {

namespace {

using CastQuery = bool (*)();
using DescriptorQuery = int (*)();
using ConnectionQuery = bool (*)();

constexpr const char* pluginFileName = "tallyglow-screen-cast.so";
constexpr const char* queryName = "tallyglowIsScreenBeingCast";
constexpr const char* descriptorName = "tallyglowScreenCastDescriptor";
constexpr const char* connectionName = "tallyglowIsConnectedToPipeWire";

struct ScreenCastPlugin {
    CastQuery isWatcherPresent = nullptr;
    DescriptorQuery changeDescriptor = nullptr;
    ConnectionQuery isConnected = nullptr;
};

// The handle is needed only for the name lookup; the plug-in stays loaded for
// the life of the process.
ScreenCastPlugin lookUpPlugin() {
    const std::filesystem::path path = privateLibraryPath(pluginFileName);
    if (path.empty()) {
        return {};
    }
    void* handle = ::dlopen(path.c_str(), RTLD_LAZY);
    if (!handle) {
        return {};
    }
    return {reinterpret_cast<CastQuery>(::dlsym(handle, queryName)),
            reinterpret_cast<DescriptorQuery>(::dlsym(handle, descriptorName)),
            reinterpret_cast<ConnectionQuery>(::dlsym(handle, connectionName))};
}

const ScreenCastPlugin& plugin() {
    // Initialised once, even when first used from several threads at once.
    static const ScreenCastPlugin found = lookUpPlugin();
    return found;
}

// One descriptor for the plug-in's changes and the sharing windows': the
// caller follows one, whichever of them exist.
int combinedChangeDescriptor() {
    const ScreenCastPlugin& found = plugin();
    const int cast =
        found.isWatcherPresent && found.changeDescriptor ? found.changeDescriptor() : -1;
    const SharingWindows* windows = SharingWindows::shared();
    const int shown = windows ? windows->changeDescriptor() : -1;
    if (cast < 0 || shown < 0) {
        return std::max(cast, shown);
    }
    const int both = ::epoll_create1(EPOLL_CLOEXEC);
    for (const int descriptor : {cast, shown}) {
        epoll_event readable{};
        readable.events = EPOLLIN;
        readable.data.fd = descriptor;
        ::epoll_ctl(both, EPOLL_CTL_ADD, descriptor, &readable);
    }
    return both;
}

} // namespace

bool isScreenWatched() {
    const CastQuery isWatcherPresent = plugin().isWatcherPresent;
    // Both are asked every time, so that each takes in its change notice.
    SharingWindows* windows = SharingWindows::shared();
    const bool shown = windows && windows->isAnyListed();
    const bool cast = isWatcherPresent && isWatcherPresent();
    return cast || shown;
}

Detection detection() {
    // Asking connects the plug-in when it is not yet.
    isScreenWatched();
    const ScreenCastPlugin& found = plugin();
    Detection seen;
    seen.sharingWindows = SharingWindows::shared() != nullptr;
    if (!found.isWatcherPresent) {
        seen.pipeWire = PipeWire::missing;
    } else if (found.isConnected && !found.isConnected()) {
        seen.pipeWire = PipeWire::notRunning;
    }
    return seen;
}

int changeDescriptor() {
    // The plug-in's descriptor lasts as long as the process; so does this.
    static const int descriptor = combinedChangeDescriptor();
    return descriptor;
}

} // namespace ScreenShareDetector
