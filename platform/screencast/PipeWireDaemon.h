// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a PipeWire daemon may be there to connect to, told from the socket
// its clients connect to, without loading PipeWire.
namespace PipeWireDaemon {

// True when a socket PipeWire's clients would try exists, or when the
// environment names one in a way not understood here: only a certain absence
// says false. A look costs a few stat calls.
bool mayBeReachable();

} // namespace PipeWireDaemon
