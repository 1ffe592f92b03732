// The ADF receiver's control head: its record, and every entry point the host reaches it by: the
// gauge callback, the mouse handlers of its mode knob, ident (VOL) knob and two dual frequency
// knobs, and the element callbacks that feed its knob pictures and drums.
#pragma once

#include "encoding/radio_encoding.h"
#include "host/interface/gauge_records.h"

// Mode knob positions, as the face labels them. ADF, ANT and BFO differ only in the picture.
enum AdfMode : SINT32 { kAdfModeOff = 0, kAdfModeAdf = 1, kAdfModeAnt = 2, kAdfModeBfo = 3 };

// One record for the module: every placement of the gauge shares it. All zero at load.
struct AdfState {
  SINT32 mode;               // an AdfMode
  SINT32 identOn;            // 0 or 1: the ident audio
  AdfTenths selectedTenths;  // what the drums show
  AdfTenths activeTenths;    // what the simulation was last given
  SINT32 hundredsGroup;      // hundreds of kHz
  SINT32 tensDigit;          // tens of kHz
  SINT32 unitsDigit;         // kHz
  SINT32 tenthsDigit;        // tenths of a kHz
  UINT8 initialised;         // set by the first pre-initialize, never cleared
};

extern AdfState adfState;

void FSAPI adfGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);

SINT32 FSAPI adfModeDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfModeUp(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfIdentToggle(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfHundredsDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfHundredsUp(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfTensDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfTensUp(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfUnitsDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfUnitsUp(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfTenthsDown(PIXPOINT* relativePoint, FLAGS mouseFlags);
SINT32 FSAPI adfTenthsUp(PIXPOINT* relativePoint, FLAGS mouseFlags);

FLOAT64 FSAPI adfModeIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI adfIdentIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI adfStripX(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfHundredsStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfTensStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfUnitsStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfTenthsStripY(ELEMENT_MOVING_IMAGE* element);
