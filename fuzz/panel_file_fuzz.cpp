// Any text given to the panel file parser is either a panel or a HostError; nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "panel/panel_file.h"
#include "support/host_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    panelhost::parsePanelText(text, "fuzz.cfg");
  } catch (const panelhost::HostError&) {
  }
  return 0;
}
