// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the running Tallyglow answers on the session bus. The name is owned
// while it runs, so that a second launch, or a panel's command asking for the
// title, can tell.
namespace InstanceBus {
inline const char* const name = "org.tallyglow.Tallyglow";
inline const char* const path = "/org/tallyglow/Tallyglow";
inline const char* const interface = "org.tallyglow.Tallyglow";
} // namespace InstanceBus
