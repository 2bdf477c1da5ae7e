// SPDX-License-Identifier: GPL-3.0-or-later
// For bench/x11-record: the program's follower of other clients' screen reads
// (ScreenReads), alone in a Qt program on X11, as the program runs it. Prints
// "following" once it follows, then "reading" and "stopped" as the answer
// changes.
#include "ScreenReads.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    ScreenReads* reads = ScreenReads::shared();
    if (reads) {
        reads->follow(true);
    }
    if (!reads || !reads->isFollowing()) {
        std::fprintf(stderr, "screen reads cannot be followed here\n");
        return 1;
    }
    std::printf("following\n");
    std::fflush(stdout);
    QSocketNotifier changes(reads->changeDescriptor(), QSocketNotifier::Read);
    QObject::connect(&changes, &QSocketNotifier::activated, [reads] {
        std::printf("%s\n", reads->isAnyReading() ? "reading" : "stopped");
        std::fflush(stdout);
    });
    return application.exec();
}
