// One emulated 32-bit x86 thread in user mode: Unicorn's CPU with the segments a Windows thread
// has (flat code, data and stack, FS on its thread block), its stack, and the traps into
// panelhost's functions. It calls guest functions stdcall, a sequence of them in one entry into
// the CPU (see call_routine.h), checks each call, and turns whatever goes wrong inside into a
// ModuleFault naming the call's entry point and the address.
#pragma once

#include <unicorn/unicorn.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "emulator/call_routine.h"
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
  void setFpuControl(std::uint16_t control) { routine_.setControlWord(control); }
  // Names a guest address in fault messages ("comSwapClick+0x12"); "" when it cannot.
  void setAddressNamer(std::function<std::string(std::uint32_t)> namer) {
    namer_ = std::move(namer);
  }

  // A call of a sequence is the host's own record (loader/module_image.h): the function, its
  // arguments (each passed as its low 32 bits), whether it returns a double in ST(0) rather than
  // an integer in EAX, and what names it in a fault. Taken as it is, so that a batch needs no
  // copy of its own; a function above 4 GiB is a fault of its call.
  using Call = ModuleCall;
  using Result = CallResult;

  // Makes the calls one after another, each checked when it returns, in one entry into the CPU
  // (more when there are more than its routine takes at once). `results`, when not null, gets
  // each call's result. Throws ModuleFault naming the call that failed, or what a service threw;
  // the calls after it are not made. Allocates nothing once its buffers have grown.
  void callInOrder(const Call* calls, std::size_t count, Result* results);
  // One call, returning EAX. At most ModuleCall::kMostArguments arguments.
  std::uint32_t call(std::uint32_t function, std::initializer_list<std::uint64_t> arguments,
                     const std::string& entry);
  // One call of a function returning a double in ST(0).
  double callReturningDouble(std::uint32_t function, std::initializer_list<std::uint64_t> arguments,
                             const std::string& entry);

 private:
  struct Engine {
    const UnicornApi* api;
    void operator()(uc_struct* engine) const;
  };
  // The calls of the entry running now.
  struct Entry {
    const Call* calls = nullptr;
    std::size_t count = 0;
  };

  static Call callOf(std::uint32_t function, std::initializer_list<std::uint64_t> arguments,
                     bool returnsDouble, const std::string& entry);
  void loadSegments();
  std::size_t callsFittingOneEntry(const Call* calls, std::size_t count) const;
  void enter(const Call* calls, std::size_t count, Result* results);
  [[noreturn]] void diagnose(std::uint32_t eip);
  [[noreturn]] void diagnoseReturn(const Call& call, std::uint32_t expectedEsp, bool esiInEcx);
  [[noreturn]] static void fail(const Call& call, const std::string& what);
  static std::string x87Left(const Call& call, int values);
  std::string where(std::uint32_t address) const;
  void resetX87();
  // A module that loads other data segments would leave every later call faulting: they are put
  // back as a user thread has them. The first one that had changed, or "".
  std::string restoreSegments();
  void returned();

  static void onInterrupt(uc_struct* engine, std::uint32_t number, void* self);
  static bool onBadAccess(uc_struct* engine, uc_mem_type type, std::uint64_t address, int size,
                          std::int64_t value, void* self);
  static void onBlock(uc_struct* engine, std::uint64_t address, std::uint32_t size, void* self);
  void serve(const Thunk& thunk, std::uint32_t eip);
  // A store storeInPlace did not make: made by the memory's general path, or refused.
  __attribute__((noinline)) bool storeOrRefuse(uc_struct* engine, uc_mem_type type,
                                               std::uint64_t address, int size, std::int64_t value);
  // What a refused access did, for the fault.
  __attribute__((noinline)) void refuse(uc_struct* engine, uc_mem_type type, std::uint64_t address,
                                        int size);

  std::shared_ptr<const UnicornApi> api_;  // first: the engine below is its
  std::unique_ptr<uc_struct, Engine> engine_;
  GuestMemory memory_;
  ThunkTable thunks_;
  CallRoutine routine_;
  std::function<std::string(std::uint32_t)> namer_;
  std::uint64_t limit_;
  // The entry running now: its calls, their frames' ESP after each returns, the calls returned.
  bool running_ = false;
  Entry entry_;
  std::vector<std::uint32_t> espAfter_;
  std::uint32_t* frameArea_ = nullptr;  // the stack's kMostFrameBytes below kCallFrameTop
  std::size_t returned_ = 0;
  bool checkFailed_ = false;  // the routine found a callee that did not return as it must
  std::uint64_t executed_ = 0;
  std::string fault_;
  std::exception_ptr thrown_;
};

}  // namespace panelhost
