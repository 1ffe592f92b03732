// One run of the simulator's panel system: the loaded module, the placed gauges, the simulation
// and the virtual clock with its timers, update cycles and a held mouse button.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "loader/loaded_module.h"
#include "panel/call_plan.h"
#include "panel/panel_file.h"
#include "panel/panel_renderer.h"
#include "services/host_conditions.h"
#include "services/host_services.h"

namespace panelhost {

struct SessionOptions {
  std::string moduleFolder;                       // where MODULE.so is looked for
  std::optional<std::string> moduleOverride;      // --module PATH: loaded for every MODULE name
  std::function<void(const std::string&)> print;  // where log lines and warnings go
  HostConditions conditions;                      // --fpu, --answers
  // Called with the session's virtual time after each step of a run that can take long: each
  // instant an advance stops at (a timer, a repeat, an update cycle), each of updateCycles' cycles,
  // each wheel step, and each round of gauge services (start, unload, before and after a drawing,
  // every placement in one round). `run` and `render` watch their --timeout and show progress
  // here; it may throw HostError to end the run.
  std::function<void(std::int64_t nowMs)> pace = nullptr;
};

// What a gauge service's extra data carries.
enum class ExtraData { kNone, kModuleHandle, kWindow, kPhase };
struct ServiceCall {
  std::int32_t id;
  ExtraData extra;
};

// A module timer still running when its module was unloaded.
struct OutlivingTimer {
  std::uint64_t id;
  std::uint32_t periodMs;
};

class PanelSession {
 public:
  static constexpr int kDefaultPeriodMs = 55;
  static constexpr std::int64_t kFirstRepeatMs = 500;
  static constexpr std::int64_t kRepeatEveryMs = 100;

  PanelSession(PanelLayout layout, SessionOptions options);
  ~PanelSession();
  PanelSession(const PanelSession&) = delete;
  PanelSession& operator=(const PanelSession&) = delete;

  // Loads the modules, places the gauges and initialises them; time becomes 0. Throws HostError.
  void start();
  // Deinit and unload; returns the module timers that were still running (now discarded).
  std::vector<OutlivingTimer> unload();
  bool started() const { return !modules_.empty(); }

  // Update period in ms from now on (0: no automatic updates).
  void setPeriod(int periodMs);
  void advance(std::int64_t ms);
  void updateCycles(int count);

  // Around every drawing of the panel: the generate and pre-draw services before it, post-draw
  // after it, for every placement.
  void beforeDrawing();
  void afterDrawing();

  // Mouse events at a point of the gauge, in its own pixels. Each returns whether a handler took
  // it.
  bool click(const PlacedGauge& gauge, int x, int y);
  void press(const PlacedGauge& gauge, int x, int y);
  void release();
  bool buttonDown() const { return held_.has_value(); }
  void wheel(const PlacedGauge& gauge, int x, int y, bool up, int count);

  // The first placement of the gauge of that name, or null when the panel places none.
  const PlacedGauge* placedGauge(const std::string& name) const;
  std::vector<std::string> placedGaugeNames() const;
  PanelView view();
  const PanelLayout& layout() const { return layout_; }

  HostServices& host() { return host_; }
  RadioSimulation& simulation() { return host_.simulation(); }
  std::int64_t nowMs() const { return host_.nowMs(); }
  void setLogging(bool on);
  bool logging() const { return logging_; }

 private:
  struct HeldButton {
    PlacedGauge gauge;
    int x;
    int y;
    std::int64_t nextRepeatMs;
  };

  std::string modulePathFor(const std::string& moduleName) const;
  template <std::size_t N>
  void addServices(CallPlan& plan, const ServiceCall (&services)[N]);
  template <std::size_t N>
  void serveAll(const ServiceCall (&services)[N]);
  void planUpdateCycle();
  void planDrawing();
  // The element callbacks of every placement, as an update cycle or a drawing calls them.
  std::size_t elementCallCount() const;
  void dropDrawnValues();
  std::uint32_t extraData(const LoadedModule& module, ExtraData extra) const;
  void updateCycle();
  void paced();
  std::optional<std::int64_t> nextUpdateAfter(std::int64_t timeMs) const;
  bool dispatch(const PlacedGauge& gauge, int x, int y, std::uint32_t eventFlag);
  void log(const std::string& line);

  PanelLayout layout_;
  SessionOptions options_;
  HostServices host_;
  std::map<std::string, std::unique_ptr<LoadedModule>> modules_;  // by path
  std::vector<PlacedGauge> placed_;
  // What an update cycle, and what a drawing, calls before and after it: each made when first
  // needed, so that a run that never draws (or never updates) keeps no plan for it.
  CallPlan updateCycle_;
  CallPlan beforeDrawing_;
  CallPlan afterDrawing_;
  bool updateCyclePlanned_ = false;
  bool drawingPlanned_ = false;
  std::optional<HeldButton> held_;
  int periodMs_ = kDefaultPeriodMs;
  std::int64_t periodOriginMs_ = 0;
  bool logging_ = false;
};

}  // namespace panelhost
