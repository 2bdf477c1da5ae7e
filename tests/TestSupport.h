// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppSettingsTesting.h"
#include "Defaults.h"

#include <filesystem>
#include <memory>
#include <string>

// A fresh folder under the system's temporary folder, removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path operator/(const std::string& name) const { return folder / name; }

private:
    std::filesystem::path folder;
};

std::string readWholeFile(const std::filesystem::path& path);
void writeWholeFile(const std::filesystem::path& path, const std::string& contents);

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name;
    std::string previous;
    bool hadPrevious = false;
};
