// Without the host's main window Windows hands out thread timers under ids of its own; the panel
// timers must still stop, restart and end at module deinit as they do on the window.
#include "host/host_numbers.h"
#include "host/panel_timers.h"
#include "host_fixture.h"

namespace {

int firings = 0;

void CALLBACK countFiring(HWND, UINT, UINT_PTR, DWORD) { ++firings; }

void CALLBACK countAndStopSettleTimer(HWND, UINT, UINT_PTR, DWORD) {
  ++firings;
  stopPanelTimer(paneltimer::kComNavSettle);
}

class WindowlessPanelTimersTest : public HostFixture {
 protected:
  WindowlessPanelTimersTest() {
    firings = 0;
    host.setWindowPresent(false);
  }
};

TEST_F(WindowlessPanelTimersTest, AHandlerThatStopsItsTimerFiresOnce) {
  startPanelTimer(paneltimer::kComNavSettle, 5000, countAndStopSettleTimer);
  advanceTo(30000);
  EXPECT_EQ(firings, 1);
}

TEST_F(WindowlessPanelTimersTest, StartingARunningTimerRestartsItsPeriod) {
  startPanelTimer(paneltimer::kXpdrReplyLit, 500, countFiring);
  advanceTo(300);
  startPanelTimer(paneltimer::kXpdrReplyLit, 500, countFiring);
  advanceTo(799);
  EXPECT_EQ(firings, 0);
  advanceTo(800);
  EXPECT_EQ(firings, 1);
}

TEST_F(WindowlessPanelTimersTest, ModuleDeinitLeavesNoTimerRunning) {
  for (UINT id = paneltimer::kFirstOwned; id <= paneltimer::kLastOwned; ++id) {
    startPanelTimer(id, 1000, countFiring);
  }
  stopAllPanelTimers();
  advanceTo(60000);
  EXPECT_EQ(firings, 0);
  EXPECT_FALSE(host.timers().nextDueAfter(host.nowMs()).has_value());
}

}  // namespace
