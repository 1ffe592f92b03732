// USER32's three functions the module may call, handed to the WindowsHost: the host's main
// window by class, and timers on it whose procedures are addresses in the module.
#include <memory>
#include <string>
#include <utility>

#include "emulator/runtime_library.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

using Args = GuestArguments;
constexpr auto kStdcall = RuntimeLibrary::Convention::kStdcall;
constexpr std::size_t kMaxClassName = 256;

// A class name is a text, or an atom in the low word of the pointer (MAKEINTATOM). Into `name`,
// whose room is kept: the module may look for the host's window at every timer message.
void nameAt(const GuestMemory& memory, std::uint32_t address, std::u16string& name) {
  name.clear();
  if (address == 0) return;
  if (address < win32::kLowestPointer) {
    name.push_back(u'#');
    for (const char c : std::to_string(address)) name.push_back(static_cast<char16_t>(c));
    return;
  }
  memory.wideString(address, kMaxClassName, name);
}

}  // namespace

void provideUser32(RuntimeLibrary& runtime) {
  GuestMemory& memory = runtime.memory();
  WindowsHost& windows = runtime.windows();
  auto names = std::make_shared<std::pair<std::u16string, std::u16string>>();
  runtime.provide(
      "USER32.dll", "FindWindowW", 2, kStdcall, [&memory, &windows, names](const Args& a) {
        nameAt(memory, a[0], names->first);
        nameAt(memory, a[1], names->second);
        return static_cast<std::uint32_t>(windows.findWindow(names->first, names->second));
      });
  runtime.provide("USER32.dll", "SetTimer", 4, kStdcall, [&windows](const Args& a) {
    return static_cast<std::uint32_t>(windows.setTimer(a[0], a[1], a[2], a[3]));
  });
  runtime.provide("USER32.dll", "KillTimer", 2, kStdcall,
                  [&windows](const Args& a) { return windows.killTimer(a[0], a[1]) ? 1u : 0u; });
}

}  // namespace panelhost
