#include "panel/panel_session.h"

#include <cstdio>

#include "panel/mouse_table.h"
#include "support/host_error.h"

namespace panelhost {

namespace {

// The host lifecycle's services around initialisation, update and unload. The gauges act on
// pre-initialize and pre-update only; the others are sent so that ignoring them is exercised too.
constexpr SINT32 kStartServices[] = {
    PANEL_SERVICE_PRE_QUERY,    PANEL_SERVICE_POST_QUERY,     PANEL_SERVICE_PRE_INSTALL,
    PANEL_SERVICE_POST_INSTALL, PANEL_SERVICE_PRE_INITIALIZE, PANEL_SERVICE_POST_INITIALIZE,
};

std::string timeStamp(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "[%7lld ms] ", static_cast<long long>(ms));
  return text;
}

}  // namespace

PanelSession::PanelSession(PanelLayout layout, SessionOptions options)
    : layout_(std::move(layout)), options_(std::move(options)) {
  host_.log = [this](const std::string& line) { log(line); };
  host_.warn = [this](const std::string& line) {
    if (options_.print) options_.print(timeStamp(nowMs()) + "warning: " + line);
  };
  host_.timers().setObserver(
      [this](UINT_PTR id, std::int64_t) { log("timer " + std::to_string(id) + " fires"); });
}

PanelSession::~PanelSession() {
  // The run is over, whatever ended it: the module goes the way the simulator lets it go.
  held_.reset();
  placed_.clear();
  elements_.forget();
  modules_.clear();
  host_.timers().clear();
}

void PanelSession::log(const std::string& line) {
  if (logging_ && options_.print) options_.print(timeStamp(nowMs()) + line);
}

std::string PanelSession::modulePathFor(const std::string& moduleName) const {
  if (options_.moduleOverride) return *options_.moduleOverride;
  return options_.moduleFolder + "/" + moduleFileName(moduleName);
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
        found = modules_.emplace(path, std::make_unique<LoadedModule>(path, host_.panels())).first;
      } catch (const HostError& error) {
        throw HostError(at(placement.file, placement.line, error.what()));
      }
      log("loaded " + path);
    }
    LoadedModule& module = *found->second;
    GAUGEHDR* header = module.gauge(placement.gaugeName);
    if (header == nullptr) {
      std::string names;
      for (const GAUGEHDR* gauge : module.gauges()) {
        names += (names.empty() ? "" : ", ") + std::string(gauge->gauge_name);
      }
      throw HostError(at(placement.file, placement.line,
                         "expected a gauge that " + path + " exports (" + names + "), got \"" +
                             placement.gaugeName + "\""));
    }
    placed_.push_back({&placement, header, &module});
    elements_.lendBuffers(rootElement(header));
  }
  for (SINT32 service : kStartServices) serveAll(service);
}

std::vector<OutlivingTimer> PanelSession::unload() {
  serveAll(PANEL_SERVICE_PRE_KILL);
  serveAll(PANEL_SERVICE_POST_KILL);
  held_.reset();
  placed_.clear();
  elements_.forget();
  modules_.clear();
  log("module unloaded");
  std::vector<OutlivingTimer> outliving;
  for (const auto& timer : host_.timers().running())
    outliving.push_back({timer.id, timer.periodMs});
  host_.timers().clear();
  return outliving;
}

void PanelSession::serveAll(SINT32 serviceId) {
  for (const PlacedGauge& placed : placed_) {
    if (placed.header->gauge_callback) placed.header->gauge_callback(placed.header, serviceId, 0);
  }
}

void PanelSession::updateCycle() {
  serveAll(PANEL_SERVICE_PRE_UPDATE);
  for (const PlacedGauge& placed : placed_) elements_.callAll(rootElement(placed.header));
  serveAll(PANEL_SERVICE_POST_UPDATE);
}

void PanelSession::updateCycles(int count) {
  for (int i = 0; i < count; ++i) updateCycle();
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
      dispatch(held_->gauge, held_->x, held_->y, MOUSE_DOWN_REPEAT);
    }
    if (updateDue) updateCycle();
  }
  host_.setNowMs(target);
}

const LoadedModule* PanelSession::moduleOf(const GAUGEHDR* gauge) const {
  for (const PlacedGauge& placed : placed_) {
    if (placed.header == gauge) return placed.module;
  }
  return nullptr;
}

bool PanelSession::dispatch(GAUGEHDR* gauge, int x, int y, FLAGS eventFlag) {
  const std::string where = std::string(mouseEventName(eventFlag)) + " at (" + std::to_string(x) +
                            ", " + std::to_string(y) + ") on " + gauge->gauge_name;
  const int index = childTakingEvent(gauge, x, y, eventFlag);
  if (index < 0) {
    // Most controls take clicks only; a release nobody takes is the usual case, not news.
    if (eventFlag != MOUSE_LEFTRELEASE) log("mouse " + where + ": no child entry takes it");
    return false;
  }
  MOUSERECT& entry = gauge->mouse_rect[index];
  if (logging_) {
    const LoadedModule* module = moduleOf(gauge);
    std::string handler =
        module ? module->nameOf(reinterpret_cast<const void*>(entry.handler.function)) : "";
    if (entry.handler.function == nullptr) handler = "no handler";
    if (handler.empty()) handler = "its handler";
    log("mouse " + where + ": entry " + std::to_string(index) + ", " + handler);
  }
  if (entry.handler.function) {
    PIXPOINT relative{x - entry.relative_box.x, y - entry.relative_box.y};
    entry.handler.function(&relative, eventFlag);
  }
  return true;
}

bool PanelSession::click(GAUGEHDR* gauge, int x, int y) {
  const bool taken = dispatch(gauge, x, y, MOUSE_LEFTSINGLE);
  return dispatch(gauge, x, y, MOUSE_LEFTRELEASE) || taken;
}

void PanelSession::press(GAUGEHDR* gauge, int x, int y) {
  dispatch(gauge, x, y, MOUSE_LEFTSINGLE);
  held_ = HeldButton{gauge, x, y, nowMs() + kFirstRepeatMs};
}

void PanelSession::release() {
  if (!held_) return;
  const HeldButton held = *held_;
  held_.reset();
  dispatch(held.gauge, held.x, held.y, MOUSE_LEFTRELEASE);
}

void PanelSession::wheel(GAUGEHDR* gauge, int x, int y, bool up, int count) {
  for (int i = 0; i < count; ++i) dispatch(gauge, x, y, up ? MOUSE_WHEEL_UP : MOUSE_WHEEL_DOWN);
}

GAUGEHDR* PanelSession::placedGauge(const std::string& name) const {
  for (const PlacedGauge& placed : placed_) {
    if (name == placed.header->gauge_name) return placed.header;
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

PanelView PanelSession::view() { return PanelView{layout_, placed_, elements_}; }

}  // namespace panelhost
