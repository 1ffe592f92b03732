#include "loader/module_files.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "emulator/emulated_module.h"
#include "loader/in_process_image.h"
#include "loader/module_kind.h"
#include "services/host_services.h"
#include "support/host_error.h"

namespace panelhost {

std::string moduleFileIn(const std::string& folder, const std::string& moduleName) {
  const std::string native = folder + "/" + moduleName + ".so";
  const std::string windows = folder + "/" + moduleName + ".gau";
  std::error_code ignored;
  if (!std::filesystem::exists(native, ignored) && std::filesystem::exists(windows, ignored)) {
    return windows;
  }
  return native;
}

std::string executableFolder() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return ".";
  std::string exe(path.data(), static_cast<std::size_t>(length));
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

std::unique_ptr<ModuleImage> openModuleImage(const std::string& path, HostServices& host,
                                             const HostConditions& conditions) {
  if (moduleKindOf(path) == ModuleKind::Emulated) {
    EmulatorOptions options;
    // Unset, the call starts as a Windows thread does (the emulator's own default).
    if (conditions.fpuBits) options.fpuControl = fpuControlWord(*conditions.fpuBits);
    return openEmulatedModule(path, host, options);
  }
  if (conditions.fpuBits) {
    throw HostError("--fpu " + std::to_string(*conditions.fpuBits) +
                    " sets the x87 precision of a 32-bit .gau run in the emulator; " + path +
                    " is a native module, which computes with SSE (leave --fpu out for it)");
  }
  return InProcessImage::open(path, host.trampolines());
}

}  // namespace panelhost
