// Any text given to the scenario parser is either a script or a HostError; nothing else. Every
// command of a script, written back, reads back as the same command.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scenario/scenario_script.h"
#include "scenario/script_writer.h"
#include "support/host_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  panelhost::Script script;
  try {
    script = panelhost::parseScript(text, "fuzz.scn");
  } catch (const panelhost::HostError&) {
    return 0;
  }
  for (const panelhost::Command& command : script.commands) {
    const auto line = panelhost::commandLine(command.action);
    if (!line) continue;
    const auto again = panelhost::parseScript(*line + "\n", "written.scn");
    if (again.commands.size() != 1 || panelhost::commandLine(again.commands[0].action) != line) {
      std::abort();
    }
  }
  return 0;
}
