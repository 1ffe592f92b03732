// Writes what the pilot did in the viewer as a scenario script that `panelhost run` plays back:
// each mouse event in gauge pixels, the virtual time between them as `advance`, the key events
// each one sent, and at the end checks of everything the pilot could see.
//
// The session's virtual clock is the record's clock: every advance written is time the session
// itself moved through, so the replay reaches the same instants in the same order (timer
// messages, repeats and update cycles that fell between two actions included).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "panel/panel_session.h"
#include "scenario/scenario_script.h"
#include "services/host_conditions.h"
#include "support/output_file.h"

namespace panelhost {

struct RecordingOrigin {
  std::optional<std::filesystem::path> panelFile;  // --panel F; the built-in stack otherwise
  std::optional<std::string> module;               // --module PATH, for the script's header
  std::optional<std::string> window;               // --window NAME, likewise
  HostConditions conditions;                       // --fpu, --answers, likewise when not default
};

class ScenarioRecorder {
 public:
  // Opens `file` now, so that a path that cannot be written fails before the pilot starts. The
  // session must not have started yet: its start is the first command recorded. The script is
  // written beside the file and put in its place by finish (see output_file.h). Throws
  // HostError.
  ScenarioRecorder(std::filesystem::path file, PanelSession& session,
                   const RecordingOrigin& origin);

  const std::filesystem::path& file() const { return file_; }

  // Writes the time passed and the key events sent since the last command, then runs `action`
  // (which hands the command to the session; empty for a check), then writes the command and
  // the key events it caused.
  // A command that cannot be written (a tooltip with a double quote) is left out.
  void record(const ScriptAction& command, const std::function<void()>& action);

  // Writes the time passed and the key events sent, when there are new ones. Called as time
  // passes, so that the script has every event before the host's record lets it go.
  void keepUp();

  // Ends the script with the time passed, checks of every gauge element, of the simulation and
  // of the key events, and unload, and puts the file in place. Call it while the module is still
  // loaded.
  void finish();

  // Ends the script where the viewer stopped on a failure: the time passed, a comment line with
  // `reason`, and puts the file in place, so that what the pilot did up to the failure replays.
  // False when the file could not be kept. Throws nothing: the failure that stopped the viewer is
  // the one to report.
  bool stoppedEarly(const std::string& reason) noexcept;

 private:
  void line(const std::string& text);
  void catchUp();
  void newEvents();
  void elementChecks();

  std::filesystem::path file_;
  OutputFile out_;
  PanelSession& session_;
  std::int64_t writtenMs_ = 0;       // the virtual time the script has reached
  std::uint64_t writtenEvents_ = 0;  // key events sent since start that the script checks
  bool eventsLost_ = false;
};

}  // namespace panelhost
