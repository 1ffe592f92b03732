// The shipped 32-bit .gau run in an x86 emulator: the module seam over a PE32 i386 DLL, loaded and
// started as the simulator's 32-bit Windows process would load it. Bad or hostile files and
// modules end in HostError or ModuleFault, never in a crash of panelhost.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/windows_definitions.h"
#include "loader/module_image.h"
#include "loader/windows_host.h"

namespace panelhost {

struct EmulatorOptions {
  // Every call into the module, the DLL entry point's included, must return having run at most
  // this many bytes of code (which bounds its instructions).
  std::uint64_t codeLimit = 50'000'000;
  // Load the image here instead of at its preferred base (the relocations then move it).
  std::optional<std::uint32_t> imageBase;
  // The x87 control word every call into the module starts with. A Windows thread starts with
  // 0x27F (53-bit precision); a host whose 3-D library leaves it at 24 bits has 0x07F.
  std::uint16_t fpuControl = win32::kThreadFpuControl;
};

// Loads the DLL at `path`, binds its imports, runs its TLS callbacks and its entry point for
// process attach. The image calls the entry point for process detach when destroyed. `windows`
// must outlive the image. Throws HostError saying what is wrong with the file or the module.
std::unique_ptr<ModuleImage> openEmulatedModule(const std::string& path, WindowsHost& windows,
                                                const EmulatorOptions& options = {});
// The same from the file's bytes; `path` only names it in messages.
std::unique_ptr<ModuleImage> openEmulatedModule(std::vector<std::uint8_t> file,
                                                const std::string& path, WindowsHost& windows,
                                                const EmulatorOptions& options = {});

}  // namespace panelhost
