#include "gauges/comnav/comnav_state.h"

#include "gauges/comnav/frequency_text.h"
#include "gauges/controls/knob_twins.h"
#include "host/host_numbers.h"
#include "host/panel_services.h"
#include "host/panel_timers.h"

ComNavState comNavState;

namespace {

ComNavState& state = comNavState;

// The band a knob keeps its standby frequency in.
struct Band {
  KhzFrequency ComNavState::*standby;
  KhzFrequency low;
  KhzFrequency high;
};
constexpr Band kComBand = {&ComNavState::comStandbyKhz, 118000, 135975};
constexpr Band kNavBand = {&ComNavState::navStandbyKhz, 108000, 117925};

constexpr KhzFrequency kFineStep = 25;
constexpr KhzFrequency kCoarseStep = 1000;
// A coarse step past an end of the band comes round by the band's whole MHz, keeping the kHz.
constexpr KhzFrequency kComWrap = 18000;  // 118 to 135
constexpr KhzFrequency kNavWrap = 10000;  // 108 to 117
// Off is told to the simulation by tuning to a frequency no knob reaches.
constexpr KhzFrequency kComOffKhz = 136000;
constexpr KhzFrequency kNavOffKhz = 117950;

// Standby readings the radio can show: 0 to 999.999 MHz. The host's answers all lie there; a
// failed evaluation, a reading that is not a number, or one far outside would otherwise give a
// frequency the knob arithmetic could overflow on, so the radio starts those on the band's lowest
// channel instead.
constexpr double kLowestShownMhz = 0.0;
constexpr double kBeyondShownMhz = 1000.0;

// What a knob step does with a frequency it took past an end of its band: put it at one end of
// the band, or move it by so many kHz.
struct PastTheEnd {
  enum Rule { kToLow, kToHigh, kMove } rule;
  KhzFrequency khz;
};
constexpr PastTheEnd toLow() { return {PastTheEnd::kToLow, 0}; }
constexpr PastTheEnd toHigh() { return {PastTheEnd::kToHigh, 0}; }
constexpr PastTheEnd moveBy(KhzFrequency khz) { return {PastTheEnd::kMove, khz}; }

// One half of a knob: its step, then what it does below the band, then above it, each line working
// on what the line before left.
struct KnobHalf {
  Band band;
  KhzFrequency step;
  PastTheEnd below;
  PastTheEnd above;
};

// clang-format off
//                                 band      step          f < low            f > high
constexpr KnobHalf kComUp25     = {kComBand, +kFineStep,   toLow(),           toLow()};
constexpr KnobHalf kComDown25   = {kComBand, -kFineStep,   toHigh(),          toHigh()};
constexpr KnobHalf kComUp1000   = {kComBand, +kCoarseStep, toLow(),           moveBy(-kComWrap)};
constexpr KnobHalf kComDown1000 = {kComBand, -kCoarseStep, moveBy(+kComWrap), toHigh()};
constexpr KnobHalf kNavUp25     = {kNavBand, +kFineStep,   toLow(),           toLow()};
constexpr KnobHalf kNavDown25   = {kNavBand, -kFineStep,   toHigh(),          toHigh()};
constexpr KnobHalf kNavDown1000 = {kNavBand, -kCoarseStep, moveBy(+kNavWrap), moveBy(-kCoarseStep)};
// clang-format on

KhzFrequency pastTheEnd(const PastTheEnd& rule, const Band& band, KhzFrequency f) {
  switch (rule.rule) {
    case PastTheEnd::kToLow:
      return band.low;
    case PastTheEnd::kToHigh:
      return band.high;
    default:
      return f + rule.khz;
  }
}

void turn(const KnobHalf& half) {
  KhzFrequency& f = state.*half.band.standby;
  f = f + half.step;
  if (f < half.band.low) f = pastTheEnd(half.below, half.band, f);
  if (f > half.band.high) f = pastTheEnd(half.above, half.band, f);
}

// The NAV band stops at 117.925, not at x.975 like COM's: coming round from above, x.950 and
// x.975 land one MHz lower than the rest, which no single rule of the table above can say.
void navCoarseUp() {
  KhzFrequency& f = state.*kNavBand.standby;
  f = f + kCoarseStep;
  if (f < kNavBand.low) f = kNavBand.low;
  if (f > kNavBand.high + 2 * kFineStep) f = f - kNavWrap;
  if (f > kNavBand.high) f = f - (kNavWrap - kCoarseStep);
}

void sendComFrequency(KhzFrequency khz) {
  sendKeyEvent(keyevent::kCom1ActiveSet, static_cast<UINT32>(khzToBcd16(khz)));
}

void sendNavFrequency(KhzFrequency khz) {
  sendKeyEvent(keyevent::kNav1ActiveSet, static_cast<UINT32>(khzToBcd16(khz)));
}

void startSettleTimer() {
  state.settleElapsed = 0;
  startPanelTimer(paneltimer::kComNavSettle, paneltimer::kComNavSettleMs, onSettleTimer);
}

void stopSettleTimer() { stopPanelTimer(paneltimer::kComNavSettle); }

KhzFrequency readStandbyKhz(const char* name, KhzFrequency fallbackKhz) {
  FLOAT64 mhz = 0.0;
  const bool evaluated = tryEvalCalculatorNumber(name, &mhz);
  if (!evaluated || !(mhz >= kLowestShownMhz && mhz < kBeyondShownMhz)) return fallbackKhz;
  return mhzToKhz(mhz);
}

void preInitialize() {
  state.powerOn = 0;
  state.lastComBcd = readModuleVarInt(modulevar::kCom1ActiveFrequency);
  state.comActiveKhz = bcd16ToKhz(state.lastComBcd);
  state.comStandbyKhz = readStandbyKhz(calculator::kCom1Standby, kComBand.low);
  state.comSentKhz = kComOffKhz;
  sendComFrequency(kComOffKhz);

  state.navIdentOn = 0;
  state.lastNavBcd = readModuleVarInt(modulevar::kNav1ActiveFrequency);
  state.navActiveKhz = bcd16ToKhz(state.lastNavBcd);
  if (state.navActiveKhz > kNavBand.high) state.navActiveKhz = kNavBand.high;
  state.navStandbyKhz = readStandbyKhz(calculator::kNav1Standby, kNavBand.low);
  if (state.navStandbyKhz > kNavBand.high) state.navStandbyKhz = kNavBand.high;
  state.navSentKhz = kNavOffKhz;
  sendNavFrequency(kNavOffKhz);

  startSettleTimer();
  state.initialised = 1;
}

// Another party (an autopilot, a co-pilot's radio, the simulator's own dialogs) tuned COM1.
void adoptOutsideComChange() {
  state.lastComBcd = readModuleVarInt(modulevar::kCom1ActiveFrequency);
  const KhzFrequency reading = bcd16ToKhz(state.lastComBcd);
  if (reading == state.comSentKhz) return;
  state.comActiveKhz = reading;
  state.comSentKhz = reading;
  state.powerOn = 1;
}

void applyPower() {
  if (state.powerOn == 0) {
    state.comSentKhz = kComOffKhz;
    state.navSentKhz = kNavOffKhz;
  } else {
    state.comSentKhz = state.comActiveKhz;
    state.navSentKhz = state.navActiveKhz;
  }
  sendComFrequency(state.comSentKhz);
  sendNavFrequency(state.navSentKhz);
}

// Standby becomes active and is sent; with the power off a swap does nothing.
void exchange(KhzFrequency& active, KhzFrequency& standby, KhzFrequency& sent,
              void (*send)(KhzFrequency)) {
  if (state.powerOn == 0) return;
  const KhzFrequency wasActive = active;
  active = standby;
  standby = wasActive;
  sent = active;
  send(sent);
}

void swapCom() {
  exchange(state.comActiveKhz, state.comStandbyKhz, state.comSentKhz, sendComFrequency);
}

void swapNav() {
  exchange(state.navActiveKhz, state.navStandbyKhz, state.navSentKhz, sendNavFrequency);
}

void showFrequency(ELEMENT_STRING* element, KhzFrequency khz) {
  // The host's buffer holds max_string_length bytes, terminator included, and nothing more.
  if (element == nullptr || element->string == nullptr || element->max_string_length == 0) return;
  if (state.powerOn == 0) {
    element->string[0] = '\0';
    return;
  }
  // Shown to the 10 kHz: the 5 kHz digit of 25 kHz channels is dropped, as on the real radio.
  writeFrequencyText(element->string, element->max_string_length, khz);
}

}  // namespace

