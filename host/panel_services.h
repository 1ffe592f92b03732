// Thin wrappers over the host services the gauges use. Results are not checked: the host is
// trusted to take what it is sent.
#pragma once

#include "host/interface/gauge_records.h"

constexpr std::size_t kCalculatorCodeSize = 255;

void sendKeyEvent(UINT32 eventId, UINT32 value);

// Reads a module variable through a fresh record whose fields other than the id are zero and
// returns the low 32 bits of its current value.
SINT32 readModuleVarInt(SINT32 variableId);

// Evaluates "(" + name + ")" with the host's calculator and returns the number it hands back
// (0.0 when the host hands back nothing).
FLOAT64 evalCalculatorNumber(const char* name);

// The same evaluation, telling whether the host reported success; *result is written only by
// the host.
bool tryEvalCalculatorNumber(const char* name, FLOAT64* result);

// Evaluates an expression exactly as written. Returns whether the host reported success; *result
// is written only by the host.
bool evalCalculatorExpression(const char* expression, FLOAT64* result);
