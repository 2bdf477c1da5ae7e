#include "ScreenShareDetector.h"

#include <atomic>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace ScreenShareDetector {

namespace {

using WatcherQuery = bool (*)();
using DescriptorQuery = int (*)();

// The plug-in is installed beside the program.
constexpr const char* pluginFileName = "tallyglow-screen-watch.so";
constexpr const char* queryName = "tallyglowIsScreenWatcherPresent";
constexpr const char* descriptorName = "tallyglowScreenWatchDescriptor";

struct ScreenWatchPlugin {
    WatcherQuery isWatcherPresent = nullptr;
    DescriptorQuery changeDescriptor = nullptr;
};

// Set once a query has run the lookup, so that asking for the descriptor never loads the plug-in.
std::atomic<bool> hasLookedUp{false};

std::filesystem::path pluginPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return program.parent_path() / pluginFileName;
}

// The handle is needed only for the name lookup; the plug-in stays loaded for
// the life of the process.
ScreenWatchPlugin lookUpPlugin() {
    const std::filesystem::path path = pluginPath();
    if (path.empty()) {
        return {};
    }
    void* handle = ::dlopen(path.c_str(), RTLD_LAZY);
    if (!handle) {
        return {};
    }
    return {reinterpret_cast<WatcherQuery>(::dlsym(handle, queryName)),
            reinterpret_cast<DescriptorQuery>(::dlsym(handle, descriptorName))};
}

const ScreenWatchPlugin& plugin() {
    // Initialised once, even when first used from several threads at once.
    static const ScreenWatchPlugin found = lookUpPlugin();
    return found;
}

} // namespace

bool isScreenWatched() {
    const WatcherQuery isWatcherPresent = plugin().isWatcherPresent;
    hasLookedUp.store(true, std::memory_order_relaxed);
    if (!isWatcherPresent) {
        return false;
    }
    return isWatcherPresent();
}

int changeDescriptor() {
    if (!hasLookedUp.load(std::memory_order_relaxed)) {
        return -1;
    }
    const ScreenWatchPlugin& found = plugin();
    if (!found.isWatcherPresent || !found.changeDescriptor) {
        return -1;
    }
    return found.changeDescriptor();
}

} // namespace ScreenShareDetector
