#include "host/gauge_header.h"
#include "host/import_table.h"
#include "module/linkage.h"

namespace {
ELEMENT_HEADER* firstGaugeRoot() { return *Linkage.gauge_header_ptr[0]->elements_list; }
}  // namespace

void FSAPI elementListQueryRoutine() { hostPanels()->element_list_query(firstGaugeRoot()); }

void FSAPI elementListInstallRoutine(void* resourceHandle) {
  hostPanels()->element_list_install(firstGaugeRoot(), resourceHandle);
}

void FSAPI elementListInitializeRoutine() {
  hostPanels()->element_list_initialize(firstGaugeRoot());
}

void FSAPI elementListUpdateRoutine() { hostPanels()->element_list_update(firstGaugeRoot()); }

void FSAPI elementListGenerateRoutine(UINT32 phase) {
  hostPanels()->element_list_generate(firstGaugeRoot(), phase);
}

void FSAPI elementListDrawRoutine() { hostPanels()->element_list_plot(firstGaugeRoot()); }

void FSAPI elementListKillRoutine() { hostPanels()->element_list_kill(firstGaugeRoot()); }
