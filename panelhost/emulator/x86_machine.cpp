#include "emulator/x86_machine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "emulator/byte_reader.h"
#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"
#include "emulator/thread_state.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

using namespace thread;

// The ring 0 pair of selectors only carries the first switch to user mode, so that privileged
// instructions fault as they would on Windows.
constexpr std::uint32_t kKernelCode = 0x08;
constexpr std::uint32_t kKernelData = 0x10;
constexpr std::uint32_t kAllEmpty = 0xFFFF;  // the x87 tag word of an empty stack
// The top of the call frames: a single call's return address and arguments end here.
constexpr std::uint32_t kCallFrameTop = guest::kStackBase - 16;
// The most stack the frames of one entry take; the callees have the rest.
constexpr std::uint32_t kMostFrameBytes = 0x8000;

std::uint64_t descriptor(std::uint32_t base, std::uint32_t limit, std::uint8_t access,
                         std::uint8_t flags) {
  return (std::uint64_t{limit} & 0xFFFF) | (std::uint64_t{base} & 0xFFFFFF) << 16 |
         std::uint64_t{access} << 40 | (std::uint64_t{limit} >> 16 & 0xF) << 48 |
         std::uint64_t{flags} << 52 | (std::uint64_t{base} >> 24) << 56;
}

// A view of what it was doing: the calls made on every entry build no text unless they fail.
void check(const UnicornApi& api, uc_err error, std::string_view doing) {
  if (error != UC_ERR_OK) {
    throw HostError("the emulator could not " + std::string(doing) + ": " + api.strerror(error));
  }
}

// The x87 registers the tag word marks in use (each two bits, 3 for an empty one).
int x87RegistersInUse(std::uint32_t tags) {
  int used = 0;
  for (int reg = 0; reg < 8; ++reg) used += (tags >> 2 * reg & 3) != 3 ? 1 : 0;
  return used;
}

double doubleFromExtended(const std::uint8_t* bytes) {
  std::uint64_t mantissa = 0;
  std::memcpy(&mantissa, bytes, 8);
  const int signAndExponent = bytes[8] | bytes[9] << 8;
  const bool negative = signAndExponent & 0x8000;
  const int exponent = signAndExponent & 0x7FFF;
  double value = 0.0;
  if (exponent == 0x7FFF) {
    value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::quiet_NaN();
  } else {
    value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
  }
  return negative ? -value : value;
}

const char* exceptionName(std::uint32_t number) {
  switch (number) {
    case 0:
      return "a division error (divide by zero or overflow)";
    case 1:
      return "a debug trap";
    case 3:
      return "a breakpoint (int3)";
    case 4:
      return "an overflow trap (into)";
    case 5:
      return "a bound range fault";
    case 6:
      return "an illegal instruction";
    case 7:
    case 16:
      return "a floating-point fault";
    case 8:
    case 13:
      return "a protection fault (a privileged instruction?)";
    case 17:
      return "an alignment fault";
    default:
      return "a processor exception";
  }
}

std::string accessDescription(uc_mem_type type, std::uint64_t address, int size) {
  const std::string bytes = std::to_string(size) + " bytes at " + hex(address);
  switch (type) {
    case UC_MEM_READ_UNMAPPED:
      return "read " + bytes + ", which is not mapped";
    case UC_MEM_WRITE_UNMAPPED:
      return "wrote " + bytes + ", which is not mapped";
    case UC_MEM_FETCH_UNMAPPED:
      return "jumped to " + hex(address) + ", which is not mapped";
    case UC_MEM_READ_PROT:
      return "read " + bytes + ", which is not readable";
    case UC_MEM_WRITE_PROT:
      return "wrote " + bytes + ", which is read-only";
    case UC_MEM_FETCH_PROT:
      return "jumped to " + hex(address) + ", which is not executable";
    default:
      return "made a bad access to " + bytes;
  }
}

}  // namespace

void X86Machine::Engine::operator()(uc_struct* engine) const { api->close(engine); }

