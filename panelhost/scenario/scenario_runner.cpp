#include "scenario/scenario_runner.h"

#include <cstdio>
#include <memory>
#include <new>

#include "abi/record_decoder.h"
#include "loader/module_image.h"
#include "panel/element_reader.h"
#include "panel/mouse_table.h"
#include "panel/panel_session.h"
#include "panel/run_clock.h"
#include "scenario/scenario_script.h"
#include "support/bounded_file.h"
#include "support/host_error.h"
#include "support/message_parts.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string relativeTo(const std::string& folder, const std::string& path) {
  return !path.empty() && path[0] == '/' ? path : folder + "/" + path;
}

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::string eventText(std::uint32_t id, std::uint32_t value) {
  char text[48];
  std::snprintf(text, sizeof text, "event %u value 0x%08X", id, value);
  return text;
}

// Names and texts from the script or the module, escaped and shortened for the message.
std::string quoted(const std::string& text) { return quotedText(text); }

class ScenarioRunner {
 public:
  ScenarioRunner(const RunOptions& options, std::ostream& out)
      : options_(options), out_(out), clock_(options.timeoutSeconds, options.showProgress) {}

  int run(const std::string& text, const std::string& fileName) {
    file_ = fileName;
    int status = kExitChecksHeld;
    try {
      const Script script = parseScript(text, fileName);
      std::int64_t totalMs = 0;
      for (const Command& command : script.commands) {
        if (const auto* advance = std::get_if<script::Advance>(&command.action)) {
          totalMs += advance->ms;
        }
      }
      clock_.setTotalMs(totalMs);
      for (const Command& command : script.commands) {
        line_ = command.line;
        try {
          std::visit([this](const auto& action) { execute(action); }, command.action);
        } catch (const ModuleFault& fault) {
          error(fault.what());
        } catch (const RunStopped& stopped) {
          error(stopped.what());
        }
      }
      session_.reset();
      status = failed_ > 0 ? kExitCheckFailed : kExitChecksHeld;
    } catch (const HostError& error) {
      print(error.what());
      session_.reset();
      status = kExitBadInput;
    } catch (const std::bad_alloc&) {
      // What was asked for is freed by now, so the message itself finds room.
      session_.reset();
      print(at(file_, line_, kOutOfMemory));
      status = kExitBadInput;
    }
    print(std::to_string(passed_) + " passed, " + std::to_string(failed_) + " failed");
    return status;
  }

 private:
  void print(const std::string& line) {
    clock_.clearProgress();
    out_ << line << std::endl;
  }

  [[noreturn]] void error(const std::string& message) const {
    throw HostError(at(file_, line_, message));
  }

  void check(bool held, const std::string& expected, const std::string& got) {
    if (held) {
      ++passed_;
      return;
    }
    ++failed_;
    print(at(file_, line_, "expected " + expected + ", got " + got));
  }

  PanelSession& session() {
    if (!session_) {
      // No `panel` came first: the built-in radio stack.
      try {
        openSession(builtInPanel(options_.window));
      } catch (const HostError& failure) {
        error(failure.what());
      }
    }
    return *session_;
  }

  void openSession(PanelLayout layout) {
    SessionOptions options;
    options.moduleFolder = options_.moduleFolder;
    options.moduleOverride = options_.moduleOverride;
    options.conditions = options_.conditions;
    options.print = [this](const std::string& line) { print(line); };
    options.pace = [this](std::int64_t nowMs) {
      // Virtual time as the script covers it: the advances done, and this one so far (a start
      // after unload sets the session's clock back to 0).
      clock_.reached(advancedMs_ + (advanceFromMs_ ? nowMs - *advanceFromMs_ : 0));
    };
    session_ = std::make_unique<PanelSession>(std::move(layout), std::move(options));
    session_->setLogging(options_.log);
  }

  // Commands that need the module imply start when the run has not started it yet. Once it is
  // unloaded it stays so until the next start: what needs the gauges is then out of place.
  PanelSession& started() {
    PanelSession& panel = session();
    if (!panel.started()) {
      if (unloaded_) error("expected start after unload, before anything that needs the module");
      startSession();
    }
    return panel;
  }

