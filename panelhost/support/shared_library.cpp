#include "support/shared_library.h"

#include <dlfcn.h>

namespace panelhost {

SharedLibrary::SharedLibrary(const char* file, const std::string& neededFor) : file_(file) {
  handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    throw HostError(neededFor + ", which needs " + file_ + ": " +
                    (why ? why : "it could not be loaded"));
  }
}

SharedLibrary::~SharedLibrary() {
  if (!keep_) dlclose(handle_);
}

void* SharedLibrary::address(const char* name) const {
  void* found = dlsym(handle_, name);
  if (found == nullptr) throw HostError(file_ + " lacks " + name);
  return found;
}

}  // namespace panelhost
