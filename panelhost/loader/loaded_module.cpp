#include "loader/loaded_module.h"

#include <stdexcept>

#include "abi/record_decoder.h"
#include "abi/record_reader.h"
#include "services/host_services.h"
#include "support/message_parts.h"

namespace panelhost {

namespace {

// The host record of a mouse event: the point relative to the box comes first; the rest is ours.
constexpr std::size_t kMouseRecordBytes = 16;

ModuleAddress requiredExport(const ModuleImage& image, const char* name) {
  const auto address = image.exportAddress(name);
  if (!address) throw HostError("the module " + image.path() + " lacks the export " + name);
  return *address;
}

}  // namespace

LoadedModule::LoadedModule(std::unique_ptr<ModuleImage> image, HostServices& host)
    : image_(std::move(image)),
      host_(host),
      layouts_(hostabi::HostLayouts::forPointerSize(image_->pointerSize())) {
  const ModuleAddress linkage = requiredExport(*image_, "Linkage");
  importTable_ = requiredExport(*image_, "ImportTable");
  // A record the module's memory does not hold is named with the export that leads to it.
  const auto reading = [this](const std::string& what, const auto& read) {
    namingFailures<ModuleFault>("the module " + path() + ", " + what + ": ", read);
  };
  reading("its export ImportTable", [&] {
    const hostabi::RecordReader imports(*image_, layouts_.importTable, importTable_);
    if (imports.u32("panels_id") != hostabi::kPanelsImportId) {
      throw HostError("the module " + path() +
                      " has an ImportTable whose first entry is not PANELS");
    }
  });
  reading("its export Linkage",
          [&] { linkage_ = hostabi::readLinkage(*image_, layouts_, linkage); });
  for (std::size_t entry = 0; entry < linkage_.gauges.size(); ++entry) {
    reading("entry " + std::to_string(entry) + " of the gauge table in Linkage", [&] {
      gauges_.push_back(hostabi::readGauge(*image_, layouts_, linkage_.gauges[entry]));
    });
    if (gauges_.back().name.empty()) {
      throw HostError("the module " + path() + " lists a gauge header without a name");
    }
    lendTextBuffers(gauges_.back());
  }
  for (const GaugeRecord& gauge : gauges_) updateCalls_.push_back(elementCallsOf(gauge.tree));
  mousePoint_ = image_->allocateHostBlock(kMouseRecordBytes, "the point record of mouse handlers");

  panels_ = host_.installPanels(*image_, {linkage_.moduleId, linkage_.init, linkage_.deinit,
                                          linkage_.flags, linkage_.priority, linkage_.version});
  image_->write(importTable_ + layouts_.importTable.offset("panels"), &panels_,
                static_cast<std::size_t>(layouts_.pointerSize));
  if (linkage_.init) {
    HostServices::Calling calling(host_, *image_);
    image_->call(linkage_.init, {}, "module init");
  }
}

LoadedModule::~LoadedModule() {
  // The simulator lets a module go however the run ended; a fault here has nowhere to go.
  try {
    if (linkage_.deinit) {
      HostServices::Calling calling(host_, *image_);
      image_->call(linkage_.deinit, {}, "module deinit");
    }
    const ModuleAddress none = 0;
    image_->write(importTable_ + layouts_.importTable.offset("panels"), &none,
                  static_cast<std::size_t>(layouts_.pointerSize));
  } catch (const HostError&) {
  }
  host_.forget(*image_);
}

void LoadedModule::lendTextBuffers(GaugeRecord& gauge) {
  for (ElementRecord& element : gauge.tree.elements) {
    if (element.kind != hostabi::kString || element.text.characters == 0) continue;
    // An element in two trees keeps the one buffer it was lent first.
    ModuleAddress buffer = 0;
    for (const auto& [lentTo, lent] : lentBuffers_) {
      if (lentTo == element.address) buffer = lent;
    }
    if (buffer == 0) {
      buffer =
          image_->allocateHostBlock(element.text.characters, "the text buffer of " + element.entry);
      lentBuffers_.emplace_back(element.address, buffer);
      image_->write(element.address + layouts_.string.offset("string"), &buffer,
                    static_cast<std::size_t>(layouts_.pointerSize));
    }
    element.text.buffer = buffer;
  }
}

std::vector<LoadedModule::ElementCall> LoadedModule::elementCallsOf(const ElementTree& tree) {
  std::vector<ElementCall> calls;
  for (const ElementRecord& element : tree.elements) {
    switch (element.kind) {
      case hostabi::kString:
        // A text callback writes into the buffer the host lent; without one there is nowhere.
        if (element.text.callback && element.text.buffer) {
          calls.push_back({element.text.callback, &element});
        }
        break;
      case hostabi::kIcon:
        if (element.icon.callback) calls.push_back({element.icon.callback, &element});
        break;
      case hostabi::kMovingImage:
        if (element.moving.xCallback) calls.push_back({element.moving.xCallback, &element});
        if (element.moving.yCallback) calls.push_back({element.moving.yCallback, &element});
        break;
      default:
        break;
    }
  }
  return calls;
}

const GaugeRecord* LoadedModule::gauge(const std::string& name) const {
  for (const GaugeRecord& g : gauges_) {
    if (g.name == name) return &g;
  }
  return nullptr;
}

void LoadedModule::mouse(const MouseEntry& entry, std::int32_t x, std::int32_t y,
                         std::uint32_t flags) {
  dropDrawnValues();
  if (entry.function == 0) return;
  const std::int32_t point[2] = {x, y};
  image_->write(mousePoint_, point, sizeof point);
  HostServices::Calling calling(host_, *image_);
  image_->call(entry.function, {mousePoint_, flags}, entry.entry);
}

double LoadedModule::callElement(ModuleAddress callback, const ElementRecord& element) {
  if (const DrawnValue* drawn = drawnValue(callback, element)) return drawn->value;
  HostServices::Calling calling(host_, *image_);
  return image_->callReturningDouble(callback, {element.address}, element.entry);
}

std::string LoadedModule::elementText(const ElementRecord& element) {
  if (const DrawnValue* drawn = drawnValue(element.text.callback, element)) return drawn->text;
  callElement(element.text.callback, element);
  return textBuffer(element);
}

const std::vector<LoadedModule::ElementCall>& LoadedModule::elementCalls(
    const GaugeRecord& gauge) const {
  const auto index = static_cast<std::size_t>(&gauge - gauges_.data());
  if (index >= gauges_.size()) throw std::logic_error("elementCalls: a gauge of another module");
  return updateCalls_[index];
}

ModuleCall LoadedModule::serviceCall(const GaugeRecord& gauge, std::int32_t serviceId,
                                     std::uint32_t extra) const {
  ModuleCall call;
  call.function = gauge.callback;
  call.arguments = {gauge.address, static_cast<std::uint32_t>(serviceId), extra};
  call.argumentCount = 3;
  call.entry = &gauge.callbackEntry;
  return call;
}

ModuleCall LoadedModule::elementCall(const ElementCall& element) {
  ModuleCall call;
  call.function = element.callback;
  call.arguments = {element.element->address};
  call.argumentCount = 1;
  call.returnsDouble = true;
  call.entry = &element.element->entry;
  return call;
}

void LoadedModule::callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results) {
  HostServices::Calling calling(host_, *image_);
  image_->callInOrder(calls, count, results);
}

