// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateLibrary.h"

std::filesystem::path privateLibraryPath(const char* fileName) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const std::filesystem::path besideProgram = program.parent_path() / fileName;
    const std::filesystem::path installed =
        (program.parent_path() / TALLYGLOW_PLUGIN_FOLDER_FROM_PROGRAM / fileName)
            .lexically_normal();
    if (!std::filesystem::exists(besideProgram, error) &&
        std::filesystem::exists(installed, error)) {
        return installed;
    }
    return besideProgram;
}
