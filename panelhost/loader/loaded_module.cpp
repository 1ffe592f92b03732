#include "loader/loaded_module.h"

#include <cstring>

#include "support/host_error.h"

namespace panelhost {

LoadedModule::LoadedModule(const std::string& path, PANELS* panels)
    : path_(path), library_(openModuleLibrary(path)) {
  linkage_ = static_cast<GAUGESLINKAGE*>(library_->symbol("Linkage"));
  importTable_ = static_cast<GAUGESIMPORT*>(library_->symbol("ImportTable"));
  if (linkage_ == nullptr) throw HostError("the module " + path + " lacks the export Linkage");
  if (importTable_ == nullptr) {
    throw HostError("the module " + path + " lacks the export ImportTable");
  }
  if (importTable_->PANELSentry.fnID != PANELS_IMPORT_ID) {
    throw HostError("the module " + path + " has an ImportTable whose first entry is not PANELS");
  }
  for (GAUGEHDR* header : linkage_->gauge_header_ptr) {
    if (header == nullptr) break;
    if (header->gauge_name == nullptr) {
      throw HostError("the module " + path + " lists a gauge header without a name");
    }
    gauges_.push_back(header);
  }
  importTable_->PANELSentry.fnptr = panels;
  if (linkage_->ModuleInit) linkage_->ModuleInit();
}

LoadedModule::~LoadedModule() {
  if (linkage_->ModuleDeinit) linkage_->ModuleDeinit();
  importTable_->PANELSentry.fnptr = nullptr;
}

GAUGEHDR* LoadedModule::gauge(const std::string& name) const {
  for (GAUGEHDR* header : gauges_) {
    if (std::strcmp(header->gauge_name, name.c_str()) == 0) return header;
  }
  return nullptr;
}

}  // namespace panelhost
