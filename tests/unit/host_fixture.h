// A panel host standing in for the simulator, wired into the module's ImportTable for the length
// of a test.
#pragma once

#include <gtest/gtest.h>

#include "host/import_table.h"
#include "services/host_services.h"

class HostFixture : public ::testing::Test {
 protected:
  HostFixture() { ImportTable.PANELSentry.fnptr = host.panels(); }
  ~HostFixture() override { ImportTable.PANELSentry.fnptr = nullptr; }

  // Moves the virtual clock to `timeMs`, dispatching every timer message that falls due.
  void advanceTo(std::int64_t timeMs) {
    while (auto due = host.timers().nextDueAfter(host.nowMs())) {
      if (*due > timeMs) break;
      host.setNowMs(*due);
      host.timers().fireDue(*due);
    }
    host.setNowMs(timeMs);
  }
  void advanceBy(std::int64_t ms) { advanceTo(host.nowMs() + ms); }

  bool timerRunning(UINT id) { return host.timers().isRunning(host.mainWindow(), id); }

  panelhost::HostServices host;
};
