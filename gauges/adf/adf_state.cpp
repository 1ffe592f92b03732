#include "gauges/adf/adf_state.h"

#include <cmath>

#include "host/host_numbers.h"
#include "host/knob_twins.h"
#include "host/panel_services.h"

AdfState adfState;

namespace {

constexpr FLOAT64 kTenthsPerKhz = 10.0;

// A drum and the range its knob turns it through; stepping past one end comes round to the other,
// and nothing carries into the neighbouring drum.
struct AdfDrum {
  SINT32 AdfState::*field;
  SINT32 lowest;
  SINT32 highest;
};

constexpr AdfDrum kHundredsDrum = {&AdfState::hundredsGroup, 2, 16};
constexpr AdfDrum kTensDrum = {&AdfState::tensDigit, 0, 9};
constexpr AdfDrum kUnitsDrum = {&AdfState::unitsDigit, 0, 9};
constexpr AdfDrum kTenthsDrum = {&AdfState::tenthsDigit, 0, 9};

void stepDrumDown(const AdfDrum& drum) {
  SINT32& value = adfState.*drum.field;
  value = value - 1;
  if (value < drum.lowest) value = drum.highest;
  recomposeAdfFrequency();
}

void stepDrumUp(const AdfDrum& drum) {
  SINT32& value = adfState.*drum.field;
  value = value + 1;
  if (value > drum.highest) value = drum.lowest;
  recomposeAdfFrequency();
}

// The down half of a knob: the wheel turning up belongs to the up twin; anything else lowers.
SINT32 turnDrumDown(const AdfDrum& drum, PMOUSE_FUNCTION upTwin, PIXPOINT* point,
                    FLAGS mouseFlags) {
  return turnKnobHalf(point, mouseFlags, MOUSE_WHEEL_UP, upTwin, [&] { stepDrumDown(drum); });
}

// The up half of a knob: the wheel turning down belongs to the down twin; anything else raises.
SINT32 turnDrumUp(const AdfDrum& drum, PMOUSE_FUNCTION downTwin, PIXPOINT* point,
                  FLAGS mouseFlags) {
  return turnKnobHalf(point, mouseFlags, MOUSE_WHEEL_DOWN, downTwin, [&] { stepDrumUp(drum); });
}

}  // namespace

AdfTenths adfTenthsFromReading(bool evaluated, FLOAT64 khz) {
  if (!evaluated || !std::isfinite(khz) || khz < 0.0) return kAdfFallbackTenths;
  const FLOAT64 tenths = khz * kTenthsPerKhz;
  if (tenths >= kAdfHighestShownTenths + 1) return kAdfFallbackTenths;
  return static_cast<AdfTenths>(tenths);  // truncation: 415.99 kHz shows as 415.9
}

void FSAPI adfGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  if (serviceId != PANEL_SERVICE_PRE_INITIALIZE) return;
  if (adfState.initialised) return;
  adfState.mode = kAdfModeOff;
  adfState.identOn = 0;
  FLOAT64 Adf_Autotune_Fq = 0.0;
  const bool evaluated = evalCalculatorExpression(calculator::kAdfActive, &Adf_Autotune_Fq);
  adfState.selectedTenths = adfTenthsFromReading(evaluated, Adf_Autotune_Fq);
  splitAdfTenths(adfState.selectedTenths, &adfState.hundredsGroup, &adfState.tensDigit,
                 &adfState.unitsDigit, &adfState.tenthsDigit);
  adfState.activeTenths = kAdfOffTenths;
  sendAdfFrequency(kAdfOffTenths);
  adfState.initialised = true;
}

void sendAdfFrequency(AdfTenths tenths) {
  std::int32_t temp_hundreds = 0, temp_tens = 0, temp_digits = 0, temp_fract = 0;
  splitAdfTenths(tenths, &temp_hundreds, &temp_tens, &temp_digits, &temp_fract);
  sendKeyEvent(keyevent::kAdfSet,
               adfTenthsToBcd32(temp_hundreds, temp_tens, temp_digits, temp_fract));
}

void applyAdfMode() {
  adfState.activeTenths = adfState.mode == kAdfModeOff ? kAdfOffTenths : adfState.selectedTenths;
  sendAdfFrequency(adfState.activeTenths);
}

void recomposeAdfFrequency() {
  adfState.selectedTenths = 1000 * adfState.hundredsGroup + 100 * adfState.tensDigit +
                            10 * adfState.unitsDigit + adfState.tenthsDigit;
  if (adfState.mode == kAdfModeOff) return;
  adfState.activeTenths = adfState.selectedTenths;
  sendAdfFrequency(adfState.activeTenths);
}

// The mode knob stops at OFF and BFO, and still tells the simulation on a click at an end.
SINT32 FSAPI adfModeDown(PIXPOINT*, FLAGS) {
  adfState.mode = adfState.mode - 1;
  if (adfState.mode <= kAdfModeOff) adfState.mode = kAdfModeOff;
  applyAdfMode();
  return 0;
}

SINT32 FSAPI adfModeUp(PIXPOINT*, FLAGS) {
  adfState.mode = adfState.mode + 1;
  if (adfState.mode > kAdfModeHighest) adfState.mode = kAdfModeHighest;
  applyAdfMode();
  return 0;
}

// The ident audio is the receiver's own switch: it works at OFF too.
SINT32 FSAPI adfIdentToggle(PIXPOINT*, FLAGS) {
  adfState.identOn = 1 - adfState.identOn;
  sendKeyEvent(adfState.identOn >= 1 ? keyevent::kAdfIdentOn : keyevent::kAdfIdentOff, 0);
  return 0;
}

SINT32 FSAPI adfHundredsDown(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumDown(kHundredsDrum, adfHundredsUp, point, mouseFlags);
}
SINT32 FSAPI adfHundredsUp(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumUp(kHundredsDrum, adfHundredsDown, point, mouseFlags);
}
SINT32 FSAPI adfTensDown(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumDown(kTensDrum, adfTensUp, point, mouseFlags);
}
SINT32 FSAPI adfTensUp(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumUp(kTensDrum, adfTensDown, point, mouseFlags);
}
SINT32 FSAPI adfUnitsDown(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumDown(kUnitsDrum, adfUnitsUp, point, mouseFlags);
}
SINT32 FSAPI adfUnitsUp(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumUp(kUnitsDrum, adfUnitsDown, point, mouseFlags);
}
SINT32 FSAPI adfTenthsDown(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumDown(kTenthsDrum, adfTenthsUp, point, mouseFlags);
}
SINT32 FSAPI adfTenthsUp(PIXPOINT* point, FLAGS mouseFlags) {
  return turnDrumUp(kTenthsDrum, adfTenthsDown, point, mouseFlags);
}

FLOAT64 FSAPI adfModeIcon(ELEMENT_ICON*) { return adfState.mode; }
FLOAT64 FSAPI adfIdentIcon(ELEMENT_ICON*) { return adfState.identOn; }
FLOAT64 FSAPI adfStripX(ELEMENT_MOVING_IMAGE*) { return 0; }
FLOAT64 FSAPI adfHundredsStripY(ELEMENT_MOVING_IMAGE*) { return adfState.hundredsGroup; }
FLOAT64 FSAPI adfTensStripY(ELEMENT_MOVING_IMAGE*) { return adfState.tensDigit; }
FLOAT64 FSAPI adfUnitsStripY(ELEMENT_MOVING_IMAGE*) { return adfState.unitsDigit; }
FLOAT64 FSAPI adfTenthsStripY(ELEMENT_MOVING_IMAGE*) { return adfState.tenthsDigit; }
