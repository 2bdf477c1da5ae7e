// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

// Where one of the program's own libraries is: beside the program in a
// build; installed, in a private library folder that the build names
// relative to the program's own folder, so that a staged or moved
// installation finds it too. Empty when the program cannot tell where it is.
std::filesystem::path privateLibraryPath(const char* fileName);
