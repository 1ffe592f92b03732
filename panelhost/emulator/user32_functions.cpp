// USER32's three functions the module may call, handed to the WindowsHost: the host's main
// window by class, and timers on it whose procedures are addresses in the module.
#include <vector>

#include "emulator/runtime_library.h"

namespace panelhost {
namespace {

using Args = GuestArguments;
constexpr auto kStdcall = RuntimeLibrary::Convention::kStdcall;
constexpr std::size_t kMaxClassName = 256;

// A class name is a text, or an atom in the low word of the pointer (MAKEINTATOM).
std::u16string nameAt(const GuestMemory& memory, std::uint32_t address) {
  if (address == 0) return u"";
  if (address < 0x10000) {
    std::u16string atom = u"#";
    for (const char c : std::to_string(address)) atom += static_cast<char16_t>(c);
    return atom;
  }
  return memory.wideString(address, kMaxClassName);
}

}  // namespace

void provideUser32(RuntimeLibrary& runtime) {
  GuestMemory& memory = runtime.memory();
  WindowsHost& windows = runtime.windows();
  runtime.provide("USER32.dll", "FindWindowW", 2, kStdcall, [&memory, &windows](const Args& a) {
    return static_cast<std::uint32_t>(
        windows.findWindow(nameAt(memory, a[0]), nameAt(memory, a[1])));
  });
  runtime.provide("USER32.dll", "SetTimer", 4, kStdcall, [&windows](const Args& a) {
    return static_cast<std::uint32_t>(windows.setTimer(a[0], a[1], a[2], a[3]));
  });
  runtime.provide("USER32.dll", "KillTimer", 2, kStdcall,
                  [&windows](const Args& a) { return windows.killTimer(a[0], a[1]) ? 1u : 0u; });
}

}  // namespace panelhost
