// The "Com1Nav1" radio: its state and every callback, handler and timer handler the host reaches.
#pragma once

#include <cstdint>

#include "encoding/radio_encoding.h"
#include "host/interface/gauge_records.h"

struct ComNavState {
  std::uint8_t powerOn;
  KhzFrequency comActiveKhz;
  KhzFrequency comStandbyKhz;
  KhzFrequency navActiveKhz;
  KhzFrequency navStandbyKhz;
  KhzFrequency comSentKhz;  // what the simulation should hold: last sent or last adopted
  KhzFrequency navSentKhz;
  std::int32_t lastComBcd;  // last raw reading of the COM1 active frequency
  std::int32_t lastNavBcd;  // raw reading of the NAV1 active frequency at pre-initialize
  std::int32_t navIdentOn;
  std::uint8_t settleElapsed;  // outside COM1 changes are adopted only once this is set
  std::uint8_t initialised;
};

// Module-wide: every placement of the gauge shares it.
extern ComNavState comNavState;

namespace comnav {
constexpr KhzFrequency kComBandLow = 118000;
constexpr KhzFrequency kComBandHigh = 135975;
constexpr KhzFrequency kNavBandLow = 108000;
constexpr KhzFrequency kNavBandHigh = 117925;
constexpr KhzFrequency kFineStep = 25;
constexpr KhzFrequency kCoarseStep = 1000;
// Off is told to the simulation by tuning to a frequency no knob reaches.
constexpr KhzFrequency kComOffKhz = 136000;
constexpr KhzFrequency kNavOffKhz = 117950;
}  // namespace comnav

void FSAPI comNavGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);
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
