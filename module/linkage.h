// The two records the host looks up by name once it has loaded the module.
#pragma once

#include "host/interface/gauge_records.h"

constexpr ID kRadiosModuleId = 0x00000013;
constexpr UINT32 kRadiosLinkageVersion = 0x0900;

extern "C" GAUGESLINKAGE Linkage;

void FSAPI radiosModuleInit();
void FSAPI radiosModuleDeinit();
