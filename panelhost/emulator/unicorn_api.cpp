#include "emulator/unicorn_api.h"

#include <dlfcn.h>

#include <string>

#include "support/host_error.h"

namespace panelhost {

namespace {

constexpr const char* kLibrary = "libunicorn.so.2";

template <typename Function>
void find(void* library, const char* name, Function& into) {
  into = reinterpret_cast<Function>(dlsym(library, name));
  if (into == nullptr) {
    throw HostError(std::string("the emulator's CPU library ") + kLibrary + " lacks " + name);
  }
}

}  // namespace

std::shared_ptr<const UnicornApi> UnicornApi::load() {
  std::shared_ptr<UnicornApi> api(new UnicornApi());
  api->library_ = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (api->library_ == nullptr) {
    const char* why = dlerror();
    throw HostError(std::string("a 32-bit module runs in an x86 emulator, which needs ") +
                    kLibrary + " (Debian's libunicorn2; scripts/setup installs it): " +
                    (why ? why : "it could not be loaded"));
  }
  void* library = api->library_;
  find(library, "uc_open", api->open);
  find(library, "uc_close", api->close);
  find(library, "uc_strerror", api->strerror);
  find(library, "uc_mem_map", api->memMap);
  find(library, "uc_mem_protect", api->memProtect);
  find(library, "uc_mem_read", api->memRead);
  find(library, "uc_mem_write", api->memWrite);
  find(library, "uc_reg_read", api->regRead);
  find(library, "uc_reg_write", api->regWrite);
  find(library, "uc_reg_read_batch", api->regReadBatch);
  find(library, "uc_reg_write_batch", api->regWriteBatch);
  find(library, "uc_emu_start", api->emuStart);
  find(library, "uc_emu_stop", api->emuStop);
  find(library, "uc_hook_add", api->hookAdd);
  find(library, "uc_ctl", api->control);
  return api;
}

UnicornApi::~UnicornApi() {
  if (library_) dlclose(library_);
}

}  // namespace panelhost
