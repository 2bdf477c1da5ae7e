// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The session (logout, shutdown) and a terminal end the program with SIGTERM,
// SIGINT and SIGHUP; from now on each ends it as "Quit" does, from the event loop.
void quitOnEndSignals();
