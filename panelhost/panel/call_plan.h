// The calls a host makes of its placed gauges in one go — an update cycle, the services and
// element callbacks of a drawing — in the host's order, made as batches: each run of calls into
// one module is one batch, one entry into an emulated module's CPU. Made once when the gauges are
// placed, then run as often as the host likes without allocating.
#pragma once

#include <cstddef>
#include <vector>

#include "loader/loaded_module.h"

namespace panelhost {

class CallPlan {
 public:
  // A call of `module`'s; with `drawn`, an element callback whose value a drawing will ask for,
  // held by the module when the plan is run.
  void add(LoadedModule& module, const ModuleCall& call);
  void addDrawn(LoadedModule& module, const LoadedModule::ElementCall& drawn);
  // Room for this many calls, drawn ones among them, made at once rather than as they come.
  void reserve(std::size_t calls, std::size_t drawn);
  void clear();

  // Makes every call, run after run; a fault ends the plan there.
  void run();

 private:
  struct Run {
    LoadedModule* module;
    std::size_t first;
    std::size_t count;
    bool keepsResults;
  };

  void addCall(LoadedModule& module, const ModuleCall& call,
               const LoadedModule::ElementCall* drawn);

  std::vector<ModuleCall> calls_;
  std::vector<LoadedModule::ElementCall> drawn_;  // by call; a null element for the others
  std::vector<Run> runs_;
  std::vector<CallResult> results_;
};

}  // namespace panelhost
