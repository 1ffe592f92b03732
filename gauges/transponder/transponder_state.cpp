#include "gauges/transponder/transponder_state.h"

#include "host/host_numbers.h"
#include "host/knob_twins.h"
#include "host/panel_services.h"
#include "host/panel_timers.h"

TransponderState transponderState;

namespace {

constexpr SINT32 kInitialCode[kXpdrDigitCount] = {7, 0, 0, 0};

TransponderState& state() { return transponderState; }

// The simulation only hears the code while the transponder is switched on; at OFF the dialled
// code waits for the next knob click.
void sendTransponderCode() {
  if (state().mode == kXpdrOff) return;
  sendKeyEvent(keyevent::kTransponderSet, xpdrCodeValue(state()));
}

void replyLitPhaseStart() {
  startPanelTimer(paneltimer::kXpdrReplyLit, paneltimer::kXpdrReplyLitMs, replyLitPhaseElapsed);
  state().replyBlinkOn = 1;
}
void replyLitPhaseStop() { stopPanelTimer(paneltimer::kXpdrReplyLit); }
void replyDarkPhaseStart() {
  startPanelTimer(paneltimer::kXpdrReplyDark, paneltimer::kXpdrReplyDarkMs, replyDarkPhaseElapsed);
}
void replyDarkPhaseStop() { stopPanelTimer(paneltimer::kXpdrReplyDark); }
void identWindowStart() {
  startPanelTimer(paneltimer::kXpdrIdentWindow, paneltimer::kXpdrIdentWindowMs, identWindowElapsed);
  state().identActive = 1;
}
void identWindowStop() { stopPanelTimer(paneltimer::kXpdrIdentWindow); }

// The lamp is taken before anything is cleared, so a source switched off by the knob still
// lights it for one more update and the pilot sees it go out rather than vanish mid-flash.
void updateReplyLamp() {
  TransponderState& s = state();
  s.lampLit = (s.testPressed || s.identActive || s.replyBlinkOn) ? 1 : 0;
  if (s.mode <= kXpdrStandby) {
    if (s.replyBlinkOn) {
      s.replyBlinkOn = 0;
      replyLitPhaseStop();
    }
    if (s.identActive) {
      s.identActive = 0;
      identWindowStop();
    }
  }
  if (s.mode <= kXpdrOff && s.testPressed) s.testPressed = 0;
}

void stepDigit(int k, SINT32 delta) {
  SINT32& d = state().digit[k];
  d += delta;
  if (d < 0) d = kXpdrHighestDigit;
  if (d > kXpdrHighestDigit) d = 0;
  sendTransponderCode();
}

SINT32 digitDown(int k, PMOUSE_FUNCTION upTwin, PIXPOINT* point, FLAGS flags) {
  return turnKnobHalf(point, flags, MOUSE_WHEEL_UP, upTwin, [k] { stepDigit(k, -1); });
}

SINT32 digitUp(int k, PMOUSE_FUNCTION downTwin, PIXPOINT* point, FLAGS flags) {
  return turnKnobHalf(point, flags, MOUSE_WHEEL_DOWN, downTwin, [k] { stepDigit(k, +1); });
}

}  // namespace

UINT32 xpdrCodeValue(const TransponderState& s) {
  return static_cast<UINT32>(s.digit[0]) << 12 | static_cast<UINT32>(s.digit[1]) << 8 |
         static_cast<UINT32>(s.digit[2]) << 4 | static_cast<UINT32>(s.digit[3]);
}

void FSAPI transponderGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  TransponderState& s = state();
  switch (serviceId) {
    case PANEL_SERVICE_PRE_INITIALIZE:
      // Once per module load: a second placement or a panel reload keeps the dialled code.
      if (s.initialised) return;
      s.mode = kXpdrOff;
      for (int k = 0; k < kXpdrDigitCount; ++k) s.digit[k] = kInitialCode[k];
      s.initialised = 1;
      return;
    case PANEL_SERVICE_PRE_UPDATE:
      updateReplyLamp();
      return;
    default:
      return;
  }
}

