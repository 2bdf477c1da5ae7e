#include "ScreenShareDetector.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace ScreenShareDetector {

namespace {

using WatcherQuery = bool (*)();

// The plug-in is installed beside the program.
constexpr const char* pluginFileName = "tallyglow-screen-watch.so";
constexpr const char* queryName = "tallyglowIsScreenWatcherPresent";

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
WatcherQuery lookUpWatcherQuery() {
    const std::filesystem::path path = pluginPath();
    if (path.empty()) {
        return nullptr;
    }
    void* handle = ::dlopen(path.c_str(), RTLD_LAZY);
    if (!handle) {
        return nullptr;
    }
    return reinterpret_cast<WatcherQuery>(::dlsym(handle, queryName));
}

} // namespace

bool isScreenWatched() {
    // Initialised once, even when first used from several threads at once.
    static const WatcherQuery isWatcherPresent = lookUpWatcherQuery();
    if (!isWatcherPresent) {
        return false;
    }
    return isWatcherPresent();
}

} // namespace ScreenShareDetector
