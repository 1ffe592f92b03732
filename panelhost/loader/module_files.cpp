#include "loader/module_files.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "emulator/emulated_module.h"
#include "loader/in_process_image.h"

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

std::unique_ptr<ModuleImage> openModuleImage(const std::string& path, WindowsHost& windows,
                                             const HostConditions& conditions) {
  // A Windows DLL (the shipped .gau) runs in the emulator whatever its name; anything else is
  // handed to the platform's loader.
  char magic[2] = {};
  std::ifstream file(path, std::ios::binary);
  file.read(magic, sizeof magic);
  if (magic[0] == 'M' && magic[1] == 'Z') {
    EmulatorOptions options;
    options.fpuControl = fpuControlWord(conditions.fpuBits.value_or(53));
    return openEmulatedModule(path, windows, options);
  }
  // A module that is not there is reported as the loader finds it.
  if (conditions.fpuBits && file) {
    throw HostError("--fpu " + std::to_string(*conditions.fpuBits) +
                    " sets the x87 precision of a 32-bit .gau run in the emulator; " + path +
                    " is a native module, which computes with SSE (leave --fpu out for it)");
  }
  return InProcessImage::open(path);
}

}  // namespace panelhost
