// Our declarations of the host's gauge records and panel services. The host defines their byte
// layout; we write them down once, here, in the field order we know them by, so that a correction
// to any of them touches this file alone. Names follow the host's own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/windows_port.h"

// Every function the host calls, and every host service we call, uses the host's calling
// convention; on 32-bit Windows that is stdcall.
#if defined(_WIN32) && !defined(_WIN64)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

typedef std::int32_t SINT32;
typedef std::uint32_t UINT32;
typedef std::uint64_t UINT64;
typedef double FLOAT64;
typedef std::uint32_t ID;
typedef std::uint32_t FLAGS;
typedef std::uint32_t COLORREF_HOST;
typedef const char* PCSTRINGZ;

struct PIXPOINT {
  SINT32 x;
  SINT32 y;
};

struct PIXBOX {
  SINT32 x;
  SINT32 y;
  SINT32 size_x;
  SINT32 size_y;
};

struct GAUGEHDR;
struct ELEMENT_HEADER;
struct ELEMENT_STRING;
struct ELEMENT_ICON;
struct ELEMENT_MOVING_IMAGE;

// ---- Panel services ---------------------------------------------------------------------------

enum PANEL_SERVICE : SINT32 {
  PANEL_SERVICE_PRE_QUERY = 0,
  PANEL_SERVICE_POST_QUERY = 1,
  PANEL_SERVICE_PRE_INSTALL = 2,
  PANEL_SERVICE_POST_INSTALL = 3,
  PANEL_SERVICE_PRE_INITIALIZE = 4,
  PANEL_SERVICE_POST_INITIALIZE = 5,
  PANEL_SERVICE_PRE_UPDATE = 6,
  PANEL_SERVICE_POST_UPDATE = 7,
  PANEL_SERVICE_PRE_GENERATE = 8,
  PANEL_SERVICE_POST_GENERATE = 9,
  PANEL_SERVICE_PRE_DRAW = 10,
  PANEL_SERVICE_POST_DRAW = 11,
  PANEL_SERVICE_PRE_KILL = 12,
  PANEL_SERVICE_POST_KILL = 13,
};

// ---- Module variables -------------------------------------------------------------------------

union MODULE_VAR_VALUE {
  FLOAT64 n;
  UINT64 raw;
  UINT32 u;
  SINT32 d;
};

struct MODULE_VAR {
  ID id;
  void* var_ptr;
  UINT32 var_type;
  MODULE_VAR_VALUE var_value;
  MODULE_VAR_VALUE var_old;
};

// ---- The host's function table ----------------------------------------------------------------

struct PANELS {
  void(FSAPI* element_list_query)(ELEMENT_HEADER* element);
  void(FSAPI* element_list_install)(ELEMENT_HEADER* element, void* resourceHandle);
  void(FSAPI* element_list_initialize)(ELEMENT_HEADER* element);
  void(FSAPI* element_list_update)(ELEMENT_HEADER* element);
  void(FSAPI* element_list_generate)(ELEMENT_HEADER* element, UINT32 phase);
  void(FSAPI* element_list_plot)(ELEMENT_HEADER* element);
  void(FSAPI* element_list_kill)(ELEMENT_HEADER* element);
  SINT32(FSAPI* trigger_key_event)(ID eventId, UINT32 value);
  void(FSAPI* lookup_var)(MODULE_VAR* moduleVar);
  SINT32(FSAPI* execute_calculator_code)(PCSTRINGZ code, FLOAT64* floatResult,
                                         SINT32* intResult, PCSTRINGZ* textResult);
};

constexpr ID PANELS_IMPORT_ID = 0x0000000F;

struct GAUGESIMPORT {
  struct {
    ID fnID;
    PANELS* fnptr;
  } PANELSentry;
  struct {
    ID fnID;
    void* fnptr;
  } nullentry;
};

// ---- Elements ---------------------------------------------------------------------------------

enum ELEMENT_TYPE_ENUM : UINT32 {
  ELEMENT_TYPE_STATIC_IMAGE = 0,
  ELEMENT_TYPE_STRING = 2,
  ELEMENT_TYPE_ICON = 4,
  ELEMENT_TYPE_MOVING_IMAGE = 5,
};

constexpr FLAGS IMAGE_USE_TRANSPARENCY = 0x1;
constexpr FLAGS IMAGE_USE_ERASE = 0x2;
constexpr FLAGS IMAGE_USE_BRIGHT = 0x4;

// Three 32-bit words per entry; an all-zero entry ends the list.
struct FAILURE_RECORD {
  UINT32 failure_key;
  UINT32 action;
  UINT32 reserved;
};

struct ELEMENT_HEADER {
  ELEMENT_TYPE_ENUM element_type;
  ID resource_id;
  PIXPOINT position;
  PIXPOINT previous_position;
  PIXPOINT ofs;
  GAUGEHDR* gauge_header;
  ELEMENT_HEADER* previous_element;
  ELEMENT_HEADER** next_element;
  FAILURE_RECORD* failure_systems;
  FLAGS image_flags;
  FLAGS aircraft_special_instrumentation;
  FLAGS reserved;
};

struct ELEMENT_STATIC_IMAGE : ELEMENT_HEADER {};

typedef FLOAT64(FSAPI* PELEMENT_STRING_UPDATE_CALLBACK)(ELEMENT_STRING* element);
typedef FLOAT64(FSAPI* PELEMENT_ICON_UPDATE_CALLBACK)(ELEMENT_ICON* element);
typedef FLOAT64(FSAPI* PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK)(ELEMENT_MOVING_IMAGE* element);

