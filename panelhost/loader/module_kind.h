// Which loader a module file goes to, decided by its name first: only an ELF shared object named
// .so is loaded as native code; a .gau runs in the x86 emulator whatever it holds, so that no byte
// of a file a panel designer would install ever runs natively, not even for `info`. A file whose
// content does not match its name is refused, saying what it is.
#pragma once

#include <string>

namespace panelhost {

enum class ModuleKind { Native, Emulated };

// Reads the start of the file. Throws HostError "the module PATH could not be loaded (REASON)"
// for a file that is missing, not a regular file, or not what its name says.
ModuleKind moduleKindOf(const std::string& path);

}  // namespace panelhost
