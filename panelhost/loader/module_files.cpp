#include "loader/module_files.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

namespace {

// The x86 emulator reserves this much address space for the code it translates, and ends the
// process when it cannot (it leaves no error to report); so the room is asked for first, and a
// limit too tight for it (ulimit -v) is an error that says so.
constexpr std::size_t kEmulatorReserve = std::size_t{1} << 30;
constexpr std::size_t kEmulatorMargin = std::size_t{64} << 20;

void ensureRoomForTheEmulator(const std::string& path) {
  void* probe = mmap(nullptr, kEmulatorReserve + kEmulatorMargin, PROT_NONE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (probe == MAP_FAILED) {
    throw HostError("the module " + path +
                    " could not be loaded (panelhost's x86 emulator reserves 1 GiB of address "
                    "space for the code it translates, and the system gives less: " +
                    std::strerror(errno) + "; see ulimit -v)");
  }
  munmap(probe, kEmulatorReserve + kEmulatorMargin);
}

}  // namespace

std::unique_ptr<ModuleImage> openModuleImage(const std::string& path, HostServices& host,
                                             const HostConditions& conditions) {
  if (moduleKindOf(path) == ModuleKind::Emulated) {
    ensureRoomForTheEmulator(path);
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
