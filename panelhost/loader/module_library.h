// The platform loader behind one small interface: on Linux dlopen of MODULE.so, on Windows
// LoadLibrary of MODULE.gau. Nothing else in panelhost knows which.
#pragma once

#include <memory>
#include <string>

namespace panelhost {

class ModuleLibrary {
 public:
  virtual ~ModuleLibrary() = default;
  // The address of an exported symbol, or null when the module lacks it.
  virtual void* symbol(const char* name) const = 0;
  // A readable name for a code address inside the module ("comSwapClick"), or "" when unknown.
  virtual std::string nameOf(const void* address) const = 0;
};

// Loads the library at `path` afresh; throws HostError saying why when it cannot.
std::unique_ptr<ModuleLibrary> openModuleLibrary(const std::string& path);

// "radios.so" here, "radios.gau" on Windows.
std::string moduleFileName(const std::string& moduleName);

// The folder that holds the running panelhost executable (the module sits beside it).
std::string executableFolder();

}  // namespace panelhost
