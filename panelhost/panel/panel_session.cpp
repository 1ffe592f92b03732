#include "panel/panel_session.h"

#include <cstdio>

#include "loader/module_files.h"
#include "panel/mouse_table.h"
#include "support/host_error.h"
#include "support/message_parts.h"

namespace panelhost {

namespace {

// The gauge services of the host's lifecycle. The gauges act on pre-initialize and pre-update
// only; the host sends the others all the same, so that ignoring them is exercised too.
enum Service : std::int32_t {
  kPreQuery = 0,
  kPostQuery = 1,
  kPreInstall = 2,
  kPostInstall = 3,
  kPreInitialize = 4,
  kPostInitialize = 5,
  kPreUpdate = 6,
  kPostUpdate = 7,
  kPreGenerate = 8,
  kPostGenerate = 9,
  kPreDraw = 10,
  kPostDraw = 11,
  kPreKill = 12,
  kPostKill = 13,
  kConnectToWindow = 14,
  kDisconnect = 15,
  kPanelOpen = 16,
  kPanelClose = 17,
};

// The phase the generate services carry: panelhost generates a gauge's images in one phase.
constexpr std::uint32_t kGeneratePhase = 0;

// clang-format off
//                                         service            extra data
constexpr ServiceCall kStartServices[] = {{kPreQuery,        ExtraData::kNone},
                                          {kPostQuery,       ExtraData::kNone},
                                          {kPreInstall,      ExtraData::kModuleHandle},
                                          {kPostInstall,     ExtraData::kModuleHandle},
                                          {kPreInitialize,   ExtraData::kNone},
                                          {kPostInitialize,  ExtraData::kNone},
                                          {kConnectToWindow, ExtraData::kWindow},
                                          {kPanelOpen,       ExtraData::kNone}};
constexpr ServiceCall kBeforeUpdate[]  = {{kPreUpdate,       ExtraData::kNone}};
constexpr ServiceCall kAfterUpdate[]   = {{kPostUpdate,      ExtraData::kNone}};
constexpr ServiceCall kBeforeDrawing[] = {{kPreGenerate,     ExtraData::kPhase},
                                          {kPostGenerate,    ExtraData::kPhase},
                                          {kPreDraw,         ExtraData::kNone}};
constexpr ServiceCall kAfterDrawing[]  = {{kPostDraw,        ExtraData::kNone}};
constexpr ServiceCall kUnloadServices[] = {{kPanelClose,     ExtraData::kNone},
                                           {kDisconnect,     ExtraData::kWindow},
                                           {kPreKill,        ExtraData::kNone},
                                           {kPostKill,       ExtraData::kNone}};
// clang-format on

std::string timeStamp(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "[%7lld ms] ", static_cast<long long>(ms));
  return text;
}

}  // namespace

PanelSession::PanelSession(PanelLayout layout, SessionOptions options)
    : layout_(std::move(layout)), options_(std::move(options)) {
  host_.setHeldAnswers(options_.conditions.answers);
  host_.warn = [this](const std::string& line) {
    if (options_.print) options_.print(timeStamp(nowMs()) + "warning: " + line);
  };
  // What the panel file's reader noticed, said once before anything runs.
  if (options_.print) {
    for (const std::string& note : layout_.notes) options_.print(note);
  }
}

PanelSession::~PanelSession() {
  // The run is over, whatever ended it: the module goes the way the simulator lets it go.
  held_.reset();
  placed_.clear();
  modules_.clear();
  host_.timers().clear();
}

void PanelSession::setLogging(bool on) {
  logging_ = on;
  // The services make their lines only while someone reads them.
  host_.log = nullptr;
  if (on) host_.log = [this](const std::string& line) { log(line); };
}

void PanelSession::log(const std::string& line) {
  if (logging_ && options_.print) options_.print(timeStamp(nowMs()) + line);
}

std::string PanelSession::modulePathFor(const std::string& moduleName) const {
  if (options_.moduleOverride) return *options_.moduleOverride;
  return moduleFileIn(options_.moduleFolder, moduleName);
}