void FSAPI comNavGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  switch (serviceId) {
    case PANEL_SERVICE_PRE_INITIALIZE:
      // Once per module load: a second placement or a panel reload keeps power and settle delay.
      if (!state.initialised) preInitialize();
      return;
    case PANEL_SERVICE_PRE_UPDATE:
      if (state.settleElapsed) adoptOutsideComChange();
      return;
    default:
      return;
  }
}

void CALLBACK onSettleTimer(HWND, UINT, UINT_PTR, DWORD) {
  state.settleElapsed = 1;
  stopSettleTimer();
}

SINT32 FSAPI powerSwitchClick(PIXPOINT*, FLAGS) {
  state.powerOn = state.powerOn == 0 ? 1 : 0;
  applyPower();
  return 0;
}

SINT32 FSAPI comSwapClick(PIXPOINT*, FLAGS) {
  swapCom();
  return 0;
}

SINT32 FSAPI navSwapClick(PIXPOINT*, FLAGS) {
  swapNav();
  return 0;
}

// The ident audio is the receiver's own switch: it works with the power off too.
SINT32 FSAPI navIdentClick(PIXPOINT*, FLAGS) {
  state.navIdentOn = 1 - state.navIdentOn;
  sendKeyEvent(state.navIdentOn >= 1 ? keyevent::kNav1IdentOn : keyevent::kNav1IdentOff, 0);
  return 0;
}

