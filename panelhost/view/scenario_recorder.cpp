#include "view/scenario_recorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
#include "panel/element_reader.h"
#include "scenario/sim_keys.h"

namespace panelhost {

namespace {

constexpr std::int64_t kLongestAdvanceMs = 1000LL * 60 * 60 * 24;

constexpr SimKey kEverySimKey[] = {
    SimKey::Com1Active, SimKey::Com1Standby, SimKey::Nav1Active, SimKey::Nav1Standby,
    SimKey::AdfActive,  SimKey::XpdrCode,    SimKey::Nav1Ident,  SimKey::AdfIdent,
};

// Scripts write numbers without exponents, with at most 18 digits on each side of the point;
// the fewest digits that read back as the same double, so that the check compares exactly.
std::optional<std::string> scriptNumber(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e17) return std::nullopt;
  char text[64];
  if (value == std::floor(value)) {
    std::snprintf(text, sizeof text, "%.0f", value);
    return std::string(text);
  }
  for (int digits = 1; digits <= 18; ++digits) {
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    if (std::strtod(text, nullptr) == value) return std::string(text);
  }
  return std::string(text);
}

bool writable(const std::string& text) { return text.find('"') == std::string::npos; }

// The panel file as the script names it: relative to the script's folder where it can be.
std::string panelPathFor(const std::filesystem::path& panel, const std::filesystem::path& script) {
  std::error_code failed;
  const std::filesystem::path absolutePanel = std::filesystem::absolute(panel, failed);
  const std::filesystem::path folder =
      std::filesystem::absolute(script, failed).parent_path().lexically_normal();
  if (failed) return panel.string();
  const std::filesystem::path relative =
      absolutePanel.lexically_normal().lexically_relative(folder);
  return relative.empty() ? absolutePanel.string() : relative.string();
}

}  // namespace

ScenarioRecorder::ScenarioRecorder(std::filesystem::path file, PanelSession& session,
                                   const RecordingOrigin& origin)
    : file_(std::move(file)), out_(file_.string(), "the recorded scenario"), session_(session) {
  line("# What the pilot did in panelhost view. Each advance is virtual time that passed in the");
  line("# viewer, so the replay meets the same instants. Play it back with:");
  line("#   panelhost run " + file_.string() +
       (origin.module ? " --module " + *origin.module : std::string()) +
       (origin.window ? " --window \"" + *origin.window + "\"" : std::string()));
  if (origin.panelFile) line("panel " + panelPathFor(*origin.panelFile, file_));
}

void ScenarioRecorder::line(const std::string& text) {
  // Line by line, so that a viewer that is killed still leaves what the pilot did so far in the
  // file beside the target.
  out_.write(text + '\n');
}

void ScenarioRecorder::newEvents() {
  // The host keeps the latest events only; those it let go before they were written cannot be
  // checked, and the replay's checks of the later ones would compare against them.
  const HostServices& host = session_.host();
  if (!eventsLost_ && writtenEvents_ < host.keyEventsDropped) {
    line("# " + std::to_string(host.keyEventsDropped - writtenEvents_) +
         " key events were sent faster than they could be kept; no event is checked from here");
    eventsLost_ = true;
  }
  if (eventsLost_) return;
  const std::uint64_t sent = host.keyEventsDropped + host.keyEvents.size();
  for (; writtenEvents_ < sent; ++writtenEvents_) {
    const KeyEventRecord& event = host.keyEvents[writtenEvents_ - host.keyEventsDropped];
    char text[64];
    std::snprintf(text, sizeof text, "expect event %u 0x%08X", event.eventId, event.value);
    line(std::string(text) + "  # " +
         RadioSimulation::describeKeyEvent(event.eventId, event.value));
  }
}

void ScenarioRecorder::keepUp() {
  const HostServices& host = session_.host();
  if (!eventsLost_ && host.keyEventsDropped + host.keyEvents.size() > writtenEvents_) catchUp();
}

void ScenarioRecorder::catchUp() {
  // A script's advance is a day at most; a viewer left open longer takes several.
  for (const std::int64_t now = session_.nowMs(); writtenMs_ < now;) {
    const std::int64_t step = std::min(now - writtenMs_, kLongestAdvanceMs);
    line("advance " + std::to_string(step));
    writtenMs_ += step;
  }
  newEvents();
}

void ScenarioRecorder::record(const std::string& command, const std::function<void()>& action) {
  catchUp();
  if (action) action();
  line(command);
  newEvents();
}

void ScenarioRecorder::elementChecks() {
  for (const std::string& name : session_.placedGaugeNames()) {
    const PlacedGauge* placed = session_.placedGauge(name);
    if (placed == nullptr) continue;
    ModuleElementValues values(*placed->module);
    const std::vector<const ElementRecord*> children = placed->gauge->tree.rootChildren();
    for (std::size_t i = 0; i < children.size(); ++i) {
      const ElementRecord& element = *children[i];
      const std::string check = "expect element " + name + " " + std::to_string(i + 1) + " ";
      std::optional<std::string> expected;
      if (element.kind == hostabi::kString) {
        const std::string text = values.text(element);
        if (writable(text)) expected = "\"" + text + "\"";
      } else if (element.kind == hostabi::kIcon) {
        expected = scriptNumber(values.iconFrame(element));
      } else if (element.kind == hostabi::kMovingImage) {
        expected = scriptNumber(values.movingY(element));
      }
      if (expected) {
        line(check + *expected);
      } else {
        line("# element " + std::to_string(i + 1) + " of " + name + " (a " +
             hostabi::elementKindName(element.kind) + ") holds nothing a script can check");
      }
    }
  }
}

void ScenarioRecorder::finish() {
  catchUp();
  line("# What the pilot saw when leaving, " + std::to_string(writtenMs_) + " ms after start.");
  elementChecks();
  const RadioSimState& state = session_.simulation().state;
  for (SimKey key : kEverySimKey) {
    line(std::string("expect sim ") + simKeyName(key) + " " + simValueText(state, key));
  }
  if (!eventsLost_) line("expect no-event");
  line("unload");
  out_.commit();
}

std::string ScenarioRecorder::mouseCommand(const std::string& verb, const std::string& gauge, int x,
                                           int y) {
  return verb + " " + gauge + " " + std::to_string(x) + " " + std::to_string(y);
}

std::string ScenarioRecorder::wheelCommand(const std::string& gauge, int x, int y, bool up,
                                           int count) {
  return mouseCommand("wheel", gauge, x, y) + (up ? " up " : " down ") + std::to_string(count);
}

std::optional<std::string> ScenarioRecorder::tooltipCheck(const std::string& gauge, int x, int y,
                                                          const std::string& text) {
  if (!writable(text)) return std::nullopt;
  return mouseCommand("expect tooltip", gauge, x, y) + " \"" + text + "\"";
}

}  // namespace panelhost
