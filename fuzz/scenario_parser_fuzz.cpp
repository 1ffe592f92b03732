// Any text given to the scenario parser is either a script or a HostError; nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scenario/scenario_script.h"
#include "support/host_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    panelhost::parseScript(text, "fuzz.scn");
  } catch (const panelhost::HostError&) {
  }
  return 0;
}
