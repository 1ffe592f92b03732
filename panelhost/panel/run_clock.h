// A run measured against the real clock. Past its --timeout it ends, saying how far virtual time
// got; one that takes longer than a moment shows on a terminal how far it is and how fast it goes,
// so that `advance 86400000` at a high rate is neither silent nor unbounded.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "support/host_error.h"

namespace panelhost {

// What the clock throws past the timeout; the message says where virtual time got.
class RunStopped : public HostError {
 public:
  using HostError::HostError;
};

class RunClock {
 public:
  // `progress`: show it (on standard error, which the caller found to be a terminal).
  RunClock(std::optional<double> timeoutSeconds, bool progress);
  ~RunClock();
  RunClock(const RunClock&) = delete;
  RunClock& operator=(const RunClock&) = delete;

  // The virtual time the whole run covers, for the progress shown.
  void setTotalMs(std::int64_t totalMs) { totalMs_ = totalMs; }
  // The run has covered `virtualMs` of its virtual time. Called at every step of the run, so it
  // looks at the real clock only every so many calls. Throws RunStopped past the timeout.
  void reached(std::int64_t virtualMs);
  // The same, looking at the real clock now.
  void check(std::int64_t virtualMs);
  // Takes the progress line off the terminal, before anything else is written there.
  void clearProgress();
  // "stopped by --timeout 2 s at virtual time 1234 ms of 86400000 ms".
  std::string stoppedText(std::int64_t virtualMs) const;

 private:
  using Clock = std::chrono::steady_clock;
  void show(std::int64_t virtualMs, Clock::time_point now);

  std::optional<double> timeoutSeconds_;
  bool progress_;
  Clock::time_point started_ = Clock::now();
  std::optional<Clock::time_point> deadline_;
  Clock::time_point nextShown_;
  std::int64_t totalMs_ = 0;
  std::uint32_t calls_ = 0;
  bool shown_ = false;
};

// A --timeout value: seconds, more than 0 and at most a year. Throws HostError naming the option.
double parseTimeoutSeconds(const std::string& text);

}  // namespace panelhost
