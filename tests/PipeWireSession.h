// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TestSupport.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started for a test, stopped (and waited for) at the latest when
// the object goes.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment, const std::filesystem::path& log);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Asks the program to end, kills it if it does not, and reaps it.
    void stop();
    bool isRunning();

private:
    pid_t pid = -1;
};

// A private PipeWire daemon with its session manager, on a private session
// bus, in a runtime folder of its own: nothing of the user's desktop is
// touched. The test process's XDG_RUNTIME_DIR points at it while it lives, so
// clients started in the test find this daemon.
class PipeWireSession {
public:
    PipeWireSession();
    ~PipeWireSession();
    PipeWireSession(const PipeWireSession&) = delete;
    PipeWireSession& operator=(const PipeWireSession&) = delete;

    // Where the daemon's socket is: the XDG_RUNTIME_DIR of its clients.
    const std::filesystem::path& runtimeFolder() const { return runtime; }

    // Starts pipewire, waits for its socket, then starts wireplumber.
    void startDaemon();
    // Stops wireplumber and pipewire and waits for both to end.
    void stopDaemon();

    // A screen cast (CastSource.cpp): sends only while read and stays when its
    // reader goes; with an extra node property such as "media.role=Camera".
    ChildProcess& startSource(const std::string& nodeName, const std::string& mediaClass,
                              const std::string& extraProperties = "");
    // A consumer of the named node.
    ChildProcess& startReader(const std::string& nodeName);

    // The node's state as the daemon reports it ("suspended", "idle",
    // "running"), or empty when there is no such node.
    std::string nodeState(const std::string& nodeName) const;
    // Waits until the node is in the state (any state when empty); false on timeout.
    bool waitForNode(const std::string& nodeName, const std::string& state = "",
                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    ChildProcess& start(const std::vector<std::string>& arguments, const std::string& logName);

    TemporaryFolder folder;
    std::filesystem::path runtime;
    std::vector<std::string> environment;
    ScopedEnvironment runtimeVariable;
    std::unique_ptr<ChildProcess> bus;
    std::unique_ptr<ChildProcess> daemon;
    std::unique_ptr<ChildProcess> sessionManager;
    std::vector<std::unique_ptr<ChildProcess>> clients;
    int started = 0;
};