void PanelSession::start() {
  if (started()) throw HostError("the module is already started; unload it before starting again");
  host_.setNowMs(0);
  periodOriginMs_ = 0;
  for (const GaugePlacement& placement : layout_.placements) {
    const std::string path = modulePathFor(placement.moduleName);
    auto found = modules_.find(path);
    if (found == modules_.end()) {
      try {
        found = modules_
                    .emplace(path, std::make_unique<LoadedModule>(
                                       openModuleImage(path, host_, options_.conditions), host_))
                    .first;
      } catch (const HostError& error) {
        throw HostError(at(placement.file, placement.line, error.what()));
      }
      log("loaded " + path);
    }
    LoadedModule& module = *found->second;
    const GaugeRecord* gauge = module.gauge(placement.gaugeName);
    if (gauge == nullptr) {
      std::vector<std::string> names;
      for (const GaugeRecord& known : module.gauges()) names.push_back(known.name);
      throw HostError(at(placement.file, placement.line,
                         "expected a gauge that " + path + " exports (" + listed(names, ", ") +
                             "), got \"" + placement.gaugeName + "\""));
    }
    placed_.push_back({&placement, gauge, &module});
  }
  serveAll(kStartServices);
}

std::vector<OutlivingTimer> PanelSession::unload() {
  serveAll(kUnloadServices);
  held_.reset();
  updateCycle_.clear();
  beforeDrawing_.clear();
  afterDrawing_.clear();
  updateCyclePlanned_ = false;
  drawingPlanned_ = false;
  placed_.clear();
  modules_.clear();
  log("module unloaded");
  std::vector<OutlivingTimer> outliving;
  for (const auto& timer : host_.timers().running())
    outliving.push_back({timer.id, timer.periodMs});
  host_.timers().clear();
  return outliving;
}

template <std::size_t N>
void PanelSession::addServices(CallPlan& plan, const ServiceCall (&services)[N]) {
  for (const ServiceCall& service : services) {
    for (const PlacedGauge& placed : placed_) {
      plan.add(*placed.module,
               placed.module->serviceCall(*placed.gauge, service.id,
                                          extraData(*placed.module, service.extra)));
    }
  }
}

template <std::size_t N>
void PanelSession::serveAll(const ServiceCall (&services)[N]) {
  dropDrawnValues();
  CallPlan plan;
  addServices(plan, services);
  plan.run();
  paced();
}

// An update cycle: pre-update for every placement, their element callbacks, post-update. Made
// when the first cycle runs.
void PanelSession::planUpdateCycle() {
  if (updateCyclePlanned_) return;
  updateCycle_.reserve(
      (std::size(kBeforeUpdate) + std::size(kAfterUpdate)) * placed_.size() + elementCallCount(),
      0);
  addServices(updateCycle_, kBeforeUpdate);
  for (const PlacedGauge& placed : placed_) {
    for (const LoadedModule::ElementCall& call : placed.module->elementCalls(*placed.gauge)) {
      updateCycle_.add(*placed.module, LoadedModule::elementCall(call));
    }
  }
  addServices(updateCycle_, kAfterUpdate);
  updateCyclePlanned_ = true;
}

// A drawing: the generate and pre-draw services for every placement, then their element
// callbacks in drawing order (their values held for the drawing); after it, post-draw. Made when
// the panel is first drawn.
void PanelSession::planDrawing() {
  if (drawingPlanned_) return;
  const std::size_t drawn = elementCallCount();
  beforeDrawing_.reserve(std::size(kBeforeDrawing) * placed_.size() + drawn, drawn);
  addServices(beforeDrawing_, kBeforeDrawing);
  for (const PlacedGauge& placed : placed_) {
    for (const LoadedModule::ElementCall& call : placed.module->elementCalls(*placed.gauge)) {
      beforeDrawing_.addDrawn(*placed.module, call);
    }
  }
  for (const auto& [path, module] : modules_) module->reserveDrawnValues(drawn);
  addServices(afterDrawing_, kAfterDrawing);
  drawingPlanned_ = true;
}

std::size_t PanelSession::elementCallCount() const {
  std::size_t count = 0;
  for (const PlacedGauge& placed : placed_)
    count += placed.module->elementCalls(*placed.gauge).size();
  return count;
}

void PanelSession::dropDrawnValues() {
  for (const auto& [path, module] : modules_) module->dropDrawnValues();
}

std::uint32_t PanelSession::extraData(const LoadedModule& module, ExtraData extra) const {
  switch (extra) {
    case ExtraData::kModuleHandle:
      // The callback's extra data is 32 bits wide: a 64-bit handle gives its low word.
      return static_cast<std::uint32_t>(module.image().moduleHandle());
    case ExtraData::kWindow:
      return static_cast<std::uint32_t>(host_.mainWindow());
    case ExtraData::kPhase:
      return kGeneratePhase;
    case ExtraData::kNone:
      break;
  }
  return 0;
}

void PanelSession::beforeDrawing() {
  planDrawing();
  dropDrawnValues();
  beforeDrawing_.run();
  paced();
}

void PanelSession::afterDrawing() {
  planDrawing();
  dropDrawnValues();
  afterDrawing_.run();
  paced();
}

