// What a module's three Windows imports reach: the host's main window of class "FS98MAIN" and the
// timers on it. The native module binds FindWindowW, SetTimer and KillTimer to panelhost's own
// exported stand-ins; the emulated .gau gets its USER32 imports resolved to the same calls. Window
// handles and timer ids are integers as Windows hands them out; a timer procedure is an address of
// the module that set the timer (the module being called at the time).
#pragma once

#include <cstdint>
#include <string>

#include "loader/module_image.h"

namespace panelhost {

constexpr std::uint32_t kWmTimer = 0x0113;

class WindowsHost {
 public:
  virtual ~WindowsHost() = default;
  // The window of that class (with no title asked for), or 0 when there is none.
  virtual std::uint64_t findWindow(const std::u16string& className,
                                   const std::u16string& windowName) = 0;
  // SetTimer's result: the id (a new one for window 0), or 0 when it failed.
  virtual std::uint64_t setTimer(std::uint64_t window, std::uint64_t timerId,
                                 std::uint32_t periodMs, ModuleAddress procedure) = 0;
  virtual bool killTimer(std::uint64_t window, std::uint64_t timerId) = 0;
};

}  // namespace panelhost
