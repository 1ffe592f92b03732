#include "emulator/emulator_room.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "support/host_error.h"

namespace panelhost {

namespace {

// What the emulator reserves for its translated code, and room beside it for the module's own.
constexpr std::size_t kEmulatorReserve = std::size_t{1} << 30;
constexpr std::size_t kEmulatorMargin = std::size_t{64} << 20;

}  // namespace

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

}  // namespace panelhost
