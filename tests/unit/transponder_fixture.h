// A transponder gauge placed on the stand-in host: initialised, with update cycles on the host's
// 55 ms grid and the lamp read the way the host reads it.
#pragma once

#include <cstdint>
#include <functional>

#include "gauges/transponder/transponder_layout.h"
#include "gauges/transponder/transponder_state.h"
#include "host/host_numbers.h"
#include "host_fixture.h"

class TransponderFixture : public HostFixture {
 protected:
  static constexpr std::int64_t kUpdatePeriodMs = 55;

  void SetUp() override { service(PANEL_SERVICE_PRE_INITIALIZE); }

  void service(SINT32 id) { transponderGaugeCallback(&transponderGaugeHeader, id, 0); }
  void update() { service(PANEL_SERVICE_PRE_UPDATE); }
  bool lampShown() { return xpdrReplyLampIcon(nullptr) == 0.0; }

  // One update cycle at every grid instant after now, up to and including `endMs`; at each
  // instant the timers due run first, as the host dispatches them before it updates.
  void runUpdatesUntil(std::int64_t endMs,
                       const std::function<void(std::int64_t timeMs, bool lit)>& seen = nullptr) {
    for (std::int64_t t = (host.nowMs() / kUpdatePeriodMs + 1) * kUpdatePeriodMs; t <= endMs;
         t += kUpdatePeriodMs) {
      advanceTo(t);
      update();
      if (seen) seen(t, lampShown());
    }
    advanceTo(endMs);
  }

  void modeUp(int steps = 1) {
    for (int i = 0; i < steps; ++i) xpdrModeUp(&point, MOUSE_LEFTSINGLE);
  }
  void modeDown(int steps = 1) {
    for (int i = 0; i < steps; ++i) xpdrModeDown(&point, MOUSE_LEFTSINGLE);
  }
  void testButton(FLAGS flags) { xpdrTestButton(&point, flags); }
  void identButton() { xpdrIdentButton(&point, MOUSE_LEFTSINGLE); }

  bool timerRunning(UINT id) { return HostFixture::timerRunning(id); }
  bool anyTransponderTimerRunning() {
    return timerRunning(paneltimer::kXpdrIdentWindow) || timerRunning(paneltimer::kXpdrReplyLit) ||
           timerRunning(paneltimer::kXpdrReplyDark);
  }

  PIXPOINT point{3, 4};
};
