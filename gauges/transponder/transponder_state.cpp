#include "gauges/transponder/transponder_state.h"

#include "gauges/controls/drum_knob.h"
#include "gauges/controls/knob_twins.h"
#include "host/host_numbers.h"
#include "host/panel_services.h"
#include "host/panel_timers.h"

TransponderState transponderState;

namespace {

TransponderState& state = transponderState;

constexpr SINT32 kInitialCode[kXpdrDigitCount] = {7, 0, 0, 0};

// Every code knob turns its digit alike: squawk digits are octal.
constexpr DrumRange kOctalDigit = {0, 7};

// The simulation only hears the code while the transponder is switched on; at OFF the dialled
// code waits for the next knob click.
void sendTransponderCode() {
  if (state.mode == kXpdrModeOff) return;
  sendKeyEvent(keyevent::kTransponderSet, xpdrCodeValue(state));
}

void replyLitPhaseStart() {
  startPanelTimer(paneltimer::kXpdrReplyLit, paneltimer::kXpdrReplyLitMs, replyLitPhaseElapsed);
  state.replyBlinkOn = 1;
}
void replyLitPhaseStop() { stopPanelTimer(paneltimer::kXpdrReplyLit); }
void replyDarkPhaseStart() {
  startPanelTimer(paneltimer::kXpdrReplyDark, paneltimer::kXpdrReplyDarkMs, replyDarkPhaseElapsed);
}
void replyDarkPhaseStop() { stopPanelTimer(paneltimer::kXpdrReplyDark); }
void identWindowStart() {
  startPanelTimer(paneltimer::kXpdrIdentWindow, paneltimer::kXpdrIdentWindowMs, identWindowElapsed);
  state.identActive = 1;
}
void identWindowStop() { stopPanelTimer(paneltimer::kXpdrIdentWindow); }

// The lamp is taken before anything is cleared, so a source switched off by the knob still
// lights it for one more update and the pilot sees it go out rather than vanish mid-flash.
void updateReplyLamp() {
  state.lampLit = (state.testPressed || state.identActive || state.replyBlinkOn) ? 1 : 0;
  if (state.mode <= kXpdrModeStandby) {
    if (state.replyBlinkOn) {
      state.replyBlinkOn = 0;
      replyLitPhaseStop();
    }
    if (state.identActive) {
      state.identActive = 0;
      identWindowStop();
    }
  }
  if (state.mode <= kXpdrModeOff && state.testPressed) state.testPressed = 0;
}

void turnDigitDown(XpdrDigit k) {
  stepDrumDown(state.digit[k], kOctalDigit);
  sendTransponderCode();
}

void turnDigitUp(XpdrDigit k) {
  stepDrumUp(state.digit[k], kOctalDigit);
  sendTransponderCode();
}

}  // namespace

UINT32 xpdrCodeValue(const TransponderState& record) {
  return static_cast<UINT32>(record.digit[kXpdrThousands]) << 12 |
         static_cast<UINT32>(record.digit[kXpdrHundreds]) << 8 |
         static_cast<UINT32>(record.digit[kXpdrTens]) << 4 |
         static_cast<UINT32>(record.digit[kXpdrUnits]);
}

void FSAPI transponderGaugeCallback(GAUGEHDR*, SINT32 serviceId, UINT32) {
  switch (serviceId) {
    case PANEL_SERVICE_PRE_INITIALIZE:
      // Once per module load: a second placement or a panel reload keeps the dialled code.
      if (state.initialised) return;
      state.mode = kXpdrModeOff;
      for (int k = 0; k < kXpdrDigitCount; ++k) state.digit[k] = kInitialCode[k];
      state.initialised = 1;
      return;
    case PANEL_SERVICE_PRE_UPDATE:
      updateReplyLamp();
      return;
    default:
      return;
  }
}

void CALLBACK replyLitPhaseElapsed(HWND, UINT, UINT_PTR, DWORD) {
  state.replyBlinkOn = 0;
  replyLitPhaseStop();
  replyDarkPhaseStart();
}

