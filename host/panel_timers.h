// Timers on the host's main window. Windows repeats a timer until it is killed, restarts the
// period when a running id is started again, and may still deliver a message queued before the
// kill; every handler of ours stops its own timer, so each start gives one firing.
#pragma once

#include "host/windows_port.h"

extern const wchar_t kHostMainWindowClass[];  // L"FS98MAIN"

void startPanelTimer(UINT timerId, UINT periodMs, TIMERPROC handler);
void stopPanelTimer(UINT timerId);

// Stops every timer the module owns (ids 1 to 4), so that none fires into an unloaded module.
void stopAllPanelTimers();