X86Machine::X86Machine(std::uint64_t codeLimit)
    : api_(UnicornApi::load()),
      engine_(
          [this] {
            uc_engine* engine = nullptr;
            check(*api_, api_->open(UC_ARCH_X86, UC_MODE_32, &engine), "start a 32-bit x86 CPU");
            return engine;
          }(),
          Engine{api_.get()}),
      memory_(*api_, engine_.get()),
      thunks_(memory_),
      routine_(memory_, ThunkTable::kTrapVector),
      limit_(codeLimit) {
  memory_.map(guest::kStackLimit, guest::kStackSize, kPageRead | kPageWrite);
  static_assert(guest::kPebBase == guest::kTebBase + win32::kPageSize);
  memory_.map(guest::kTebBase, 2 * win32::kPageSize, kPageRead | kPageWrite);
  routine_.setControlWord(win32::kThreadFpuControl);
  uc_engine* engine = engine_.get();
  loadSegments();
  uc_hook hook;
  check(
      *api_,
      api_->hookAdd(engine, &hook, UC_HOOK_INTR, reinterpret_cast<void*>(&onInterrupt), this, 1, 0),
      "watch interrupts");
  check(*api_,
        api_->hookAdd(engine, &hook, UC_HOOK_MEM_INVALID, reinterpret_cast<void*>(&onBadAccess),
                      this, 1, 0),
        "watch memory accesses");
  // One hook, from the call routine's landings up through the images: a second block hook, even
  // one that never matches, would cost every block as much again.
  static_assert(CallRoutine::kFirstLanding < guest::kImagesStart);
  check(*api_,
        api_->hookAdd(engine, &hook, UC_HOOK_BLOCK, reinterpret_cast<void*>(&onBlock), this,
                      CallRoutine::kFirstLanding, guest::kImagesEnd - 1),
        "count the code it runs");
  // Unicorn starts with every x87 register tagged in use; a thread starts with them empty.
  resetX87();
  espAfter_.reserve(CallRoutine::kMostCalls);
  // The stack is one mapping, so its frames' area is one run of panelhost's own bytes.
  frameArea_ = memory_.wordAt(kCallFrameTop - kMostFrameBytes);
}

// The CPU goes first: the memory it was lent outlives it.
X86Machine::~X86Machine() { engine_.reset(); }

void X86Machine::loadSegments() {
  std::uint64_t table[8] = {};
  table[kKernelCode / 8] = descriptor(0, 0xFFFFF, 0x9B, 0xC);
  table[kKernelData / 8] = descriptor(0, 0xFFFFF, 0x93, 0xC);
  table[kUserCode / 8] = descriptor(0, 0xFFFFF, 0xFB, 0xC);
  table[kUserData / 8] = descriptor(0, 0xFFFFF, 0xF3, 0xC);
  table[kThreadBlock / 8] = descriptor(guest::kTebBase, win32::kPageSize - 1, 0xF3, 0x4);
  memory_.map(guest::kDescriptorTableBase, win32::kPageSize, kPageRead);
  memory_.load(guest::kDescriptorTableBase, table, sizeof table);
  uc_engine* engine = engine_.get();
  uc_x86_mmr gdtr{};
  gdtr.base = guest::kDescriptorTableBase;
  gdtr.limit = sizeof table - 1;
  check(*api_, api_->regWrite(engine, UC_X86_REG_GDTR, &gdtr), "load the descriptor table");
  const std::pair<int, std::uint32_t> segments[] = {
      {UC_X86_REG_CS, kKernelCode}, {UC_X86_REG_SS, kKernelData},  {UC_X86_REG_DS, kUserData},
      {UC_X86_REG_ES, kUserData},   {UC_X86_REG_FS, kThreadBlock}, {UC_X86_REG_GS, 0}};
  for (const auto& [reg, selector] : segments) {
    check(*api_, api_->regWrite(engine, reg, &selector), "load segment " + hex(selector));
  }
  // An iret to ring 3 loads CS and SS as a user thread has them.
  const std::uint32_t frame[5] = {thunks_.stopAddress(), kUserCode, kInitialFlags, kCallFrameTop,
                                  kUserData};
  const std::uint32_t esp = kCallFrameTop - sizeof frame;
  memory_.write(esp, frame, sizeof frame);
  check(*api_, api_->regWrite(engine, UC_X86_REG_ESP, &esp), "set the stack");
  // No instruction count here: Unicorn drops all translated code when a later run stops counting.
  check(*api_, api_->emuStart(engine, thunks_.enterUserModeAddress(), thunks_.stopAddress(), 0, 0),
        "enter user mode");
  std::uint32_t cs = 0;
  api_->regRead(engine, UC_X86_REG_CS, &cs);
  if (cs != kUserCode) throw HostError("the emulator could not enter user mode");
}