void CALLBACK replyDarkPhaseElapsed(HWND, UINT, UINT_PTR, DWORD) {
  replyDarkPhaseStop();
  replyLitPhaseStart();
}

void CALLBACK identWindowElapsed(HWND, UINT, UINT_PTR, DWORD) {
  state.identActive = 0;
  identWindowStop();
}

// The mode knob stops at OFF and ALT; a click against ALT sends the code again.
SINT32 FSAPI xpdrModeUp(PIXPOINT*, FLAGS) {
  state.mode = state.mode + 1;
  if (state.mode > kXpdrModeAlt) state.mode = kXpdrModeAlt;
  if (state.mode == kXpdrModeOn) replyLitPhaseStart();  // only reached from SBY: ALT is clamped
  sendTransponderCode();
  return 0;
}

SINT32 FSAPI xpdrModeDown(PIXPOINT*, FLAGS) {
  state.mode = state.mode - 1;
  if (state.mode < kXpdrModeOff) state.mode = kXpdrModeOff;
  if (state.mode == kXpdrModeStandby) {
    replyLitPhaseStop();
    replyDarkPhaseStop();
  }
  sendTransponderCode();
  return 0;
}

SINT32 FSAPI xpdrDigit0Down(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, xpdrDigit0Up, [] { turnDigitDown(kXpdrThousands); });
}
SINT32 FSAPI xpdrDigit0Up(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, xpdrDigit0Down, [] { turnDigitUp(kXpdrThousands); });
}
SINT32 FSAPI xpdrDigit1Down(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, xpdrDigit1Up, [] { turnDigitDown(kXpdrHundreds); });
}
SINT32 FSAPI xpdrDigit1Up(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, xpdrDigit1Down, [] { turnDigitUp(kXpdrHundreds); });
}
SINT32 FSAPI xpdrDigit2Down(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, xpdrDigit2Up, [] { turnDigitDown(kXpdrTens); });
}
SINT32 FSAPI xpdrDigit2Up(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, xpdrDigit2Down, [] { turnDigitUp(kXpdrTens); });
}
SINT32 FSAPI xpdrDigit3Down(PIXPOINT* p, FLAGS f) {
  return turnDownHalf(p, f, xpdrDigit3Up, [] { turnDigitDown(kXpdrUnits); });
}
SINT32 FSAPI xpdrDigit3Up(PIXPOINT* p, FLAGS f) {
  return turnUpHalf(p, f, xpdrDigit3Down, [] { turnDigitUp(kXpdrUnits); });
}

SINT32 FSAPI xpdrTestButton(PIXPOINT*, FLAGS mouseFlags) {
  if ((mouseFlags & MOUSE_LEFTSINGLE) && state.mode > kXpdrModeOff) state.testPressed = 1;
  if (mouseFlags & MOUSE_LEFTRELEASE) state.testPressed = 0;
  updateReplyLamp();  // the lamp answers the button at once, not at the next update
  return 0;
}

SINT32 FSAPI xpdrIdentButton(PIXPOINT*, FLAGS) {
  if (state.mode >= kXpdrModeOn) identWindowStart();  // a second press restarts the window
  return 0;
}

FLOAT64 FSAPI xpdrStripX0(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX1(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX2(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripX3(ELEMENT_MOVING_IMAGE*) { return 0.0; }
FLOAT64 FSAPI xpdrStripY0(ELEMENT_MOVING_IMAGE*) { return state.digit[kXpdrThousands]; }
FLOAT64 FSAPI xpdrStripY1(ELEMENT_MOVING_IMAGE*) { return state.digit[kXpdrHundreds]; }
FLOAT64 FSAPI xpdrStripY2(ELEMENT_MOVING_IMAGE*) { return state.digit[kXpdrTens]; }
FLOAT64 FSAPI xpdrStripY3(ELEMENT_MOVING_IMAGE*) { return state.digit[kXpdrUnits]; }
FLOAT64 FSAPI xpdrModeIcon(ELEMENT_ICON*) { return state.mode; }
FLOAT64 FSAPI xpdrReplyLampIcon(ELEMENT_ICON*) { return state.lampLit == 1 ? 0.0 : -1.0; }
