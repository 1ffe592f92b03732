#include "timers/virtual_timers.h"

#include <algorithm>

namespace panelhost {

std::uint64_t VirtualTimers::set(std::uint64_t window, std::uint64_t id, std::uint32_t periodMs,
                                 ModuleAddress procedure, ModuleImage* owner, std::int64_t nowMs) {
  periodMs = std::max(periodMs, kMinimumTimerPeriodMs);
  if (window == 0) id = nextThreadTimerId_++;
  const Timer timer{window, id, periodMs, procedure, owner, nowMs + periodMs, nextSetOrder_++};
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it != timers_.end()) {
    *it = timer;
  } else {
    timers_.push_back(timer);
  }
  return window == 0 ? id : 1;
}

bool VirtualTimers::kill(std::uint64_t window, std::uint64_t id) {
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
  queue_.clear();
  for (Timer& t : timers_) {
    if (t.dueMs > timeMs) continue;
    queue_.push_back(t);
    t.dueMs = timeMs + t.periodMs;
  }
  std::sort(queue_.begin(), queue_.end(),
            [](const Timer& a, const Timer& b) { return a.setOrder < b.setOrder; });
  // A procedure may set or kill timers, which changes timers_ but not the queue.
  for (const Timer& message : queue_) {
    if (dispatcher_) dispatcher_(message, timeMs);
  }
  return static_cast<int>(queue_.size());
}

void VirtualTimers::clear() { timers_.clear(); }

void VirtualTimers::forget(const ModuleImage* owner) {
  for (Timer& t : timers_) {
    if (t.owner == owner) t.owner = nullptr;
  }
}

bool VirtualTimers::isRunning(std::uint64_t window, std::uint64_t id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.window == window && t.id == id; });
}

}  // namespace panelhost
