// Windows timers on a virtual clock, with Windows' rules: starting a running id restarts its
// period, a timer repeats until killed, killing an unknown id does nothing, and a timer message
// already queued is still delivered after the kill. Without a window, SetTimer hands back an id
// of its own, as Windows does for thread timers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "loader/module_image.h"

namespace panelhost {

constexpr std::uint32_t kMinimumTimerPeriodMs = 10;  // Windows raises shorter periods to this

class VirtualTimers {
 public:
  struct Timer {
    std::uint64_t window;
    std::uint64_t id;
    std::uint32_t periodMs;
    ModuleAddress procedure;  // 0: the message goes to the window's own procedure
    ModuleImage* owner;       // the module that set it, whose procedure it calls
    std::int64_t dueMs;
    std::uint64_t setOrder;
  };
  // Delivers one timer message: calls its procedure.
  using Dispatcher = std::function<void(const Timer& timer, std::int64_t timeMs)>;

  // nowMs is the virtual time of the call; the first firing falls one period later. Returns what
  // SetTimer returns.
  std::uint64_t set(std::uint64_t window, std::uint64_t id, std::uint32_t periodMs,
                    ModuleAddress procedure, ModuleImage* owner, std::int64_t nowMs);
  bool kill(std::uint64_t window, std::uint64_t id);

  // The earliest time after `afterMs` at which a timer falls due.
  std::optional<std::int64_t> nextDueAfter(std::int64_t afterMs) const;
  // Queues a message for every timer due at `timeMs` (in the order the timers were set), then
  // dispatches the queue. Returns the number of messages dispatched.
  int fireDue(std::int64_t timeMs);
  // Drops the running timers and any queued message, as an unloaded module's are.
  void clear();
  // A module that goes leaves its timers running with no procedure to call: they still count as
  // running (a host would see them outlive the module), but fire into nothing.
  void forget(const ModuleImage* owner);

  bool isRunning(std::uint64_t window, std::uint64_t id) const;
  const std::vector<Timer>& running() const { return timers_; }
  void setDispatcher(Dispatcher dispatcher) { dispatcher_ = std::move(dispatcher); }

 private:
  std::vector<Timer> timers_;
  std::vector<Timer> queue_;  // kept, so that firing allocates only when it grows
  std::uint64_t nextSetOrder_ = 0;
  std::uint64_t nextThreadTimerId_ = 0x7F00;
  Dispatcher dispatcher_;
};

}  // namespace panelhost
