// USER32's three functions the module may call, handed to the WindowsHost: the host's main
// window by class, and timers on it whose procedures are addresses in the module.
#include <memory>
#include <string>
#include <utility>

#include "emulator/runtime_library.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

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

class User32 {
 public:
  explicit User32(RuntimeLibrary& runtime)
      : memory_(runtime.memory()), windows_(runtime.windows()) {}

  // HWND FindWindowW(const wchar_t* className, const wchar_t* windowName)
  std::uint32_t findWindowW(std::uint32_t className, std::uint32_t windowName) {
    nameAt(memory_, className, className_);
    nameAt(memory_, windowName, windowName_);
    return static_cast<std::uint32_t>(windows_.findWindow(className_, windowName_));
  }

  // UINT_PTR SetTimer(HWND window, UINT_PTR timerId, UINT periodMs, TIMERPROC procedure)
  std::uint32_t setTimer(std::uint32_t window, std::uint32_t timerId, std::uint32_t periodMs,
                         std::uint32_t procedure) {
    return static_cast<std::uint32_t>(windows_.setTimer(window, timerId, periodMs, procedure));
  }

  // BOOL KillTimer(HWND window, UINT_PTR timerId)
  std::uint32_t killTimer(std::uint32_t window, std::uint32_t timerId) {
    return windows_.killTimer(window, timerId) ? 1 : 0;
  }

 private:
  GuestMemory& memory_;
  WindowsHost& windows_;
  std::u16string className_;
  std::u16string windowName_;
};

// clang-format off
const ProvidedFunction<User32> kUser32Functions[] = {
    // name           handler
    {"FindWindowW",   handler<&User32::findWindowW>},
    {"SetTimer",      handler<&User32::setTimer>},
    {"KillTimer",     handler<&User32::killTimer>},
};
// clang-format on

}  // namespace

void provideUser32(RuntimeLibrary& runtime) {
  runtime.provideAll("USER32.dll", RuntimeLibrary::Convention::kStdcall, kUser32Functions,
                     std::make_shared<User32>(runtime));
}

}  // namespace panelhost