void PanelSession::updateCycle() {
  planUpdateCycle();
  dropDrawnValues();
  updateCycle_.run();
}

void PanelSession::updateCycles(int count) {
  for (int i = 0; i < count; ++i) {
    updateCycle();
    paced();
  }
}

void PanelSession::paced() {
  if (options_.pace) options_.pace(nowMs());
}

void PanelSession::setPeriod(int periodMs) {
  periodMs_ = periodMs;
  periodOriginMs_ = nowMs();
}

std::optional<std::int64_t> PanelSession::nextUpdateAfter(std::int64_t timeMs) const {
  if (periodMs_ <= 0) return std::nullopt;
  const std::int64_t since = timeMs - periodOriginMs_;
  const std::int64_t passed = since < 0 ? -1 : since / periodMs_;
  return periodOriginMs_ + (passed + 1) * periodMs_;
}

void PanelSession::advance(std::int64_t ms) {
  // Timers may fire: a drawing's values are of the time before.
  dropDrawnValues();
  const std::int64_t target = nowMs() + ms;
  for (;;) {
    std::optional<std::int64_t> next = host_.timers().nextDueAfter(nowMs());
    const auto consider = [&next](std::optional<std::int64_t> time) {
      if (time && (!next || *time < *next)) next = time;
    };
    if (held_) consider(held_->nextRepeatMs);
    consider(nextUpdateAfter(nowMs()));
    if (!next || *next > target) break;

    const std::int64_t instant = *next;
    const bool updateDue = nextUpdateAfter(nowMs()) == instant;
    host_.setNowMs(instant);
    host_.timers().fireDue(instant);
    if (held_ && held_->nextRepeatMs == instant) {
      held_->nextRepeatMs += kRepeatEveryMs;
      dispatch(held_->gauge, held_->x, held_->y, kMouseRepeat);
    }
    if (updateDue) updateCycle();
    paced();
  }
  host_.setNowMs(target);
}

bool PanelSession::dispatch(const PlacedGauge& placed, int x, int y, std::uint32_t eventFlag) {
  const GaugeRecord& gauge = *placed.gauge;
  const std::string where = std::string(mouseEventName(eventFlag)) + " at (" + std::to_string(x) +
                            ", " + std::to_string(y) + ") on " + gauge.name;
  const int index = childTakingEvent(gauge.mouse, x, y, eventFlag);
  if (index < 0) {
    // Most controls take clicks only; a release nobody takes is the usual case, not news.
    if (eventFlag != kMouseRelease) log("mouse " + where + ": no child entry takes it");
    return false;
  }
  const MouseEntry& entry = gauge.mouse[static_cast<std::size_t>(index)];
  if (logging_) {
    std::string handler = entry.function ? placed.module->nameOf(entry.function) : "no handler";
    if (handler.empty()) handler = "its handler";
    log("mouse " + where + ": entry " + std::to_string(index) + ", " + handler);
  }
  placed.module->mouse(entry, x - entry.box.x, y - entry.box.y, eventFlag);
  return true;
}

bool PanelSession::click(const PlacedGauge& gauge, int x, int y) {
  const bool taken = dispatch(gauge, x, y, kMouseClick);
  return dispatch(gauge, x, y, kMouseRelease) || taken;
}

void PanelSession::press(const PlacedGauge& gauge, int x, int y) {
  dispatch(gauge, x, y, kMouseClick);
  held_ = HeldButton{gauge, x, y, nowMs() + kFirstRepeatMs};
}

void PanelSession::release() {
  if (!held_) return;
  const HeldButton held = *held_;
  held_.reset();
  dispatch(held.gauge, held.x, held.y, kMouseRelease);
}

void PanelSession::wheel(const PlacedGauge& gauge, int x, int y, bool up, int count) {
  for (int i = 0; i < count; ++i) {
    dispatch(gauge, x, y, up ? kMouseWheelUp : kMouseWheelDown);
    paced();
  }
}

const PlacedGauge* PanelSession::placedGauge(const std::string& name) const {
  for (const PlacedGauge& placed : placed_) {
    if (name == placed.gauge->name) return &placed;
  }
  return nullptr;
}

std::vector<std::string> PanelSession::placedGaugeNames() const {
  std::vector<std::string> names;
  for (const GaugePlacement& placement : layout_.placements) {
    bool known = false;
    for (const auto& name : names) known = known || name == placement.gaugeName;
    if (!known) names.push_back(placement.gaugeName);
  }
  return names;
}

PanelView PanelSession::view() { return PanelView{layout_, placed_}; }

}  // namespace panelhost
