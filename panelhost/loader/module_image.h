// The one seam between panelhost and a loaded gauge module: the module's memory, read and written
// at integer addresses, and its functions, called at an address. panelhost knows the module's
// records only through its own description of the host's layout (abi/), read through this seam,
// so a mistake in the module's declarations shows as a wrong reading here, never as agreement.
//
// Two implementations: the native module in this process (dlopen), and the shipped 32-bit .gau in
// an x86 emulator. Addresses are integers of the module's own address space, never pointers to
// panelhost's structures.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "support/host_error.h"

namespace panelhost {

using ModuleAddress = std::uint64_t;

// The module did something a host cannot go on from: touched memory that is not its own, ran an
// illegal instruction, left the stack unbalanced, did not return in time, or called a service the
// host does not offer. The message names the address and the entry point that was called.
class ModuleFault : public HostError {
 public:
  using HostError::HostError;
};

// The arguments of a call across the seam: of a host service as the module calls it, and of a
// module's function as the emulator calls it. One machine word each (a 32-bit value as it was
// passed; words past the call's own count are 0). A fixed array, so that a call allocates nothing.
// A host service hands back an integer.
constexpr std::size_t kMostHostArguments = 8;
using HostArguments = std::array<std::uint64_t, kMostHostArguments>;
using HostFunction = std::function<std::uint64_t(const HostArguments& arguments)>;

// One call of a batch (ModuleImage::callInOrder), as call() or callReturningDouble() makes it.
struct ModuleCall {
  static constexpr std::size_t kMostArguments = 4;
  ModuleAddress function = 0;
  std::array<std::uint64_t, kMostArguments> arguments{};
  std::uint8_t argumentCount = 0;
  bool returnsDouble = false;
  const std::string* entry = nullptr;  // names the call in a fault; outlives the batch
};

// What a call of a batch returned: its integer, or its double.
struct CallResult {
  std::uint64_t integer = 0;
  double value = 0;
};

class ModuleImage {
 public:
  virtual ~ModuleImage() = default;

  virtual const std::string& path() const = 0;
  // 4 when the module's records are in the 32-bit layout, 8 in the 64-bit one.
  virtual int pointerSize() const = 0;

  // Throws ModuleFault when the range is not readable (writable) memory of the module's.
  virtual void read(ModuleAddress at, void* into, std::size_t bytes) const = 0;
  virtual void write(ModuleAddress at, const void* from, std::size_t bytes) = 0;

  // The address of an exported symbol, or nothing when the module lacks it.
  virtual std::optional<ModuleAddress> exportAddress(const std::string& name) const = 0;
  // A readable name for a function of the module ("comSwapClick"), or "" when it does not say.
  virtual std::string nameOf(ModuleAddress function) const = 0;
  // The module's handle as the host's loader gives it (on Windows, where the image lies), for the
  // install service; 0 when there is none.
  virtual ModuleAddress moduleHandle() const = 0;

  // Calls the module's function at `function` with integer arguments, in the host's calling
  // convention (stdcall on i686), and returns the integer it returns (0 for a void function).
  // `entry` says which entry point this is, for a fault's message ("the gauge callback of
  // \"ADF\""). Throws ModuleFault.
  virtual std::uint64_t call(ModuleAddress function, std::initializer_list<std::uint64_t> arguments,
                             const std::string& entry) = 0;
  // The same for a function that returns a double (on i686 in ST(0)).
  virtual double callReturningDouble(ModuleAddress function,
                                     std::initializer_list<std::uint64_t> arguments,
                                     const std::string& entry) = 0;

  // Makes the calls one after another, each as call() or callReturningDouble() makes it, with
  // every check after each; a fault names the call that made it, and the calls after it are not
  // made. `results`, when not null, receives each call's result. The emulated module makes them
  // in one entry into its CPU; nothing is allocated once the image has made a batch as long.
  virtual void callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results) = 0;

  // Memory the host owns and the module may use: zero-filled, exactly `bytes` long, valid while
  // the image lives. Text buffers and the PANELS table live here. `purpose` names the block when
  // the module writes outside it ("the text buffer of ...").
  virtual ModuleAddress allocateHostBlock(std::size_t bytes, const std::string& purpose) = 0;
  // An address the module can call, in its calling convention, that runs `service`.
  // `argumentWords` is how many words the service takes (on i686 the callee pops them). A service
  // may throw; the module's call is then abandoned and the throw reaches panelhost's caller.
  virtual ModuleAddress hostFunction(const std::string& name, int argumentWords,
                                     HostFunction service) = 0;

  // The bytes of the module's bitmap resource `id` as a .bmp file would hold them, or nothing
  // when the image carries no such resource (the native module carries none: its bitmaps come
  // from the resource script beside it).
  virtual std::optional<std::vector<std::uint8_t>> bitmapResource(std::uint32_t id) const = 0;
};

}  // namespace panelhost
