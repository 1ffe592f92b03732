// One emulated 32-bit x86 thread in user mode: Unicorn's CPU with the segments a Windows thread
// has (flat code, data and stack, FS on its thread block), its stack, and the traps into
// panelhost's functions. It calls guest functions stdcall and turns whatever goes wrong inside
// into a ModuleFault naming the entry point and the address.
#pragma once

#include <unicorn/unicorn.h>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "emulator/guest_memory.h"
#include "emulator/thunk_table.h"
#include "emulator/unicorn_api.h"

namespace panelhost {

class X86Machine {
 public:
  // `codeLimit` bounds every call: the bytes of code it may run, which bound its instructions.
  explicit X86Machine(std::uint64_t codeLimit);
  ~X86Machine();
  X86Machine(const X86Machine&) = delete;
  X86Machine& operator=(const X86Machine&) = delete;

  GuestMemory& memory() { return memory_; }
  const GuestMemory& memory() const { return memory_; }
  ThunkTable& thunks() { return thunks_; }
  // The x87 control word every call starts with (precision, rounding, masked exceptions).
  void setFpuControl(std::uint16_t control) { fpuControl_ = control; }
  // Names a guest address in fault messages ("comSwapClick+0x12"); "" when it cannot.
  void setAddressNamer(std::function<std::string(std::uint32_t)> namer) {
    namer_ = std::move(namer);
  }

  // The arguments of one call, at most kMostCallArguments; a call allocates nothing.
  struct Arguments {
    std::array<std::uint32_t, 16> words{};
    std::size_t count = 0;
    Arguments() = default;
    Arguments(std::initializer_list<std::uint32_t> list);
  };
  static constexpr std::size_t kMostCallArguments = 16;

  // Calls `function` stdcall and returns EAX. Throws ModuleFault, or what a service threw.
  std::uint32_t call(std::uint32_t function, const Arguments& arguments, const std::string& entry);
  // The same for a function returning a double in ST(0).
  double callReturningDouble(std::uint32_t function, const Arguments& arguments,
                             const std::string& entry);

 private:
  struct Engine {
    const UnicornApi* api;
    void operator()(uc_struct* engine) const;
  };
  struct Outcome {
    std::uint32_t eax = 0;
    int x87Depth = 0;  // values left on the x87 stack
    std::uint8_t st0[16] = {};
  };

  void loadSegments();
  Outcome run(std::uint32_t function, const Arguments& arguments, const std::string& entry);
  [[noreturn]] void fail(const std::string& entry, const std::string& what) const;
  std::string where(std::uint32_t address) const;
  void resetX87();
  // A module that loads other data segments would leave every later call faulting: they are put
  // back as a user thread has them. The first one that had changed, or "".
  std::string restoreSegments();

  static void onInterrupt(uc_struct* engine, std::uint32_t number, void* self);
  static bool onBadAccess(uc_struct* engine, uc_mem_type type, std::uint64_t address, int size,
                          std::int64_t value, void* self);
  static void onBlock(uc_struct* engine, std::uint64_t address, std::uint32_t size, void* self);
  void serve(const Thunk& thunk, std::uint32_t eip);

  std::shared_ptr<const UnicornApi> api_;  // first: the engine below is its
  std::unique_ptr<uc_struct, Engine> engine_;
  GuestMemory memory_;
  ThunkTable thunks_;
  std::function<std::string(std::uint32_t)> namer_;
  std::uint64_t limit_;
  std::uint32_t fpuControl_;
  // The state of the call running now.
  bool running_ = false;
  std::uint64_t executed_ = 0;
  std::string fault_;
  std::exception_ptr thrown_;
};

}  // namespace panelhost
