// Any bytes given to the emulator as a .gau end in a loaded module or a HostError, nothing else:
// the loader checks the file, maps it, binds its imports and runs its entry point on a small
// instruction budget.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/emulated_module.h"
#include "support/host_error.h"

namespace {

class NoWindows : public panelhost::WindowsHost {
 public:
  std::uint64_t findWindow(const std::u16string&, const std::u16string&) override { return 0; }
  std::uint64_t setTimer(std::uint64_t, std::uint64_t id, std::uint32_t,
                         panelhost::ModuleAddress) override {
    return id;
  }
  bool killTimer(std::uint64_t, std::uint64_t) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NoWindows windows;
  panelhost::EmulatorOptions options;
  options.codeLimit = 20000;
  try {
    const auto module = panelhost::openEmulatedModule(std::vector<std::uint8_t>(data, data + size),
                                                      "fuzz.gau", windows, options);
    if (const auto linkage = module->exportAddress("Linkage")) module->nameOf(*linkage);
    for (const std::uint32_t id : {7u, 4096u}) module->bitmapResource(id);
  } catch (const panelhost::HostError&) {
  }
  return 0;
}
