#include "host/panel_services.h"

#include <cstring>

#include "host/cut_text.h"
#include "host/import_table.h"

void sendKeyEvent(UINT32 eventId, UINT32 value) { hostPanels()->trigger_key_event(eventId, value); }

SINT32 readModuleVarInt(SINT32 variableId) {
  MODULE_VAR moduleVar{};
  moduleVar.id = static_cast<ID>(variableId);
  hostPanels()->lookup_var(&moduleVar);
  // The low 32 bits, whichever way the host filled the value.
  SINT32 low = 0;
  std::memcpy(&low, &moduleVar.var_value, sizeof low);
  return low;
}

bool tryEvalCalculatorNumber(const char* name, FLOAT64* result) {
  char cCode[kCalculatorCodeSize];
  writeCutText(cCode, sizeof cCode, {"(", name, ")"});
  return evalCalculatorExpression(cCode, result);
}

FLOAT64 evalCalculatorNumber(const char* name) {
  FLOAT64 result = 0.0;
  tryEvalCalculatorNumber(name, &result);
  return result;
}

bool evalCalculatorExpression(const char* expression, FLOAT64* result) {
  return hostPanels()->execute_calculator_code(expression, result, nullptr, nullptr) != 0;
}
