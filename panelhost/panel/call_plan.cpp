#include "panel/call_plan.h"

#include "abi/host_layouts.h"

namespace panelhost {

void CallPlan::add(LoadedModule& module, const ModuleCall& call) { addCall(module, call, nullptr); }

void CallPlan::addDrawn(LoadedModule& module, const LoadedModule::ElementCall& drawn) {
  addCall(module, LoadedModule::elementCall(drawn), &drawn);
}

void CallPlan::addCall(LoadedModule& module, const ModuleCall& call,
                       const LoadedModule::ElementCall* drawn) {
  if (call.function == 0) return;
  // A new run for another module; and for a text the run has had written already (the same
  // gauge placed twice), since its buffer holds only the last text until it is read.
  bool newRun = runs_.empty() || runs_.back().module != &module;
  if (!newRun && drawn != nullptr && drawn->element->kind == hostabi::kString) {
    for (std::size_t i = runs_.back().first; i < drawn_.size(); ++i) {
      const ElementRecord* before = drawn_[i].element;
      newRun = newRun || (before != nullptr && before->kind == hostabi::kString &&
                          before->text.buffer == drawn->element->text.buffer);
    }
  }
  if (newRun) runs_.push_back({&module, calls_.size(), 0, false});
  Run& run = runs_.back();
  calls_.push_back(call);
  // A plan without drawn values (an update cycle) keeps neither them nor results: with thousands
  // of placements they would be most of its memory.
  if (drawn != nullptr && drawn_.size() < calls_.size() - 1) {
    drawn_.resize(calls_.size() - 1, LoadedModule::ElementCall{0, nullptr});
  }
  if (drawn != nullptr || !drawn_.empty()) {
    drawn_.push_back(drawn != nullptr ? *drawn : LoadedModule::ElementCall{0, nullptr});
    results_.resize(calls_.size());
  }
  ++run.count;
  run.keepsResults = run.keepsResults || drawn != nullptr;
}

void CallPlan::reserve(std::size_t calls, std::size_t drawn) {
  calls_.reserve(calls);
  if (drawn > 0) {
    drawn_.reserve(calls);
    results_.reserve(calls);
  }
}

void CallPlan::clear() {
  calls_.clear();
  drawn_.clear();
  runs_.clear();
  results_.clear();
}

void CallPlan::run() {
  for (const Run& run : runs_) {
    CallResult* results = run.keepsResults ? &results_[run.first] : nullptr;
    run.module->callInOrder(&calls_[run.first], run.count, results);
    if (!run.keepsResults) continue;
    for (std::size_t i = run.first; i < run.first + run.count; ++i) {
      if (drawn_[i].element != nullptr) run.module->holdDrawnValue(drawn_[i], results_[i].value);
    }
  }
}

}  // namespace panelhost