  // Checks of the events sent so far, and the passing of time, need no module once it is
  // unloaded.
  PanelSession& startedOrUnloaded() { return unloaded_ ? session() : started(); }

  void startSession() {
    try {
      session().start();
    } catch (const HostError& failure) {
      error(failure.what());
    }
  }

  const PlacedGauge& gauge(const std::string& name) {
    const PlacedGauge* placed = started().placedGauge(name);
    if (placed == nullptr) {
      error("expected a gauge on the panel (" + listed(session().placedGaugeNames(), ", ") +
            "), got " + quoted(name));
    }
    return *placed;
  }

  void refuseWhileHeld(const char* command) {
    if (started().buttonDown()) {
      error(std::string("expected release while the mouse button is held down, got ") + command);
    }
  }

  void execute(const script::Panel& panel) {
    try {
      openSession(readPanelFile(relativeTo(folderOf(file_), panel.path), options_.window));
    } catch (const HostError& failure) {
      error(failure.what());
    }
  }
  void execute(const script::Sim& sim) {
    setHeldValue(session().simulation().state, *sim.key, sim.value);
  }
  void execute(const script::Start&) {
    if (session().started()) {
      error("expected start only before the module is started or after unload, got start");
    }
    startSession();
    unloaded_ = false;
  }
  void execute(const script::Unload&) { unload(); }
  void execute(const script::Rate& rate) {
    session().setPeriod(rate.hz == 0 ? 0 : static_cast<int>(1000 / rate.hz));
  }
  void execute(const script::Advance& advance) {
    PanelSession& panel = startedOrUnloaded();
    advanceFromMs_ = panel.nowMs();
    panel.advance(advance.ms);
    advanceFromMs_.reset();
    advancedMs_ += advance.ms;
  }
  void execute(const script::Update& update) {
    started().updateCycles(static_cast<int>(update.cycles));
  }
  void execute(const script::Click& click) {
    refuseWhileHeld("click");
    started().click(gauge(click.at.gauge), click.at.x, click.at.y);
  }
  void execute(const script::Press& press) {
    refuseWhileHeld("press");
    started().press(gauge(press.at.gauge), press.at.x, press.at.y);
  }
  void execute(const script::Release&) {
    if (!started().buttonDown()) error("expected press before release, got release");
    started().release();
  }
  void execute(const script::Wheel& wheel) {
    refuseWhileHeld("wheel");
    started().wheel(gauge(wheel.at.gauge), wheel.at.x, wheel.at.y, wheel.up,
                    static_cast<int>(wheel.turns));
  }
  void execute(const script::ExpectSim& expected) {
    const RadioSimState& state = session().simulation().state;
    const SimKey& key = *expected.key;
    check(key.unit->same(heldValue(state, key), expected.value),
          std::string(key.name) + " " + key.unit->format(expected.value), simValueText(state, key));
  }
  void execute(const script::ExpectTooltip& expected) {
    const std::string tooltip =
        tooltipAt(gauge(expected.at.gauge).gauge->mouse, expected.at.x, expected.at.y);
    check(tooltip == expected.text, "tooltip " + quoted(expected.text), quoted(tooltip));
  }
  void execute(const script::Render& render) { renderTo(render.path); }
  void execute(const script::Log& log) { session().setLogging(log.on); }

  void unload() {
    for (const OutlivingTimer& timer : started().unload()) {
      check(false, "no timer of the module running after unload",
            "timer " + std::to_string(timer.id) + " (every " + std::to_string(timer.periodMs) +
                " ms)");
    }
    unloaded_ = true;
  }

  std::string describedEvent(const KeyEventRecord& event) const {
    return eventText(event.eventId, event.value) + " (" +
           RadioSimulation::describeKeyEvent(event.eventId, event.value) + ")";
  }

