// FindWindowW, SetTimer and KillTimer for a native module loaded by the panel host. The executable
// exports them, so the module's undefined references bind to these. They are declared here in
// panelhost's own words, with the same binary interface as the module's declarations: window
// handles and ids are machine words, texts wide characters, the timer procedure an address.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "services/host_services.h"
#include "support/abi_boundary.h"

using panelhost::HostServices;
using Word = std::uintptr_t;

namespace {

// A window name as Windows compares it, cut at 256 characters, held in place: the module looks
// for the main window each time it starts a timer.
class WideText {
 public:
  explicit WideText(const wchar_t* text) {
    for (; text != nullptr && *text != L'\0' && length_ < sizeof text_ / sizeof text_[0]; ++text) {
      text_[length_++] = static_cast<char16_t>(*text);
    }
  }
  std::u16string_view view() const { return {text_, length_}; }

 private:
  char16_t text_[256];
  std::size_t length_ = 0;
};

}  // namespace

extern "C" {

PANELHOST_ABI_BOUNDARY Word FindWindowW(const wchar_t* className, const wchar_t* windowName) {
  if (className == nullptr) return 0;
  return static_cast<Word>(HostServices::running().findWindowNamed(WideText(className).view(),
                                                                   WideText(windowName).view()));
}

PANELHOST_ABI_BOUNDARY Word SetTimer(Word window, Word timerId, unsigned periodMs, Word procedure) {
  return static_cast<Word>(HostServices::running().setTimer(window, timerId, periodMs, procedure));
}

PANELHOST_ABI_BOUNDARY int KillTimer(Word window, Word timerId) {
  return HostServices::running().killTimer(window, timerId) ? 1 : 0;
}
}
