// A gauge header as this module builds it, and the seven standard element-list routines every
// one names (module/element_list_routines.cpp). Whichever header the host serves, they hand the
// host the root element of the first gauge in the linkage: that is how the host has them, not a
// slip. It draws each gauge from its own header's list.
#pragma once

#include "host/interface/gauge_records.h"

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
  GAUGEHDR header{};
  header.gauge_header_version = GAUGE_HEADER_VERSION_FS800;
  header.gauge_name = name;
  header.elements_list = elementsList;
  header.query_routine = elementListQueryRoutine;
  header.install_routine = elementListInstallRoutine;
  header.initialize_routine = elementListInitializeRoutine;
  header.update_routine = elementListUpdateRoutine;
  header.generate_routine = elementListGenerateRoutine;
  header.draw_routine = elementListDrawRoutine;
  header.kill_routine = elementListKillRoutine;
  header.size_x_mm = kGaugeDefaultWidthMm;
  header.mouse_rect = mouseTable;
  header.gauge_callback = callback;
  return header;
}
