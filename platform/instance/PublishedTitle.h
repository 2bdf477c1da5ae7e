// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The title as the panel item shows it, for commands that print it.
struct PublishedTitle {
    std::string text;
    // Whether the text hides the amount. The program decides; this only carries it.
    bool masked = false;

    bool operator==(const PublishedTitle&) const = default;
};
