#include "gauges/adf/adf_state.h"

#include <cmath>

#include "host/drum_knob.h"
#include "host/host_numbers.h"
#include "host/knob_twins.h"
#include "host/panel_services.h"

AdfState adfState;

namespace {

AdfState& state = adfState;

// While OFF the simulation is held at 200.0 kHz.
constexpr AdfTenths kOffTenths = 2000;
// Where the drums start when the simulation's reading cannot be shown on them: where OFF holds it.
constexpr AdfTenths kFallbackTenths = kOffTenths;
// The largest reading the drums can show: the hundreds strip's last figure is 17.
constexpr AdfTenths kHighestShownTenths = 17999;
constexpr FLOAT64 kTenthsPerKhz = 10.0;

// The drums and the ranges their knobs turn them through. The hundreds knob comes round at 16,
// though the strip has a figure for 17: only a frequency read at initialisation shows it.
struct AdfDrum {
  SINT32 AdfState::*field;
  DrumRange range;
};

// clang-format off
//                                field                        range
constexpr AdfDrum kHundredsDrum = {&AdfState::hundredsGroup, {2, 16}};
constexpr AdfDrum kTensDrum     = {&AdfState::tensDigit,     {0,  9}};
constexpr AdfDrum kUnitsDrum    = {&AdfState::unitsDigit,    {0,  9}};
constexpr AdfDrum kTenthsDrum   = {&AdfState::tenthsDigit,   {0,  9}};
// clang-format on

void sendAdfFrequency(AdfTenths tenths) {
  std::int32_t temp_hundreds = 0, temp_tens = 0, temp_digits = 0, temp_fract = 0;
  splitAdfTenths(tenths, &temp_hundreds, &temp_tens, &temp_digits, &temp_fract);
  sendKeyEvent(keyevent::kAdfSet,
               adfTenthsToBcd32(temp_hundreds, temp_tens, temp_digits, temp_fract));
}

// Sends whatever the mode calls for, also when nothing has changed.
void applyAdfMode() {
  state.activeTenths = state.mode == kAdfModeOff ? kOffTenths : state.selectedTenths;
  sendAdfFrequency(state.activeTenths);
}

void recomposeAdfFrequency() {
  state.selectedTenths = 1000 * state.hundredsGroup + 100 * state.tensDigit +
                         10 * state.unitsDigit + state.tenthsDigit;
  if (state.mode == kAdfModeOff) return;
  state.activeTenths = state.selectedTenths;
  sendAdfFrequency(state.activeTenths);
}

// The drums' starting frequency: the reading truncated to tenths when the evaluation succeeded
// and the value is one the drums can show, else the fallback.
AdfTenths tenthsFromReading(bool evaluated, FLOAT64 khz) {
  if (!evaluated || !std::isfinite(khz) || khz < 0.0) return kFallbackTenths;
  const FLOAT64 tenths = khz * kTenthsPerKhz;
  if (tenths >= kHighestShownTenths + 1) return kFallbackTenths;
  return static_cast<AdfTenths>(tenths);  // truncation: 415.99 kHz shows as 415.9
}

void turnDrumDown(const AdfDrum& drum) {
  stepDrumDown(state.*drum.field, drum.range);
  recomposeAdfFrequency();
}

void turnDrumUp(const AdfDrum& drum) {
  stepDrumUp(state.*drum.field, drum.range);
  recomposeAdfFrequency();
}

}  // namespace

void FSAPI adfGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  if (serviceId != PANEL_SERVICE_PRE_INITIALIZE) return;
  // Once per module load: a second placement or a panel reload keeps the dialled frequency.
  if (state.initialised) return;
  state.mode = kAdfModeOff;
  state.identOn = 0;
  FLOAT64 Adf_Autotune_Fq = 0.0;
  const bool evaluated = evalCalculatorExpression(calculator::kAdfActive, &Adf_Autotune_Fq);
  state.selectedTenths = tenthsFromReading(evaluated, Adf_Autotune_Fq);
  splitAdfTenths(state.selectedTenths, &state.hundredsGroup, &state.tensDigit, &state.unitsDigit,
                 &state.tenthsDigit);
  state.activeTenths = kOffTenths;
  sendAdfFrequency(kOffTenths);
  state.initialised = 1;
}

// The mode knob stops at OFF and BFO, and still tells the simulation on a click at an end.
SINT32 FSAPI adfModeDown(PIXPOINT*, FLAGS) {
  state.mode = state.mode - 1;
  if (state.mode < kAdfModeOff) state.mode = kAdfModeOff;
  applyAdfMode();
  return 0;
}

SINT32 FSAPI adfModeUp(PIXPOINT*, FLAGS) {
  state.mode = state.mode + 1;
  if (state.mode > kAdfModeBfo) state.mode = kAdfModeBfo;
  applyAdfMode();
  return 0;
}

// The ident audio is the receiver's own switch: it works at OFF too.
SINT32 FSAPI adfIdentToggle(PIXPOINT*, FLAGS) {
  state.identOn = 1 - state.identOn;
  sendKeyEvent(state.identOn >= 1 ? keyevent::kAdfIdentOn : keyevent::kAdfIdentOff, 0);
  return 0;
}

SINT32 FSAPI adfHundredsDown(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, adfHundredsUp, [] { turnDrumDown(kHundredsDrum); });
}
SINT32 FSAPI adfHundredsUp(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, adfHundredsDown, [] { turnDrumUp(kHundredsDrum); });
}
SINT32 FSAPI adfTensDown(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, adfTensUp, [] { turnDrumDown(kTensDrum); });
}
SINT32 FSAPI adfTensUp(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, adfTensDown, [] { turnDrumUp(kTensDrum); });
}
SINT32 FSAPI adfUnitsDown(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, adfUnitsUp, [] { turnDrumDown(kUnitsDrum); });
}
SINT32 FSAPI adfUnitsUp(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, adfUnitsDown, [] { turnDrumUp(kUnitsDrum); });
}
SINT32 FSAPI adfTenthsDown(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, adfTenthsUp, [] { turnDrumDown(kTenthsDrum); });
}
SINT32 FSAPI adfTenthsUp(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, adfTenthsDown, [] { turnDrumUp(kTenthsDrum); });
}

FLOAT64 FSAPI adfModeIcon(ELEMENT_ICON*) { return state.mode; }
FLOAT64 FSAPI adfIdentIcon(ELEMENT_ICON*) { return state.identOn; }
FLOAT64 FSAPI adfStripX(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI adfHundredsStripY(ELEMENT_MOVING_IMAGE*) { return state.hundredsGroup; }
FLOAT64 FSAPI adfTensStripY(ELEMENT_MOVING_IMAGE*) { return state.tensDigit; }
FLOAT64 FSAPI adfUnitsStripY(ELEMENT_MOVING_IMAGE*) { return state.unitsDigit; }
FLOAT64 FSAPI adfTenthsStripY(ELEMENT_MOVING_IMAGE*) { return state.tenthsDigit; }
