// A gauge module as the simulator holds it: loaded, its PANELS pointer filled, module init
// called. Destroying it calls module deinit and unloads the library.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/gauge_records.h"
#include "loader/module_library.h"

namespace panelhost {

class LoadedModule {
 public:
  // Throws HostError when the file cannot be loaded or lacks `Linkage` or `ImportTable`.
  LoadedModule(const std::string& path, PANELS* panels);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  const std::string& path() const { return path_; }
  // The gauge headers of the module's gauge table, in table order.
  const std::vector<GAUGEHDR*>& gauges() const { return gauges_; }
  // The header of the gauge of that name, or null.
  GAUGEHDR* gauge(const std::string& name) const;
  // A readable name for one of the module's functions, or "" when the module does not say.
  std::string nameOf(const void* address) const { return library_->nameOf(address); }

 private:
  std::string path_;
  std::unique_ptr<ModuleLibrary> library_;
  GAUGESLINKAGE* linkage_ = nullptr;
  GAUGESIMPORT* importTable_ = nullptr;
  std::vector<GAUGEHDR*> gauges_;
};

}  // namespace panelhost