SINT32 FSAPI xpdrModeUp(PIXPOINT*, FLAGS) {
  TransponderState& s = state();
  if (++s.mode > kXpdrAlt) s.mode = kXpdrAlt;
  if (s.mode == kXpdrOn) replyLitPhaseStart();  // only reached from SBY: ALT is clamped above
  sendTransponderCode();
  return 0;
}

SINT32 FSAPI xpdrModeDown(PIXPOINT*, FLAGS) {
  TransponderState& s = state();
  if (--s.mode < kXpdrOff) s.mode = kXpdrOff;
  if (s.mode == kXpdrStandby) {
    replyLitPhaseStop();
    replyDarkPhaseStop();
  }
  sendTransponderCode();
  return 0;
}

SINT32 FSAPI xpdrDigit0Down(PIXPOINT* p, FLAGS f) { return digitDown(0, xpdrDigit0Up, p, f); }
SINT32 FSAPI xpdrDigit0Up(PIXPOINT* p, FLAGS f) { return digitUp(0, xpdrDigit0Down, p, f); }
SINT32 FSAPI xpdrDigit1Down(PIXPOINT* p, FLAGS f) { return digitDown(1, xpdrDigit1Up, p, f); }
SINT32 FSAPI xpdrDigit1Up(PIXPOINT* p, FLAGS f) { return digitUp(1, xpdrDigit1Down, p, f); }
SINT32 FSAPI xpdrDigit2Down(PIXPOINT* p, FLAGS f) { return digitDown(2, xpdrDigit2Up, p, f); }
SINT32 FSAPI xpdrDigit2Up(PIXPOINT* p, FLAGS f) { return digitUp(2, xpdrDigit2Down, p, f); }
SINT32 FSAPI xpdrDigit3Down(PIXPOINT* p, FLAGS f) { return digitDown(3, xpdrDigit3Up, p, f); }
SINT32 FSAPI xpdrDigit3Up(PIXPOINT* p, FLAGS f) { return digitUp(3, xpdrDigit3Down, p, f); }

SINT32 FSAPI xpdrTestButton(PIXPOINT*, FLAGS flags) {
  TransponderState& s = state();
  if ((flags & MOUSE_LEFTSINGLE) && s.mode > kXpdrOff) s.testPressed = 1;
  if (flags & MOUSE_LEFTRELEASE) s.testPressed = 0;
  updateReplyLamp();  // the lamp answers the button at once, not at the next update
  return 0;
}

SINT32 FSAPI xpdrIdentButton(PIXPOINT*, FLAGS) {
  if (state().mode >= kXpdrOn) identWindowStart();  // a second press restarts the window
  return 0;
}

FLOAT64 FSAPI xpdrStripX0(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX1(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX2(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX3(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripY0(ELEMENT_MOVING_IMAGE*) { return state().digit[0]; }
FLOAT64 FSAPI xpdrStripY1(ELEMENT_MOVING_IMAGE*) { return state().digit[1]; }
FLOAT64 FSAPI xpdrStripY2(ELEMENT_MOVING_IMAGE*) { return state().digit[2]; }
FLOAT64 FSAPI xpdrStripY3(ELEMENT_MOVING_IMAGE*) { return state().digit[3]; }
FLOAT64 FSAPI xpdrModeIcon(ELEMENT_ICON*) { return state().mode; }
FLOAT64 FSAPI xpdrReplyLampIcon(ELEMENT_ICON*) { return state().lampLit == 1 ? 0.0 : -1.0; }

void CALLBACK replyLitPhaseElapsed(HWND, UINT, UINT_PTR, DWORD) {
  state().replyBlinkOn = 0;
  replyLitPhaseStop();
  replyDarkPhaseStart();
}

void CALLBACK replyDarkPhaseElapsed(HWND, UINT, UINT_PTR, DWORD) {
  replyDarkPhaseStop();
  replyLitPhaseStart();
}

void CALLBACK identWindowElapsed(HWND, UINT, UINT_PTR, DWORD) {
  state().identActive = 0;
  identWindowStop();
}
