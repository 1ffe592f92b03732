// The module itself under random use: any gauge callback with any service id, any mouse handler
// with any flags (both wheel bits too), timer messages live and stale, element callbacks with text
// buffers of every size, and a host whose answers are random (any module variable, any double or a
// failed evaluation). After every step the radios' invariants must hold; a call that never returns
// is the fuzzer's timeout.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "gauges/adf/adf_layout.h"
#include "gauges/adf/adf_state.h"
#include "gauges/comnav/comnav_layout.h"
#include "gauges/comnav/comnav_state.h"
#include "gauges/transponder/transponder_layout.h"
#include "gauges/transponder/transponder_state.h"
#include "host/import_table.h"
#include "module/linkage.h"
#include "module/state_reset.h"

namespace {

// ---- A host whose answers come from the input -----------------------------------------------

struct Answers {
  UINT32 com1 = 0x2280;
  UINT32 nav1 = 0x1050;
  double calculator = 121.5;
  bool evaluates = true;
};
Answers answers;

struct Timer {
  UINT_PTR id;
  TIMERPROC procedure;
};
std::vector<Timer> timers;  // running on the main window, in the order they were set

// Any handle but null: the host's main window, which FindWindowW always finds here.
int mainWindowObject;
const HWND kMainWindow = &mainWindowObject;

void FSAPI noElementService(ELEMENT_HEADER*) {}
void FSAPI noInstall(ELEMENT_HEADER*, void*) {}
void FSAPI noGenerate(ELEMENT_HEADER*, UINT32) {}
UINT32 FSAPI keyEvent(ID, UINT32) { return 0; }
void FSAPI lookupVar(MODULE_VAR* var) {
  var->var_value.u = var->id == 23 ? answers.com1 : answers.nav1;
}
BOOL_HOST FSAPI calculate(PCSTRINGZ code, FLOAT64* value, SINT32*, PCSTRINGZ*) {
  if (code == nullptr || std::strlen(code) >= 255) std::abort();  // the module's texts are short
  if (!answers.evaluates) return 0;
  if (value) *value = answers.calculator;
  return 1;
}

PANELS hostTable() {
  PANELS table{};
  table.element_list_query = noElementService;
  table.element_list_install = noInstall;
  table.element_list_initialize = noElementService;
  table.element_list_update = noElementService;
  table.element_list_generate = noGenerate;
  table.element_list_plot = noElementService;
  table.element_list_erase = noElementService;
  table.element_list_kill = noElementService;
  table.trigger_key_event = keyEvent;
  table.lookup_var = lookupVar;
  table.execute_calculator_code = calculate;
  return table;
}
PANELS panels = hostTable();

// ---- What the module may call -------------------------------------------------------------------

using MouseHandler = SINT32(FSAPI*)(PIXPOINT*, FLAGS);
constexpr MouseHandler kMouseHandlers[] = {
    powerSwitchClick, comSwapClick,    navSwapClick,    navIdentClick,   comKnobUp25,
    comKnobDown25,    comKnobUp1000,   comKnobDown1000, navKnobUp25,     navKnobDown25,
    navKnobUp1000,    navKnobDown1000, xpdrModeUp,      xpdrModeDown,    xpdrDigit0Down,
    xpdrDigit0Up,     xpdrDigit1Down,  xpdrDigit1Up,    xpdrDigit2Down,  xpdrDigit2Up,
    xpdrDigit3Down,   xpdrDigit3Up,    xpdrTestButton,  xpdrIdentButton, adfModeDown,
    adfModeUp,        adfIdentToggle,  adfHundredsDown, adfHundredsUp,   adfTensDown,
    adfTensUp,        adfUnitsDown,    adfUnitsUp,      adfTenthsDown,   adfTenthsUp,
};
constexpr TIMERPROC kTimerProcedures[] = {identWindowElapsed, replyLitPhaseElapsed,
                                          replyDarkPhaseElapsed, onSettleTimer};
using GaugeCallback = void(FSAPI*)(GAUGEHDR*, SINT32, UINT32);
constexpr GaugeCallback kGaugeCallbacks[] = {comNavGaugeCallback, transponderGaugeCallback,
                                             adfGaugeCallback};
using TextCallback = FLOAT64(FSAPI*)(ELEMENT_STRING*);
constexpr TextCallback kTexts[] = {comActiveText, comStandbyText, navActiveText, navStandbyText};

// ---- The invariants -----------------------------------------------------------------------------

bool comInBand(KhzFrequency f) { return f >= 118000 && f <= 135975; }
bool navInBand(KhzFrequency f) { return f >= 108000 && f <= 117925; }

void require(bool held, const char* what) {
  if (held) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void checkInvariants() {
  const TransponderState& x = transponderState;
  for (SINT32 digit : x.digit) require(digit >= 0 && digit <= 7, "transponder digits 0..7");
  require(x.mode >= 0 && x.mode <= 3, "transponder mode 0..3");
  const AdfState& a = adfState;
  require(a.mode >= 0 && a.mode <= 3, "ADF mode 0..3");
  if (a.initialised) {
    require(a.selectedTenths ==
                1000 * a.hundredsGroup + 100 * a.tensDigit + 10 * a.unitsDigit + a.tenthsDigit,
            "the ADF frequency is its drums");
  }
  const ComNavState& c = comNavState;
  if (c.initialised && c.powerOn == 0) {
    require(c.comSentKhz == 136000 && c.navSentKhz == 117950,
            "with the power off the off frequencies are sent");
  }
}

// The lamp shows what its flags were as the lamp rule took them.
void checkLamp(bool expectedLit) {
  require(transponderState.lampLit == (expectedLit ? 1 : 0), "the lamp follows its rule");
}

bool lampFlags() {
  return transponderState.testPressed || transponderState.identActive ||
         transponderState.replyBlinkOn;
}

// ---- One step -----------------------------------------------------------------------------------

void mouse(FuzzedDataProvider& in) {
  const std::size_t which =
      in.ConsumeIntegralInRange<std::size_t>(0, std::size(kMouseHandlers) - 1);
  const MouseHandler handler = kMouseHandlers[which];
  const FLAGS flags = in.ConsumeIntegral<FLAGS>();
  PIXPOINT point{in.ConsumeIntegral<SINT32>(), in.ConsumeIntegral<SINT32>()};
  const bool comWasInBand = comInBand(comNavState.comStandbyKhz);
  const bool navWasInBand = navInBand(comNavState.navStandbyKhz);
  // The TEST button's lamp rule takes the flags after the button has set or cleared TEST.
  bool test = transponderState.testPressed;
  if ((flags & MOUSE_LEFTSINGLE) && transponderState.mode > 0) test = true;
  if (flags & MOUSE_LEFTRELEASE) test = false;
  const bool lampExpected = test || transponderState.identActive || transponderState.replyBlinkOn;
  require(handler(&point, flags) == 0, "mouse handlers return 0");
  if (handler == xpdrTestButton) checkLamp(lampExpected);
  if (which >= 4 && which < 8 && comWasInBand) {
    require(comInBand(comNavState.comStandbyKhz), "a COM step keeps an in-band standby in band");
  }
  if (which >= 8 && which < 12 && navWasInBand) {
    require(navInBand(comNavState.navStandbyKhz), "a NAV step keeps an in-band standby in band");
  }
}

void elementCallbacks(FuzzedDataProvider& in) {
  // Every size the record's 16-bit count allows is possible; the small ones are where cuts are.
  const std::size_t size = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, 12)
                                            : in.ConsumeIntegralInRange<std::size_t>(0, 65535);
  std::vector<char> buffer(size, 'x');
  ELEMENT_STRING text{};
  text.string = size ? buffer.data() : nullptr;
  text.max_string_length = static_cast<UINT16>(size);
  const TextCallback callback = kTexts[in.ConsumeIntegralInRange<std::size_t>(0, 3)];
  require(callback(&text) == 0.0, "text callbacks return 0");
  if (size > 0 && buffer[0] != 'x') {
    require(strnlen(buffer.data(), size) < size, "a text ends inside its buffer");
  }
  ELEMENT_MOVING_IMAGE drum{};
  for (auto strip : {xpdrStripY0, xpdrStripY1, xpdrStripY2, xpdrStripY3}) {
    const double digit = strip(&drum);
    require(digit >= 0 && digit <= 7, "a code drum shows 0..7");
  }
  ELEMENT_ICON icon{};
  const double lamp = xpdrReplyLampIcon(&icon);
  require(lamp == 0.0 || lamp == -1.0, "the lamp frame is 0 or -1");
  for (auto y : {adfTensStripY, adfUnitsStripY, adfTenthsStripY}) {
    const double digit = y(&drum);
    require(digit >= 0 && digit <= 9, "an ADF digit drum shows 0..9");
  }
}

double oddDouble(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return std::numeric_limits<double>::quiet_NaN();
    case 1:
      return std::numeric_limits<double>::infinity();
    case 2:
      return -std::numeric_limits<double>::infinity();
    case 3:
      return in.ConsumeFloatingPointInRange(-1e300, 1e300);
    default:
      return in.ConsumeFloatingPointInRange(-10.0, 2000.0);
  }
}

