// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenShareDetector.h"

#include "PipeWireDaemon.h"
#include "PrivateLibrary.h"
#include "ScreenReads.h"
#include "SharingWindows.h"

#include <dlfcn.h>
#include <mutex>
#include <optional>
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
    void* handle = openPrivateLibrary(pluginFileName);
    if (!handle) {
        return {};
    }
    return {reinterpret_cast<CastQuery>(::dlsym(handle, queryName)),
            reinterpret_cast<DescriptorQuery>(::dlsym(handle, descriptorName)),
            reinterpret_cast<ConnectionQuery>(::dlsym(handle, connectionName))};
}

// What the detector holds for the life of the process, under one lock: the
// plug-in once it is loaded, and the descriptor callers follow.
struct State {
    std::mutex mutex;
    std::optional<ScreenCastPlugin> plugin;
    // The plug-in's descriptor, the sharing windows' and the screen reads' in
    // one, to which a plug-in loaded later adds its own; -1 until a caller
    // asks for it.
    int changes = -1;
};

State& state() {
    static State* const shared = new State();
    return *shared;
}

void follow(int changes, int descriptor) {
    if (changes < 0 || descriptor < 0) {
        return;
    }
    epoll_event readable{};
    readable.events = EPOLLIN;
    readable.data.fd = descriptor;
    ::epoll_ctl(changes, EPOLL_CTL_ADD, descriptor, &readable);
}

int pluginDescriptor(const ScreenCastPlugin& found) {
    return found.isWatcherPresent && found.changeDescriptor ? found.changeDescriptor() : -1;
}

enum class Load { onceADaemonMayAnswer, now };

// The plug-in is loaded only once a PipeWire daemon may be there to answer it:
// it brings PipeWire, more than a megabyte that would stay all day, and with
// no daemon it answers false anyway. Until then each query looks for the
// daemon's socket again, as the plug-in itself would look for the daemon.
const ScreenCastPlugin& plugin(Load load) {
    static const ScreenCastPlugin none;
    State& shared = state();
    const std::lock_guard lock(shared.mutex);
    if (!shared.plugin && (load == Load::now || PipeWireDaemon::mayBeReachable())) {
        shared.plugin = lookUpPlugin();
        follow(shared.changes, pluginDescriptor(*shared.plugin));
    }
    return shared.plugin ? *shared.plugin : none;
}

} // namespace

bool isScreenWatched() {
    const CastQuery isWatcherPresent = plugin(Load::onceADaemonMayAnswer).isWatcherPresent;
    // Each is asked every time, so that each takes in its change notice.
    SharingWindows* windows = SharingWindows::shared();
    const bool shown = windows && windows->isAnyListed();
    ScreenReads* reads = ScreenReads::shared();
    if (windows && reads) {
        // A browser's window tells sooner than its reads that its sharing stopped.
        for (const std::uint32_t process : windows->takeStoppedSharers()) {
            reads->stopCounting(process);
        }
    }
    const bool read = reads && reads->isAnyReading();
    const bool cast = isWatcherPresent && isWatcherPresent();
    return cast || shown || read;
}

Detection detection() {
    // Asking loads and connects the plug-in when it is not yet, daemon or not:
    // this tells whether PipeWire is installed.
    const ScreenCastPlugin& found = plugin(Load::now);
    isScreenWatched();
    Detection seen;
    seen.sharingWindows = SharingWindows::shared() != nullptr;
    const ScreenReads* reads = ScreenReads::shared();
    seen.screenReads = reads && reads->isAvailable();
    if (!found.isWatcherPresent) {
        seen.pipeWire = PipeWire::missing;
    } else if (found.isConnected && !found.isConnected()) {
        seen.pipeWire = PipeWire::notRunning;
    }
    return seen;
}

int changeDescriptor() {
    State& shared = state();
    {
        const std::lock_guard lock(shared.mutex);
        if (shared.changes < 0) {
            shared.changes = ::epoll_create1(EPOLL_CLOEXEC);
            if (const SharingWindows* windows = SharingWindows::shared()) {
                follow(shared.changes, windows->changeDescriptor());
            }
            if (const ScreenReads* reads = ScreenReads::shared()) {
                follow(shared.changes, reads->changeDescriptor());
            }
            if (shared.plugin) {
                follow(shared.changes, pluginDescriptor(*shared.plugin));
            }
        }
    }
    // A query may load the plug-in now; it joins the descriptor as it loads.
    plugin(Load::onceADaemonMayAnswer);
    return shared.changes;
}

void followScreenReads(bool on) {
    if (ScreenReads* reads = ScreenReads::shared()) {
        reads->follow(on);
    }
}

} // namespace ScreenShareDetector
