// The byte layout of every record the host reads, pinned at compile time. The 32-bit offsets are
// the simulator's published ones. The 64-bit builds have no real host; their offsets are pinned
// too, so that the panel host's own description of them cannot drift from ours unnoticed.
#include <cstddef>

#include "host/interface/gauge_records.h"

namespace {

template <std::size_t Bits32, std::size_t Bits64>
constexpr std::size_t kLayout = sizeof(void*) == 4 ? Bits32 : Bits64;

#define PINNED(record, field, bits32, bits64) \
  static_assert(offsetof(record, field) == kLayout<bits32, bits64>, #record "::" #field)
#define PINNED_SIZE(record, bits32, bits64) \
  static_assert(sizeof(record) == kLayout<bits32, bits64>, "sizeof(" #record ")")

// clang-format off
//                                                      i686  64-bit
PINNED_SIZE(MODULE_VAR,                                     28,   32);
PINNED(MODULE_VAR, id,                                       0,    0);
PINNED(MODULE_VAR, var_ptr,                                  4,    4);
PINNED(MODULE_VAR, var_type,                                 8,   12);
PINNED(MODULE_VAR, var_value,                               12,   16);
PINNED(MODULE_VAR, var_old,                                 20,   24);

PINNED_SIZE(PANELS,                                        344,  672);
PINNED(PANELS, ModuleVersion,                               20,   28);
PINNED(PANELS, element_list_query,                          96,  176);
PINNED(PANELS, element_list_install,                       100,  184);
PINNED(PANELS, element_list_initialize,                    104,  192);
PINNED(PANELS, element_list_update,                        108,  200);
PINNED(PANELS, element_list_generate,                      112,  208);
PINNED(PANELS, element_list_plot,                          116,  216);
PINNED(PANELS, element_list_erase,                         120,  224);
PINNED(PANELS, element_list_kill,                          124,  232);
PINNED(PANELS, trigger_key_event,                          144,  272);
PINNED(PANELS, lookup_var,                                 160,  304);
PINNED(PANELS, execute_calculator_code,                    276,  536);

PINNED_SIZE(GAUGESIMPORT,                                   16,   24);
PINNED(GAUGESIMPORT, PANELSentry.fnptr,                      4,    4);
PINNED(GAUGESIMPORT, nullentry.fnID,                         8,   12);
PINNED(GAUGESIMPORT, nullentry.fnptr,                       12,   16);

PINNED(GAUGESLINKAGE, ModuleInit,                            4,    4);
PINNED(GAUGESLINKAGE, ModuleDeinit,                          8,   12);
PINNED(GAUGESLINKAGE, ModuleInfo,                           12,   20);
PINNED(GAUGESLINKAGE, ModuleStatus,                         16,   24);
PINNED(GAUGESLINKAGE, ModuleVersion,                        20,   28);
PINNED(GAUGESLINKAGE, gauge_header_ptr,                     24,   32);

PINNED_SIZE(GAUGEHDR,                                      204,  280);
PINNED(GAUGEHDR, gauge_name,                                 4,    4);
PINNED(GAUGEHDR, elements_list,                              8,   12);
PINNED(GAUGEHDR, query_routine,                             12,   20);
PINNED(GAUGEHDR, install_routine,                           16,   28);
PINNED(GAUGEHDR, initialize_routine,                        20,   36);
PINNED(GAUGEHDR, update_routine,                            24,   44);
PINNED(GAUGEHDR, generate_routine,                          28,   52);
PINNED(GAUGEHDR, draw_routine,                              32,   60);
PINNED(GAUGEHDR, kill_routine,                              36,   68);
PINNED(GAUGEHDR, reserved1,                                 40,   76);
PINNED(GAUGEHDR, size_x_mm,                                 44,   84);
PINNED(GAUGEHDR, size_y_mm,                                 48,   88);
PINNED(GAUGEHDR, x_adjust,                                  52,   92);
PINNED(GAUGEHDR, y_adjust,                                  56,   96);
PINNED(GAUGEHDR, reserved2,                                 60,  100);
PINNED(GAUGEHDR, reserved3,                                 64,  108);
PINNED(GAUGEHDR, position,                                  68,  116);
PINNED(GAUGEHDR, reserved4,                                 76,  124);
PINNED(GAUGEHDR, mouse_rect,                                80,  132);
PINNED(GAUGEHDR, gauge_callback,                            84,  140);
PINNED(GAUGEHDR, user_data,                                 88,  148);
PINNED(GAUGEHDR, parameters,                                92,  152);
PINNED(GAUGEHDR, usage,                                     96,  160);
PINNED(GAUGEHDR, reserved5,                                100,  168);
PINNED(GAUGEHDR, reserved6,                                104,  172);
PINNED(GAUGEHDR, size,                                     108,  180);
PINNED(GAUGEHDR, user_area,                                116,  188);
PINNED(GAUGEHDR, flags,                                    196,  268);
PINNED(GAUGEHDR, reserved7,                                200,  272);

PINNED_SIZE(ELEMENT_HEADER,                                 60,   76);
PINNED(ELEMENT_HEADER, resource_id,                          4,    4);
PINNED(ELEMENT_HEADER, position,                             8,    8);
PINNED(ELEMENT_HEADER, previous_position,                   16,   16);
PINNED(ELEMENT_HEADER, ofs,                                 24,   24);
PINNED(ELEMENT_HEADER, gauge_header,                        32,   32);
PINNED(ELEMENT_HEADER, previous_element,                    36,   40);
PINNED(ELEMENT_HEADER, next_element,                        40,   48);
PINNED(ELEMENT_HEADER, failure_systems,                     44,   56);
PINNED(ELEMENT_HEADER, image_flags,                         48,   64);
PINNED(ELEMENT_HEADER, aircraft_special_instrumentation,    52,   68);
PINNED(ELEMENT_HEADER, reserved,                            56,   72);

PINNED_SIZE(FAILURE_RECORD,                                 12,   16);
PINNED(FAILURE_RECORD, action,                               4,    4);
PINNED(FAILURE_RECORD, reserved,                             8,    8);

PINNED_SIZE(ELEMENT_STATIC_IMAGE,                           96,  148);
PINNED(ELEMENT_STATIC_IMAGE, image_data,                    60,   76);
PINNED(ELEMENT_STATIC_IMAGE, save_buffer,                   76,  108);
PINNED(ELEMENT_STATIC_IMAGE, hdc,                           80,  116);
PINNED(ELEMENT_STATIC_IMAGE, hbitmap,                       84,  124);
PINNED(ELEMENT_STATIC_IMAGE, reserved1,                     88,  132);
PINNED(ELEMENT_STATIC_IMAGE, reserved2,                     92,  140);

PINNED_SIZE(ELEMENT_STRING,                                324,  420);
PINNED(ELEMENT_STRING, source_var,                          60,   76);
PINNED(ELEMENT_STRING, save_var,                           144,  172);
PINNED(ELEMENT_STRING, source_var_cb,                      168,  196);
PINNED(ELEMENT_STRING, source_fn,                          180,  220);
PINNED(ELEMENT_STRING, string,                             184,  228);
PINNED(ELEMENT_STRING, string_old,                         188,  236);
PINNED(ELEMENT_STRING, img_size,                           192,  244);
PINNED(ELEMENT_STRING, string_data,                        200,  252);
PINNED(ELEMENT_STRING, save_buffer,                        204,  260);
PINNED(ELEMENT_STRING, fg_color,                           208,  268);
PINNED(ELEMENT_STRING, bg_color,                           212,  272);
PINNED(ELEMENT_STRING, hilite_color,                       216,  276);
PINNED(ELEMENT_STRING, hdc,                                220,  280);
PINNED(ELEMENT_STRING, reserved3,                          244,  328);
PINNED(ELEMENT_STRING, font_name,                          248,  336);
PINNED(ELEMENT_STRING, font_weight,                        280,  368);
PINNED(ELEMENT_STRING, font_charset,                       284,  372);
PINNED(ELEMENT_STRING, draw_text_flags,                    288,  376);
PINNED(ELEMENT_STRING, max_string_length,                  292,  380);
PINNED(ELEMENT_STRING, char_width,                         294,  382);
PINNED(ELEMENT_STRING, sel_str,                            296,  384);
PINNED(ELEMENT_STRING, sel_end,                            298,  386);
PINNED(ELEMENT_STRING, seq,                                300,  388);
PINNED(ELEMENT_STRING, save_global_seq,                    304,  396);
PINNED(ELEMENT_STRING, char_height,                        308,  400);
PINNED(ELEMENT_STRING, update_cb,                          312,  404);
PINNED(ELEMENT_STRING, use_user_color,                     316,  412);
PINNED(ELEMENT_STRING, user_color,                         320,  416);

PINNED_SIZE(ELEMENT_ICON,                                  140,  176);
PINNED(ELEMENT_ICON, source_var,                            60,   76);
PINNED(ELEMENT_ICON, source_var_cb,                         88,  108);
PINNED(ELEMENT_ICON, switch_type,                           92,  116);
PINNED(ELEMENT_ICON, switch_count,                          96,  120);
PINNED(ELEMENT_ICON, scale,                                100,  124);
PINNED(ELEMENT_ICON, offset,                               108,  132);
PINNED(ELEMENT_ICON, num_icons,                            112,  136);
PINNED(ELEMENT_ICON, cur_icon,                             116,  140);
PINNED(ELEMENT_ICON, dst_icon,                             120,  144);
PINNED(ELEMENT_ICON, icon_data,                            124,  148);
PINNED(ELEMENT_ICON, save_buffer,                          128,  156);
PINNED(ELEMENT_ICON, update_cb,                            132,  164);
PINNED(ELEMENT_ICON, reserved1,                            136,  172);

PINNED_SIZE(ELEMENT_MOVING_IMAGE,                          268,  356);
PINNED(ELEMENT_MOVING_IMAGE, source_var_x,                  60,   76);
PINNED(ELEMENT_MOVING_IMAGE, source_var_x_cb,               88,  108);
PINNED(ELEMENT_MOVING_IMAGE, min_x,                         92,  116);
PINNED(ELEMENT_MOVING_IMAGE, max_x,                        100,  124);
PINNED(ELEMENT_MOVING_IMAGE, lag_x,                        108,  132);
PINNED(ELEMENT_MOVING_IMAGE, source_var_y,                 112,  140);
PINNED(ELEMENT_MOVING_IMAGE, source_var_y_cb,              140,  172);
PINNED(ELEMENT_MOVING_IMAGE, min_y,                        144,  180);
PINNED(ELEMENT_MOVING_IMAGE, max_y,                        152,  188);
PINNED(ELEMENT_MOVING_IMAGE, lag_y,                        160,  196);
PINNED(ELEMENT_MOVING_IMAGE, scale_x,                      164,  204);
PINNED(ELEMENT_MOVING_IMAGE, scale_y,                      172,  212);
PINNED(ELEMENT_MOVING_IMAGE, offset_x,                     180,  220);
PINNED(ELEMENT_MOVING_IMAGE, offset_y,                     188,  228);
PINNED(ELEMENT_MOVING_IMAGE, save_position,                196,  236);
PINNED(ELEMENT_MOVING_IMAGE, image_data,                   204,  244);
PINNED(ELEMENT_MOVING_IMAGE, local_mask_data,              220,  276);
PINNED(ELEMENT_MOVING_IMAGE, mask_data,                    236,  308);
PINNED(ELEMENT_MOVING_IMAGE, save_buffer,                  240,  316);
PINNED(ELEMENT_MOVING_IMAGE, update_x_cb,                  244,  324);
PINNED(ELEMENT_MOVING_IMAGE, update_y_cb,                  248,  332);
PINNED(ELEMENT_MOVING_IMAGE, previous_x,                   252,  340);
PINNED(ELEMENT_MOVING_IMAGE, previous_y,                   260,  348);

PINNED_SIZE(MOUSERECT,                                      44,   52);
PINNED(MOUSERECT, relative_box,                              4,    4);
PINNED(MOUSERECT, cursor,                                   20,   20);
PINNED(MOUSERECT, help_id,                                  24,   24);
PINNED(MOUSERECT, mouse_flags,                              28,   28);
PINNED(MOUSERECT, event_id,                                 32,   32);
PINNED(MOUSERECT, mouse_function,                           36,   36);
PINNED(MOUSERECT, api_data,                                 40,   44);
// clang-format on

}  // namespace
