// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppSettings.h"

#include <memory>

// Builds stores over a test's or benchmark's own preferences file; the one
// production store is AppSettings::shared().
struct AppSettingsTesting {
    static std::unique_ptr<AppSettings> make(std::shared_ptr<Defaults> defaults) {
        return std::unique_ptr<AppSettings>(new AppSettings(std::move(defaults)));
    }
};
