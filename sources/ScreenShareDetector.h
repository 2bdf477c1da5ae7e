#pragma once

// Whether another process is capturing the screen (sharing or recording it).
namespace ScreenShareDetector {

// The first call looks the screen-watch plug-in up once for the life of the
// process; every call then asks it anew. False when the plug-in or its
// function is missing.
bool isScreenWatched();

} // namespace ScreenShareDetector
