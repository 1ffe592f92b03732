#include "view/status_strip.h"

#include <gtest/gtest.h>

namespace {

// The strip's simulation lines come from the keys scripts use, in their order, two to a line where
// the radio has two: what a pilot reads there is what `expect sim` would check.
TEST(StatusStrip, ShowsTheSimulationAsTheKeysHoldItThenTheLatestEvents) {
  panelhost::RadioSimState state;
  state.com1StandbyKhz = 121725;
  state.adfActiveKhz = 415.99;
  state.xpdrCode = 12;
  state.nav1Ident = true;
  const std::deque<panelhost::KeyEventRecord> latest = {{65715, 0x0012, 1500}};
  const std::vector<std::string> lines =
      panelhost::stripLines(state, latest, 3, {2500, true, ""}, 12);
  const std::vector<std::string> expected = {
      "COM1  122.800   standby 121.725",
      "NAV1  110.500   standby 113.900",
      "ADF  416.0 kHz",
      "XPDR  0012",
      "IDENT  NAV1 on   ADF off",
      "",
      "2.500 s   panel lights on",
      "key events, the latest last (3 in all):",
      "1.500 s  65715 0x00000012 transponder code 0012",
      "",
      "",
      "L lights   S screenshot   Q quit",
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
