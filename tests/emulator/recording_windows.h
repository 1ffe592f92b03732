// A WindowsHost that has the simulator's main window and remembers the timers set on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "loader/windows_host.h"

namespace emulator_test {

constexpr std::uint64_t kMainWindow = 0x10010;

struct TimerCall {
  std::uint64_t window;
  std::uint64_t id;
  std::uint32_t periodMs;  // 0 for KillTimer
  panelhost::ModuleAddress procedure;
};

class RecordingWindows : public panelhost::WindowsHost {
 public:
  std::uint64_t findWindow(const std::u16string& className, const std::u16string&) override {
    return className == u"FS98MAIN" ? kMainWindow : 0;
  }
  std::uint64_t setTimer(std::uint64_t window, std::uint64_t id, std::uint32_t periodMs,
                         panelhost::ModuleAddress procedure) override {
    calls.push_back({window, id, periodMs, procedure});
    return id;
  }
  bool killTimer(std::uint64_t window, std::uint64_t id) override {
    calls.push_back({window, id, 0, 0});
    return true;
  }

  std::vector<TimerCall> calls;
};

}  // namespace emulator_test
