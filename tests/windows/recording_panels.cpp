#include "recording_panels.h"

#include <cstring>

namespace {

void FSAPI ignoreElement(ELEMENT_HEADER*) {}
void FSAPI ignoreInstall(ELEMENT_HEADER*, void*) {}
void FSAPI ignoreGenerate(ELEMENT_HEADER*, UINT32) {}

SINT32 FSAPI triggerKeyEvent(ID eventId, UINT32 value) {
  recordingPanels().keyEvents.push_back({eventId, value});
  return 0;
}

void FSAPI lookupVar(MODULE_VAR* moduleVar) {
  const SmokeSimulation& sim = recordingPanels().simulation;
  switch (moduleVar->id) {
    case 23:
      moduleVar->var_value.raw = sim.com1ActiveBcd;
      break;
    case 24:
      moduleVar->var_value.raw = sim.nav1ActiveBcd;
      break;
    default:
      recordingPanels().unknownRequests.push_back("module variable " +
                                                  std::to_string(moduleVar->id));
  }
}

SINT32 FSAPI executeCalculatorCode(PCSTRINGZ code, FLOAT64* floatResult, SINT32* intResult,
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

}  // namespace

RecordingPanels& recordingPanels() {
  static RecordingPanels panels{
      {},
      {},
      {},
      {ignoreElement, ignoreInstall, ignoreElement, ignoreElement, ignoreGenerate, ignoreElement,
       ignoreElement, triggerKeyEvent, lookupVar, executeCalculatorCode}};
  return panels;
}
