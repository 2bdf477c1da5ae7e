// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Written to by the signal handler, read by the event loop.
int endRequests[2] = {-1, -1};

void requestEnd(int) {
    const char byte = 1;
    // Nothing else is safe here; a full buffer already holds a request.
    [[maybe_unused]] const auto written = ::write(endRequests[1], &byte, 1);
}

} // namespace

// Each ends the program as "Quit" does, so that changes still waiting are written.
void quitOnEndSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, endRequests) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(endRequests[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (::read(endRequests[0], bytes, sizeof bytes) > 0) {
        }
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = requestEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}
