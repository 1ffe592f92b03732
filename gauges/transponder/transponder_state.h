// The transponder: its record, and every entry point the host reaches it by: the gauge callback,
// the mouse handlers of its mode knob, code knobs and buttons, the element callbacks that feed its
// drums, knob picture and reply lamp, and the timer handlers of the lamp and the ident window.
#pragma once

#include "host/interface/gauge_records.h"

// Mode knob positions, as the face labels them.
enum XpdrMode : SINT32 {
  kXpdrModeOff = 0,
  kXpdrModeStandby = 1,
  kXpdrModeOn = 2,
  kXpdrModeAlt = 3
};

// The code's digits, leftmost drum first.
enum XpdrDigit : int { kXpdrThousands, kXpdrHundreds, kXpdrTens, kXpdrUnits, kXpdrDigitCount };

// One record for the module: every placement of the gauge shares it. All zero at load.
struct TransponderState {
  SINT32 mode;                    // an XpdrMode
  SINT32 digit[kXpdrDigitCount];  // each 0 to 7, indexed by XpdrDigit
  UINT8 initialised;              // set by the first pre-initialize, never cleared
  UINT8 replyBlinkOn;             // the blink cycle is in its lit phase
  UINT8 testPressed;              // the TEST button is held
  UINT8 identActive;              // the ident window is running
  UINT8 lampLit;                  // what the lamp shows, as of the last lamp update
};

extern TransponderState transponderState;

// The value of the "set transponder code" key event: one digit per nibble, thousands on top.
UINT32 xpdrCodeValue(const TransponderState& record);

void FSAPI transponderGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);

// Timer handlers: timer 2 ends the lit phase, timer 3 the dark phase, timer 1 the ident window.
void CALLBACK replyLitPhaseElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);
void CALLBACK replyDarkPhaseElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);
void CALLBACK identWindowElapsed(HWND window, UINT message, UINT_PTR timerId, DWORD time);

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
