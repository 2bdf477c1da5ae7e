// SPDX-License-Identifier: GPL-3.0-or-later
// The file that names the host's time zone, and how the calendar hears that
// it changed. For Calendar.cpp alone.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

inline std::string& hostZoneFile() {
    static std::string path = "/etc/localtime";
    return path;
}

// What identifies the host's zone cheaply: $TZ and every step from the zone
// file to what it finally names, not what that contains. A link re-pointed,
// anywhere along a chain of links, or a file replaced or rewritten in place,
// gets a new inode or change time.
struct HostZoneStamp {
    struct Step {
        ino_t inode = 0;
        std::int64_t changedSeconds = 0;
        long changedNanoseconds = 0;
        bool operator==(const Step&) const = default;
    };
    std::string tz;
    bool tzSet = false;
    std::string zoneFile;
    std::vector<Step> steps;
    // The paths of the steps, for the watch.
    std::vector<std::filesystem::path> paths;

    static HostZoneStamp read() {
        HostZoneStamp stamp;
        if (const char* tz = std::getenv("TZ")) {
            stamp.tzSet = true;
            stamp.tz = tz;
        }
        stamp.zoneFile = hostZoneFile();
        // As many links as the kernel itself follows.
        constexpr int longestChain = 40;
        std::filesystem::path step = stamp.zoneFile;
        for (int count = 0; count < longestChain; ++count) {
            struct stat link {};
            if (::lstat(step.c_str(), &link) != 0) {
                break;
            }
            stamp.steps.push_back({link.st_ino, link.st_ctim.tv_sec, link.st_ctim.tv_nsec});
            stamp.paths.push_back(step);
            if (!S_ISLNK(link.st_mode)) {
                break;
            }
            std::error_code error;
            const std::filesystem::path target = std::filesystem::read_symlink(step, error);
            if (error) {
                break;
            }
            step = step.parent_path() / target;
        }
        return stamp;
    }
    bool operator==(const HostZoneStamp& other) const {
        return tz == other.tz && tzSet == other.tzSet && zoneFile == other.zoneFile &&
               steps == other.steps;
    }
};

// Hears of changes along the zone file's chain of links from the kernel, so
// that looking for one costs a single read that finds nothing, not a walk
// down the chain. Without inotify, every look walks the chain.
class HostZoneWatch {
public:
    HostZoneWatch() : descriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

    bool works() const { return descriptor >= 0; }
    int changeDescriptor() const { return descriptor; }

    // Each step, and the folder it sits in: a link is re-pointed by renaming
    // a new one over it, a copied file is replaced or rewritten in place.
    void follow(const std::vector<std::filesystem::path>& paths) {
        for (const int watch : watches) {
            ::inotify_rm_watch(descriptor, watch);
        }
        watches.clear();
        constexpr std::uint32_t folderEvents =
            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;
        constexpr std::uint32_t fileEvents =
            IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_DONT_FOLLOW;
        for (const std::filesystem::path& path : paths) {
            for (const auto& [watched, events] :
                 {std::pair{path.parent_path(), folderEvents}, std::pair{path, fileEvents}}) {
                if (const int watch = ::inotify_add_watch(descriptor, watched.c_str(), events);
                    watch >= 0) {
                    watches.push_back(watch);
                }
            }
        }
    }

    // Whether anything happened since the last look; takes in what did.
    bool changed() const {
        alignas(inotify_event) char events[4096];
        bool any = false;
        while (::read(descriptor, events, sizeof events) > 0) {
            any = true;
        }
        return any;
    }

private:
    int descriptor;
    std::vector<int> watches;
};

inline HostZoneWatch& hostZoneWatch() {
    static HostZoneWatch watch;
    return watch;
}
