// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether another process is capturing the screen (sharing or recording it).
namespace ScreenShareDetector {

// Asks the screen-cast plug-in (PipeWire casts) and, on X11, the sharing
// windows that browsers and Zoom show, and whether another program reads the
// screen (while screen reads are followed). The first call made while a PipeWire
// daemon's socket exists looks the plug-in up, once for the life of the
// process; every call then asks anew. The plug-in's part is false while no
// daemon's socket exists, and when the plug-in or its function is missing.
bool isScreenWatched();

// What can be seen: whether the plug-in loads (PipeWire is installed) and
// reaches a PipeWire daemon, whether sharing windows are followed (X11), and
// whether screen reads can be (X11 with the RECORD extension). Loads the
// plug-in if no query has.
enum class PipeWire { working, missing, notRunning };
struct Detection {
    PipeWire pipeWire = PipeWire::working;
    bool sharingWindows = false;
    bool screenReads = false;
};
Detection detection();

// Starts or stops following other programs' screen reads, where they can be
// followed. It costs the X server a little for every request: only while
// automatic masking is wanted.
void followScreenReads(bool on);

// A file descriptor that becomes readable when the answer may have changed,
// so that a caller can ask again at once, also for a plug-in loaded later;
// -1 only when the system cannot make one. Asking takes in what made it
// readable. Like a query, it may load the plug-in.
int changeDescriptor();

} // namespace ScreenShareDetector
