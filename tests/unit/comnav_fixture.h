// The "Com1Nav1" radio on the stand-in host, with short ways to drive it and read what it shows.
#pragma once

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gauges/comnav/comnav_state.h"
#include "host/host_numbers.h"
#include "host_fixture.h"

class ComNavFixture : public HostFixture {
 protected:
  using Event = std::pair<std::uint32_t, std::uint32_t>;

  void preInitialize() { comNavGaugeCallback(nullptr, PANEL_SERVICE_PRE_INITIALIZE, 0); }
  void preUpdate() { comNavGaugeCallback(nullptr, PANEL_SERVICE_PRE_UPDATE, 0); }
  // Initialised, switched on and past the settle delay, with the key events so far forgotten.
  void startOn() {
    preInitialize();
    advanceBy(5000);
    powerSwitchClick(&point, MOUSE_LEFTSINGLE);
    host.keyEvents.clear();
  }

  std::vector<Event> events() const {
    std::vector<Event> sent;
    for (const auto& e : host.keyEvents) sent.emplace_back(e.eventId, e.value);
    return sent;
  }

  static std::string text(FLOAT64(FSAPI* callback)(ELEMENT_STRING*)) {
    char buffer[64] = "unwritten";
    ELEMENT_STRING element{};
    element.string = buffer;
    element.max_string_length = sizeof buffer;
    callback(&element);
    return buffer;
  }

  // The radio's state as a short comparable tuple for the lifecycle states.
  static std::pair<int, int> powerAndSettled() {
    return {comNavState.powerOn, comNavState.settleElapsed};
  }

  // Every field, for comparing whole states (the record's padding is not compared).
  static auto fields(const ComNavState& s) {
    return std::make_tuple(s.powerOn, s.comActiveKhz, s.comStandbyKhz, s.navActiveKhz,
                           s.navStandbyKhz, s.comSentKhz, s.navSentKhz, s.lastComBcd, s.lastNavBcd,
                           s.navIdentOn, s.settleElapsed, s.initialised);
  }

  PIXPOINT point{0, 0};
  const ComNavState& state = comNavState;
};
