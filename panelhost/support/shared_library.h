// A shared library panelhost maps only when a command needs it (the emulator's CPU, the viewer's
// window system), with its functions looked up by name into typed pointers.
#pragma once

#include <string>

#include "support/host_error.h"

namespace panelhost {

class SharedLibrary {
 public:
  // Throws HostError: `neededFor` and the loader's reason, when `file` cannot be loaded.
  SharedLibrary(const char* file, const std::string& neededFor);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Leaves the library mapped when this object goes, for a library that keeps threads of its own.
  void keepMapped() { keep_ = true; }

  // Throws HostError naming the library and the function when it lacks one.
  template <typename Function>
  void find(const char* name, Function& into) const {
    into = reinterpret_cast<Function>(address(name));
  }

 private:
  void* address(const char* name) const;

  std::string file_;
  void* handle_ = nullptr;
  bool keep_ = false;
};

}  // namespace panelhost
