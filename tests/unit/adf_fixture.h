// A panel host with the ADF gauge freshly loaded: state as at module load, helpers to initialise
// it from a given simulator reading and to read back what was sent.
#pragma once

#include <cmath>
#include <vector>

#include "gauges/adf/adf_layout.h"
#include "gauges/adf/adf_state.h"
#include "host/host_numbers.h"
#include "host_fixture.h"

class AdfFixture : public HostFixture {
 protected:
  void initialiseWithSimAt(double khz) {
    host.simulation().state.adfActiveKhz = khz;
    adfGaugeCallback(&adfGaugeHeader, PANEL_SERVICE_PRE_INITIALIZE, 0);
  }

  // Initialised from `khz`, the receiver turned to `mode`, and the record of events cleared.
  void startAt(double khz, int mode) {
    initialiseWithSimAt(khz);
    for (int i = 0; i < mode; ++i) adfModeUp(&point, MOUSE_LEFTSINGLE);
    host.keyEvents.clear();
  }

  std::vector<UINT32> adfFrequencyValuesSent() const {
    std::vector<UINT32> values;
    for (const auto& e : host.keyEvents)
      if (e.eventId == keyevent::kAdfSet) values.push_back(e.value);
    return values;
  }

  // The simulation's ADF frequency in tenths, as the simulation decoded what it was sent.
  long simAdfTenths() { return std::lround(host.simulation().state.adfActiveKhz * 10.0); }

  std::vector<int> drums() const {
    return {adfState.hundredsGroup, adfState.tensDigit, adfState.unitsDigit, adfState.tenthsDigit};
  }

  PIXPOINT point{5, 5};
};
