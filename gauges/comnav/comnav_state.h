// The "Com1Nav1" radio: its record, and every entry point the host reaches it by: the gauge
// callback, the settle timer's handler, the mouse handlers of its switches, swap buttons and two
// dual knobs, and the element callbacks that feed its four displays and two knob pictures.
#pragma once

#include "encoding/radio_encoding.h"
#include "host/interface/gauge_records.h"

// One record for the module: every placement of the gauge shares it. All zero at load.
struct ComNavState {
  UINT8 powerOn;  // 0 or 1
  KhzFrequency comActiveKhz;
  KhzFrequency comStandbyKhz;
  KhzFrequency navActiveKhz;
  KhzFrequency navStandbyKhz;
  KhzFrequency comSentKhz;  // what the simulation should hold: last sent or last adopted
  KhzFrequency navSentKhz;
  SINT32 lastComBcd;    // last raw reading of the COM1 active frequency
  SINT32 lastNavBcd;    // raw reading of the NAV1 active frequency at pre-initialize
  SINT32 navIdentOn;    // 0 or 1
  UINT8 settleElapsed;  // outside COM1 changes are adopted only once this is set
  UINT8 initialised;    // set by the first pre-initialize, never cleared
};

extern ComNavState comNavState;

void FSAPI comNavGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);

// Timer handler: timer 4 ends the settle delay.
void CALLBACK onSettleTimer(HWND window, UINT message, UINT_PTR timerId, DWORD time);

SINT32 FSAPI powerSwitchClick(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI comSwapClick(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navSwapClick(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navIdentClick(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI comKnobUp25(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI comKnobDown25(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI comKnobUp1000(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI comKnobDown1000(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navKnobUp25(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navKnobDown25(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navKnobUp1000(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI navKnobDown1000(PIXPOINT* relativePoint, FLAGS mouseFlags);

FLOAT64 FSAPI comActiveText(ELEMENT_STRING* element);
FLOAT64 FSAPI comStandbyText(ELEMENT_STRING* element);
FLOAT64 FSAPI navActiveText(ELEMENT_STRING* element);
FLOAT64 FSAPI navStandbyText(ELEMENT_STRING* element);
FLOAT64 FSAPI powerSwitchIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI navIdentIcon(ELEMENT_ICON* element);
