// Where panelhost finds a module a panel names: MODULE.so beside the panelhost executable, or the
// shipped MODULE.gau there when no native build of it is.
#pragma once

#include <memory>
#include <string>

#include "loader/module_image.h"
#include "services/host_conditions.h"

namespace panelhost {

class HostServices;

// The file of module `moduleName` in `folder`: MODULE.so, else MODULE.gau when only that is there.
std::string moduleFileIn(const std::string& folder, const std::string& moduleName);

// The folder that holds the running panelhost executable (the module sits beside it).
std::string executableFolder();

// Loads the module at `path` into `host`, which must outlive it: a native shared object in this
// process, or a 32-bit Windows DLL in the x86 emulator, as module_kind.h decides, its calls
// starting with the x87 precision `conditions` asks for. Throws HostError saying why it cannot, or
// when a precision is asked of a native module.
std::unique_ptr<ModuleImage> openModuleImage(const std::string& path, HostServices& host,
                                             const HostConditions& conditions = {});

}  // namespace panelhost
