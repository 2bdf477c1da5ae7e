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

// Answers from the event loop, once the shell has.
void askState(const QString& uuid, std::function<void(State)> answer);
void enable(const QString& uuid);

} // namespace ShellExtension
