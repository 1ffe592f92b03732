// The transponder's radio state and every entry point the host reaches it by: the gauge callback,
// the mouse handlers, the element callbacks and the three timer handlers of the reply lamp and
// the ident window.
#pragma once

#include "host/interface/gauge_records.h"

// Knob positions, as the face plate labels them.
enum XpdrMode : SINT32 { kXpdrOff = 0, kXpdrStandby = 1, kXpdrOn = 2, kXpdrAlt = 3 };

constexpr int kXpdrDigitCount = 4;
constexpr SINT32 kXpdrHighestDigit = 7;  // squawk digits are octal

// One record for the module: every placement of the gauge shares it. All zero at load.
struct TransponderState {
  SINT32 mode;                    // XpdrMode
  SINT32 digit[kXpdrDigitCount];  // digit[0] thousands (leftmost drum) .. digit[3] units
  unsigned char initialised;      // set by the first pre-initialize, never cleared
  unsigned char replyBlinkOn;     // the blink cycle is in its lit phase
  unsigned char testPressed;      // the TEST button is held
  unsigned char identActive;      // the ident window is running
  unsigned char lampLit;          // what the lamp shows, as of the last lamp update
};

extern TransponderState transponderState;

// The value of the "set transponder code" key event: one digit per nibble, thousands on top.
UINT32 xpdrCodeValue(const TransponderState& state);

void FSAPI transponderGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);

SINT32 FSAPI xpdrModeUp(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrModeDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit0Down(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit0Up(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit1Down(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit1Up(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit2Down(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit2Up(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit3Down(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrDigit3Up(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrTestButton(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI xpdrIdentButton(PIXPOINT* relativePoint, FLAGS mouseFlags);

FLOAT64 FSAPI xpdrStripX0(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripX1(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripX2(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripX3(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripY0(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripY1(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripY2(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrStripY3(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI xpdrModeIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI xpdrReplyLampIcon(ELEMENT_ICON* element);

// Timer handlers: timer 2 ends the lit phase, timer 3 the dark phase, timer 1 the ident window.
void CALLBACK replyLitPhaseElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);
void CALLBACK replyDarkPhaseElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);
void CALLBACK identWindowElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);
