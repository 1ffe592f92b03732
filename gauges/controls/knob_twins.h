// The two halves of a knob are twins: a half hands its twin the wheel turn that goes the twin's
// way, and turns its own way for everything else (a click, a repeat while the button is held, the
// wheel turned its own way). The host never sets both wheel bits in one event; handed on, such an
// event would pass between the twins for ever, so it turns nothing.
#pragma once

#include "host/interface/gauge_records.h"

// twinsWheel: the wheel bit that belongs to the twin (wheel up for a down half, wheel down for an
// up half). Returns what a mouse handler returns.
template <typename OwnStep>
SINT32 turnKnobHalf(PIXPOINT* point, FLAGS mouseFlags, FLAGS twinsWheel, PMOUSE_FUNCTION twin,
                    OwnStep ownStep) {
  constexpr FLAGS kBothWheels = MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN;
  if ((mouseFlags & kBothWheels) == kBothWheels) return 0;
  if (mouseFlags & twinsWheel) {
    twin(point, mouseFlags);
  } else {
    ownStep();
  }
  return 0;
}

// The down half: the wheel turned up belongs to its up twin.
template <typename OwnStep>
SINT32 turnDownHalf(PIXPOINT* point, FLAGS mouseFlags, PMOUSE_FUNCTION upTwin, OwnStep ownStep) {
  return turnKnobHalf(point, mouseFlags, MOUSE_WHEEL_UP, upTwin, ownStep);
}

// The up half: the wheel turned down belongs to its down twin.
template <typename OwnStep>
SINT32 turnUpHalf(PIXPOINT* point, FLAGS mouseFlags, PMOUSE_FUNCTION downTwin, OwnStep ownStep) {
  return turnKnobHalf(point, mouseFlags, MOUSE_WHEEL_DOWN, downTwin, ownStep);
}
