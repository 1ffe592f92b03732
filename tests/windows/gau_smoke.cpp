// Loads radios.gau the way the simulator does on Windows and drives it against the real user32:
// a real top-level "FS98MAIN" window, real timers, a real message loop.
//
// usage: gau_smoke.exe MODULE [--no-window]
//   --no-window  no main window exists: the module must still load, start its timers and unload
//                without crashing, and leave no timer behind.
// Exit status 0 when every check held, 1 otherwise; each failed check says what was expected.

#include <windows.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "host/interface/gauge_records.h"
#include "recording_panels.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr wchar_t kMainWindowClass[] = L"FS98MAIN";
constexpr UINT_PTR kSettleTimerId = 4;
constexpr UINT_PTR kModuleTimerIds[] = {1, 2, 3, 4};
const char* const kGaugeNames[] = {"Com1Nav1", "Transponder", "ADF"};

int failedChecks = 0;

#define EXPECT(condition, ...) expectAt(__LINE__, (condition), __VA_ARGS__)

bool expectAt(int line, bool held, const char* format, ...) {
  if (held) return true;
  ++failedChecks;
  std::printf("gau_smoke.cpp:%d: expected ", line);
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  return false;
}

[[noreturn]] void giveUp(const char* format, ...) {
  std::printf("gau_smoke: ");
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\ngau_smoke: FAILED\n");
  std::exit(1);
}

// Without this a crash under wine may open the debugger's dialog on the display and hang there.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
  void* address = info->ExceptionRecord->ExceptionAddress;
  HMODULE owner = nullptr;
  wchar_t ownerPath[MAX_PATH] = L"code no module holds";
  if (GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &owner)) {
    GetModuleFileNameW(owner, ownerPath, MAX_PATH);
  }
  std::printf("gau_smoke: crashed with exception 0x%08lX at %p (in %ls)\ngau_smoke: FAILED\n",
              info->ExceptionRecord->ExceptionCode, address, ownerPath);
  std::fflush(stdout);
  ExitProcess(1);
}

