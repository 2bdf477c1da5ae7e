// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// A GNOME Shell extension, as the running shell reports it and switches it on
// (org.gnome.Shell.Extensions on the session bus).
namespace ShellExtension {

enum class State {
    // No shell answered.
    unknown,
    notInstalled,
    // Installed, and switched off.
    off,
    on,
    // Switched on, but it failed to start or does not fit this shell.
    failed,
};

// How a fetch the shell asked the user about ended.
enum class Installation {
    // Fetched and switched on.
    done,
    // The user said no in the shell's dialog.
    declined,
    // No network, installation not allowed here, or no shell answered.
    failed,
};

// Answers from the event loop, once the shell has.
void askState(const QString& uuid, std::function<void(State)> answer);
void enable(const QString& uuid);
// Has the shell fetch the extension from GNOME's extension site into the user's
// folder and switch it on, after asking the user in a dialog of its own. The
// answer comes once the user has chosen and the fetch is over; with a failure,
// the shell's reason.
void install(const QString& uuid, std::function<void(Installation, const QString& reason)> answer);

} // namespace ShellExtension
