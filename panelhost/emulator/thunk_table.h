// The guest's side of every function panelhost provides: a few bytes of code that trap into the
// host (an `int` the emulator hooks) and return as the function's calling convention says. The
// same region holds the stop address that host-made calls return to, and the runtime's few
// routines that must run as guest code because they call back into the module.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "emulator/guest_memory.h"
#include "loader/module_image.h"

namespace panelhost {

// A provided function: its 32-bit arguments in, the value for EAX out (its low word).
struct Thunk {
  std::string name;  // "KERNEL32.dll!Sleep", "PANELS slot 36 (trigger_key_event)"
  int argumentWords = 0;
  HostFunction service;
};

class ThunkTable {
 public:
  static constexpr std::uint8_t kTrapVector = 0x80;

  // Maps the code region and writes the stop address and the routine that enters ring 3.
  explicit ThunkTable(GuestMemory& memory);

  // `calleePops`: stdcall (the callee removes its arguments) rather than cdecl.
  std::uint32_t add(std::string name, int argumentWords, bool calleePops, HostFunction service);
  // Guest code of the runtime's own; its address.
  std::uint32_t addCode(const std::vector<std::uint8_t>& code);
  // The thunk whose trap instruction ends just before `eip`, or null when the trap came from
  // anywhere else.
  const Thunk* trappedAt(std::uint32_t eip) const;

  std::uint32_t stopAddress() const;
  std::uint32_t enterUserModeAddress() const;

 private:
  GuestMemory& memory_;
  std::uint32_t nextCode_;
  std::deque<Thunk> thunks_;  // stable while a service runs
};

}  // namespace panelhost
