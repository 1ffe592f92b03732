// The x86 emulator reserves a large stretch of address space for the code it translates, and ends
// the process when it cannot (it leaves no error to report); so the room is asked for before a
// module is opened, and a limit too tight for it (ulimit -v) is an error that says so.
#pragma once

#include <string>

namespace panelhost {

// Throws HostError naming the module at `path` when the room is not there.
void ensureRoomForTheEmulator(const std::string& path);

}  // namespace panelhost