void LoadedModule::holdDrawnValue(const ElementCall& call, double value) {
  if (drawnHeld_ == drawn_.size()) drawn_.emplace_back();
  DrawnValue& drawn = drawn_[drawnHeld_++];
  drawn.call = call;
  drawn.value = value;
  // A text stays in its buffer only until the buffer's next call: it is read now.
  drawn.text.clear();
  if (call.element->kind == hostabi::kString) drawn.text = textBuffer(*call.element);
}

void LoadedModule::dropDrawnValues() {
  drawnHeld_ = 0;
  nextDrawn_ = 0;
}

const LoadedModule::DrawnValue* LoadedModule::drawnValue(ModuleAddress callback,
                                                         const ElementRecord& element) {
  if (nextDrawn_ == drawnHeld_) return nullptr;
  const DrawnValue& next = drawn_[nextDrawn_];
  if (next.call.callback != callback || next.call.element != &element) {
    dropDrawnValues();
    return nullptr;
  }
  ++nextDrawn_;
  return &next;
}

std::string LoadedModule::textBuffer(const ElementRecord& element) const {
  if (element.text.buffer == 0) return "";
  std::string bytes(element.text.characters, '\0');
  image_->read(element.text.buffer, bytes.data(), bytes.size());
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  return bytes;
}

}  // namespace panelhost
