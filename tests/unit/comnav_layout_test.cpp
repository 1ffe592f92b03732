#include "gauges/comnav/comnav_layout.h"

#include <gmock/gmock.h>

#include <string>

#include "gauges/comnav/comnav_state.h"

namespace {

const MOUSERECT* table() { return comNavGaugeHeader.mouse_rect; }
ELEMENT_HEADER* root() { return *comNavGaugeHeader.elements_list; }
ELEMENT_HEADER* childElement(int i) { return root()->next_element[i]; }

TEST(ComNavLayoutTest, HeaderNamesTheGaugeItsCallbackAndItsTable) {
  EXPECT_STREQ(comNavGaugeHeader.gauge_name, "Com1Nav1");
  EXPECT_EQ(comNavGaugeHeader.gauge_callback, comNavGaugeCallback);
  EXPECT_EQ(comNavGaugeHeader.size_x_mm, 417u);
  EXPECT_EQ(comNavGaugeHeader.size_y_mm, 0u);
}

TEST(ComNavLayoutTest, RootIsTheFaceplateWithSixChildren) {
  ELEMENT_HEADER* face = root();
  EXPECT_EQ(face->element_type, ELEMENT_TYPE_STATIC_IMAGE);
  EXPECT_EQ(face->resource_id, 4096u);
  EXPECT_EQ(face->position.x, 0);
  EXPECT_EQ(face->position.y, 0);
  EXPECT_EQ(face->image_flags, 0x1u);
  EXPECT_EQ(face->failure_systems, nullptr);
  ASSERT_NE(face->next_element, nullptr);
  for (int i = 0; i < 6; ++i) ASSERT_NE(childElement(i), nullptr) << i;
  EXPECT_EQ(childElement(6), nullptr);
}

TEST(ComNavLayoutTest, FourAlikeDisplaysShareOneFailureList) {
  const struct {
    SINT32 x;
    PELEMENT_STRING_UPDATE_CALLBACK callback;
  } displays[] = {
      {10, comActiveText}, {112, comStandbyText}, {222, navActiveText}, {324, navStandbyText}};
  const FAILURE_RECORD* shared = childElement(0)->failure_systems;
  ASSERT_NE(shared, nullptr);
  const UINT32 expectedFailures[][3] = {{14, 3, 0}, {20, 3, 0}, {21, 3, 0}, {0, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(shared[i].failure_key, expectedFailures[i][0]);
    EXPECT_EQ(shared[i].action, expectedFailures[i][1]);
    EXPECT_EQ(shared[i].reserved, expectedFailures[i][2]);
  }
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    auto* text = static_cast<ELEMENT_STRING*>(childElement(i));
    ASSERT_EQ(text->element_type, ELEMENT_TYPE_STRING);
    EXPECT_EQ(text->resource_id, static_cast<ID>(-1));
    EXPECT_EQ(text->position.x, displays[i].x);
    EXPECT_EQ(text->position.y, 32);
    EXPECT_EQ(text->image_flags, 0x7u);
    EXPECT_EQ(text->failure_systems, shared);
    EXPECT_EQ(text->gauge_header, &comNavGaugeHeader);
    EXPECT_EQ(text->box_size.x, 78);
    EXPECT_EQ(text->box_size.y, 26);
    EXPECT_EQ(text->fg_color, 0x003D3FC3u);
    EXPECT_EQ(text->bg_color, 0x00000000u);
    EXPECT_EQ(text->hilite_color, 0x005C5C5Cu);
    EXPECT_STREQ(text->font_face, "Quartz");
    EXPECT_EQ(text->font_weight, 400);
    EXPECT_EQ(text->font_charset, 1u);
    EXPECT_EQ(text->font_size, 37);
    EXPECT_EQ(text->draw_text_flags, 6u);
    EXPECT_EQ(text->update_cb, displays[i].callback);
    EXPECT_EQ(text->char_count, 0);
  }
}

TEST(ComNavLayoutTest, TwoKnobIconsOfTwoFrames) {
  const struct {
    ID bitmap;
    SINT32 x, y;
    PELEMENT_ICON_UPDATE_CALLBACK callback;
  } icons[] = {{4352, 46, 121, powerSwitchIcon}, {4608, 231, 120, navIdentIcon}};
  for (int i = 0; i < 2; ++i) {
    auto* icon = static_cast<ELEMENT_ICON*>(childElement(4 + i));
    ASSERT_EQ(icon->element_type, ELEMENT_TYPE_ICON);
    EXPECT_EQ(icon->resource_id, icons[i].bitmap);
    EXPECT_EQ(icon->position.x, icons[i].x);
    EXPECT_EQ(icon->position.y, icons[i].y);
    EXPECT_EQ(icon->image_flags, 0u);
    EXPECT_EQ(icon->failure_systems, nullptr);
    EXPECT_EQ(icon->num_icons, 2);
    EXPECT_EQ(icon->update_cb, icons[i].callback);
    EXPECT_EQ(icon->source_var, 0u);
    EXPECT_EQ(icon->switch_type, 0);
  }
}

TEST(ComNavLayoutTest, MouseTableHasThirtyThreeEntriesAsDrawn) {
  constexpr FLAGS kClick = 0x20000000;
  constexpr FLAGS kKnob = 0x20206000;
  const struct {
    MOUSE_RECT_TYPE kind;
    PIXBOX box;
    CURSOR_TYPE cursor;
    FLAGS flags;
    PMOUSE_FUNCTION handler;
    const char* tooltip;
  } expected[] = {
      // clang-format off
      {MOUSE_RECT_PARENT,     {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_PARENT,     { 64,  87, 58, 60}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "COM/NAV on/off"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      { 64,  87, 58, 60}, CURSOR_HAND,      kClick, powerSwitchClick, nullptr},
      {MOUSE_RECT_PARENT,     {148,  80, 56, 53}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "COM Frequency Select"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      {176,  89, 15, 35}, CURSOR_UPARROW,   kKnob,  comKnobUp25,      nullptr},
      {MOUSE_RECT_CHILD,      {192,  80, 12, 53}, CURSOR_UPARROW,   kKnob,  comKnobUp1000,    nullptr},
      {MOUSE_RECT_CHILD,      {160,  89, 15, 35}, CURSOR_DOWNARROW, kKnob,  comKnobDown25,    nullptr},
      {MOUSE_RECT_CHILD,      {148,  80, 12, 53}, CURSOR_DOWNARROW, kKnob,  comKnobDown1000,  nullptr},
      {MOUSE_RECT_PARENT,     {107,  77, 27, 26}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "COM Frequency swap"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      {107,  77, 27, 26}, CURSOR_HAND,      kClick, comSwapClick,     nullptr},
      {MOUSE_RECT_PARENT,     {239, 125, 22, 21}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "NAV ident"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      {239, 125, 22, 21}, CURSOR_HAND,      kClick, navIdentClick,    nullptr},
      {MOUSE_RECT_PARENT,     {300,  61, 75, 67}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "NAV Frequency Select"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      {350,  91, 15, 35}, CURSOR_UPARROW,   kKnob,  navKnobUp25,      nullptr},
      {MOUSE_RECT_CHILD,      {366,  82, 12, 53}, CURSOR_UPARROW,   kKnob,  navKnobUp1000,    nullptr},
      {MOUSE_RECT_CHILD,      {334,  91, 15, 35}, CURSOR_DOWNARROW, kKnob,  navKnobDown25,    nullptr},
      {MOUSE_RECT_CHILD,      {322,  91, 12, 53}, CURSOR_DOWNARROW, kKnob,  navKnobDown1000,  nullptr},
      {MOUSE_RECT_PARENT,     {281,  78, 27, 26}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_USER,       {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          "NAV Frequency swap"},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_CHILD,      {281,  78, 27, 26}, CURSOR_HAND,      kClick, navSwapClick,     nullptr},
      {MOUSE_RECT_END_PARENT, {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      {MOUSE_RECT_EOL,        {  0,   0,  0,  0}, CURSOR_NONE,      0,      nullptr,          nullptr},
      // clang-format on
  };
  static_assert(sizeof expected / sizeof expected[0] == 33);
  for (int i = 0; i < 33; ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    const MOUSERECT& got = table()[i];
    const auto& want = expected[i];
    EXPECT_EQ(got.rect_type, want.kind);
    EXPECT_EQ(got.relative_box.x, want.box.x);
    EXPECT_EQ(got.relative_box.y, want.box.y);
    EXPECT_EQ(got.relative_box.size_x, want.box.size_x);
    EXPECT_EQ(got.relative_box.size_y, want.box.size_y);
    EXPECT_EQ(got.cursor, want.cursor);
    EXPECT_EQ(got.help_id, 0u);
    EXPECT_EQ(got.mouse_flags, want.flags);
    EXPECT_EQ(got.event_id, 0u);
    EXPECT_EQ(got.api_data, nullptr);
    if (want.tooltip) {
      EXPECT_STREQ(got.handler.tooltip, want.tooltip);
    } else {
      EXPECT_EQ(got.handler.function, want.handler);
    }
  }
}

}  // namespace
