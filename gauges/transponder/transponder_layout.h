// The "Transponder" gauge as the host sees it: header, element tree, mouse table.
#pragma once

#include "host/interface/gauge_records.h"

extern GAUGEHDR transponderGaugeHeader;
