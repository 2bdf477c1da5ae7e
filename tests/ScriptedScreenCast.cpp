// SPDX-License-Identifier: GPL-3.0-or-later
// A screen-cast plug-in whose answer the test sets, and which counts how
// often it was asked. Built under the real plug-in's file name beside the
// test programs, so the detector loads it as it would load the real one.

#include <atomic>

namespace {
std::atomic<bool> answer{false};
std::atomic<int> queries{0};
} // namespace

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED bool tallyglowIsScreenBeingCast() {
    ++queries;
    return answer;
}

EXPORTED void scriptedScreenCastSetAnswer(bool value) {
    answer = value;
}

EXPORTED int scriptedScreenCastQueryCount() {
    return queries;
}
