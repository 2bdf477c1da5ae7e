// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The modifier keys held for a click, as ModifierFlags bits, where the
// desktop lets a program ask (X11).
namespace HeldKeys {
// Starts hearing the keyboard's state, on X11; once, with the application made.
void listen();
// Down at this moment, or gone up within about the double-click time.
std::uint64_t forClick();
} // namespace HeldKeys
