#include "host/panel_timers.h"

#include "host/host_numbers.h"

const wchar_t kHostMainWindowClass[] = L"FS98MAIN";

namespace {
// Found anew each time: the host may recreate its main window while the module stays loaded.
HWND hostMainWindow() { return FindWindowW(kHostMainWindowClass, nullptr); }
}  // namespace

void startPanelTimer(UINT timerId, UINT periodMs, TIMERPROC handler) {
  SetTimer(hostMainWindow(), timerId, periodMs, handler);
}

void stopPanelTimer(UINT timerId) { KillTimer(hostMainWindow(), timerId); }

void stopAllPanelTimers() {
  for (UINT id = paneltimer::kFirstOwned; id <= paneltimer::kLastOwned; ++id) stopPanelTimer(id);
}
