#include "host/panel_timers.h"
#include "module/linkage.h"

void FSAPI radiosModuleInit() {}

// The host unloads the module right after this; a timer still running on its main window would
// then call into code that is gone.
void FSAPI radiosModuleDeinit() { stopAllPanelTimers(); }
