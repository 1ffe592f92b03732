// A knob that turns one drum (a digit, or the ADF's hundreds group) through its range: a step past
// one end comes round to the other, and nothing carries into or borrows from the neighbouring drum.
#pragma once

#include "host/interface/gauge_records.h"

struct DrumRange {
  SINT32 lowest;
  SINT32 highest;
};

inline void stepDrumDown(SINT32& value, DrumRange range) {
  value = value - 1;
  if (value < range.lowest) value = range.highest;
}

inline void stepDrumUp(SINT32& value, DrumRange range) {
  value = value + 1;
  if (value > range.highest) value = range.lowest;
}
