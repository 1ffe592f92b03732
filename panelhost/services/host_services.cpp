#include "services/host_services.h"

#include <cstdio>
#include <stdexcept>

namespace panelhost {

namespace {

HostServices* runningHost = nullptr;

void note(const std::string& line) {
  if (runningHost->log) runningHost->log(line);
}

// Something the module asked for that the simulation cannot answer: always worth telling.
void warn(const std::string& line) {
  if (runningHost->warn) {
    runningHost->warn(line);
  } else {
    note(line);
  }
}

void recordElementCall(const char* service, ELEMENT_HEADER* element) {
  HostServices::running().elementListCalls.push_back({service, element});
}

void FSAPI elementListQuery(ELEMENT_HEADER* e) { recordElementCall("query", e); }
void FSAPI elementListInstall(ELEMENT_HEADER* e, void*) { recordElementCall("install", e); }
void FSAPI elementListInitialize(ELEMENT_HEADER* e) { recordElementCall("initialize", e); }
void FSAPI elementListUpdate(ELEMENT_HEADER* e) { recordElementCall("update", e); }
void FSAPI elementListGenerate(ELEMENT_HEADER* e, UINT32) { recordElementCall("generate", e); }
void FSAPI elementListPlot(ELEMENT_HEADER* e) { recordElementCall("plot", e); }
void FSAPI elementListKill(ELEMENT_HEADER* e) { recordElementCall("kill", e); }

SINT32 FSAPI triggerKeyEvent(ID eventId, UINT32 value) {
  HostServices& host = HostServices::running();
  host.keyEvents.push_back({eventId, value, host.nowMs()});
  const bool known = host.simulation().applyKeyEvent(eventId, value);
  char line[64];
  std::snprintf(line, sizeof line, "key event %u value 0x%08X: ", eventId, value);
  if (known) {
    note(line + RadioSimulation::describeKeyEvent(eventId, value));
  } else {
    warn(line + std::string("unknown to the simulation"));
  }
  return known ? 0 : 1;
}

void FSAPI lookupVar(MODULE_VAR* moduleVar) {
  HostServices& host = HostServices::running();
  host.moduleVarLookups.push_back(*moduleVar);
  if (auto value = host.simulation().moduleVariable(moduleVar->id)) {
    moduleVar->var_value.raw = *value;
  } else {
    warn("module variable " + std::to_string(moduleVar->id) + " is unknown");
  }
}

SINT32 FSAPI executeCalculatorCode(PCSTRINGZ code, FLOAT64* floatResult, SINT32* intResult,
                                   PCSTRINGZ* textResult) {
  HostServices& host = HostServices::running();
  host.calculatorCodes.emplace_back(code ? code : "");
  const auto value = host.simulation().evaluate(host.calculatorCodes.back());
  if (!value) {
    warn("calculator expression not understood: \"" + host.calculatorCodes.back() + "\"");
    return 0;
  }
  if (floatResult) *floatResult = *value;
  if (intResult) *intResult = static_cast<SINT32>(*value);
  if (textResult) *textResult = nullptr;
  return 1;
}

}  // namespace

HostServices::HostServices()
    : panels_{elementListQuery,    elementListInstall,   elementListInitialize, elementListUpdate,
              elementListGenerate, elementListPlot,      elementListKill,       triggerKeyEvent,
              lookupVar,           executeCalculatorCode} {
  if (runningHost) throw std::logic_error("a panel host is already running");
  runningHost = this;
}

HostServices::~HostServices() { runningHost = nullptr; }

HostServices& HostServices::running() {
  if (!runningHost) throw std::logic_error("no panel host is running");
  return *runningHost;
}

HWND HostServices::mainWindow() const {
  // The window stand-in only needs a handle that is not null and is ours.
  return windowPresent_ ? static_cast<HWND>(const_cast<HostServices*>(this)) : nullptr;
}

}  // namespace panelhost
