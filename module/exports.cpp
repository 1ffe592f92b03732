#include "gauges/adf/adf_layout.h"
#include "gauges/comnav/comnav_layout.h"
#include "gauges/transponder/transponder_layout.h"
#include "host/import_table.h"
#include "module/linkage.h"

extern "C" {

GAUGESIMPORT ImportTable = {
    {PANELS_IMPORT_ID, nullptr},
    {0, nullptr},
};

GAUGESLINKAGE Linkage = {
    kRadiosModuleId,
    radiosModuleInit,
    radiosModuleDeinit,
    0,
    0,
    kRadiosLinkageVersion,
    {&comNavGaugeHeader, &transponderGaugeHeader, &adfGaugeHeader, nullptr},
};
}
