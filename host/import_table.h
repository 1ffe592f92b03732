// The table through which the host hands us its services. The module exports it; the host fills
// its PANELS pointer after loading and before it calls anything of ours.
#pragma once

#include "host/interface/gauge_records.h"

extern "C" GAUGESIMPORT ImportTable;

inline PANELS* hostPanels() { return ImportTable.PANELSentry.fnptr; }
