// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// Tells when the local time may have jumped: the wall clock was set, the
// machine woke from suspend, or the host's time zone changed. A program that
// sleeps until the next moment its figure changes is woken by these.
class ClockChanges {
public:
    // `changed` runs from the event loop after each jump.
    explicit ClockChanges(std::function<void()> changed);
    ~ClockChanges();
    ClockChanges(const ClockChanges&) = delete;
    ClockChanges& operator=(const ClockChanges&) = delete;

private:
    void armClockWatch();

    std::function<void()> changed;
    int clockWatch = -1;
    std::unique_ptr<QSocketNotifier> clockSet;
    std::unique_ptr<QSocketNotifier> zoneChanged;
};
