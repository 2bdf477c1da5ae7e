// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether another process is capturing the screen (sharing or recording it).
namespace ScreenShareDetector {

// The first call looks the screen-cast plug-in up once for the life of the
// process; every call then asks it anew. False when the plug-in or its
// function is missing.
bool isScreenWatched();

// Whether screen casts can be seen at all: the plug-in loads (PipeWire is
// installed) and reaches a PipeWire daemon. Loads the plug-in if no query has.
enum class Detection { working, pipeWireMissing, pipeWireNotRunning };
Detection detection();

// A file descriptor that becomes readable when the answer may have changed,
// so that a caller can ask again at once; -1 before the first query, or when
// the plug-in offers none. Asking takes in what made it readable.
int changeDescriptor();

} // namespace ScreenShareDetector
