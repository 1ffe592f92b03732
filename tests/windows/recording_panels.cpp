#include "recording_panels.h"

#include <cstring>

namespace {

void FSAPI ignoreElement(ELEMENT_HEADER*) {}
void FSAPI ignoreInstall(ELEMENT_HEADER*, void*) {}
void FSAPI ignoreGenerate(ELEMENT_HEADER*, UINT32) {}

UINT32 FSAPI triggerKeyEvent(ID eventId, UINT32 value) {
  recordingPanels().keyEvents.push_back({eventId, value});
  return 0;
}

void FSAPI lookupVar(MODULE_VAR* moduleVar) {
  const SmokeSimulation& sim = recordingPanels().simulation;
  switch (moduleVar->id) {
    case 23:
      moduleVar->var_value.u = sim.com1ActiveBcd;
      break;
    case 24:
      moduleVar->var_value.u = sim.nav1ActiveBcd;
      break;
    default:
      recordingPanels().unknownRequests.push_back("module variable " +
                                                  std::to_string(moduleVar->id));
  }
}

BOOL_HOST FSAPI executeCalculatorCode(PCSTRINGZ code, FLOAT64* floatResult, SINT32* intResult,
                                      PCSTRINGZ* textResult) {
  const SmokeSimulation& sim = recordingPanels().simulation;
  struct Answer {
    const char* code;
    double value;
  };
  const Answer answers[] = {
      {"(A:COM1 STANDBY FREQUENCY, Megahertz)", sim.com1StandbyMhz},
      {"(A:NAV1 STANDBY FREQUENCY, Megahertz)", sim.nav1StandbyMhz},
      {"(A:ADF ACTIVE FREQUENCY:1,KHz)", sim.adfActiveKhz},
  };
  for (const Answer& answer : answers) {
    if (code && std::strcmp(code, answer.code) == 0) {
      if (floatResult) *floatResult = answer.value;
      if (intResult) *intResult = static_cast<SINT32>(answer.value);
      if (textResult) *textResult = nullptr;
      return 1;
    }
  }
  recordingPanels().unknownRequests.push_back(std::string("calculator code \"") +
                                              (code ? code : "(null)") + "\"");
  return 0;
}

PANELS servedTable() {
  PANELS table{};
  table.element_list_query = ignoreElement;
  table.element_list_install = ignoreInstall;
  table.element_list_initialize = ignoreElement;
  table.element_list_update = ignoreElement;
  table.element_list_generate = ignoreGenerate;
  table.element_list_plot = ignoreElement;
  table.element_list_erase = ignoreElement;
  table.element_list_kill = ignoreElement;
  table.trigger_key_event = triggerKeyEvent;
  table.lookup_var = lookupVar;
  table.execute_calculator_code = executeCalculatorCode;
  return table;
}

}  // namespace

RecordingPanels& recordingPanels() {
  static RecordingPanels panels{{}, {}, {}, servedTable()};
  return panels;
}
