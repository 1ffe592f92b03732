// A panel host standing in for the simulator, holding the module for the length of a test. The
// module's code is linked into the test program, so the host loads this program itself: it reads
// the module's records through its own layout, fills ImportTable and calls module init, and at the
// end module deinit. A test may replace a service by writing its own function into the table.
// Every test starts from the gauges' records as a fresh load leaves them, whatever ran before it
// in the same process.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "host/import_table.h"
#include "loader/in_process_image.h"
#include "loader/loaded_module.h"
#include "module/state_reset.h"
#include "services/host_services.h"

class HostFixture : public ::testing::Test {
 protected:
  HostFixture() : module(panelhost::InProcessImage::thisProcess(host.trampolines()), host) {
    resetGaugeRecords();
  }

  PANELS* panels() { return ImportTable.PANELSentry.fnptr; }

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

  panelhost::HostServices host;  // first: the module hands its trampolines back to it
  panelhost::LoadedModule module;
};