std::string X86Machine::where(std::uint32_t address) const {
  const std::string name = namer_ ? namer_(address) : "";
  return hex(address) + (name.empty() ? "" : " (" + name + ")");
}

void X86Machine::resetX87() {
  uc_engine* engine = engine_.get();
  std::uint32_t status = 0;
  api_->regRead(engine, UC_X86_REG_FPSW, &status);
  status &= ~0x3800u;  // top of stack back to register 0
  api_->regWrite(engine, UC_X86_REG_FPSW, &status);
  api_->regWrite(engine, UC_X86_REG_FPTAG, &kAllEmpty);
}

X86Machine::Call X86Machine::callOf(std::uint32_t function,
                                    std::initializer_list<std::uint64_t> arguments,
                                    bool returnsDouble, const std::string& entry) {
  if (arguments.size() > Call::kMostArguments) {
    throw HostError("a call into the module takes at most " + std::to_string(Call::kMostArguments) +
                    " arguments");
  }
  Call call;
  call.function = function;
  std::copy(arguments.begin(), arguments.end(), call.arguments.begin());
  call.argumentCount = static_cast<std::uint8_t>(arguments.size());
  call.returnsDouble = returnsDouble;
  call.entry = &entry;
  return call;
}

void X86Machine::fail(const Call& call, const std::string& what) {
  throw ModuleFault(*call.entry + ": " + what);
}

std::uint32_t X86Machine::call(std::uint32_t function,
                               std::initializer_list<std::uint64_t> arguments,
                               const std::string& entry) {
  const Call call = callOf(function, arguments, false, entry);
  Result result;
  callInOrder(&call, 1, &result);
  return static_cast<std::uint32_t>(result.integer);
}

double X86Machine::callReturningDouble(std::uint32_t function,
                                       std::initializer_list<std::uint64_t> arguments,
                                       const std::string& entry) {
  const Call call = callOf(function, arguments, true, entry);
  Result result;
  callInOrder(&call, 1, &result);
  return result.value;
}

void X86Machine::callInOrder(const Call* calls, std::size_t count, Result* results) {
  while (count > 0) {
    const std::size_t taken = callsFittingOneEntry(calls, count);
    enter(calls, taken, results);
    calls += taken;
    count -= taken;
    if (results != nullptr) results += taken;
  }
}

std::size_t X86Machine::callsFittingOneEntry(const Call* calls, std::size_t count) const {
  std::size_t taken = 0;
  std::uint32_t bytes = 0;
  while (taken < count && taken < CallRoutine::kMostCalls) {
    if (calls[taken].function > 0xFFFFFFFFu) {
      fail(calls[taken], hex(calls[taken].function) + " is not a 32-bit address");
    }
    const std::uint32_t frame = 4 + 4 * std::uint32_t{calls[taken].argumentCount};
    if (taken > 0 && bytes + frame > kMostFrameBytes) break;
    bytes += frame;
    ++taken;
  }
  return taken;
}

