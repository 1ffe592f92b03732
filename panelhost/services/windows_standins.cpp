// FindWindowW, SetTimer and KillTimer for a native module loaded by the panel host. The executable
// exports them, so the module's undefined references bind to these. They are declared here in
// panelhost's own words, with the same binary interface as the module's declarations: window
// handles and ids are machine words, texts wide characters, the timer procedure an address.
#include <cstdint>
#include <string>

#include "services/host_services.h"
#include "support/abi_boundary.h"

using panelhost::HostServices;
using Word = std::uintptr_t;

namespace {

std::u16string wideText(const wchar_t* text) {
  std::u16string converted;
  for (; text != nullptr && *text != L'\0' && converted.size() < 256; ++text) {
    converted.push_back(static_cast<char16_t>(*text));
  }
  return converted;
}

}  // namespace

extern "C" {

PANELHOST_ABI_BOUNDARY Word FindWindowW(const wchar_t* className, const wchar_t* windowName) {
  if (className == nullptr) return 0;
  return static_cast<Word>(
      HostServices::running().findWindow(wideText(className), wideText(windowName)));
}

PANELHOST_ABI_BOUNDARY Word SetTimer(Word window, Word timerId, unsigned periodMs, Word procedure) {
  return static_cast<Word>(HostServices::running().setTimer(window, timerId, periodMs, procedure));
}

PANELHOST_ABI_BOUNDARY int KillTimer(Word window, Word timerId) {
  return HostServices::running().killTimer(window, timerId) ? 1 : 0;
}
}
