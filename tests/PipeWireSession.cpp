// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeWireSession.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ChildProcess::ChildProcess(const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment, const fs::path& log) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& variable : environment) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int result = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        pid = -1;
        throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(result));
    }
}

ChildProcess::~ChildProcess() {
    stop();
}

void ChildProcess::stop() {
    if (pid <= 0) {
        return;
    }
    ::kill(pid, SIGTERM);
    for (int waited = 0; waited < 100; ++waited) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool ChildProcess::isRunning() {
    if (pid <= 0) {
        return false;
    }
    if (::waitpid(pid, nullptr, WNOHANG) == pid) {
        pid = -1;
        return false;
    }
    return true;
}

namespace {

std::string makeRuntimeFolder(const fs::path& path) {
    fs::create_directory(path);
    ::chmod(path.c_str(), 0700);
    return path.string();
}

} // namespace

PipeWireSession::PipeWireSession()
    : runtime(folder / "runtime"),
      runtimeVariable("XDG_RUNTIME_DIR", makeRuntimeFolder(folder / "runtime")) {
    // Without devices of its own the session manager only links streams, and
    // stays off the user's sound cards, cameras and Bluetooth.
    const fs::path config = folder / "config";
    writeWholeFile(config / "wireplumber" / "main.lua.d" / "60-test-without-devices.lua",
                   "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\n"
                   "libcamera_monitor.enabled = false\n");
    writeWholeFile(config / "wireplumber" / "bluetooth.lua.d" / "60-test-without-devices.lua",
                   "bluez_monitor.enabled = false\n");

    const std::string busAddress = "unix:path=" + (runtime / "bus").string();
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('='));
        if (name.starts_with("PIPEWIRE_") || name.starts_with("DBUS_") ||
            name == "XDG_CONFIG_HOME" || name == "XDG_STATE_HOME" || name == "XDG_RUNTIME_DIR") {
            continue;
        }
        environment.push_back(entry);
    }
    environment.push_back("XDG_RUNTIME_DIR=" + runtime.string());
    environment.push_back("XDG_CONFIG_HOME=" + config.string());
    environment.push_back("XDG_STATE_HOME=" + (folder / "state").string());
    environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + busAddress);
    // No system bus: nothing of the machine's services is asked.
    environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=unix:path=" +
                          (runtime / "no-system-bus").string());
    // Keeps the streams' pipelines quiet in the logs.
    environment.push_back("GST_DEBUG=0");

    bus = std::make_unique<ChildProcess>(std::vector<std::string>{"dbus-daemon", "--session",
                                                                  "--nofork", "--nopidfile",
                                                                  "--address=" + busAddress},
                                         environment, folder / "dbus-daemon.log");
    for (int waited = 0; waited < 250 && !fs::exists(runtime / "bus"); ++waited) {
        std::this_thread::sleep_for(20ms);
    }
}

PipeWireSession::~PipeWireSession() {
    clients.clear();
    stopDaemon();
    bus.reset();
}

void PipeWireSession::startDaemon() {
    const fs::path socket = runtime / "pipewire-0";
    std::error_code ignored;
    fs::remove(socket, ignored);
    daemon = std::make_unique<ChildProcess>(std::vector<std::string>{"pipewire"}, environment,
                                            folder / "pipewire.log");
    for (int waited = 0; waited < 250 && !fs::exists(socket); ++waited) {
        std::this_thread::sleep_for(20ms);
    }
    if (!fs::exists(socket)) {
        throw std::runtime_error("pipewire did not start; see " +
                                 (folder / "pipewire.log").string());
    }
    sessionManager = std::make_unique<ChildProcess>(std::vector<std::string>{"wireplumber"},
                                                    environment, folder / "wireplumber.log");
}

void PipeWireSession::stopDaemon() {
    sessionManager.reset();
    daemon.reset();
}

ChildProcess& PipeWireSession::start(const std::vector<std::string>& arguments,
                                     const std::string& logName) {
    clients.push_back(std::make_unique<ChildProcess>(
        arguments, environment, folder / (logName + std::to_string(++started) + ".log")));
    return *clients.back();
}

ChildProcess& PipeWireSession::startSource(const std::string& nodeName,
                                           const std::string& mediaClass,
                                           const std::string& extraProperties) {
    std::vector<std::string> arguments{CAST_SOURCE, nodeName, mediaClass};
    if (!extraProperties.empty()) {
        arguments.push_back(extraProperties);
    }
    return start(arguments, "source");
}

ChildProcess& PipeWireSession::startReader(const std::string& nodeName) {
    return start({"gst-launch-1.0", "-q", "pipewiresrc", "target-object=" + nodeName, "!",
                  "video/x-raw", "!", "fakesink"},
                 "reader");
}

std::string PipeWireSession::nodeState(const std::string& nodeName) const {
    // pw-dump finds the daemon through the XDG_RUNTIME_DIR set above.
    const std::string command = "pw-dump -N " + nodeName + " 2>/dev/null";
    FILE* output = ::popen(command.c_str(), "r");
    if (!output) {
        return {};
    }
    std::string dump;
    std::array<char, 4096> chunk;
    std::size_t count;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), output)) > 0) {
        dump.append(chunk.data(), count);
    }
    ::pclose(output);
    const std::string key = "\"state\": \"";
    const auto found = dump.find(key);
    if (found == std::string::npos) {
        return {};
    }
    const auto start = found + key.size();
    return dump.substr(start, dump.find('"', start) - start);
}

bool PipeWireSession::waitForNode(const std::string& nodeName, const std::string& state,
                                  std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string current = nodeState(nodeName);
        if (!current.empty() && (state.empty() || current == state)) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}