constexpr std::size_t FONT_FACE_SIZE = 32;

struct ELEMENT_STRING : ELEMENT_HEADER {
  PIXPOINT box_size;
  COLORREF_HOST fg_color;
  COLORREF_HOST bg_color;
  COLORREF_HOST hilite_color;
  char font_face[FONT_FACE_SIZE];
  SINT32 font_weight;
  UINT32 font_charset;
  SINT32 font_size;
  UINT32 draw_text_flags;
  PELEMENT_STRING_UPDATE_CALLBACK update_cb;
  ID source_var[3];
  void* highlight_list;
  SINT32 char_count;
  // The text buffer and its size in bytes, both provided by the host.
  char* string;
  UINT32 string_size;
};

struct ELEMENT_ICON : ELEMENT_HEADER {
  SINT32 num_icons;
  PELEMENT_ICON_UPDATE_CALLBACK update_cb;
  ID source_var;
  SINT32 switch_type;
  FLOAT64 scale;
  SINT32 offset;
};

struct ELEMENT_MOVING_IMAGE : ELEMENT_HEADER {
  FLOAT64 min_x;
  FLOAT64 max_x;
  PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK update_x_cb;
  FLOAT64 min_y;
  FLOAT64 max_y;
  PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK update_y_cb;
};

// ---- Mouse tables -----------------------------------------------------------------------------

enum MOUSE_RECT_TYPE : UINT32 {
  MOUSE_RECT_EOL = 0,
  MOUSE_RECT_PARENT = 1,
  MOUSE_RECT_CHILD = 2,
  MOUSE_RECT_END_PARENT = 3,
  MOUSE_RECT_USER = 4,
};

enum CURSOR_TYPE : SINT32 {
  CURSOR_NONE = -1,
  CURSOR_UPARROW = 1,
  CURSOR_DOWNARROW = 2,
  CURSOR_HAND = 5,
};

constexpr FLAGS MOUSE_LEFTSINGLE = 0x20000000;
constexpr FLAGS MOUSE_LEFTRELEASE = 0x00020000;
constexpr FLAGS MOUSE_DOWN_REPEAT = 0x00200000;
constexpr FLAGS MOUSE_WHEEL_UP = 0x00004000;
constexpr FLAGS MOUSE_WHEEL_DOWN = 0x00002000;

typedef SINT32(FSAPI* PMOUSE_FUNCTION)(PIXPOINT* relativePoint, FLAGS mouseFlags);

// A child entry's slot holds its handler; a user entry's slot holds its region's tooltip text.
union MOUSE_HANDLER_SLOT {
  constexpr MOUSE_HANDLER_SLOT(std::nullptr_t) : function(nullptr) {}
  constexpr MOUSE_HANDLER_SLOT(PMOUSE_FUNCTION handler) : function(handler) {}
  constexpr MOUSE_HANDLER_SLOT(const char* text) : tooltip(text) {}
  PMOUSE_FUNCTION function;
  const char* tooltip;
};

struct MOUSERECT {
  MOUSE_RECT_TYPE rect_type;
  PIXBOX relative_box;
  CURSOR_TYPE cursor;
  ID help_id;
  FLAGS mouse_flags;
  ID event_id;
  MOUSE_HANDLER_SLOT handler;
  void* api_data;
};

// ---- Gauge headers and the module linkage -----------------------------------------------------

typedef void(FSAPI* PGAUGE_CALLBACK)(GAUGEHDR* gauge, SINT32 serviceId, UINT32 extraData);
typedef void(FSAPI* QUERY_ROUTINE)();
typedef void(FSAPI* INSTALL_ROUTINE)(void* resourceHandle);
typedef void(FSAPI* INITIALIZE_ROUTINE)();
typedef void(FSAPI* UPDATE_ROUTINE)();
typedef void(FSAPI* GENERATE_ROUTINE)(UINT32 phase);
typedef void(FSAPI* DRAW_ROUTINE)();
typedef void(FSAPI* KILL_ROUTINE)();

constexpr UINT32 GAUGE_HEADER_VERSION_FS800 = 0x320;

struct GAUGEHDR {
  UINT32 gauge_header_version;
  const char* gauge_name;
  ELEMENT_HEADER** elements_list;
  QUERY_ROUTINE query_routine;
  INSTALL_ROUTINE install_routine;
  INITIALIZE_ROUTINE initialize_routine;
  UPDATE_ROUTINE update_routine;
  GENERATE_ROUTINE generate_routine;
  DRAW_ROUTINE draw_routine;
  KILL_ROUTINE kill_routine;
  void* reserved1;
  UINT32 size_x_mm;
  UINT32 size_y_mm;
  FLOAT64 x_adjust;
  FLOAT64 y_adjust;
  void* parent;
  PIXPOINT position;
  void* reserved2;
  void* reserved3;
  MOUSERECT* mouse_rect;
  PGAUGE_CALLBACK gauge_callback;
  UINT32 user_data;
  char* parameters;
  void* user_variable;
  FLAGS flags;
};

typedef void(FSAPI* MODULE_INIT)();
typedef void(FSAPI* MODULE_DEINIT)();

constexpr std::size_t LINKAGE_GAUGE_SLOTS = 4;  // three gauges and the null end

struct GAUGESLINKAGE {
  ID ModuleID;
  MODULE_INIT ModuleInit;
  MODULE_DEINIT ModuleDeinit;
  FLAGS ModuleInfo;
  FLAGS ModuleStatus;
  UINT32 ModuleVersion;
  GAUGEHDR* gauge_header_ptr[LINKAGE_GAUGE_SLOTS];
};