  // The oldest event not yet checked is taken off the host's record, checked or not, so the
  // record holds only what a check can still use.
  void execute(const script::ExpectEvent& command) {
    HostServices& host = startedOrUnloaded().host();
    const std::string expected = eventText(command.id, command.value);
    if (host.keyEventsDropped > 0) {
      --host.keyEventsDropped;
      check(false, expected,
            "an event no longer kept (panelhost keeps the latest " +
                std::to_string(HostServices::kKeptKeyEvents) + " events not yet checked)");
      return;
    }
    if (host.keyEvents.empty()) {
      check(false, expected, "no event");
      return;
    }
    const KeyEventRecord event = host.keyEvents.front();
    host.keyEvents.pop_front();
    check(event.eventId == command.id && event.value == command.value, expected,
          describedEvent(event));
  }

  void execute(const script::ExpectNoEvent&) {
    HostServices& host = startedOrUnloaded().host();
    const std::uint64_t unchecked = host.keyEventsDropped + host.keyEvents.size();
    if (unchecked == 0) {
      check(true, "", "");
      return;
    }
    std::string got = host.keyEventsDropped > 0 ? "an event no longer kept"
                                                : describedEvent(host.keyEvents.front());
    if (unchecked > 1) got += " and " + std::to_string(unchecked - 1) + " more";
    host.keyEvents.clear();
    host.keyEventsDropped = 0;
    check(false, "no event", got);
  }

  void execute(const script::ExpectElement& command) {
    const PlacedGauge& placed = gauge(command.gauge);
    const auto children = placed.gauge->tree.rootChildren();
    const std::string expected = "element " + std::to_string(command.number) + " of " +
                                 shownText(command.gauge) + " " + command.value.written;
    if (command.number > static_cast<std::int64_t>(children.size())) {
      check(false, expected,
            "no element " + std::to_string(command.number) + " (the root has " +
                std::to_string(children.size()) + " children)");
      return;
    }
    const ElementRecord& element = *children[static_cast<std::size_t>(command.number - 1)];
    ModuleElementValues reader(*placed.module);
    const ExpectedElementValue& want = command.value;
    switch (element.kind) {
      case hostabi::kString: {
        const std::string text = reader.text(element);
        check(want.isText && text == want.text, expected, "text " + quoted(text));
        return;
      }
      case hostabi::kIcon: {
        const double frame = reader.iconFrame(element);
        check(!want.isText && frame == want.number, expected, "icon frame " + numberText(frame));
        return;
      }
      case hostabi::kMovingImage: {
        const double y = reader.movingY(element);
        check(!want.isText && y == want.number, expected, "moving image Y " + numberText(y));
        return;
      }
      default:
        check(false, expected,
              std::string("a ") + hostabi::elementKindName(element.kind) + ", which has no value");
        return;
    }
  }

  void renderTo(const std::string& path) {
    PanelSession& panel = started();
    if (!options_.renderer) error("render is not available in this build");
    PanelView view = panel.view();
    try {
      panel.beforeDrawing();
      options_.renderer(view, path);
      panel.afterDrawing();
    } catch (const HostError& failure) {
      error(failure.what());
    }
  }

  const RunOptions& options_;
  std::ostream& out_;
  std::string file_;
  int line_ = 0;
  int passed_ = 0;
  int failed_ = 0;
  bool unloaded_ = false;
  RunClock clock_;
  std::int64_t advancedMs_ = 0;                // by the advances done
  std::optional<std::int64_t> advanceFromMs_;  // where the advance under way started
  std::unique_ptr<PanelSession> session_;
};

}  // namespace

int runScenarioText(const std::string& text, const std::string& fileName, const RunOptions& options,
                    std::ostream& out) {
  return ScenarioRunner(options, out).run(text, fileName);
}

int runScenarioFile(const std::string& path, const RunOptions& options, std::ostream& out) {
  const BoundedFile file = readBoundedFile(path, kLargestTextFile);
  if (file.outcome != BoundedFile::Outcome::Read) {
    out << (file.outcome == BoundedFile::Outcome::TooLarge
                ? tooLargeMessage(path, file, kLargestTextFile, "a scenario script")
                : cannotReadMessage(path, file, "the scenario script"))
        << std::endl;
    out << "0 passed, 0 failed" << std::endl;
    return kExitBadInput;
  }
  return runScenarioText(file.text, path, options, out);
}

}  // namespace panelhost
