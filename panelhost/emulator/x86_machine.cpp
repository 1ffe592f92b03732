#include "emulator/x86_machine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "emulator/byte_reader.h"
#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"

namespace panelhost {
namespace {

// Selectors as 32-bit Windows has them: ring 3 code 0x1B, data 0x23, FS 0x3B on the thread
// block. The ring 0 pair only carries the first switch to user mode, so that privileged
// instructions fault as they would on Windows.
constexpr std::uint32_t kKernelCode = 0x08;
constexpr std::uint32_t kKernelData = 0x10;
constexpr std::uint32_t kUserCode = 0x1B;
constexpr std::uint32_t kUserData = 0x23;
constexpr std::uint32_t kThreadBlock = 0x3B;
constexpr std::uint32_t kInitialFlags = 0x202;  // interrupts on, direction up
constexpr std::uint32_t kDirectionFlag = 0x400;
// The x87 control word a Windows thread starts with: all exceptions masked, 53-bit precision.
constexpr std::uint32_t kWindowsFpuControl = 0x27F;
constexpr std::uint32_t kCallFrameTop = guest::kStackBase - 16;

std::uint64_t descriptor(std::uint32_t base, std::uint32_t limit, std::uint8_t access,
                         std::uint8_t flags) {
  return (std::uint64_t{limit} & 0xFFFF) | (std::uint64_t{base} & 0xFFFFFF) << 16 |
         std::uint64_t{access} << 40 | (std::uint64_t{limit} >> 16 & 0xF) << 48 |
         std::uint64_t{flags} << 52 | (std::uint64_t{base} >> 24) << 56;
}

void check(const UnicornApi& api, uc_err error, const std::string& doing) {
  if (error != UC_ERR_OK)
    throw HostError("the emulator could not " + doing + ": " + api.strerror(error));
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
      limit_(codeLimit),
      fpuControl_(kWindowsFpuControl) {
  memory_.map(guest::kStackLimit, guest::kStackSize, kPageRead | kPageWrite);
  memory_.map(guest::kTebBase, 2 * kPageSize, kPageRead | kPageWrite);
  loadSegments();
  uc_hook hook;
  check(*api_,
        api_->hookAdd(engine_.get(), &hook, UC_HOOK_INTR, reinterpret_cast<void*>(&onInterrupt),
                      this, 1, 0),
        "watch interrupts");
  check(*api_,
        api_->hookAdd(engine_.get(), &hook, UC_HOOK_MEM_INVALID,
                      reinterpret_cast<void*>(&onBadAccess), this, 1, 0),
        "watch memory accesses");
  check(*api_,
        api_->hookAdd(engine_.get(), &hook, UC_HOOK_BLOCK, reinterpret_cast<void*>(&onBlock), this,
                      1, 0),
        "count the code it runs");
  // Unicorn starts with every x87 register tagged in use; a thread starts with them empty.
  resetX87();
}

// The CPU goes first: the memory it was lent outlives it.
X86Machine::~X86Machine() { engine_.reset(); }

void X86Machine::loadSegments() {
  std::uint64_t table[8] = {};
  table[kKernelCode / 8] = descriptor(0, 0xFFFFF, 0x9B, 0xC);
  table[kKernelData / 8] = descriptor(0, 0xFFFFF, 0x93, 0xC);
  table[kUserCode / 8] = descriptor(0, 0xFFFFF, 0xFB, 0xC);
  table[kUserData / 8] = descriptor(0, 0xFFFFF, 0xF3, 0xC);
  table[kThreadBlock / 8] = descriptor(guest::kTebBase, 0xFFF, 0xF3, 0x4);
  memory_.map(guest::kDescriptorTableBase, kPageSize, kPageRead);
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

void X86Machine::fail(const std::string& entry, const std::string& what) const {
  throw ModuleFault(entry + ": " + what);
}

void X86Machine::resetX87() {
  uc_engine* engine = engine_.get();
  std::uint32_t status = 0;
  api_->regRead(engine, UC_X86_REG_FPSW, &status);
  status &= ~0x3800u;  // top of stack back to register 0
  const std::uint32_t allEmpty = 0xFFFF;
  api_->regWrite(engine, UC_X86_REG_FPSW, &status);
  api_->regWrite(engine, UC_X86_REG_FPTAG, &allEmpty);
}

X86Machine::Arguments::Arguments(std::initializer_list<std::uint32_t> list) {
  if (list.size() > kMostCallArguments) {
    throw HostError("a call into the module takes at most " + std::to_string(kMostCallArguments) +
                    " arguments");
  }
  count = list.size();
  std::copy(list.begin(), list.end(), words.begin());
}

X86Machine::Outcome X86Machine::run(std::uint32_t function, const Arguments& arguments,
                                    const std::string& entry) {
  if (running_) {
    throw HostError(entry +
                    ": called while the module is running a call already; a service "
                    "cannot call back into the module");
  }
  std::array<std::uint32_t, kMostCallArguments + 1> frame;
  frame[0] = thunks_.stopAddress();
  std::copy_n(arguments.words.begin(), arguments.count, frame.begin() + 1);
  const std::uint32_t esp = kCallFrameTop - 4 * static_cast<std::uint32_t>(arguments.count + 1);
  memory_.write(esp, frame.data(), 4 * (arguments.count + 1));

  // Registers a caller expects back: EBX, ESI, EDI, EBP, as a Windows thread starts them.
  const std::uint32_t saved[4] = {guest::kPebBase, 0, 0, 0};
  const std::uint32_t zero = 0;
  const std::uint32_t flags = kInitialFlags;
  // The x87 control word is the host thread's at every call, whatever the last call left.
  int ids[] = {UC_X86_REG_ESP, UC_X86_REG_EBX, UC_X86_REG_ESI, UC_X86_REG_EDI,    UC_X86_REG_EBP,
               UC_X86_REG_EAX, UC_X86_REG_ECX, UC_X86_REG_EDX, UC_X86_REG_EFLAGS, UC_X86_REG_FPCW};
  const void* values[] = {&esp,  &saved[0], &saved[1], &saved[2], &saved[3],
                          &zero, &zero,     &zero,     &flags,    &fpuControl_};
  uc_engine* engine = engine_.get();
  check(*api_, api_->regWriteBatch(engine, ids, const_cast<void* const*>(values), 10),
        "set up a call");

  running_ = true;
  executed_ = 0;
  fault_.clear();
  thrown_ = nullptr;
  const uc_err error = api_->emuStart(engine, function, thunks_.stopAddress(), 0, 0);
  running_ = false;

  std::uint32_t eip = 0, espAfter = 0, eax = 0, eflags = 0, after[4] = {}, status = 0, tags = 0;
  Outcome outcome;
  int readIds[] = {UC_X86_REG_EIP,  UC_X86_REG_ESP,   UC_X86_REG_EAX, UC_X86_REG_EFLAGS,
                   UC_X86_REG_EBX,  UC_X86_REG_ESI,   UC_X86_REG_EDI, UC_X86_REG_EBP,
                   UC_X86_REG_FPSW, UC_X86_REG_FPTAG, UC_X86_REG_ST0};
  void* into[] = {&eip,      &espAfter, &eax,    &eflags, &after[0],  &after[1],
                  &after[2], &after[3], &status, &tags,   outcome.st0};
  check(*api_, api_->regReadBatch(engine, readIds, into, 11), "read the registers after a call");
  resetX87();
  const std::string segment = restoreSegments();

  if (thrown_) {
    const std::exception_ptr thrown = std::exchange(thrown_, nullptr);
    try {
      std::rethrow_exception(thrown);
    } catch (const ModuleFault& fault) {
      fail(entry, fault.what());
    }
  }
  if (!fault_.empty()) fail(entry, fault_);
  if (error == UC_ERR_INSN_INVALID) fail(entry, "ran an illegal instruction at " + where(eip));
  if (error != UC_ERR_OK) fail(entry, std::string(api_->strerror(error)) + " at " + where(eip));
  if (eip != thunks_.stopAddress()) {
    if (executed_ > limit_) {
      fail(entry, "ran " + std::to_string(limit_) + " bytes of code without returning (it was at " +
                      where(eip) + ")");
    }
    fail(entry, "stopped at " + where(eip) + " without returning");
  }
  if (espAfter != kCallFrameTop) {
    fail(entry, "left the stack unbalanced: ESP is " + hex(espAfter) + " on return instead of " +
                    hex(kCallFrameTop) + " (a callee that does not pop its " +
                    std::to_string(arguments.count) + " arguments, stdcall?)");
  }
  static const char* const kSavedNames[] = {"EBX", "ESI", "EDI", "EBP"};
  for (int i = 0; i < 4; ++i) {
    if (after[i] != saved[i]) fail(entry, std::string("did not preserve ") + kSavedNames[i]);
  }
  if (eflags & kDirectionFlag) fail(entry, "returned with the direction flag set");
  if (!segment.empty()) fail(entry, "changed segment register " + segment);
  for (int reg = 0; reg < 8; ++reg) {
    if ((tags >> 2 * reg & 3) != 3) ++outcome.x87Depth;
  }
  outcome.eax = eax;
  return outcome;
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

std::uint32_t X86Machine::call(std::uint32_t function, const Arguments& arguments,
                               const std::string& entry) {
  const Outcome outcome = run(function, arguments, entry);
  if (outcome.x87Depth != 0) {
    fail(entry, "left " + std::to_string(outcome.x87Depth) + " values on the x87 stack");
  }
  return outcome.eax;
}

double X86Machine::callReturningDouble(std::uint32_t function, const Arguments& arguments,
                                       const std::string& entry) {
  const Outcome outcome = run(function, arguments, entry);
  if (outcome.x87Depth != 1) {
    fail(entry, "left " + std::to_string(outcome.x87Depth) +
                    " values on the x87 stack instead of its result alone in ST(0)");
  }
  return doubleFromExtended(outcome.st0);
}

void X86Machine::serve(const Thunk& thunk, std::uint32_t) {
  uc_engine* engine = engine_.get();
  std::uint32_t returnAddress = 0;
  try {
    std::uint32_t esp = 0;
    api_->regRead(engine, UC_X86_REG_ESP, &esp);
    returnAddress = memory_.u32(esp);
    GuestArguments arguments{};
    memory_.read(std::uint64_t{esp} + 4, arguments.data(), 4 * thunk.argumentWords);
    const std::uint32_t eax = thunk.service(arguments);
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
  if (number == ThunkTable::kTrapVector) {
    if (const Thunk* thunk = machine.thunks_.trappedAt(eip)) {
      machine.serve(*thunk, eip);
      return;
    }
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
  GuestMemory::GuestStore store = GuestMemory::GuestStore::kNotWritable;
  if (type == UC_MEM_WRITE_PROT) {
    store = machine.memory_.takeGuestStore(address, size, static_cast<std::uint64_t>(value));
    if (store == GuestMemory::GuestStore::kStored) return true;
  }
  std::uint32_t eip = 0;
  machine.api_->regRead(engine, UC_X86_REG_EIP, &eip);
  machine.fault_ = store == GuestMemory::GuestStore::kFenced
                       ? machine.memory_.fencedWrite(machine.memory_.firstFenced(
                             address, static_cast<std::uint64_t>(std::max(size, 1))))
                       : accessDescription(type, address, size);
  if (type != UC_MEM_FETCH_UNMAPPED && type != UC_MEM_FETCH_PROT) {
    machine.fault_ += " (the instruction at " + machine.where(eip) + ")";
  }
  return false;
}

// Counted a block at a time: a block of n bytes holds at most n instructions, so the bytes run
// bound the instructions run, at a fraction of the cost of a look at every instruction.
void X86Machine::onBlock(uc_struct* engine, std::uint64_t, std::uint32_t size, void* self) {
  auto& machine = *static_cast<X86Machine*>(self);
  machine.executed_ += size;
  if (machine.executed_ > machine.limit_) machine.api_->emuStop(engine);
}

}  // namespace panelhost
