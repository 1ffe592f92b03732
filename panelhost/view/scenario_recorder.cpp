#include "view/scenario_recorder.h"

#include <algorithm>
#include <exception>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
#include "panel/element_reader.h"
#include "scenario/script_writer.h"

namespace panelhost {

namespace {

// Lines of commands that can always be written.
std::string lineOf(const ScriptAction& action) { return commandLine(action).value_or(""); }

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
       (origin.window ? " --window \"" + *origin.window + "\"" : std::string()) +
       (origin.conditions.fpuBits ? " --fpu " + std::to_string(*origin.conditions.fpuBits)
                                  : std::string()) +
       (origin.conditions.answers != HeldAnswers::kExact
            ? std::string(" --answers ") + heldAnswersName(origin.conditions.answers)
            : std::string()));
  if (origin.panelFile) {
    const std::string panel = panelPathFor(*origin.panelFile, file_);
    line(commandLine(script::Panel{panel})
             .value_or("# the panel file " + panel + " has a name no script can write"));
  }
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
    line(lineOf(script::ExpectEvent{event.eventId, event.value}) + "  # " +
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
    line(lineOf(script::Advance{step}));
    writtenMs_ += step;
  }
  newEvents();
}

void ScenarioRecorder::record(const ScriptAction& command, const std::function<void()>& action) {
  const std::optional<std::string> written = commandLine(command);
  if (!written) {
    if (action) action();
    return;
  }
  catchUp();
  if (action) action();
  line(*written);
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
      script::ExpectElement check{name, static_cast<std::int64_t>(i + 1), {}};
      std::optional<std::string> written;
      if (element.kind == hostabi::kString) {
        check.value.isText = true;
        check.value.text = values.text(element);
        written = commandLine(check);
      } else if (element.kind == hostabi::kIcon) {
        check.value.number = values.iconFrame(element);
        written = commandLine(check);
      } else if (element.kind == hostabi::kMovingImage) {
        check.value.number = values.movingY(element);
        written = commandLine(check);
      }
      if (written) {
        line(*written);
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
  for (const SimKey& key : simKeys()) {
    line(lineOf(script::ExpectSim{&key, heldValue(state, key)}));
  }
  if (!eventsLost_) line(lineOf(script::ExpectNoEvent{}));
  line(lineOf(script::Unload{}));
  out_.commit();
}

bool ScenarioRecorder::stoppedEarly(const std::string& reason) noexcept {
  try {
    catchUp();
    // One comment line, whatever the reason says: a line of it on its own would be a command.
    std::string said = reason;
    std::replace_if(
        said.begin(), said.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    line("# viewer stopped before the end: " + said);
    out_.commit();
    return true;
  } catch (const std::exception&) {
    return false;  // the file beside the target goes with out_
  }
}

}  // namespace panelhost
