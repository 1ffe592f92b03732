// Runs a scenario script against the module: its commands in order, its checks counted, the
// closing line "N passed, N failed" always printed. Exit status 0 all checks held, 1 a check
// failed, 2 the script, a panel file or the module could not be used.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "panel/panel_renderer.h"
#include "services/host_conditions.h"

namespace panelhost {

struct RunOptions {
  std::string moduleFolder;                   // where MODULE.so is looked for
  std::optional<std::string> moduleOverride;  // --module PATH
  bool log = false;                           // --log
  PanelRenderer renderer;                     // empty when this build draws nothing
  HostConditions conditions;                  // --fpu, --answers
  std::optional<std::string> window;          // --window NAME: the panel file's window to use
  std::optional<double> timeoutSeconds;       // --timeout SECONDS
  bool showProgress = false;                  // on standard error, when the run takes long
};

constexpr int kExitChecksHeld = 0;
constexpr int kExitCheckFailed = 1;
constexpr int kExitBadInput = 2;

int runScenarioFile(const std::string& path, const RunOptions& options, std::ostream& out);
// The same for a script already in memory; `fileName` names it in messages and is where a
// relative panel file is looked for.
int runScenarioText(const std::string& text, const std::string& fileName, const RunOptions& options,
                    std::ostream& out);

}  // namespace panelhost
