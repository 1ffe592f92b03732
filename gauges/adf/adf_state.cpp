#include "gauges/adf/adf_state.h"

#include "gauges/controls/drum_knob.h"
#include "gauges/controls/knob_twins.h"
#include "host/host_numbers.h"
#include "host/panel_services.h"

AdfState adfState;

namespace {

AdfState& state = adfState;

// While OFF the simulation is held at 200.0 kHz.
constexpr AdfTenths kOffTenths = 2000;
// Where the drums start when the simulation's reading cannot be held: where OFF holds it.
constexpr AdfTenths kFallbackTenths = kOffTenths;
// The highest frequency the host's ADF form carries, 9999.9 kHz. Readings up to it are held as
// read, though the hundreds strip shows figures up to 17 only.
constexpr AdfTenths kHighestFormTenths = 99999;
constexpr FLOAT64 kTenthsPerKhz = 10.0;
// 10000.0 kHz, the first reading the form no longer carries.
constexpr FLOAT64 kBeyondFormKhz = (kHighestFormTenths + 1) / kTenthsPerKhz;
// How far below a tenth a reading may fall and still be that tenth. The simulation may hold the
// frequency as a float (350.9 is 350.89999 then) and the host's x87 may compute at 24, 53 or 64
// bits; neither costs half a hertz below 10 MHz, while a reading that lies between tenths
// (415.99 kHz) is 10 Hz or more from the next one and is still truncated.
constexpr FLOAT64 kHeldTenthSlack = 0.01;
// The same slack below 0.0 kHz: a zero held a hair low is still zero, not a negative reading.
constexpr FLOAT64 kLowestHeldKhz = -kHeldTenthSlack / kTenthsPerKhz;

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
// and the host's form carries the value, else the fallback. The whole kHz are taken apart from
// the fraction, so that what the x87's precision does to the product touches the fraction only,
// where it is far below the slack.
AdfTenths tenthsFromReading(bool evaluated, FLOAT64 khz) {
  if (!evaluated || !(khz > kLowestHeldKhz && khz < kBeyondFormKhz)) return kFallbackTenths;
  const AdfTenths wholeKhz = static_cast<AdfTenths>(khz);  // toward zero: 0 for a hair below
  const FLOAT64 fraction = khz - wholeKhz;
  const AdfTenths tenths = static_cast<AdfTenths>(kTenthsPerKhz) * wholeKhz +
                           static_cast<AdfTenths>(fraction * kTenthsPerKhz + kHeldTenthSlack);
  return tenths > kHighestFormTenths ? kFallbackTenths : tenths;
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
