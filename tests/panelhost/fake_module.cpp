// A tiny gauge module for the panel host's own tests: one gauge "Fake" with every element kind,
// overlapping mouse boxes with different flags, a timer and a service log; one gauge "Bare" with
// no tree, no mouse table and no callback; one gauge "Lifecycle" that reports every service it is
// sent as key event 7000 + service id, its extra data the value. Its handlers report through key
// events: value = event flag | x << 6 | y, with the point relative to the handler's box. Two
// handlers write just outside memory the host lent: built for Windows, it is the module that
// shows the emulator catching them.
#include <cstdio>

#include "host/element_headers.h"
#include "host/interface/gauge_records.h"
#include "host/windows_port.h"

extern "C" GAUGESIMPORT ImportTable;

namespace {

struct FakeState {
  int moduleInits;     // counts ModuleInit calls of this load: 1 in a fresh module
  int initServices;    // service 4 calls
  int updateServices;  // service 6 calls
  int otherServices;   // every other service id
  bool initialised;
  bool reportUpdates;  // set by a click on handler C: service 6 then sends key event 6000
  bool overrunText;    // set by a click on handler E: the text callback writes one byte too many
  double iconFrame;
};
FakeState state = {0, 0, 0, 0, false, false, false, -1.0};

PANELS* host() { return ImportTable.PANELSentry.fnptr; }

void report(ID eventId, PIXPOINT* point, FLAGS flags) {
  host()->trigger_key_event(
      eventId, flags | static_cast<UINT32>(point->x) << 6 | static_cast<UINT32>(point->y));
}

void CALLBACK settleTimer(HWND, UINT, UINT_PTR, DWORD) {
  KillTimer(FindWindowW(L"FS98MAIN", nullptr), 4);
  host()->trigger_key_event(65832, 0);
}

SINT32 FSAPI handlerA(PIXPOINT* point, FLAGS flags) {
  state.iconFrame = 1;
  report(1001, point, flags);
  return 0;
}
SINT32 FSAPI handlerB(PIXPOINT* point, FLAGS flags) {
  report(1002, point, flags);
  return 0;
}
SINT32 FSAPI handlerC(PIXPOINT* point, FLAGS flags) {
  if (flags == 0x20000000) state.reportUpdates = true;
  report(1003, point, flags);
  return 0;
}

// Calls a service the host does not offer: PANELS slot 50.
SINT32 FSAPI handlerD(PIXPOINT*, FLAGS) {
  reinterpret_cast<void(FSAPI*)()>(host()->unused_slots_41_to_68[50 - 41])();
  return 0;
}

SINT32 FSAPI handlerE(PIXPOINT*, FLAGS) {
  state.overrunText = true;
  return 0;
}

// Writes the byte just past the storage the host's var_ptr points at.
SINT32 FSAPI handlerF(PIXPOINT*, FLAGS) {
  MODULE_VAR variable = {};
  variable.id = 23;
  host()->lookup_var(&variable);
  if (variable.var_ptr != nullptr) static_cast<char*>(variable.var_ptr)[8] = 1;
  return 0;
}

void FSAPI fakeCallback(GAUGEHDR*, SINT32 service, UINT32) {
  if (service == 4) {
    ++state.initServices;
    if (state.initialised) return;
    state.initialised = true;
    host()->trigger_key_event(65715, static_cast<UINT32>(state.moduleInits));
    SetTimer(FindWindowW(L"FS98MAIN", nullptr), 4, 5000, settleTimer);
  } else if (service == 6) {
    ++state.updateServices;
    if (state.reportUpdates)
      host()->trigger_key_event(6000, static_cast<UINT32>(state.updateServices));
  } else {
    ++state.otherServices;
  }
}

FLOAT64 FSAPI serviceText(ELEMENT_STRING* element) {
  std::snprintf(element->string, element->max_string_length, "S%d U%d O%d", state.initServices,
                state.updateServices, state.otherServices);
  if (state.overrunText) element->string[element->max_string_length] = '!';
  return 0;
}

void FSAPI lifecycleCallback(GAUGEHDR*, SINT32 service, UINT32 extra) {
  host()->trigger_key_event(static_cast<ID>(7000 + service), extra);
}
FLOAT64 FSAPI frame(ELEMENT_ICON*) { return state.iconFrame; }
FLOAT64 FSAPI stripX(ELEMENT_MOVING_IMAGE*) { return 0; }
FLOAT64 FSAPI stripY(ELEMENT_MOVING_IMAGE*) { return 4; }

extern GAUGEHDR fakeHeader;

constexpr TextLook kServiceText = {{40, 10}, 0x3D3FC3, 0, 0, "Quartz", 400, 1, 20, 6, 32};

ELEMENT_STRING text =
    textElement(elementHeader(ELEMENT_TYPE_STRING, kNoBitmap, 1, 2, &fakeHeader, 0x7), kServiceText,
                serviceText);
ELEMENT_ICON icon =
    iconElement(elementHeader(ELEMENT_TYPE_ICON, 100, 3, 4, &fakeHeader, 0), 2, frame);
ELEMENT_MOVING_IMAGE strip =
    movingImage(elementHeader(ELEMENT_TYPE_MOVING_IMAGE, 200, 5, 6, &fakeHeader, 0x3), 0, 0, stripX,
                0, 7, stripY);
ELEMENT_STATIC_IMAGE plate =
    staticImage(elementHeader(ELEMENT_TYPE_STATIC_IMAGE, 300, 7, 8, &fakeHeader, 0));
ELEMENT_HEADER* children[] = {&text.header, &icon.header, &strip.header, &plate.header, nullptr};
ELEMENT_STATIC_IMAGE background =
    staticImage(elementHeader(ELEMENT_TYPE_STATIC_IMAGE, 10, 0, 0, &fakeHeader, 0x1, children));
ELEMENT_HEADER* fakeRoot = &background.header;

MOUSERECT fakeMouse[] = {
    {MOUSE_RECT_PARENT, {0, 0, 100, 100}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_USER, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, "Outer", nullptr},
    {MOUSE_RECT_PARENT, {10, 10, 20, 20}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_USER, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, "Big box", nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_CHILD, {10, 10, 20, 20}, CURSOR_HAND, 0, 0x20000000, 0, handlerA, nullptr},
    {MOUSE_RECT_CHILD, {15, 15, 10, 10}, CURSOR_UPARROW, 0, 0x20206000, 0, handlerB, nullptr},
    {MOUSE_RECT_PARENT, {40, 0, 10, 10}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_CHILD, {40, 0, 10, 10}, CURSOR_HAND, 0, 0x20020000, 0, handlerC, nullptr},
    {MOUSE_RECT_CHILD, {50, 0, 10, 10}, CURSOR_HAND, 0, 0x20000000, 0, nullptr, nullptr},
    {MOUSE_RECT_CHILD, {60, 0, 10, 10}, CURSOR_HAND, 0, 0x20000000, 0, handlerD, nullptr},
    {MOUSE_RECT_CHILD, {70, 0, 10, 10}, CURSOR_HAND, 0, 0x20000000, 0, handlerE, nullptr},
    {MOUSE_RECT_CHILD, {80, 0, 10, 10}, CURSOR_HAND, 0, 0x20000000, 0, handlerF, nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
};

constexpr GAUGEHDR gaugeHeader(const char* name, ELEMENT_HEADER** root, MOUSERECT* mouse,
                               PGAUGE_CALLBACK callback) {
  GAUGEHDR header{};
  header.gauge_header_version = 0x320;
  header.gauge_name = name;
  header.elements_list = root;
  header.size_x_mm = 100;
  header.mouse_rect = mouse;
  header.gauge_callback = callback;
  return header;
}

GAUGEHDR fakeHeader = gaugeHeader("Fake", &fakeRoot, fakeMouse, fakeCallback);
GAUGEHDR bareHeader = gaugeHeader("Bare", nullptr, nullptr, nullptr);
GAUGEHDR lifecycleHeader = gaugeHeader("Lifecycle", nullptr, nullptr, lifecycleCallback);

void FSAPI moduleInit() { ++state.moduleInits; }
// Leaves timer 4 running on purpose: the host must notice a timer outliving its module.
void FSAPI moduleDeinit() {}

}  // namespace

// Built once more under another name, to stand for a module that lacks the export.
#ifdef FAKE_WITHOUT_LINKAGE
#define FAKE_LINKAGE_NAME NotTheLinkage
#else
#define FAKE_LINKAGE_NAME Linkage
#endif

extern "C" {
GAUGESLINKAGE FAKE_LINKAGE_NAME = {0x13,
                                   moduleInit,
                                   moduleDeinit,
                                   0,
                                   0,
                                   0x900,
                                   {&fakeHeader, &bareHeader, &lifecycleHeader, nullptr}};
GAUGESIMPORT ImportTable = {{PANELS_IMPORT_ID, nullptr}, {0, nullptr}};
}