long long millisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// Runs this thread's message loop until `accepts` takes a message or `duration` has passed. The
// accepted message is handed back undispatched; every other message is dispatched.
template <typename Predicate>
bool pumpMessagesUntil(Clock::duration duration, Predicate accepts, MSG* accepted) {
  const Clock::time_point deadline = Clock::now() + duration;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (accepts(message)) {
        *accepted = message;
        return true;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

void pumpMessagesFor(Clock::duration duration) {
  MSG unused;
  pumpMessagesUntil(
      duration, [](const MSG&) { return false; }, &unused);
}

HWND createMainWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kMainWindowClass;
  if (!RegisterClassW(&windowClass)) {
    giveUp("could not register the window class FS98MAIN (error %lu)", GetLastError());
  }
  HWND window =
      CreateWindowExW(0, kMainWindowClass, L"gau_smoke", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) {
    giveUp(
        "could not create the FS98MAIN main window (error %lu); the windowed run needs a "
        "display (is DISPLAY set to a running X server?)",
        GetLastError());
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

template <typename Record>
Record* exportedRecord(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (!address) giveUp("expected the module to export %s, got no such export", name);
  return reinterpret_cast<Record*>(reinterpret_cast<void*>(address));
}

void checkLinkage(const GAUGESLINKAGE& linkage) {
  EXPECT(linkage.ModuleID == 0x13, "Linkage module id 0x13, got 0x%X", linkage.ModuleID);
  EXPECT(linkage.ModuleVersion == 0x0900, "Linkage version 0x0900, got 0x%04X",
         linkage.ModuleVersion);
  for (std::size_t slot = 0; slot < 3; ++slot) {
    const GAUGEHDR* header = linkage.gauge_header_ptr[slot];
    const char* name = header && header->gauge_name ? header->gauge_name : "(none)";
    EXPECT(std::strcmp(name, kGaugeNames[slot]) == 0, "gauge %zu named \"%s\", got \"%s\"",
           slot + 1, kGaugeNames[slot], name);
  }
  EXPECT(linkage.gauge_header_ptr[3] == nullptr,
         "a null entry after the three gauges in the Linkage gauge table, got a header");
}

void checkAndFillImportTable(GAUGESIMPORT& importTable) {
  EXPECT(importTable.PANELSentry.fnID == PANELS_IMPORT_ID, "ImportTable entry 1 id 0x0F, got 0x%X",
         importTable.PANELSentry.fnID);
  EXPECT(importTable.PANELSentry.fnptr == nullptr,
         "ImportTable's PANELS pointer null before the host fills it, got %p",
         static_cast<void*>(importTable.PANELSentry.fnptr));
  EXPECT(importTable.nullentry.fnID == 0 && importTable.nullentry.fnptr == nullptr,
         "ImportTable entry 2 to be the end entry (0, null), got (0x%X, %p)",
         importTable.nullentry.fnID, importTable.nullentry.fnptr);
  importTable.PANELSentry.fnptr = &recordingPanels().table;
}

// Pre-initialize sends the radio's off frequencies; anything else it asks the host must be known.
void checkPreInitializeTraffic() {
  const RecordingPanels& panels = recordingPanels();
  const RecordedKeyEvent expected[] = {{65707, 0x3600}, {65708, 0x1795}};
  const std::size_t count = panels.keyEvents.size();
  EXPECT(count == 2, "pre-initialize of Com1Nav1 to send 2 key events, got %zu", count);
  for (std::size_t i = 0; i < 2 && i < count; ++i) {
    const RecordedKeyEvent& got = panels.keyEvents[i];
    EXPECT(got.eventId == expected[i].eventId && got.value == expected[i].value,
           "key event %zu to be %u with 0x%04X, got %u with 0x%04X", i + 1, expected[i].eventId,
           expected[i].value, got.eventId, got.value);
  }
  for (const std::string& request : panels.unknownRequests) {
    EXPECT(false, "only module variables 23, 24 and the radios' calculator codes asked for, got %s",
           request.c_str());
  }
}

void runSettleTimerOnMainWindow(GAUGEHDR* comNav, HWND window) {
  const Clock::time_point initialisedAt = Clock::now();
  comNav->gauge_callback(comNav, PANEL_SERVICE_PRE_INITIALIZE, 0);
  checkPreInitializeTraffic();

  MSG timerMessage{};
  const bool fired = pumpMessagesUntil(
      seconds(8),
      [window](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == window && m.wParam == kSettleTimerId;
      },
      &timerMessage);
  const long long elapsedMs = millisecondsSince(initialisedAt);
  if (!EXPECT(fired,
              "timer 4 to fire on the FS98MAIN window within 8000 ms of pre-initialize, "
              "got none")) {
    return;
  }
  std::printf("gau_smoke: timer 4 fired on the FS98MAIN window %lld ms after pre-initialize\n",
              elapsedMs);
  EXPECT(elapsedMs >= 4500 && elapsedMs <= 7000,
         "timer 4 to fire 4500..7000 ms after pre-initialize, got %lld ms", elapsedMs);
  EXPECT(timerMessage.lParam != 0, "timer 4 to carry the module's timer procedure, got none");
  DispatchMessageW(&timerMessage);
  // The settle timer fires once: its procedure stops it, so there is nothing left to kill.
  EXPECT(!KillTimer(window, kSettleTimerId),
         "the module's procedure for timer 4 to stop its timer, got timer 4 still running");
}

void runTimersWithoutMainWindow(GAUGEHDR* comNav) {
  const Clock::time_point initialisedAt = Clock::now();
  comNav->gauge_callback(comNav, PANEL_SERVICE_PRE_INITIALIZE, 0);
  checkPreInitializeTraffic();
  // Let a settle period pass, so that whatever the module started without a window runs while
  // the module is still loaded.
  MSG unused;
  pumpMessagesUntil(
      milliseconds(6000),
      [initialisedAt](const MSG& m) {
        if (m.message == WM_TIMER) {
          std::printf(
              "gau_smoke: a timer without a window (id %llu) fired %lld ms after "
              "pre-initialize\n",
              static_cast<unsigned long long>(m.wParam), millisecondsSince(initialisedAt));
        }
        return false;
      },
      &unused);
}

// Every timer left behind would now call into code that is gone.
void checkNoTimerOutlivesModule(Clock::duration duration) {
  MSG timerMessage{};
  const bool fired = pumpMessagesUntil(
      duration, [](const MSG& m) { return m.message == WM_TIMER; }, &timerMessage);
  EXPECT(!fired,
         "no timer message after the module was unloaded, got timer %llu for window %p, whose "
         "procedure went with the module",
         static_cast<unsigned long long>(timerMessage.wParam),
         static_cast<void*>(timerMessage.hwnd));
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(reportCrash);

  const bool withWindow = !(argc == 3 && std::wcscmp(argv[2], L"--no-window") == 0);
  if (argc < 2 || argc > 3 || (argc == 3 && withWindow)) {
    giveUp("usage: gau_smoke.exe MODULE [--no-window]");
  }
  const wchar_t* modulePath = argv[1];

  HWND window = nullptr;
  if (withWindow) {
    window = createMainWindow();
    EXPECT(FindWindowW(kMainWindowClass, nullptr) == window,
           "FindWindowW to find our FS98MAIN window");
  } else {
    EXPECT(FindWindowW(kMainWindowClass, nullptr) == nullptr,
           "FindWindowW to find no FS98MAIN window in the no-window run, got one");
  }

  HMODULE module = LoadLibraryW(modulePath);
  if (!module) giveUp("could not load %ls (error %lu)", modulePath, GetLastError());
  std::printf("gau_smoke: loaded %ls (%s)\n", modulePath,
              withWindow ? "with the FS98MAIN window" : "without a main window");

  GAUGESLINKAGE& linkage = *exportedRecord<GAUGESLINKAGE>(module, "Linkage");
  GAUGESIMPORT& importTable = *exportedRecord<GAUGESIMPORT>(module, "ImportTable");
  checkLinkage(linkage);
  checkAndFillImportTable(importTable);
  if (failedChecks > 0) giveUp("the module's records are not what a host expects; stopping");

  if (EXPECT(linkage.ModuleInit != nullptr, "a module-init operation in Linkage, got null")) {
    linkage.ModuleInit();
  }

  GAUGEHDR* comNav = linkage.gauge_header_ptr[0];
  if (!EXPECT(comNav->gauge_callback != nullptr,
              "a gauge callback in the Com1Nav1 header, got null")) {
    giveUp("Com1Nav1 cannot be initialised; stopping");
  }
  if (withWindow) {
    runSettleTimerOnMainWindow(comNav, window);
  } else {
    runTimersWithoutMainWindow(comNav);
  }

  if (EXPECT(linkage.ModuleDeinit != nullptr, "a module-deinit operation in Linkage, got null")) {
    linkage.ModuleDeinit();
  }
  if (withWindow) {
    for (UINT_PTR id : kModuleTimerIds) {
      EXPECT(!KillTimer(window, id),
             "no timer %llu left on the FS98MAIN window after module deinit, got it running",
             static_cast<unsigned long long>(id));
    }
  }
  EXPECT(FreeLibrary(module), "FreeLibrary to unload the module, got error %lu", GetLastError());

  // Without a window a timer the module started repeats with an id Windows chose, so wait a whole
  // settle period for it.
  checkNoTimerOutlivesModule(withWindow ? seconds(1) : seconds(6));
  if (window) DestroyWindow(window);
  pumpMessagesFor(milliseconds(100));

  if (failedChecks > 0) {
    std::printf("gau_smoke: FAILED (%d checks)\n", failedChecks);
    return 1;
  }
  std::printf("gau_smoke: all checks held\n");
  return 0;
}
