// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Loads one of the program's own libraries: beside the program in a build;
// installed, from a private library folder that the build names relative to
// the program's own folder, so that a staged or moved installation finds it
// too. Null when it cannot be loaded; dlerror() says why.
void* openPrivateLibrary(const char* fileName);
