#include "abi/host_layouts.h"

#include <stdexcept>

namespace panelhost::hostabi {

namespace {

using K = FieldKind;

// The common start of every element record.
const std::vector<FieldSpec> kElementHeader = {
    {"element_type", K::U32},
    {"resource_id", K::U32},
    {"position", K::Point},
    {"previous_position", K::Point},
    {"ofs", K::Point},
    {"gauge_header", K::Pointer},
    {"previous_element", K::Pointer},
    {"next_element", K::Pointer},
    {"failure_systems", K::Pointer},
    {"image_flags", K::U32},
    {"aircraft_special_instrumentation", K::U32},
    {"reserved", K::U32},
};

// The module linkage header; PANELS opens with the same six words.
const std::vector<FieldSpec> kLinkageHeader = {
    {"module_id", K::U32},    {"module_init", K::Pointer}, {"module_deinit", K::Pointer},
    {"module_flags", K::U32}, {"module_priority", K::U32}, {"module_version", K::U32},
};

std::vector<FieldSpec> element(std::vector<FieldSpec> own) {
  std::vector<FieldSpec> fields = kElementHeader;
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

}  // namespace

// clang-format off
HostLayouts::HostLayouts(int width)
    : pointerSize(width),
      moduleVar("MODULE_VAR", {
          {"id",                 K::U32},
          {"var_ptr",            K::Pointer},
          {"var_type",           K::U32},
          {"var_value",          K::F64},
          {"var_old",            K::F64},
      }, width),
      panelsHeader("PANELS", kLinkageHeader, width),
      importTable("GAUGESIMPORT", {
          {"panels_id",          K::U32},
          {"panels",             K::Pointer},
          {"end_id",             K::U32},
          {"end",                K::Pointer},
      }, width),
      linkage("GAUGESLINKAGE", kLinkageHeader, width),
      gaugeHeader("GAUGEHDR", {
          {"gauge_header_version", K::U32},
          {"gauge_name",         K::Pointer},
          {"elements_list",      K::Pointer},
          {"query_routine",      K::Pointer},
          {"install_routine",    K::Pointer},
          {"initialize_routine", K::Pointer},
          {"update_routine",     K::Pointer},
          {"generate_routine",   K::Pointer},
          {"draw_routine",       K::Pointer},
          {"kill_routine",       K::Pointer},
          {"reserved1",          K::Pointer},
          {"size_x_mm",          K::U32},
          {"size_y_mm",          K::U32},
          {"x_adjust",           K::F32},
          {"y_adjust",           K::F32},
          {"reserved2",          K::Pointer},
          {"reserved3",          K::Pointer},
          {"position",           K::Point},
          {"reserved4",          K::Pointer},
          {"mouse_rect",         K::Pointer},
          {"gauge_callback",     K::Pointer},
          {"user_data",          K::U32},
          {"parameters",         K::Pointer},
          {"usage",              K::Pointer},
          {"reserved5",          K::S32},
          {"reserved6",          K::Pointer},
          {"size",               K::Point},
          {"user_area",          K::F64, 10},
          {"flags",              K::U32},
          {"reserved7",          K::Pointer},
      }, width),
      elementHeader("ELEMENT_HEADER", kElementHeader, width),
      failureRecord("FAILURE_RECORD", {
          {"key",                K::U32},
          {"action",             K::U32},
          {"reserved",           K::Pointer},
      }, width),
      staticImage("ELEMENT_STATIC_IMAGE", element({
          {"image_data",         K::Pointer, 4},
          {"save_buffer",        K::Pointer},
          {"hdc",                K::Pointer},
          {"hbitmap",            K::Pointer},
          {"reserved1",          K::Pointer},
          {"reserved2",          K::Pointer},
      }), width),
      string("ELEMENT_STRING", element({
          {"source_var",         K::ModuleVar, 3},
          {"save_var",           K::F64, 3},
          {"source_var_cb",      K::Pointer, 3},
          {"source_fn",          K::Pointer},
          {"string",             K::Pointer},
          {"string_old",         K::Pointer},
          {"img_size",           K::Point},
          {"string_data",        K::Pointer},
          {"save_buffer",        K::Pointer},
          {"fg_color",           K::U32},
          {"bg_color",           K::U32},
          {"hilite_color",       K::U32},
          {"hdc",                K::Pointer},
          {"hfont",              K::Pointer},
          {"reserved1",          K::Pointer},
          {"hbitmap",            K::Pointer},
          {"reserved2",          K::Pointer},
          {"hbrush",             K::Pointer},
          {"reserved3",          K::Pointer},
          {"font_name",          K::Char, 32},
          {"font_weight",        K::S32},
          {"font_charset",       K::U8},
          {"draw_text_flags",    K::U32},
          {"max_string_length",  K::U16},
          {"char_width",         K::U16},
          {"sel_str",            K::S16},
          {"sel_end",            K::S16},
          {"seq",                K::Pointer},
          {"save_global_seq",    K::S32},
          {"char_height",        K::S32},
          {"update_cb",          K::Pointer},
          {"use_user_color",     K::U32},
          {"user_color",         K::U32},
      }), width),
      icon("ELEMENT_ICON", element({
          {"source_var",         K::ModuleVar},
          {"source_var_cb",      K::Pointer},
          {"switch_type",        K::S32},
          {"switch_count",       K::S32},
          {"scale",              K::F64},
          {"offset",             K::S32},
          {"num_icons",          K::S32},
          {"cur_icon",           K::S32},
          {"dst_icon",           K::S32},
          {"icon_data",          K::Pointer},
          {"save_buffer",        K::Pointer},
          {"update_cb",          K::Pointer},
          {"reserved1",          K::U32},
      }), width),
      movingImage("ELEMENT_MOVING_IMAGE", element({
          {"source_var_x",       K::ModuleVar},
          {"source_var_x_cb",    K::Pointer},
          {"min_x",              K::F64},
          {"max_x",              K::F64},
          {"lag_x",              K::Pointer},
          {"source_var_y",       K::ModuleVar},
          {"source_var_y_cb",    K::Pointer},
          {"min_y",              K::F64},
          {"max_y",              K::F64},
          {"lag_y",              K::Pointer},
          {"scale_x",            K::F64},
          {"scale_y",            K::F64},
          {"offset_x",           K::F64},
          {"offset_y",           K::F64},
          {"save_position",      K::Point},
          {"image_data",         K::Pointer, 4},
          {"local_mask_data",    K::Pointer, 4},
          {"mask_data",          K::Pointer},
          {"save_buffer",        K::Pointer},
          {"update_x_cb",        K::Pointer},
          {"update_y_cb",        K::Pointer},
          {"previous_x",         K::F64},
          {"previous_y",         K::F64},
      }), width),
      mouseRect("MOUSERECT", {
          {"rect_type",          K::U32},
          {"relative_box",       K::Box},
          {"cursor",             K::S32},
          {"help_id",            K::U32},
          {"mouse_flags",        K::U32},
          {"event_id",           K::U32},
          {"mouse_function",     K::Pointer},
          {"api_data",           K::Pointer},
      }, width),
      moduleVarFields{moduleVar.field("id"), moduleVar.field("var_ptr"),
                      moduleVar.field("var_type"), moduleVar.field("var_value"),
                      moduleVar.field("var_old")} {}
// clang-format on

std::uint32_t HostLayouts::panelsSize() const { return panelsSlotOffset(kPanelsSlots); }

std::uint32_t HostLayouts::panelsSlotOffset(int slot) const {
  if (slot < kPanelsHeaderWords) {
    return panelsHeader.fields()[static_cast<std::size_t>(slot)].offset;
  }
  return panelsHeader.size() +
         static_cast<std::uint32_t>((slot - kPanelsHeaderWords) * pointerSize);
}

const HostLayouts& HostLayouts::forPointerSize(int pointerSize) {
  static const HostLayouts bits32(4);
  static const HostLayouts bits64(8);
  if (pointerSize == 4) return bits32;
  if (pointerSize == 8) return bits64;
  throw std::logic_error("no host layout for " + std::to_string(pointerSize) + "-byte pointers");
}

}  // namespace panelhost::hostabi
