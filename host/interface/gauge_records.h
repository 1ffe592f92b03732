// The simulator's gauge records and its PANELS function table, as the module declares them: the
// published layout, field by field in the host's order and with the host's types and names. The
// simulator reads these bytes, so nothing here may move; record_layout_checks.cpp pins every
// offset. Our own helpers for filling them live in host/, beside this folder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/windows_port.h"

// Every function the host calls in the module, and every PANELS service, is stdcall on i686.
#if defined(_WIN32) && !defined(_WIN64)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

// The host packs its records to 4 bytes: a double or a 64-bit pointer may sit at any multiple of 4.
#pragma pack(push, 4)

typedef std::uint8_t UINT8;
typedef std::uint16_t UINT16;
typedef std::int16_t SINT16;
typedef std::int32_t SINT32;
typedef std::uint32_t UINT32;
typedef float FLOAT32;
typedef double FLOAT64;
typedef std::uint32_t ID;
typedef std::uint32_t FLAGS;
typedef std::uint32_t COLORREF_HOST;  // 0x00BBGGRR, as Windows' COLORREF
typedef int BOOL_HOST;                // the host's 4-byte BOOL
typedef char* PSTRINGZ;
typedef const char* PCSTRINGZ;
typedef void* HOST_HANDLE;  // device contexts, fonts, bitmaps, brushes: the host's own

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

// ---- Gauge callback services --------------------------------------------------------------------

enum PANEL_SERVICE : SINT32 {
  PANEL_SERVICE_PRE_QUERY = 0,
  PANEL_SERVICE_POST_QUERY = 1,
  PANEL_SERVICE_PRE_INSTALL = 2,
  PANEL_SERVICE_POST_INSTALL = 3,  // extra data: the resource handle
  PANEL_SERVICE_PRE_INITIALIZE = 4,
  PANEL_SERVICE_POST_INITIALIZE = 5,
  PANEL_SERVICE_PRE_UPDATE = 6,
  PANEL_SERVICE_POST_UPDATE = 7,
  PANEL_SERVICE_PRE_GENERATE = 8,
  PANEL_SERVICE_POST_GENERATE = 9,  // extra data: the phase
  PANEL_SERVICE_PRE_DRAW = 10,
  PANEL_SERVICE_POST_DRAW = 11,
  PANEL_SERVICE_PRE_KILL = 12,
  PANEL_SERVICE_POST_KILL = 13,
  PANEL_SERVICE_CONNECT_TO_WINDOW = 14,
  PANEL_SERVICE_DISCONNECT = 15,
  PANEL_SERVICE_PANEL_OPEN = 16,
  PANEL_SERVICE_PANEL_CLOSE = 17,
};

// ---- Module variables ---------------------------------------------------------------------------

// A double, or a 32-bit int, flags word, enum or pointer in its low bytes.
union MODULE_VAR_VALUE {
  FLOAT64 n;
  UINT32 u;
  SINT32 d;
  FLAGS f;
  void* p;
};

struct MODULE_VAR {
  ID id;
  void* var_ptr;
  UINT32 var_type;
  MODULE_VAR_VALUE var_value;
  MODULE_VAR_VALUE var_old;
};

// ---- The host's function table ------------------------------------------------------------------

typedef void(FSAPI* MODULE_INIT)();
typedef void(FSAPI* MODULE_DEINIT)();

