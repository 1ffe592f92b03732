// What the panel host offers a loaded module: its PANELS table, backed by the simulation, a record
// of every key event and service call, and the main window with its timers on the virtual clock.
// One instance is the running host; the C-style services reach it through that one pointer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/gauge_records.h"
#include "sim/radio_simulation.h"
#include "timers/virtual_timers.h"

namespace panelhost {

struct KeyEventRecord {
  std::uint32_t eventId;
  std::uint32_t value;
  std::int64_t timeMs;
};

struct ElementListCall {
  std::string service;  // "query", "install", "initialize", "update", "generate", "plot", "kill"
  ELEMENT_HEADER* element;
};

class HostServices {
 public:
  HostServices();
  ~HostServices();
  HostServices(const HostServices&) = delete;
  HostServices& operator=(const HostServices&) = delete;

  PANELS* panels() { return &panels_; }
  RadioSimulation& simulation() { return simulation_; }
  VirtualTimers& timers() { return timers_; }

  // The host's main window of class "FS98MAIN"; without it FindWindowW finds nothing.
  HWND mainWindow() const;
  void setWindowPresent(bool present) { windowPresent_ = present; }

  std::int64_t nowMs() const { return nowMs_; }
  void setNowMs(std::int64_t t) { nowMs_ = t; }

  std::vector<KeyEventRecord> keyEvents;
  std::vector<std::string> calculatorCodes;  // every text given to execute_calculator_code
  std::vector<MODULE_VAR> moduleVarLookups;  // each record as the module handed it over
  std::vector<ElementListCall> elementListCalls;
  // Called with a line for each service call, when set.
  std::function<void(const std::string&)> log;
  // Called instead of `log`, when set, with a line for each request the simulation could not
  // answer.
  std::function<void(const std::string&)> warn;

  static HostServices& running();

 private:
  PANELS panels_;
  RadioSimulation simulation_;
  VirtualTimers timers_;
  bool windowPresent_ = true;
  std::int64_t nowMs_ = 0;
};

}  // namespace panelhost
