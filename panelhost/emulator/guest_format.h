// printf's formatting for the runtime's vfprintf: the format and its variadic arguments are in
// guest memory (on i386 a va_list is a pointer to the arguments on the stack).
#pragma once

#include <cstdint>
#include <string>

#include "emulator/guest_memory.h"

namespace panelhost {

// Throws ModuleFault when the format or an argument cannot be read.
std::string formatGuest(const GuestMemory& memory, std::uint32_t format, std::uint32_t arguments);

}  // namespace panelhost