// 86 slots. It opens with the six words of a linkage header; of the services that follow only
// those this module calls are named, each at its slot number. The unnamed ones keep the others in
// place.
struct PANELS {
  ID ModuleID;                 // slot 0
  MODULE_INIT ModuleInit;      // slot 1
  MODULE_DEINIT ModuleDeinit;  // slot 2
  FLAGS ModuleInfo;            // slot 3
  FLAGS ModuleStatus;          // slot 4
  UINT32 ModuleVersion;        // slot 5
  void* unused_slots_6_to_23[18];
  void(FSAPI* element_list_query)(ELEMENT_HEADER* element);                           // slot 24
  void(FSAPI* element_list_install)(ELEMENT_HEADER* element, void* resource_handle);  // slot 25
  void(FSAPI* element_list_initialize)(ELEMENT_HEADER* element);                      // slot 26
  void(FSAPI* element_list_update)(ELEMENT_HEADER* element);                          // slot 27
  void(FSAPI* element_list_generate)(ELEMENT_HEADER* element, UINT32 phase);          // slot 28
  void(FSAPI* element_list_plot)(ELEMENT_HEADER* element);                            // slot 29
  void(FSAPI* element_list_erase)(ELEMENT_HEADER* element);                           // slot 30
  void(FSAPI* element_list_kill)(ELEMENT_HEADER* element);                            // slot 31
  void* unused_slots_32_to_35[4];
  UINT32(FSAPI* trigger_key_event)(ID event_id, UINT32 value);  // slot 36
  void* unused_slots_37_to_39[3];
  void(FSAPI* lookup_var)(MODULE_VAR* module_var);  // slot 40
  void* unused_slots_41_to_68[28];
  BOOL_HOST(FSAPI* execute_calculator_code)
  (PCSTRINGZ code, FLOAT64* fvalue, SINT32* ivalue, PCSTRINGZ* svalue);  // slot 69
  void* unused_slots_70_to_85[16];
};

constexpr ID PANELS_IMPORT_ID = 0x0000000F;

struct GAUGESIMPORT {
  struct {
    ID fnID;
    PANELS* fnptr;  // filled by the host after loading
  } PANELSentry;
  struct {
    ID fnID;
    void* fnptr;
  } nullentry;
};

// ---- Elements -----------------------------------------------------------------------------------

enum ELEMENT_TYPE_ENUM : UINT32 {
  ELEMENT_TYPE_STATIC_IMAGE = 0,
  ELEMENT_TYPE_NEEDLE = 1,
  ELEMENT_TYPE_STRING = 2,
  ELEMENT_TYPE_SLIDER = 3,
  ELEMENT_TYPE_ICON = 4,
  ELEMENT_TYPE_MOVING_IMAGE = 5,
  ELEMENT_TYPE_SPRITE = 6,
};

constexpr FLAGS IMAGE_USE_TRANSPARENCY = 0x1;
constexpr FLAGS IMAGE_USE_ERASE = 0x2;
constexpr FLAGS IMAGE_USE_BRIGHT = 0x4;

// A key of 0 ends the list.
struct FAILURE_RECORD {
  UINT32 key;
  UINT32 action;
  void* reserved;
};

struct ELEMENT_HEADER {
  ELEMENT_TYPE_ENUM element_type;
  ID resource_id;
  PIXPOINT position;
  PIXPOINT previous_position;  // host-owned
  PIXPOINT ofs;                // host-owned
  GAUGEHDR* gauge_header;
  ELEMENT_HEADER* previous_element;  // host-owned
  ELEMENT_HEADER** next_element;     // null-terminated list of children, or null
  FAILURE_RECORD* failure_systems;
  FLAGS image_flags;
  FLAGS aircraft_special_instrumentation;
  FLAGS reserved;
};

// The host's own bitmaps of an element, filled when it loads them.
struct IMAGE_DATA {
  void* slots[4];
};

struct ELEMENT_STATIC_IMAGE {
  ELEMENT_HEADER header;
  IMAGE_DATA image_data;  // from here on host-owned
  void* save_buffer;
  HOST_HANDLE hdc;
  HOST_HANDLE hbitmap;
  void* reserved1;
  void* reserved2;
};

typedef FLOAT64(FSAPI* PMODULE_VAR_CB)(FLOAT64 value);
typedef FLOAT64(FSAPI* PELEMENT_STRING_UPDATE_CALLBACK)(ELEMENT_STRING* element);
typedef FLOAT64(FSAPI* PELEMENT_ICON_UPDATE_CALLBACK)(ELEMENT_ICON* element);
typedef FLOAT64(FSAPI* PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK)(ELEMENT_MOVING_IMAGE* element);

