// The ADF receiver's control head: its state, the gauge callback, the mouse handlers of its mode
// knob, ident (VOL) knob and two dual frequency knobs, and the callbacks that feed its drums.
#pragma once

#include "encoding/radio_encoding.h"
#include "host/interface/gauge_records.h"

struct AdfState {
  SINT32 mode;               // 0 OFF, 1 ADF, 2 ANT, 3 BFO
  SINT32 identOn;            // 0 or 1
  AdfTenths selectedTenths;  // what the drums show
  AdfTenths activeTenths;    // what the simulation was last given
  SINT32 hundredsGroup;      // hundreds of kHz
  SINT32 tensDigit;          // tens of kHz
  SINT32 unitsDigit;         // kHz
  SINT32 tenthsDigit;        // tenths of a kHz
  bool initialised;
};

// One record for the module: every placement of the gauge shares it.
extern AdfState adfState;

// While OFF the simulation is held at 200.0 kHz.
constexpr AdfTenths kAdfOffTenths = 2000;
// Where the drums start when the simulation's reading cannot be shown on them.
constexpr AdfTenths kAdfFallbackTenths = 2000;
// The largest reading the drums can show: the hundreds strip's last figure is 17.
constexpr AdfTenths kAdfHighestShownTenths = 17999;

constexpr SINT32 kAdfModeOff = 0;
constexpr SINT32 kAdfModeHighest = 3;

void FSAPI adfGaugeCallback(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);

void sendAdfFrequency(AdfTenths tenths);
void applyAdfMode();
void recomposeAdfFrequency();

// The drums' starting frequency for a calculator result: the reading truncated to tenths when
// the evaluation succeeded and the value is one the drums can show, else the fallback.
AdfTenths adfTenthsFromReading(bool evaluated, FLOAT64 khz);

SINT32 FSAPI adfModeDown(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfModeUp(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfIdentToggle(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfHundredsDown(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfHundredsUp(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfTensDown(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfTensUp(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfUnitsDown(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfUnitsUp(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfTenthsDown(PIXPOINT* point, FLAGS mouseFlags);
SINT32 FSAPI adfTenthsUp(PIXPOINT* point, FLAGS mouseFlags);

FLOAT64 FSAPI adfModeIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI adfIdentIcon(ELEMENT_ICON* element);
FLOAT64 FSAPI adfStripX(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfHundredsStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfTensStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfUnitsStripY(ELEMENT_MOVING_IMAGE* element);
FLOAT64 FSAPI adfTenthsStripY(ELEMENT_MOVING_IMAGE* element);
