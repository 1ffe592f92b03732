#include "emulator/thunk_table.h"

#include <utility>

#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"

namespace panelhost {
namespace {

constexpr std::uint32_t kStop = guest::kCodeBase;
constexpr std::uint32_t kEnterUserMode = guest::kCodeBase + 0x10;
constexpr std::uint32_t kRoutines = guest::kCodeBase + 0x40;
constexpr std::uint32_t kFirstThunk = guest::kCodeBase + 0x400;
constexpr std::uint32_t kThunkSize = 8;
constexpr std::size_t kMaxThunks =
    (guest::kCodeSize - (kFirstThunk - guest::kCodeBase)) / kThunkSize;
constexpr std::uint8_t kHlt = 0xF4;
constexpr std::uint8_t kIret = 0xCF;
constexpr std::uint8_t kInt3 = 0xCC;

}  // namespace

ThunkTable::ThunkTable(GuestMemory& memory) : memory_(memory), nextCode_(kRoutines) {
  memory_.map(guest::kCodeBase, guest::kCodeSize, kPageRead | kPageExecute);
  // Emulation ends before the stop address executes; a halt there stops a stray jump too.
  memory_.load(kStop, &kHlt, 1);
  memory_.load(kEnterUserMode, &kIret, 1);
}

std::uint32_t ThunkTable::add(std::string name, int argumentWords, bool calleePops,
                              HostFunction service) {
  if (thunks_.size() == kMaxThunks || argumentWords < 0 ||
      static_cast<std::size_t>(argumentWords) > kMostHostArguments) {
    throw HostError("the emulator cannot provide " + name + ": no room for more than " +
                    std::to_string(kMaxThunks) + " functions of up to " +
                    std::to_string(kMostHostArguments) + " arguments");
  }
  const std::uint32_t address =
      kFirstThunk + static_cast<std::uint32_t>(thunks_.size()) * kThunkSize;
  const auto popped = static_cast<std::uint16_t>(calleePops ? 4 * argumentWords : 0);
  std::uint8_t code[kThunkSize] = {0xCD, kTrapVector, kInt3, kInt3, kInt3, kInt3, kInt3, kInt3};
  if (popped == 0) {
    code[2] = 0xC3;  // ret
  } else {
    code[2] = 0xC2;  // ret imm16
    code[3] = static_cast<std::uint8_t>(popped);
    code[4] = static_cast<std::uint8_t>(popped >> 8);
  }
  memory_.load(address, code, sizeof code);
  thunks_.push_back({std::move(name), argumentWords, std::move(service)});
  return address;
}

std::uint32_t ThunkTable::addCode(const std::vector<std::uint8_t>& code) {
  if (code.size() > kFirstThunk - nextCode_) {
    throw HostError("the emulator's runtime routines do not fit their region");
  }
  const std::uint32_t address = nextCode_;
  memory_.load(address, code.data(), code.size());
  nextCode_ += static_cast<std::uint32_t>((code.size() + 15) / 16 * 16);
  return address;
}

const Thunk* ThunkTable::trappedAt(std::uint32_t eip) const {
  if (eip < kFirstThunk + 2) return nullptr;
  const std::uint32_t offset = eip - 2 - kFirstThunk;
  if (offset % kThunkSize != 0 || offset / kThunkSize >= thunks_.size()) return nullptr;
  return &thunks_[offset / kThunkSize];
}

std::uint32_t ThunkTable::stopAddress() const { return kStop; }
std::uint32_t ThunkTable::enterUserModeAddress() const { return kEnterUserMode; }

}  // namespace panelhost
