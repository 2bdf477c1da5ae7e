// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

TemporaryFolder::TemporaryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tallyglow-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    folder = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    // A test may have left read-only folders behind.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(folder, ignored);
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

void writeWholeFile(const std::filesystem::path& path, const std::string& contents) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
}

ScopedEnvironment::ScopedEnvironment(std::string variable, const std::string& value)
    : name(std::move(variable)) {
    if (const char* old = std::getenv(name.c_str())) {
        hadPrevious = true;
        previous = old;
    }
    ::setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (hadPrevious) {
        ::setenv(name.c_str(), previous.c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}