constexpr std::size_t FONT_NAME_SIZE = 32;

struct ELEMENT_STRING {
  ELEMENT_HEADER header;
  MODULE_VAR source_var[3];
  FLOAT64 save_var[3];  // host-owned
  PMODULE_VAR_CB source_var_cb[3];
  void* source_fn;
  PSTRINGZ string;      // the text buffer: the host points it at the element's own
  PSTRINGZ string_old;  // host-owned
  PIXPOINT img_size;    // the text box
  void* string_data;    // host-owned
  void* save_buffer;    // host-owned
  COLORREF_HOST fg_color;
  COLORREF_HOST bg_color;
  COLORREF_HOST hilite_color;
  HOST_HANDLE hdc;  // from here to font_name host-owned
  HOST_HANDLE hfont;
  void* reserved1;
  HOST_HANDLE hbitmap;
  void* reserved2;
  HOST_HANDLE hbrush;
  void* reserved3;
  char font_name[FONT_NAME_SIZE];
  SINT32 font_weight;
  UINT8 font_charset;
  UINT32 draw_text_flags;
  UINT16 max_string_length;  // the character count: the only size of the text buffer there is
  UINT16 char_width;         // host-owned
  SINT16 sel_str;
  SINT16 sel_end;
  void* seq;  // the highlight list
  SINT32 save_global_seq;
  SINT32 char_height;  // the font size
  PELEMENT_STRING_UPDATE_CALLBACK update_cb;
  BOOL_HOST use_user_color;
  COLORREF_HOST user_color;
};

struct ELEMENT_ICON {
  ELEMENT_HEADER header;
  MODULE_VAR source_var;
  PMODULE_VAR_CB source_var_cb;
  SINT32 switch_type;
  SINT32 switch_count;
  FLOAT64 scale;
  SINT32 offset;
  SINT32 num_icons;  // the frame count: bitmaps at consecutive ids from resource_id
  SINT32 cur_icon;   // host-owned
  SINT32 dst_icon;   // host-owned
  void* icon_data;   // host-owned
  void* save_buffer;
  PELEMENT_ICON_UPDATE_CALLBACK update_cb;
  ID reserved1;
};

struct ELEMENT_MOVING_IMAGE {
  ELEMENT_HEADER header;
  MODULE_VAR source_var_x;
  PMODULE_VAR_CB source_var_x_cb;
  FLOAT64 min_x;
  FLOAT64 max_x;
  void* lag_x;
  MODULE_VAR source_var_y;
  PMODULE_VAR_CB source_var_y_cb;
  FLOAT64 min_y;
  FLOAT64 max_y;
  void* lag_y;
  FLOAT64 scale_x;
  FLOAT64 scale_y;
  FLOAT64 offset_x;
  FLOAT64 offset_y;
  PIXPOINT save_position;  // from here to the callbacks host-owned
  IMAGE_DATA image_data;
  IMAGE_DATA local_mask_data;
  void* mask_data;
  void* save_buffer;
  PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK update_x_cb;
  PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK update_y_cb;
  FLOAT64 previous_x;  // host-owned
  FLOAT64 previous_y;  // host-owned
};

// ---- Mouse tables -------------------------------------------------------------------------------

enum MOUSE_RECT_TYPE : UINT32 {
  MOUSE_RECT_EOL = 0,
  MOUSE_RECT_PARENT = 1,
  MOUSE_RECT_CHILD = 2,
  MOUSE_RECT_END_PARENT = 3,
  MOUSE_RECT_USER = 4,
};

enum CURSOR_TYPE : SINT32 {
  CURSOR_NONE = -1,
  CURSOR_NORMAL = 0,
  CURSOR_UPARROW = 1,
  CURSOR_DOWNARROW = 2,
  CURSOR_LEFTARROW = 3,
  CURSOR_RIGHTARROW = 4,
  CURSOR_HAND = 5,
  CURSOR_CROSSHAIR = 6,
  CURSOR_GRAB = 7,
};

