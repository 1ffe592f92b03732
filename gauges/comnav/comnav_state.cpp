#include "gauges/comnav/comnav_state.h"

#include <cmath>
#include <cstdio>

#include "host/host_numbers.h"
#include "host/knob_twins.h"
#include "host/panel_services.h"
#include "host/panel_timers.h"

using namespace comnav;

ComNavState comNavState;

namespace {

ComNavState& s = comNavState;

void sendComFrequency(KhzFrequency khz) {
  sendKeyEvent(keyevent::kCom1ActiveSet, static_cast<UINT32>(khzToBcd16(khz)));
}

void sendNavFrequency(KhzFrequency khz) {
  sendKeyEvent(keyevent::kNav1ActiveSet, static_cast<UINT32>(khzToBcd16(khz)));
}

void startSettleTimer() {
  s.settleElapsed = 0;
  startPanelTimer(paneltimer::kComNavSettle, paneltimer::kComNavSettleMs, onSettleTimer);
}

void stopSettleTimer() { stopPanelTimer(paneltimer::kComNavSettle); }

// Standby readings the radio can show: 0 to 999.999 MHz. The host's answers all lie there; a
// failed evaluation, a reading that is not a number, or one far outside would otherwise give a
// frequency the knob arithmetic could overflow on, so the radio starts those on the band's lowest
// channel instead.
constexpr double kLowestShownMhz = 0.0;
constexpr double kBeyondShownMhz = 1000.0;

KhzFrequency readStandbyKhz(const char* name, KhzFrequency fallbackKhz) {
  FLOAT64 mhz = 0.0;
  const bool evaluated = tryEvalCalculatorNumber(name, &mhz);
  if (!evaluated || !(mhz >= kLowestShownMhz && mhz < kBeyondShownMhz)) return fallbackKhz;
  return mhzToKhz(mhz);
}

void preInitialize() {
  s.powerOn = 0;
  s.lastComBcd = readModuleVarInt(modulevar::kCom1ActiveFrequency);
  s.comActiveKhz = bcd16ToKhz(s.lastComBcd);
  s.comStandbyKhz = readStandbyKhz(calculator::kCom1Standby, kComBandLow);
  s.comSentKhz = kComOffKhz;
  sendComFrequency(kComOffKhz);

  s.navIdentOn = 0;
  s.lastNavBcd = readModuleVarInt(modulevar::kNav1ActiveFrequency);
  s.navActiveKhz = bcd16ToKhz(s.lastNavBcd);
  if (s.navActiveKhz > kNavBandHigh) s.navActiveKhz = kNavBandHigh;
  s.navStandbyKhz = readStandbyKhz(calculator::kNav1Standby, kNavBandLow);
  if (s.navStandbyKhz > kNavBandHigh) s.navStandbyKhz = kNavBandHigh;
  s.navSentKhz = kNavOffKhz;
  sendNavFrequency(kNavOffKhz);

  startSettleTimer();
  s.initialised = 1;
}

// Another party (an autopilot, a co-pilot's radio, the simulator's own dialogs) tuned COM1.
void adoptOutsideComChange() {
  s.lastComBcd = readModuleVarInt(modulevar::kCom1ActiveFrequency);
  const KhzFrequency reading = bcd16ToKhz(s.lastComBcd);
  if (reading == s.comSentKhz) return;
  s.comActiveKhz = reading;
  s.comSentKhz = reading;
  s.powerOn = 1;
}

void applyPower() {
  if (s.powerOn == 0) {
    s.comSentKhz = kComOffKhz;
    s.navSentKhz = kNavOffKhz;
  } else {
    s.comSentKhz = s.comActiveKhz;
    s.navSentKhz = s.navActiveKhz;
  }
  sendComFrequency(s.comSentKhz);
  sendNavFrequency(s.navSentKhz);
}

void swapCom() {
  if (s.powerOn == 0) return;
  const KhzFrequency active = s.comActiveKhz;
  s.comActiveKhz = s.comStandbyKhz;
  s.comStandbyKhz = active;
  s.comSentKhz = s.comActiveKhz;
  sendComFrequency(s.comSentKhz);
}

void swapNav() {
  if (s.powerOn == 0) return;
  const KhzFrequency active = s.navActiveKhz;
  s.navActiveKhz = s.navStandbyKhz;
  s.navStandbyKhz = active;
  s.navSentKhz = s.navActiveKhz;
  sendNavFrequency(s.navSentKhz);
}

// ---- Knob steps: each line works on what the line before left ---------------------------------

void comFineUp(KhzFrequency& f) {
  f += kFineStep;
  if (f < kComBandLow) f = kComBandLow;
  if (f > kComBandHigh) f = kComBandLow;
}

void comFineDown(KhzFrequency& f) {
  f -= kFineStep;
  if (f < kComBandLow) f = kComBandHigh;
  if (f > kComBandHigh) f = kComBandHigh;
}

void comCoarseUp(KhzFrequency& f) {
  f += kCoarseStep;
  if (f < kComBandLow) f = kComBandLow;
  if (f > kComBandHigh) f -= 18000;
}

void comCoarseDown(KhzFrequency& f) {
  f -= kCoarseStep;
  if (f < kComBandLow) f += 18000;
  if (f > kComBandHigh) f = kComBandHigh;
}

void navFineUp(KhzFrequency& f) {
  f += kFineStep;
  if (f < kNavBandLow) f = kNavBandLow;
  if (f > kNavBandHigh) f = kNavBandLow;
}

void navFineDown(KhzFrequency& f) {
  f -= kFineStep;
  if (f < kNavBandLow) f = kNavBandHigh;
  if (f > kNavBandHigh) f = kNavBandHigh;
}

// The NAV band stops at 117.925, so x.950 and x.975 wrap one MHz lower than the rest.
void navCoarseUp(KhzFrequency& f) {
  f += kCoarseStep;
  if (f < kNavBandLow) f = kNavBandLow;
  if (f > 117975) f -= 10000;
  if (f > kNavBandHigh) f -= 9000;
}

void navCoarseDown(KhzFrequency& f) {
  f -= kCoarseStep;
  if (f < kNavBandLow) f += 10000;
  if (f > kNavBandHigh) f -= 1000;
}

SINT32 turnKnob(PIXPOINT* point, FLAGS flags, FLAGS wheelAgainst, PMOUSE_FUNCTION twin,
                void (*step)(KhzFrequency&), KhzFrequency& field) {
  return turnKnobHalf(point, flags, wheelAgainst, twin, [&] { step(field); });
}

void writeFrequencyText(ELEMENT_STRING* element, KhzFrequency khz) {
  // The host's buffer holds max_string_length bytes, terminator included, and nothing more.
  if (element == nullptr || element->string == nullptr || element->max_string_length == 0) return;
  if (s.powerOn == 0) {
    element->string[0] = '\0';
    return;
  }
  // Shown to the 10 kHz: the 5 kHz digit of 25 kHz channels is dropped, as on the real radio.
  const double mhz = std::floor(khz / 10.0) / 100.0;
  // snprintf cuts a longer text at the buffer's end and always terminates it.
  std::snprintf(element->string, element->max_string_length, "%7.3f", mhz);
}

}  // namespace

