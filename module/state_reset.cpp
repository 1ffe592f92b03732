#include "module/state_reset.h"

#include "gauges/adf/adf_state.h"
#include "gauges/comnav/comnav_state.h"
#include "gauges/transponder/transponder_state.h"

void resetGaugeRecords() {
  comNavState = ComNavState{};
  transponderState = TransponderState{};
  adfState = AdfState{};
}
