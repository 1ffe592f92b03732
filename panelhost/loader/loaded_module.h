// A gauge module as the simulator holds it: loaded, its records read through panelhost's own
// layout, a PANELS table of the host's in its ImportTable, module init called, and each text
// element lent a buffer of the size it declares. Destroying it calls module deinit and unloads it.
// Every call into the module goes through here, so the host knows which module is calling back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "abi/host_layouts.h"
#include "abi/module_records.h"
#include "loader/module_image.h"

namespace panelhost {

class HostServices;

class LoadedModule {
 public:
  // Throws HostError (or ModuleFault) when the module lacks `Linkage` or `ImportTable`, or its
  // records cannot be read.
  LoadedModule(std::unique_ptr<ModuleImage> image, HostServices& host);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  const std::string& path() const { return image_->path(); }
  ModuleImage& image() { return *image_; }
  const ModuleImage& image() const { return *image_; }
  const hostabi::HostLayouts& layouts() const { return layouts_; }
  const LinkageRecord& linkage() const { return linkage_; }
  ModuleAddress importTable() const { return importTable_; }
  ModuleAddress panelsTable() const { return panels_; }
  // The gauges of the module's gauge table, in table order.
  const std::vector<GaugeRecord>& gauges() const { return gauges_; }
  // The gauge of that name, or null.
  const GaugeRecord* gauge(const std::string& name) const;
  // A readable name for a function of the module, or "" when it does not say.
  std::string nameOf(ModuleAddress function) const { return image_->nameOf(function); }

  // Calls a child entry's handler with the point relative to its box.
  void mouse(const MouseEntry& entry, std::int32_t x, std::int32_t y, std::uint32_t flags);
  // The element's callbacks, as a host calls them to draw it; see element_values.h.
  double callElement(ModuleAddress callback, const ElementRecord& element);
  // The text element's callback called, and the text it wrote into its buffer.
  std::string elementText(const ElementRecord& element);
  // The text buffer's bytes up to its terminator (or its end).
  std::string textBuffer(const ElementRecord& element) const;

  // One element callback, of those an update cycle and a drawing call.
  struct ElementCall {
    ModuleAddress callback;
    const ElementRecord* element;
  };
  // The gauge's element callbacks in drawing order, as an update cycle and a drawing call them:
  // the list made when the module was loaded.
  const std::vector<ElementCall>& elementCalls(const GaugeRecord& gauge) const;
  // A gauge service, or an element callback, as a call of a batch; a service's function is 0 when
  // the gauge has no callback.
  ModuleCall serviceCall(const GaugeRecord& gauge, std::int32_t serviceId,
                         std::uint32_t extra) const;
  static ModuleCall elementCall(const ElementCall& call);
  // Makes a batch of calls into the module (ModuleImage::callInOrder), as the host makes every
  // call: with the module known as the one calling back.
  void callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results);

  // A drawing's element values taken ahead of it, in the order the drawing asks for them:
  // callElement and elementText hand them out in that order instead of calling again. Any other
  // call into the module, or a read out of that order, drops those still held.
  void holdDrawnValue(const ElementCall& call, double value);
  // Room for this many held values, made at once.
  void reserveDrawnValues(std::size_t count) { drawn_.reserve(count); }
  void dropDrawnValues();

 private:
  struct DrawnValue {
    ElementCall call;
    double value;
    std::string text;
  };

  void lendTextBuffers(GaugeRecord& gauge);
  static std::vector<ElementCall> elementCallsOf(const ElementTree& tree);
  const DrawnValue* drawnValue(ModuleAddress callback, const ElementRecord& element);

  std::unique_ptr<ModuleImage> image_;
  HostServices& host_;
  const hostabi::HostLayouts& layouts_;
  LinkageRecord linkage_;
  ModuleAddress importTable_ = 0;
  ModuleAddress panels_ = 0;
  ModuleAddress mousePoint_ = 0;  // the host record a mouse handler's first argument points at
  std::vector<GaugeRecord> gauges_;
  std::vector<std::vector<ElementCall>> updateCalls_;                 // by gauge, as gauges_
  std::vector<std::pair<ModuleAddress, ModuleAddress>> lentBuffers_;  // element, buffer
  std::vector<DrawnValue> drawn_;  // kept, so that holding values allocates nothing once grown
  std::size_t drawnHeld_ = 0;      // values held in drawn_
  std::size_t nextDrawn_ = 0;
};

}  // namespace panelhost