void FSAPI comNavGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  switch (serviceId) {
    case PANEL_SERVICE_PRE_INITIALIZE:
      if (s.initialised == 0) preInitialize();
      break;
    case PANEL_SERVICE_PRE_UPDATE:
      if (s.settleElapsed == 1) adoptOutsideComChange();
      break;
    default:
      break;
  }
}

void CALLBACK onSettleTimer(HWND, UINT, UINT_PTR, DWORD) {
  s.settleElapsed = 1;
  stopSettleTimer();
}

SINT32 FSAPI powerSwitchClick(PIXPOINT*, FLAGS) {
  s.powerOn = s.powerOn == 0 ? 1 : 0;
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

SINT32 FSAPI navIdentClick(PIXPOINT*, FLAGS) {
  s.navIdentOn = 1 - s.navIdentOn;
  sendKeyEvent(s.navIdentOn >= 1 ? keyevent::kNav1IdentOn : keyevent::kNav1IdentOff, 0);
  return 0;
}

SINT32 FSAPI comKnobUp25(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_DOWN, comKnobDown25, comFineUp, s.comStandbyKhz);
}
SINT32 FSAPI comKnobDown25(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_UP, comKnobUp25, comFineDown, s.comStandbyKhz);
}
SINT32 FSAPI comKnobUp1000(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_DOWN, comKnobDown1000, comCoarseUp, s.comStandbyKhz);
}
SINT32 FSAPI comKnobDown1000(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_UP, comKnobUp1000, comCoarseDown, s.comStandbyKhz);
}
SINT32 FSAPI navKnobUp25(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_DOWN, navKnobDown25, navFineUp, s.navStandbyKhz);
}
SINT32 FSAPI navKnobDown25(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_UP, navKnobUp25, navFineDown, s.navStandbyKhz);
}
SINT32 FSAPI navKnobUp1000(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_DOWN, navKnobDown1000, navCoarseUp, s.navStandbyKhz);
}
SINT32 FSAPI navKnobDown1000(PIXPOINT* point, FLAGS flags) {
  return turnKnob(point, flags, MOUSE_WHEEL_UP, navKnobUp1000, navCoarseDown, s.navStandbyKhz);
}

FLOAT64 FSAPI comActiveText(ELEMENT_STRING* element) {
  writeFrequencyText(element, s.comActiveKhz);
  return 0.0;
}
FLOAT64 FSAPI comStandbyText(ELEMENT_STRING* element) {
  writeFrequencyText(element, s.comStandbyKhz);
  return 0.0;
}
FLOAT64 FSAPI navActiveText(ELEMENT_STRING* element) {
  writeFrequencyText(element, s.navActiveKhz);
  return 0.0;
}
FLOAT64 FSAPI navStandbyText(ELEMENT_STRING* element) {
  writeFrequencyText(element, s.navStandbyKhz);
  return 0.0;
}

FLOAT64 FSAPI powerSwitchIcon(ELEMENT_ICON*) { return s.powerOn >= 1 ? 1.0 : 0.0; }
FLOAT64 FSAPI navIdentIcon(ELEMENT_ICON*) { return s.navIdentOn >= 1 ? 1.0 : 0.0; }
