// panelhost's guest routine that makes a sequence of calls into the module in one entry into the
// CPU, and checks each call as panelhost checks any: an update cycle's gauge and element
// callbacks, a drawing pass's, or a single call.
//
// Each call's frame lies ready on the stack before the entry: the address it returns to, its
// arguments; the frames one above the other, so that a callee that pops its arguments (stdcall)
// leaves ESP at the next frame. A callee returns to a landing of its kind, which checks ESP, EBX,
// ESI, EDI, EBP, the direction flag, the segment registers and the x87 stack, stores the result,
// sets the registers and flags as a thread starts them, loads the x87 control word and jumps to
// the next callee. A check that fails traps into panelhost at failed(), the state left as the
// callee left it but for ESI, which is in ECX, for panelhost to say what was wrong.
//
// panelhost keeps the count: its block hook sees each landing start and moves the routine's
// words on (the ESP to expect, where the result goes, the function called next), in a page the
// module can read but not write.
#pragma once

#include <cstddef>
#include <cstdint>

#include "emulator/guest_layout.h"

namespace panelhost {

class GuestMemory;

class CallRoutine {
 public:
  // What a callee leaves, and whether it is kept: an integer in EAX or nothing (the x87 stack
  // empty), or a double alone in ST(0).
  enum class Landing : std::uint8_t { kNothing, kInteger, kDouble, kDoubleUnread };
  static constexpr int kLandings = 4;
  // The calls one entry makes at most: each has a result slot of 16 bytes.
  static constexpr std::size_t kMostCalls = 1024;
  // The landings lie this far apart, in the second half of the routine's page.
  static constexpr std::uint32_t kLandingStride = 0x100;

  // Maps the routine's code, words and results, and writes its code.
  // `trap` is the interrupt vector that reaches panelhost.
  CallRoutine(GuestMemory& memory, std::uint8_t trap);

  // Where an entry starts, ESP on the first frame.
  std::uint32_t start() const { return start_; }
  // The trap (int 0x80) a check that failed ends in; EIP is 2 bytes past it then.
  std::uint32_t failed() const { return failed_; }
  static std::uint32_t landing(Landing kind) {
    return kFirstLanding + static_cast<std::uint32_t>(kind) * kLandingStride;
  }
  // True for the first address of a landing, where a callee returns to. The landings are the
  // routine's last code: a block hook from the first up sees nothing else of it.
  static bool isLanding(std::uint32_t address) {
    const std::uint32_t offset = address - kFirstLanding;
    return offset % kLandingStride == 0 && offset / kLandingStride < kLandings;
  }
  static constexpr std::uint32_t kFirstLanding = guest::kCallerCodeBase + 0x800;

  // The routine's words.
  void setControlWord(std::uint16_t control);
  void setNext(std::uint32_t function) { *next_ = function; }
  void setReturned(std::uint32_t espAfter, std::size_t call);
  // The result stored for the call at `index` of the entry: EAX's 4 bytes, or ST(0)'s 10.
  const std::uint8_t* result(std::size_t index) const;

 private:
  std::uint32_t start_ = 0;
  std::uint32_t failed_ = 0;
  std::uint32_t* next_;
  std::uint32_t* expectedEsp_;
  std::uint32_t* resultSlot_;
  std::uint32_t* controlWord_;
  const std::uint8_t* results_;
};

}  // namespace panelhost
