#include "timers/virtual_timers.h"

#include <algorithm>

namespace panelhost {

UINT_PTR VirtualTimers::set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC handler,
                            std::int64_t nowMs) {
  periodMs = std::max(periodMs, kMinimumTimerPeriodMs);
  if (window == nullptr) id = nextThreadTimerId_++;
  const Timer timer{window, id, periodMs, handler, nowMs + periodMs, nextSetOrder_++};
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it != timers_.end()) {
    *it = timer;
  } else {
    timers_.push_back(timer);
  }
  return window == nullptr ? id : 1;
}

bool VirtualTimers::kill(HWND window, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

std::optional<std::int64_t> VirtualTimers::nextDueAfter(std::int64_t afterMs) const {
  std::optional<std::int64_t> next;
  for (const Timer& t : timers_) {
    const std::int64_t due = std::max(t.dueMs, afterMs + 1);
    if (!next || due < *next) next = due;
  }
  return next;
}

int VirtualTimers::fireDue(std::int64_t timeMs) {
  std::vector<Timer> queue;
  for (Timer& t : timers_) {
    if (t.dueMs > timeMs) continue;
    queue.push_back(t);
    t.dueMs = timeMs + t.periodMs;
  }
  std::sort(queue.begin(), queue.end(),
            [](const Timer& a, const Timer& b) { return a.setOrder < b.setOrder; });
  for (const Timer& message : queue) {
    if (observer_) observer_(message.id, timeMs);
    // Without a procedure Windows hands the message to the window's own procedure, which the
    // stand-in window does not have.
    if (message.handler != nullptr) {
      message.handler(message.window, kWmTimer, message.id, static_cast<DWORD>(timeMs));
    }
  }
  return static_cast<int>(queue.size());
}

void VirtualTimers::clear() { timers_.clear(); }

bool VirtualTimers::isRunning(HWND window, UINT_PTR id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.window == window && t.id == id; });
}

}  // namespace panelhost
