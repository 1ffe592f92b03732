// The seven standard element-list routines that every gauge header of this module names. Whichever
// header the host serves, they hand the host the root element of the first gauge in the linkage.
#pragma once

#include "host/gauge_records.h"

void FSAPI elementListQueryRoutine();
void FSAPI elementListInstallRoutine(void* resourceHandle);
void FSAPI elementListInitializeRoutine();
void FSAPI elementListUpdateRoutine();
void FSAPI elementListGenerateRoutine(UINT32 phase);
void FSAPI elementListDrawRoutine();
void FSAPI elementListKillRoutine();

constexpr UINT32 kGaugeDefaultWidthMm = 417;

// The header fields all three gauges share: version, name, root, the seven routines, default
// size. Each gauge brings its mouse table and callback; the host fills the rest at run time.
constexpr GAUGEHDR standardGaugeHeader(const char* name, ELEMENT_HEADER** elementsList,
                                       MOUSERECT* mouseTable, PGAUGE_CALLBACK callback) {
  return GAUGEHDR{GAUGE_HEADER_VERSION_FS800,
                  name,
                  elementsList,
                  elementListQueryRoutine,
                  elementListInstallRoutine,
                  elementListInitializeRoutine,
                  elementListUpdateRoutine,
                  elementListGenerateRoutine,
                  elementListDrawRoutine,
                  elementListKillRoutine,
                  nullptr,
                  kGaugeDefaultWidthMm,
                  0,
                  0.0,
                  0.0,
                  nullptr,
                  {0, 0},
                  nullptr,
                  nullptr,
                  mouseTable,
                  callback,
                  0,
                  nullptr,
                  nullptr,
                  0};
}