// The knobs tune the standby frequencies whatever the power.
SINT32 FSAPI comKnobUp25(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, comKnobDown25, [] { turn(kComUp25); });
}
SINT32 FSAPI comKnobDown25(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, comKnobUp25, [] { turn(kComDown25); });
}
SINT32 FSAPI comKnobUp1000(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, comKnobDown1000, [] { turn(kComUp1000); });
}
SINT32 FSAPI comKnobDown1000(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, comKnobUp1000, [] { turn(kComDown1000); });
}
SINT32 FSAPI navKnobUp25(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, navKnobDown25, [] { turn(kNavUp25); });
}
SINT32 FSAPI navKnobDown25(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, navKnobUp25, [] { turn(kNavDown25); });
}
SINT32 FSAPI navKnobUp1000(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, navKnobDown1000, [] { navCoarseUp(); });
}
SINT32 FSAPI navKnobDown1000(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, navKnobUp1000, [] { turn(kNavDown1000); });
}

FLOAT64 FSAPI comActiveText(ELEMENT_STRING* element) {
  showFrequency(element, state.comActiveKhz);
  return 0.0;
}
FLOAT64 FSAPI comStandbyText(ELEMENT_STRING* element) {
  showFrequency(element, state.comStandbyKhz);
  return 0.0;
}
FLOAT64 FSAPI navActiveText(ELEMENT_STRING* element) {
  showFrequency(element, state.navActiveKhz);
  return 0.0;
}
FLOAT64 FSAPI navStandbyText(ELEMENT_STRING* element) {
  showFrequency(element, state.navStandbyKhz);
  return 0.0;
}
FLOAT64 FSAPI powerSwitchIcon(ELEMENT_ICON*) { return state.powerOn >= 1 ? 1.0 : 0.0; }
FLOAT64 FSAPI navIdentIcon(ELEMENT_ICON*) { return state.navIdentOn >= 1 ? 1.0 : 0.0; }
