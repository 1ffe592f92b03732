// FindWindowW, SetTimer and KillTimer for a module loaded by the panel host. The executable
// exports them, so the module's undefined references bind to these.
#include <cwchar>

#include "host/windows_port.h"
#include "services/host_services.h"

using panelhost::HostServices;

extern "C" {

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  HostServices& host = HostServices::running();
  if (className == nullptr || std::wcscmp(className, L"FS98MAIN") != 0) return nullptr;
  if (windowName != nullptr && windowName[0] != L'\0') return nullptr;
  return host.mainWindow();
}

UINT_PTR SetTimer(HWND window, UINT_PTR timerId, UINT periodMs, TIMERPROC handler) {
  HostServices& host = HostServices::running();
  if (window != nullptr && window != host.mainWindow()) return 0;
  return host.timers().set(window, timerId, periodMs, handler, host.nowMs());
}

BOOL KillTimer(HWND window, UINT_PTR timerId) {
  HostServices& host = HostServices::running();
  return host.timers().kill(window, timerId) ? 1 : 0;
}
}
