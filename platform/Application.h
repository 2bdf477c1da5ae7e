// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PublishedTitle.h"

#include <cstdint>
#include <string>

// Told by the application when it has finished starting.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Called once, from the event loop, before any user event is delivered.
    virtual void applicationDidFinishLaunching() = 0;
    // The program was launched again while running.
    virtual void applicationShouldHandleReopen() {}
};

// Modifier keys, as bits.
namespace ModifierFlags {
constexpr std::uint64_t shift = 0x20000;
constexpr std::uint64_t control = 0x40000;
constexpr std::uint64_t option = 0x80000;   // Alt
constexpr std::uint64_t command = 0x100000; // the Super/Meta key
} // namespace ModifierFlags

// How the program presents itself on the desktop.
enum class ActivationPolicy {
    regular = 0,
    // No main window and no taskbar entry: the panel item is the program's only presence.
    accessory = 1,
};

// The one application object of the process, over QApplication.
class Application {
public:
    // Created on first use; lives until the process ends.
    static Application& shared();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Asks the session bus for the running instance's name, without waiting
    // for the answer.
    void claimInstanceName();
    // False when another Tallyglow already runs in this desktop session: the
    // claim's answer, waited for (claimed now if it was not). With no session
    // bus there is no way to tell, and the answer is true.
    bool isOnlyInstanceInSession();

    // Asks the instance that runs in this session to handle a reopening;
    // answers why that failed (one line), or nothing when it was done.
    std::string reopenRunningInstance();

    // Offers the title beside the running instance's name on the session bus
    // (the Title and Masked properties, the TitleChanged signal, and NextTitle
    // for readers that cannot hear signals); nothing while this process does
    // not own that name.
    static void publishTitle(const PublishedTitle& title);

    // The delegate is not owned: whoever made it keeps it for the whole run.
    void setDelegate(ApplicationDelegate* delegate);
    void setActivationPolicy(ActivationPolicy policy);

    // Tells the delegate that launching has finished, then runs the event loop
    // until the application quits; returns its exit status.
    int run();
    // Ends the event loop, and with it the program.
    static void terminate();

    // The modifier keys held for a click: down at this moment, or gone up
    // within about the double-click time, where the desktop lets a program
    // ask (X11; not Wayland, where this is empty). Asked once per click.
    static std::uint64_t modifierFlags();
    // Whether the desktop lets a program ask which keys are down.
    static bool seesHeldKeys();

private:
    Application();

    ApplicationDelegate* delegate = nullptr;
};