void X86Machine::enter(const Call* calls, std::size_t count, Result* results) {
  if (running_) {
    throw HostError(*calls[0].entry +
                    ": called while the module is running a call already; a service "
                    "cannot call back into the module");
  }
  // The frames, the first call's lowest: the landing to return to, the arguments.
  std::size_t words = 0;
  for (std::size_t i = 0; i < count; ++i) words += 1 + calls[i].argumentCount;
  espAfter_.resize(count);
  const std::uint32_t first = kCallFrameTop - 4 * static_cast<std::uint32_t>(words);
  const CallRoutine::Landing integer =
      results != nullptr ? CallRoutine::Landing::kInteger : CallRoutine::Landing::kNothing;
  const CallRoutine::Landing floating =
      results != nullptr ? CallRoutine::Landing::kDouble : CallRoutine::Landing::kDoubleUnread;
  // Written in place: the stack is data, never code the CPU has translated.
  std::uint32_t* const frames = frameArea_ + (kMostFrameBytes / 4 - words);
  std::uint32_t* frame = frames;
  for (std::size_t i = 0; i < count; ++i) {
    const Call& call = calls[i];
    *frame++ = routine_.landing(call.returnsDouble ? floating : integer);
    // A 32-bit argument as it was passed: a sign-extended negative number keeps its low word.
    for (std::size_t a = 0; a < call.argumentCount; ++a) {
      *frame++ = static_cast<std::uint32_t>(call.arguments[a]);
    }
    espAfter_[i] = first + 4 * static_cast<std::uint32_t>(frame - frames);
  }

  // The first call's EFLAGS; the routine sets them for the others.
  uc_engine* engine = engine_.get();
  const std::uint32_t flags = kInitialFlags;
  int ids[] = {UC_X86_REG_ESP, UC_X86_REG_EFLAGS};
  const void* values[] = {&first, &flags};
  check(*api_, api_->regWriteBatch(engine, ids, const_cast<void* const*>(values), 2),
        "set up a call");
  routine_.setNext(static_cast<std::uint32_t>(calls[0].function));
  entry_ = {calls, count};
  returned_ = 0;
  executed_ = 0;
  checkFailed_ = false;
  fault_.clear();
  thrown_ = nullptr;
  running_ = true;
  const uc_err error = api_->emuStart(engine, routine_.start(), thunks_.stopAddress(), 0, 0);
  running_ = false;

  std::uint32_t eip = 0, tags = 0;
  int readIds[] = {UC_X86_REG_EIP, UC_X86_REG_FPTAG};
  void* into[] = {&eip, &tags};
  check(*api_, api_->regReadBatch(engine, readIds, into, 2), "read the registers after a call");
  if (error != UC_ERR_OK || eip != thunks_.stopAddress() || returned_ != count || checkFailed_ ||
      !fault_.empty() || thrown_) {
    if (error == UC_ERR_INSN_INVALID) fault_ = "ran an illegal instruction at " + where(eip);
    if (error != UC_ERR_OK && fault_.empty()) {
      fault_ = std::string(api_->strerror(error)) + " at " + where(eip);
    }
    diagnose(eip);
  }
  // The routine looks at the top of the x87 stack and ST(0) after each call; a value left in
  // another register, the top put back over it (fincstp), shows in the tags once the entry is
  // over, when which call left it is no longer known.
  if (tags != kAllEmpty) {
    resetX87();
    const int left = (calls[count - 1].returnsDouble ? 1 : 0) + x87RegistersInUse(tags);
    if (count == 1) fail(calls[0], x87Left(calls[0], left));
    fail(calls[count - 1], "left a value in an x87 register outside the stack, or one of the " +
                               std::to_string(count - 1) +
                               " calls made before it in one entry did");
  }
  if (results == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* result = routine_.result(i);
    if (calls[i].returnsDouble) {
      results[i] = {0, doubleFromExtended(result)};
    } else {
      std::uint32_t eax = 0;
      std::memcpy(&eax, result, 4);
      results[i] = {eax, 0};
    }
  }
}

// An entry that did not end with every call returned and checked: which call, and what it did.
void X86Machine::diagnose(std::uint32_t eip) {
  if (checkFailed_ && returned_ > 0 && returned_ <= entry_.count) {
    diagnoseReturn(entry_.calls[returned_ - 1], espAfter_[returned_ - 1], true);
  }
  // The call running when the entry stopped; the last when the routine itself stopped after it.
  const Call& call = entry_.calls[std::min(returned_, entry_.count - 1)];
  resetX87();
  restoreSegments();
  if (thrown_) {
    const std::exception_ptr thrown = std::exchange(thrown_, nullptr);
    try {
      std::rethrow_exception(thrown);
    } catch (const ModuleFault& fault) {
      fail(call, fault.what());
    }
  }
  if (!fault_.empty()) fail(call, fault_);
  if (eip == thunks_.stopAddress() && returned_ < entry_.count) {
    // It jumped to where calls end instead of returning: checked as a return.
    diagnoseReturn(call, espAfter_[returned_], false);
  }
  if (executed_ > limit_) {
    fail(call, "ran " + std::to_string(limit_) + " bytes of code without returning (it was at " +
                   where(eip) + ")");
  }
  fail(call, "stopped at " + where(eip) + " without returning");
}

