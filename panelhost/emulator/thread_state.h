// What every call into the module starts with, as a 32-bit Windows thread has it, and what the
// callee must give back: the segment selectors, EFLAGS, and the registers a caller keeps.
#pragma once

#include <cstdint>

#include "emulator/guest_layout.h"

namespace panelhost::thread {

// Selectors as 32-bit Windows has them: ring 3 code 0x1B, data 0x23, FS 0x3B on the thread
// block, GS 0.
constexpr std::uint32_t kUserCode = 0x1B;
constexpr std::uint32_t kUserData = 0x23;
constexpr std::uint32_t kThreadBlock = 0x3B;
constexpr std::uint32_t kInitialFlags = 0x202;  // interrupts on, direction up
constexpr std::uint32_t kDirectionFlag = 0x400;
// EBX, ESI, EDI, EBP at every call, as a Windows thread starts them; a callee gives them back.
constexpr std::uint32_t kSaved[4] = {guest::kPebBase, 0, 0, 0};
constexpr const char* kSavedNames[4] = {"EBX", "ESI", "EDI", "EBP"};

}  // namespace panelhost::thread
