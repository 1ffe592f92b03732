#include "emulator/call_routine.h"

#include <stdexcept>
#include <vector>

#include "emulator/guest_layout.h"
#include "emulator/guest_memory.h"
#include "emulator/pe_image.h"
#include "emulator/thread_state.h"
#include "emulator/windows_definitions.h"
#include "emulator/x86_code.h"

namespace panelhost {
namespace {

// The routine's words, which panelhost writes and the routine reads.
constexpr std::uint32_t kNext = guest::kCallerWordsBase;  // the function to jump to next
constexpr std::uint32_t kExpectedEsp = kNext + 4;         // ESP after the callee that returned
constexpr std::uint32_t kResultSlot = kNext + 8;          // where its result goes
constexpr std::uint32_t kControlWord = kNext + 12;        // the x87 control word of every call
constexpr std::uint32_t kDirectionProbe = kNext + 16;     // a byte for lodsb to step over
constexpr std::uint32_t kResultBytes = 16;
static_assert(CallRoutine::kMostCalls * kResultBytes <= guest::kCallerResultsSize);

// x87 status word: the condition codes fxam sets, and the top of the stack.
constexpr std::uint32_t kC0 = 0x0100, kC2 = 0x0400, kC3 = 0x4000;
constexpr std::uint32_t kTop = 0x3800;
constexpr std::uint32_t kEmptyClass = kC3 | kC0;  // fxam's answer for an empty ST(0)

using R = Reg;

// EDX gathers, by OR, everything the callee did not leave as it must; 0 when all is well.
void emitChecks(X86Code& code, CallRoutine::Landing kind) {
  if (kind == CallRoutine::Landing::kInteger) {
    code.movRegMem(R::kEdx, kResultSlot);  // mov edx, [result slot]
    code.movAtRegReg(R::kEdx, R::kEax);    // mov [edx], eax: kept before the checks need EAX
  }
  code.movRegReg(R::kEcx, R::kEsi);  // mov ecx, esi: the callee's ESI, for panelhost's message
  code.movRegReg(R::kEdx, R::kEbx);  // mov edx, ebx
  code.xorRegImm(R::kEdx, thread::kSaved[0]);  // EBX as the thread has it,
  code.orRegReg(R::kEdx, R::kEcx);             // ESI,
  code.orRegReg(R::kEdx, R::kEdi);             // EDI and
  code.orRegReg(R::kEdx, R::kEbp);             // EBP 0
  code.movRegReg(R::kEax, R::kEsp);            // mov eax, esp
  code.xorRegMem(R::kEax, kExpectedEsp);       // ESP just past the callee's arguments
  code.orRegReg(R::kEdx, R::kEax);
  code.movRegImm(R::kEsi, kDirectionProbe);  // mov esi, probe
  code.lodsb();                              // lodsb: ESI one up, or down with DF set
  code.leaRegRegDisp(R::kEax, R::kEsi, -static_cast<std::int32_t>(kDirectionProbe + 1));
  code.orRegReg(R::kEdx, R::kEax);
  // DS and ES, then SS and FS, as one word each: the first in the high half, the second low.
  const struct {
    SegmentReg high, low;
    std::uint32_t selectors;
  } pairs[] = {{SegmentReg::kDs, SegmentReg::kEs, thread::kUserData << 16 | thread::kUserData},
               {SegmentReg::kSs, SegmentReg::kFs, thread::kUserData << 16 | thread::kThreadBlock}};
  for (const auto& [high, low, selectors] : pairs) {
    code.movRegSegment(R::kEax, high);   // mov eax, high
    code.shlRegImm8(R::kEax, 16);        // shl eax, 16
    code.movReg16Segment(R::kEax, low);  // mov ax, low
    code.xorRegImm(R::kEax, selectors);
    code.orRegReg(R::kEdx, R::kEax);
  }
  code.movRegSegment(R::kEax, SegmentReg::kGs);  // GS 0
  code.orRegReg(R::kEdx, R::kEax);
  code.fxam();      // fxam: what ST(0) holds, in C3 C2 C0
  code.fnstswAx();  // fnstsw ax: with the top of the stack
  const bool leavesDouble =
      kind == CallRoutine::Landing::kDouble || kind == CallRoutine::Landing::kDoubleUnread;
  if (!leavesDouble) {
    code.andRegImm(R::kEax, kTop | kC3 | kC2 | kC0);  // an empty stack: the top at register 0,
    code.xorRegImm(R::kEax, kEmptyClass);             // ST(0) empty
    code.orRegReg(R::kEdx, R::kEax);
    return;
  }
  code.movRegReg(R::kEsi, R::kEax);
  code.andRegImm(R::kEax, kTop);  // one value pushed: the top at register 7
  code.xorRegImm(R::kEax, kTop);
  code.orRegReg(R::kEdx, R::kEax);
  code.andRegImm(R::kEsi, kC3 | kC2 | kC0);  // and ST(0) not empty
  code.xorRegImm(R::kEsi, kEmptyClass);      // ESI 0 when empty,
  code.cmpRegImm8(R::kEsi, 1);               // then the carry set
  code.sbbRegReg(R::kEax, R::kEax);          // and EAX all ones
  code.orRegReg(R::kEdx, R::kEax);
}

// The callee's double, once all is well: stored whole (80 bits), or dropped.
void emitResult(X86Code& code, CallRoutine::Landing kind) {
  if (kind == CallRoutine::Landing::kDouble) {
    code.movRegMem(R::kEdx, kResultSlot);  // mov edx, [result slot]
    code.fstpTwordAtReg(R::kEdx);          // fstp tword [edx]
    code.movRegImm(R::kEdx, 0);
  } else if (kind == CallRoutine::Landing::kDoubleUnread) {
    code.fstpSt0();  // fstp st(0)
  }
}

// The next call, its registers, EFLAGS and x87 control word as a thread starts them; its frame
// (return address, arguments) is then where ESP points. After a call that passed the checks, EBX,
// ECX (the callee's ESI), EDX, EDI and EBP hold what they must already: only EAX and ESI are set.
// Every arithmetic flag clear, as a test of 1 leaves them (EFLAGS 0x202, the direction flag
// checked clear); not popfd, after which the CPU stops to look at the new flags.
void emitNext(X86Code& code) {
  code.movRegImm(R::kEsi, 1);
  code.testRegReg(R::kEsi, R::kEsi);
  code.movRegImm(R::kEsi, 0);  // mov, which leaves the flags alone
  code.movRegImm(R::kEax, 0);
  code.fldcwMem(kControlWord);  // fldcw [control word]
  code.jmpMem(kNext);           // jmp [next]
}

// The first call of an entry: every register set.
void emitStart(X86Code& code) {
  code.xorRegReg(R::kEcx, R::kEcx);
  code.xorRegReg(R::kEdx, R::kEdx);
  code.xorRegReg(R::kEdi, R::kEdi);
  code.xorRegReg(R::kEbp, R::kEbp);
  code.movRegImm(R::kEbx, thread::kSaved[0]);
  emitNext(code);
}

}  // namespace

CallRoutine::CallRoutine(GuestMemory& memory, std::uint8_t trap) {
  memory.map(guest::kCallerCodeBase, win32::kPageSize, kPageRead | kPageExecute);
  memory.map(guest::kCallerWordsBase, win32::kPageSize, kPageRead);
  memory.map(guest::kCallerResultsBase, guest::kCallerResultsSize, kPageRead | kPageWrite);
  next_ = memory.wordAt(kNext);
  expectedEsp_ = memory.wordAt(kExpectedEsp);
  resultSlot_ = memory.wordAt(kResultSlot);
  controlWord_ = memory.wordAt(kControlWord);
  // One mapping: the slots are one run of panelhost's own bytes.
  results_ = reinterpret_cast<const std::uint8_t*>(memory.wordAt(guest::kCallerResultsBase));

  // What follows the checks first, then the landings at the end of the page, each at its stride,
  // a block of the CPU's up to its branch, taken when all is well: panelhost's block hook, from
  // the landings up, sees only them. One page, so that the branches chain.
  X86Code code(guest::kCallerCodeBase);
  const X86Code::Label failed = code.label();
  X86Code::Label succeeded[kLandings];
  for (int kind = 0; kind < kLandings; ++kind) {
    succeeded[kind] = code.label();
    code.bind(succeeded[kind]);
    emitResult(code, static_cast<Landing>(kind));
    emitNext(code);
  }
  start_ = code.here();
  emitStart(code);
  code.bind(failed);
  failed_ = code.here();
  code.interrupt(trap);
  for (int kind = 0; kind < kLandings; ++kind) {
    code.padTo(landing(static_cast<Landing>(kind)));
    emitChecks(code, static_cast<Landing>(kind));
    code.testRegReg(R::kEdx, R::kEdx);
    code.jz(succeeded[kind]);
    code.jmp(failed);
  }
  const std::vector<std::uint8_t> bytes = code.finish();
  if (bytes.size() > win32::kPageSize) throw std::logic_error("the call routine outgrew its page");
  memory.load(guest::kCallerCodeBase, bytes.data(), bytes.size());
}

void CallRoutine::setControlWord(std::uint16_t control) { *controlWord_ = control; }

void CallRoutine::setReturned(std::uint32_t espAfter, std::size_t call) {
  *expectedEsp_ = espAfter;
  *resultSlot_ = guest::kCallerResultsBase + static_cast<std::uint32_t>(call) * kResultBytes;
}

const std::uint8_t* CallRoutine::result(std::size_t index) const {
  return results_ + index * kResultBytes;
}

}  // namespace panelhost