// A call that returned (or reached the stop address) and failed a check: panelhost's own look
// at the state the callee left says which.
void X86Machine::diagnoseReturn(const Call& call, std::uint32_t expectedEsp, bool esiInEcx) {
  uc_engine* engine = engine_.get();
  std::uint32_t esp = 0, eflags = 0, saved[4] = {}, esi = 0, status = 0, tags = 0;
  int ids[] = {UC_X86_REG_ESP, UC_X86_REG_EFLAGS, UC_X86_REG_EBX,  UC_X86_REG_ESI,  UC_X86_REG_EDI,
               UC_X86_REG_EBP, UC_X86_REG_ECX,    UC_X86_REG_FPSW, UC_X86_REG_FPTAG};
  void* into[] = {&esp, &eflags, &saved[0], &saved[1], &saved[2], &saved[3], &esi, &status, &tags};
  check(*api_, api_->regReadBatch(engine, ids, into, 9), "read the registers after a call");
  if (esiInEcx) saved[1] = esi;
  resetX87();
  const std::string segment = restoreSegments();
  if (esp != expectedEsp) {
    fail(call, "left the stack unbalanced: ESP is " + hex(esp) + " on return instead of " +
                   hex(expectedEsp) + " (a callee that does not pop its " +
                   std::to_string(call.argumentCount) + " arguments, stdcall?)");
  }
  for (int i = 0; i < 4; ++i) {
    if (saved[i] != kSaved[i]) fail(call, std::string("did not preserve ") + kSavedNames[i]);
  }
  if (eflags & kDirectionFlag) fail(call, "returned with the direction flag set");
  if (!segment.empty()) fail(call, "changed segment register " + segment);
  const int depth = x87RegistersInUse(tags);
  if (depth != (call.returnsDouble ? 1 : 0)) fail(call, x87Left(call, depth));
  if (esiInEcx) {
    fail(call, "left the top of the x87 stack at register " + std::to_string(status >> 11 & 7) +
                   (call.returnsDouble ? " with its result not in ST(0)" : " with it empty"));
  }
  fail(call, "jumped to " + where(thunks_.stopAddress()) + " instead of returning");
}

std::string X86Machine::x87Left(const Call& call, int values) {
  return "left " + std::to_string(values) + " values on the x87 stack" +
         (call.returnsDouble ? " instead of its result alone in ST(0)" : "");
}

std::string X86Machine::restoreSegments() {
  static const std::pair<int, const char*> kSegments[] = {{UC_X86_REG_SS, "SS"},
                                                          {UC_X86_REG_DS, "DS"},
                                                          {UC_X86_REG_ES, "ES"},
                                                          {UC_X86_REG_FS, "FS"},
                                                          {UC_X86_REG_GS, "GS"}};
  static const std::uint32_t kExpected[] = {kUserData, kUserData, kUserData, kThreadBlock, 0};
  std::string changed;
  for (int i = 0; i < 5; ++i) {
    std::uint32_t selector = 0;
    api_->regRead(engine_.get(), kSegments[i].first, &selector);
    if (selector == kExpected[i]) continue;
    api_->regWrite(engine_.get(), kSegments[i].first, &kExpected[i]);
    if (changed.empty()) changed = kSegments[i].second;
  }
  return changed;
}

void X86Machine::serve(const Thunk& thunk, std::uint32_t) {
  uc_engine* engine = engine_.get();
  std::uint32_t returnAddress = 0;
  try {
    std::uint32_t esp = 0;
    api_->regRead(engine, UC_X86_REG_ESP, &esp);
    returnAddress = memory_.u32(esp);
    std::uint32_t words[kMostHostArguments];
    memory_.read(std::uint64_t{esp} + 4, words, 4 * static_cast<std::size_t>(thunk.argumentWords));
    HostArguments arguments{};
    std::copy_n(words, thunk.argumentWords, arguments.begin());
    const auto eax = static_cast<std::uint32_t>(thunk.service(arguments));
    api_->regWrite(engine, UC_X86_REG_EAX, &eax);
    return;
  } catch (const ModuleFault& fault) {
    thrown_ = std::make_exception_ptr(ModuleFault("in " + thunk.name + " called from " +
                                                  where(returnAddress) + ": " + fault.what()));
  } catch (...) {
    thrown_ = std::current_exception();
  }
  api_->emuStop(engine);
}

