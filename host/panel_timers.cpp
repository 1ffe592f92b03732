#include "host/panel_timers.h"

#include "host/host_numbers.h"

const wchar_t kHostMainWindowClass[] = L"FS98MAIN";

namespace {

// Found anew each time: the host may recreate its main window while the module stays loaded.
HWND hostMainWindow() { return FindWindowW(kHostMainWindowClass, nullptr); }

// Without the main window SetTimer makes a timer of the thread under an id of Windows' choosing,
// which KillTimer(nullptr, ourId) never reaches: such a timer would repeat and outlive the module.
// Its id is kept here so that stopping (and the stop at module deinit) still ends it.
UINT_PTR windowlessTimerIds[paneltimer::kLastOwned + 1] = {};

void stopWindowlessTimer(UINT timerId) {
  if (timerId > paneltimer::kLastOwned || windowlessTimerIds[timerId] == 0) return;
  KillTimer(nullptr, windowlessTimerIds[timerId]);
  windowlessTimerIds[timerId] = 0;
}

}  // namespace

void startPanelTimer(UINT timerId, UINT periodMs, TIMERPROC handler) {
  if (HWND window = hostMainWindow()) {
    SetTimer(window, timerId, periodMs, handler);
    return;
  }
  // Stopped first, so a restart is one timer, as it is on the window.
  stopWindowlessTimer(timerId);
  if (timerId <= paneltimer::kLastOwned) {
    windowlessTimerIds[timerId] = SetTimer(nullptr, 0, periodMs, handler);
  }
}

void stopPanelTimer(UINT timerId) {
  if (HWND window = hostMainWindow()) KillTimer(window, timerId);
  stopWindowlessTimer(timerId);
}

void stopAllPanelTimers() {
  for (UINT id = paneltimer::kFirstOwned; id <= paneltimer::kLastOwned; ++id) stopPanelTimer(id);
}
