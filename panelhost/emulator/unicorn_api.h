// Unicorn's functions, found in its shared library when an emulated module is opened rather than
// linked into panelhost: a run of the native module never maps the emulator's CPU, whose library
// alone would take more memory than the whole run of the panel otherwise does.
#pragma once

#include <unicorn/unicorn.h>

#include <memory>

#include "support/shared_library.h"

namespace panelhost {

class UnicornApi {
 public:
  // Throws HostError saying what is missing when the library or one of its functions is not there.
  static std::shared_ptr<const UnicornApi> load();
  UnicornApi(const UnicornApi&) = delete;
  UnicornApi& operator=(const UnicornApi&) = delete;

  decltype(&::uc_open) open = nullptr;
  decltype(&::uc_close) close = nullptr;
  decltype(&::uc_strerror) strerror = nullptr;
  decltype(&::uc_mem_map_ptr) memMapPtr = nullptr;
  decltype(&::uc_mem_protect) memProtect = nullptr;
  decltype(&::uc_reg_read) regRead = nullptr;
  decltype(&::uc_reg_write) regWrite = nullptr;
  decltype(&::uc_reg_read_batch) regReadBatch = nullptr;
  decltype(&::uc_reg_write_batch) regWriteBatch = nullptr;
  decltype(&::uc_emu_start) emuStart = nullptr;
  decltype(&::uc_emu_stop) emuStop = nullptr;
  decltype(&::uc_hook_add) hookAdd = nullptr;
  decltype(&::uc_ctl) control = nullptr;

 private:
  UnicornApi(const char* file, const char* neededFor) : library_(file, neededFor) {}
  SharedLibrary library_;
};

}  // namespace panelhost
