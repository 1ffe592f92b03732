// Windows timers on a virtual clock, with Windows' rules: starting a running id restarts its
// period, a timer repeats until killed, killing an unknown id does nothing, and a timer message
// already queued is still delivered after the kill. Without a window, SetTimer hands back an id
// of its own, as Windows does for thread timers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "host/windows_port.h"

namespace panelhost {

constexpr UINT kWmTimer = 0x0113;
constexpr UINT kMinimumTimerPeriodMs = 10;  // Windows raises shorter periods to this

class VirtualTimers {
 public:
  struct Timer {
    HWND window;
    UINT_PTR id;
    UINT periodMs;
    TIMERPROC handler;
    std::int64_t dueMs;
    std::uint64_t setOrder;
  };
  using FiringObserver = std::function<void(UINT_PTR id, std::int64_t timeMs)>;

  // nowMs is the virtual time of the call; the first firing falls one period later.
  UINT_PTR set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC handler, std::int64_t nowMs);
  bool kill(HWND window, UINT_PTR id);

  // The earliest time after `afterMs` at which a timer falls due.
  std::optional<std::int64_t> nextDueAfter(std::int64_t afterMs) const;
  // Queues a message for every timer due at `timeMs` (in the order the timers were set), then
  // dispatches the queue. Returns the number of messages dispatched.
  int fireDue(std::int64_t timeMs);
  // Drops the running timers and any queued message, as an unloaded module's are.
  void clear();

  bool isRunning(HWND window, UINT_PTR id) const;
  const std::vector<Timer>& running() const { return timers_; }
  void setObserver(FiringObserver observer) { observer_ = std::move(observer); }

 private:
  std::vector<Timer> timers_;
  std::uint64_t nextSetOrder_ = 0;
  UINT_PTR nextThreadTimerId_ = 0x7F00;
  FiringObserver observer_;
};

}  // namespace panelhost