constexpr FLAGS MOUSE_RIGHTSINGLE = 0x80000000;
constexpr FLAGS MOUSE_MIDDLESINGLE = 0x40000000;
constexpr FLAGS MOUSE_LEFTSINGLE = 0x20000000;
constexpr FLAGS MOUSE_DOWN_REPEAT = 0x00200000;
constexpr FLAGS MOUSE_LEFTRELEASE = 0x00020000;
constexpr FLAGS MOUSE_WHEEL_UP = 0x00004000;
constexpr FLAGS MOUSE_WHEEL_DOWN = 0x00002000;

// The first argument points at a host record that starts with the point relative to the box.
typedef BOOL_HOST(FSAPI* PMOUSE_FUNCTION)(PIXPOINT* relative_point, FLAGS mouse_flags);

// A child entry's slot holds its handler; a user entry's holds its region's tooltip text.
union MOUSE_FUNCTION_SLOT {
  constexpr MOUSE_FUNCTION_SLOT(std::nullptr_t) : function(nullptr) {}
  constexpr MOUSE_FUNCTION_SLOT(PMOUSE_FUNCTION handler) : function(handler) {}
  constexpr MOUSE_FUNCTION_SLOT(PCSTRINGZ text) : tooltip(text) {}
  PMOUSE_FUNCTION function;
  PCSTRINGZ tooltip;
};

struct MOUSERECT {
  MOUSE_RECT_TYPE rect_type;
  PIXBOX relative_box;
  CURSOR_TYPE cursor;
  ID help_id;
  FLAGS mouse_flags;
  ID event_id;
  MOUSE_FUNCTION_SLOT mouse_function;
  void* api_data;  // host-owned
};

// ---- Gauge headers and the module linkage -------------------------------------------------------

typedef void(FSAPI* PGAUGE_CALLBACK)(GAUGEHDR* gauge, SINT32 service_id, UINT32 extra_data);
typedef void(FSAPI* QUERY_ROUTINE)();
typedef void(FSAPI* INSTALL_ROUTINE)(void* resource_file_handle);
typedef void(FSAPI* INITIALIZE_ROUTINE)();
typedef void(FSAPI* UPDATE_ROUTINE)();
typedef void(FSAPI* GENERATE_ROUTINE)(UINT32 phase);
typedef void(FSAPI* DRAW_ROUTINE)();
typedef void(FSAPI* KILL_ROUTINE)();

constexpr UINT32 GAUGE_HEADER_VERSION_FS800 = 0x320;

// The 0x320 header; later host generations read further fields after `reserved7`.
struct GAUGEHDR {
  UINT32 gauge_header_version;
  PCSTRINGZ gauge_name;
  ELEMENT_HEADER** elements_list;  // a variable holding the root element
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
  FLOAT32 x_adjust;
  FLOAT32 y_adjust;
  void* reserved2;
  void* reserved3;
  PIXPOINT position;  // host-owned
  void* reserved4;
  MOUSERECT* mouse_rect;
  PGAUGE_CALLBACK gauge_callback;
  UINT32 user_data;
  PSTRINGZ parameters;  // host-owned
  PSTRINGZ usage;
  SINT32 reserved5;
  void* reserved6;
  PIXPOINT size;  // host-owned
  FLOAT64 user_area[10];
  FLAGS flags;
  void* reserved7;
};

constexpr std::size_t LINKAGE_GAUGE_SLOTS = 4;  // three gauges and the null end

struct GAUGESLINKAGE {
  ID ModuleID;
  MODULE_INIT ModuleInit;
  MODULE_DEINIT ModuleDeinit;
  FLAGS ModuleInfo;
  FLAGS ModuleStatus;  // the host's "module priority"
  UINT32 ModuleVersion;
  GAUGEHDR* gauge_header_ptr[LINKAGE_GAUGE_SLOTS];
};

#pragma pack(pop)
