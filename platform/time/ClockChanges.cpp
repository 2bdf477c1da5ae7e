// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockChanges.h"

#include "Calendar.h"

#include <QSocketNotifier>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

ClockChanges::ClockChanges(std::function<void()> changed)
    : changed(std::move(changed)),
      clockWatch(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (clockWatch >= 0) {
        armClockWatch();
        clockSet = std::make_unique<QSocketNotifier>(clockWatch, QSocketNotifier::Read);
        QObject::connect(clockSet.get(), &QSocketNotifier::activated, [this] {
            // Cancelled, not expired: read fails, and the watch is armed again.
            std::uint64_t expirations = 0;
            [[maybe_unused]] const auto read = ::read(clockWatch, &expirations, sizeof expirations);
            armClockWatch();
            this->changed();
        });
    }
    if (const int zoneWatch = Calendar::hostZoneChangeDescriptor(); zoneWatch >= 0) {
        zoneChanged = std::make_unique<QSocketNotifier>(zoneWatch, QSocketNotifier::Read);
        QObject::connect(zoneChanged.get(), &QSocketNotifier::activated, [this] {
            // Looking at the calendar takes in the change, whether or not the zone moved.
            Calendar::current();
            this->changed();
        });
    }
}

ClockChanges::~ClockChanges() {
    clockSet.reset();
    if (clockWatch >= 0) {
        ::close(clockWatch);
    }
}

// A wall-clock timer that never expires but is cancelled whenever the clock
// is set; the kernel cancels it on resume from suspend too.
void ClockChanges::armClockWatch() {
    constexpr time_t year2200 = 7258118400;
    itimerspec never{};
    never.it_value.tv_sec = year2200;
    ::timerfd_settime(clockWatch, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr);
}