void step(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: {
      const SINT32 service = in.ConsumeBool() ? in.ConsumeIntegralInRange<SINT32>(0, 17)
                                              : in.ConsumeIntegral<SINT32>();
      const GaugeCallback callback = kGaugeCallbacks[in.ConsumeIntegralInRange(0, 2)];
      const bool lampExpected = lampFlags();
      callback(nullptr, service, in.ConsumeIntegral<UINT32>());
      if (callback == transponderGaugeCallback && service == 6) checkLamp(lampExpected);
      break;
    }
    case 1:
      mouse(in);
      break;
    case 2:  // a message of any of the module's timers, running or long stopped
      kTimerProcedures[in.ConsumeIntegralInRange(0, 3)](kMainWindow, 0x113, 0, 0);
      break;
    case 3: {  // the main window's queue: every running timer's message, in the order set
      const std::vector<Timer> due = timers;
      for (const Timer& t : due) t.procedure(kMainWindow, 0x113, t.id, 0);
      break;
    }
    case 4:
      elementCallbacks(in);
      break;
    case 5:
      answers.com1 = in.ConsumeIntegral<UINT32>();
      answers.nav1 = in.ConsumeIntegral<UINT32>();
      answers.calculator = oddDouble(in);
      answers.evaluates = in.ConsumeBool();
      break;
    case 6:
      if (in.ConsumeBool()) {
        Linkage.ModuleInit();
      } else {
        Linkage.ModuleDeinit();
        require(timers.empty(), "module deinit leaves no timer running");
      }
      break;
  }
  checkInvariants();
}

}  // namespace

// The module's three Windows functions, as the host's main window would answer them.
extern "C" {
HWND FindWindowW(LPCWSTR, LPCWSTR) { return kMainWindow; }
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT, TIMERPROC procedure) {
  if (window != kMainWindow) std::abort();  // the module always has the main window here
  for (Timer& t : timers) {
    if (t.id == id) {
      t.procedure = procedure;
      return 1;
    }
  }
  timers.push_back({id, procedure});
  return 1;
}
BOOL KillTimer(HWND, UINT_PTR id) {
  for (auto it = timers.begin(); it != timers.end(); ++it) {
    if (it->id == id) {
      timers.erase(it);
      return 1;
    }
  }
  return 0;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetGaugeRecords();
  timers.clear();
  answers = Answers{};
  ImportTable.PANELSentry.fnptr = &panels;
  FuzzedDataProvider in(data, size);
  for (int i = 0; i < 512 && in.remaining_bytes() > 0; ++i) step(in);
  return 0;
}