void X86Machine::onInterrupt(uc_struct* engine, std::uint32_t number, void* self) {
  auto& machine = *static_cast<X86Machine*>(self);
  std::uint32_t eip = 0;
  machine.api_->regRead(engine, UC_X86_REG_EIP, &eip);
  const bool trap = number == ThunkTable::kTrapVector;
  if (trap) {
    if (const Thunk* thunk = machine.thunks_.trappedAt(eip)) {
      machine.serve(*thunk, eip);
      return;
    }
  }
  // A check of the call routine's that failed: panelhost's own look says what (diagnose).
  if (trap && eip == machine.routine_.failed() + 2) {
    machine.checkFailed_ = true;
  } else if (trap) {
    machine.fault_ = "raised interrupt " + hex(number) + " at " + machine.where(eip - 2);
  } else {
    machine.fault_ = std::string("caused ") + exceptionName(number) + " (exception " +
                     std::to_string(number) + ") at " + machine.where(eip);
  }
  machine.api_->emuStop(engine);
}

bool X86Machine::onBadAccess(uc_struct* engine, uc_mem_type type, std::uint64_t address, int size,
                             std::int64_t value, void* self) {
  auto& machine = *static_cast<X86Machine*>(self);
  // A store to a data page, lent to the CPU read-only so that it comes here (guest_memory.h).
  if (type == UC_MEM_WRITE_PROT &&
      machine.memory_.storeInPlace(address, size, static_cast<std::uint64_t>(value))) {
    return true;
  }
  return machine.storeOrRefuse(engine, type, address, size, value);
}

bool X86Machine::storeOrRefuse(uc_struct* engine, uc_mem_type type, std::uint64_t address, int size,
                               std::int64_t value) {
  if (type == UC_MEM_WRITE_PROT &&
      memory_.takeGuestStore(address, size, static_cast<std::uint64_t>(value)) ==
          GuestMemory::GuestStore::kStored) {
    return true;
  }
  refuse(engine, type, address, size);
  return false;
}

void X86Machine::refuse(uc_struct* engine, uc_mem_type type, std::uint64_t address, int size) {
  std::uint32_t eip = 0;
  api_->regRead(engine, UC_X86_REG_EIP, &eip);
  const std::uint32_t fenced =
      type == UC_MEM_WRITE_PROT
          ? memory_.firstFenced(address, static_cast<std::uint64_t>(std::max(size, 1)))
          : 0;
  fault_ = fenced != 0 ? memory_.fencedWrite(fenced) : accessDescription(type, address, size);
  if (type != UC_MEM_FETCH_UNMAPPED && type != UC_MEM_FETCH_PROT) {
    fault_ += " (the instruction at " + where(eip) + ")";
  }
}

// The module's code is counted a block at a time: a block of n bytes holds at most n
// instructions, so the bytes run bound the instructions run, at a fraction of the cost of a look
// at every instruction. Only the images hold the module's code; panelhost's own is not counted,
// but for the landings of its call routine.
void X86Machine::onBlock(uc_struct* engine, std::uint64_t address, std::uint32_t size, void* self) {
  auto& machine = *static_cast<X86Machine*>(self);
  if (address >= guest::kImagesStart) {
    machine.executed_ += size;
    if (machine.executed_ > machine.limit_) machine.api_->emuStop(engine);
  } else if (CallRoutine::isLanding(static_cast<std::uint32_t>(address))) {
    machine.returned();
  }
}

// A callee returned to its landing: the routine's words move on to it and to the next call, so
// that the routine checks it against its own frame and goes on; its code count starts afresh.
void X86Machine::returned() {
  const std::size_t call = returned_++;
  executed_ = 0;
  if (call >= entry_.count) {
    // Not a return of a call made: a jump here, which no frame expects.
    routine_.setReturned(0, 0);
    routine_.setNext(routine_.failed());
    return;
  }
  routine_.setReturned(espAfter_[call], call);
  routine_.setNext(call + 1 < entry_.count
                       ? static_cast<std::uint32_t>(entry_.calls[call + 1].function)
                       : thunks_.stopAddress());
}

}  // namespace panelhost
