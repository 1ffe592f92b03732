#include "emulator/unicorn_api.h"

namespace panelhost {

std::shared_ptr<const UnicornApi> UnicornApi::load() {
  std::shared_ptr<UnicornApi> api(
      new UnicornApi("libunicorn.so.2",
                     "a 32-bit module runs in an x86 emulator (Debian's libunicorn2; "
                     "scripts/setup installs it)"));
  const SharedLibrary& l = api->library_;
  l.find("uc_open", api->open);
  l.find("uc_close", api->close);
  l.find("uc_strerror", api->strerror);
  l.find("uc_mem_map_ptr", api->memMapPtr);
  l.find("uc_mem_protect", api->memProtect);
  l.find("uc_reg_read", api->regRead);
  l.find("uc_reg_write", api->regWrite);
  l.find("uc_reg_read_batch", api->regReadBatch);
  l.find("uc_reg_write_batch", api->regWriteBatch);
  l.find("uc_emu_start", api->emuStart);
  l.find("uc_emu_stop", api->emuStop);
  l.find("uc_hook_add", api->hookAdd);
  l.find("uc_ctl", api->control);
  return api;
}

}  // namespace panelhost
