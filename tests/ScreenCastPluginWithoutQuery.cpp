// SPDX-License-Identifier: GPL-3.0-or-later
// A plug-in file that loads but lacks the query function.

extern "C" __attribute__((visibility("default"))) bool tallyglowSomethingElse() {
    return true;
}
