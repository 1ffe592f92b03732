#include "panel/run_clock.h"

#include <cmath>
#include <cstdio>

#include "support/host_error.h"
#include "support/number_text.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

// The real clock is read once in this many steps: a step is an instant of an advance or an
// update cycle, microseconds each.
constexpr std::uint32_t kStepsBetweenLooks = 64;
constexpr auto kQuietFor = std::chrono::seconds(2);
constexpr auto kShownEvery = std::chrono::milliseconds(250);
constexpr double kLongestTimeoutSeconds = 365.0 * 24 * 60 * 60;

std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

}  // namespace

RunClock::RunClock(std::optional<double> timeoutSeconds, bool progress)
    : timeoutSeconds_(timeoutSeconds), progress_(progress) {
  if (timeoutSeconds_) {
    deadline_ = started_ + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double>(*timeoutSeconds_));
  }
  nextShown_ = started_ + kQuietFor;
}

RunClock::~RunClock() { clearProgress(); }

void RunClock::clearProgress() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  shown_ = false;
}

void RunClock::reached(std::int64_t virtualMs) {
  if (++calls_ % kStepsBetweenLooks == 0) check(virtualMs);
}

void RunClock::check(std::int64_t virtualMs) {
  const Clock::time_point now = Clock::now();
  if (deadline_ && now >= *deadline_) throw RunStopped(stoppedText(virtualMs));
  if (progress_ && now >= nextShown_) show(virtualMs, now);
}

std::string RunClock::stoppedText(std::int64_t virtualMs) const {
  std::string text = "stopped by --timeout " + secondsText(timeoutSeconds_.value_or(0)) +
                     " s at virtual time " + std::to_string(virtualMs) + " ms";
  if (totalMs_ > 0) text += " of " + std::to_string(totalMs_) + " ms";
  return text;
}

void RunClock::show(std::int64_t virtualMs, Clock::time_point now) {
  nextShown_ = now + kShownEvery;
  const double realMs = std::chrono::duration<double, std::milli>(now - started_).count();
  const double speed = realMs > 0 ? static_cast<double>(virtualMs) / realMs : 0;
  char line[160];
  if (totalMs_ > 0) {
    std::snprintf(line, sizeof line,
                  "\r\033[Kpanelhost: virtual time %.1f s of %.1f s (%.0f %%), %.0fx real time",
                  virtualMs / 1000.0, totalMs_ / 1000.0, 100.0 * virtualMs / totalMs_, speed);
  } else {
    std::snprintf(line, sizeof line, "\r\033[Kpanelhost: virtual time %.1f s, %.0fx real time",
                  virtualMs / 1000.0, speed);
  }
  std::fputs(line, stderr);
  std::fflush(stderr);
  shown_ = true;
}

double parseTimeoutSeconds(const std::string& text) {
  const std::optional<double> seconds = parseNumber(text);
  if (!seconds || !std::isfinite(*seconds) || *seconds <= 0 || *seconds > kLongestTimeoutSeconds) {
    throw HostError("--timeout " + shownText(text) +
                    ": expected seconds, a number more than 0 and at most a year (31536000)");
  }
  return *seconds;
}

}  // namespace panelhost
