#include "gauges/adf/adf_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gauges/adf/adf_state.h"

namespace {

struct Entry {
  MOUSE_RECT_TYPE kind;
  PIXBOX box;
  CURSOR_TYPE cursor;
  FLAGS flags;
  PMOUSE_FUNCTION handler;
  const char* tooltip;
};

constexpr auto P = MOUSE_RECT_PARENT;
constexpr auto U = MOUSE_RECT_USER;
constexpr auto E = MOUSE_RECT_END_PARENT;
constexpr auto C = MOUSE_RECT_CHILD;
constexpr auto L = MOUSE_RECT_EOL;
constexpr auto NONE = CURSOR_NONE;
constexpr auto DOWN = CURSOR_DOWNARROW;
constexpr auto UP = CURSOR_UPARROW;
constexpr auto HAND = CURSOR_HAND;
constexpr FLAGS KNOB = 0x20206000;
constexpr FLAGS CLICK = 0x20000000;

// clang-format off
const Entry kExpectedMouseTable[] = {
    {P, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {P, { 24,  24,  44, 42}, NONE, 0,     nullptr,         nullptr},
    {U, {  0,   0,   0,  0}, NONE, 0,     nullptr,         "ADF Mode"},
    {E, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {C, { 24,  24,  22, 42}, DOWN, CLICK, adfModeDown,     nullptr},
    {C, { 47,  24,  22, 42}, UP,   CLICK, adfModeUp,       nullptr},
    {P, { 27, 112,  36, 37}, NONE, 0,     nullptr,         nullptr},
    {U, {  0,   0,   0,  0}, NONE, 0,     nullptr,         "ADF Ident"},
    {E, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {C, { 27, 112,  36, 37}, HAND, CLICK, adfIdentToggle,  nullptr},
    {P, {102,  50, 197, 87}, NONE, 0,     nullptr,         nullptr},
    {U, {  0,   0,   0,  0}, NONE, 0,     nullptr,         "ADF Frequency select"},
    {E, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {C, {102,  50,  23, 87}, DOWN, KNOB,  adfHundredsDown, nullptr},
    {C, {174,  50,  23, 87}, UP,   KNOB,  adfHundredsUp,   nullptr},
    {C, {126,  67,  23, 53}, DOWN, KNOB,  adfTensDown,     nullptr},
    {C, {150,  67,  23, 53}, UP,   KNOB,  adfTensUp,       nullptr},
    {P, {299,  50, 197, 87}, NONE, 0,     nullptr,         nullptr},
    {U, {  0,   0,   0,  0}, NONE, 0,     nullptr,         "ADF Frequency select"},
    {E, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {C, {299,  50,  23, 87}, DOWN, KNOB,  adfUnitsDown,    nullptr},
    {C, {370,  50,  23, 87}, UP,   KNOB,  adfUnitsUp,      nullptr},
    {C, {323,  67,  23, 53}, DOWN, KNOB,  adfTenthsDown,   nullptr},
    {C, {346,  67,  23, 53}, UP,   KNOB,  adfTenthsUp,     nullptr},
    {E, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
    {L, {  0,   0,   0,  0}, NONE, 0,     nullptr,         nullptr},
};
// clang-format on

TEST(AdfLayoutTest, TheMouseTableStandsEntryForEntryAsDrawnUp) {
  const MOUSERECT* table = adfGaugeHeader.mouse_rect;
  const std::size_t count = sizeof kExpectedMouseTable / sizeof kExpectedMouseTable[0];
  ASSERT_EQ(count, 26u);
  for (std::size_t i = 0; i < count; ++i) {
    SCOPED_TRACE("mouse entry " + std::to_string(i));
    const Entry& want = kExpectedMouseTable[i];
    const MOUSERECT& got = table[i];
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
    if (want.kind == MOUSE_RECT_USER) {
      EXPECT_STREQ(got.handler.tooltip, want.tooltip);
    } else {
      EXPECT_EQ(got.handler.function, want.handler);
    }
  }
}

TEST(AdfLayoutTest, TheHeaderNamesTheGaugeAndItsCallback) {
  EXPECT_STREQ(adfGaugeHeader.gauge_name, "ADF");
  EXPECT_EQ(adfGaugeHeader.gauge_callback, adfGaugeCallback);
  EXPECT_EQ(adfGaugeHeader.gauge_header_version, 0x320u);
  EXPECT_EQ(adfGaugeHeader.size_x_mm, 417u);
}

struct ExpectedElement {
  ELEMENT_TYPE_ENUM kind;
  ID bitmap;
  SINT32 x, y;
  FLAGS imageFlags;
};

TEST(AdfLayoutTest, TheBackgroundCarriesTheKnobsAndDrumsInOrder) {
  ELEMENT_HEADER* root = *adfGaugeHeader.elements_list;
  EXPECT_EQ(root->element_type, ELEMENT_TYPE_STATIC_IMAGE);
  EXPECT_EQ(root->resource_id, 12288u);
  EXPECT_EQ(root->position.x, 0);
  EXPECT_EQ(root->position.y, 0);
  EXPECT_EQ(root->image_flags, 0x1u);
  EXPECT_EQ(root->gauge_header, &adfGaugeHeader);
  EXPECT_EQ(root->failure_systems, nullptr);
  ASSERT_NE(root->next_element, nullptr);

  // clang-format off
  const ExpectedElement expected[] = {
      {ELEMENT_TYPE_ICON,         12544,   0,  0, 0x0},
      {ELEMENT_TYPE_ICON,         12800,   0, 92, 0x0},
      {ELEMENT_TYPE_MOVING_IMAGE, 13056, 193, 40, 0x3},
      {ELEMENT_TYPE_MOVING_IMAGE, 13312, 229, 40, 0x3},
      {ELEMENT_TYPE_MOVING_IMAGE, 13312, 247, 40, 0x3},
      {ELEMENT_TYPE_MOVING_IMAGE, 13312, 275, 40, 0x3},
  };
  // clang-format on
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE("child " + std::to_string(i + 1));
    const ELEMENT_HEADER* e = root->next_element[i];
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->element_type, expected[i].kind);
    EXPECT_EQ(e->resource_id, expected[i].bitmap);
    EXPECT_EQ(e->position.x, expected[i].x);
    EXPECT_EQ(e->position.y, expected[i].y);
    EXPECT_EQ(e->image_flags, expected[i].imageFlags);
    EXPECT_EQ(e->gauge_header, &adfGaugeHeader);
    EXPECT_EQ(e->failure_systems, nullptr);
    EXPECT_EQ(e->next_element, nullptr);
    EXPECT_EQ(e->aircraft_special_instrumentation, 0u);
  }
  EXPECT_EQ(root->next_element[6], nullptr);
}

TEST(AdfLayoutTest, TheIconsAskForTheirFramesFromTheKnobs) {
  ELEMENT_HEADER** children = (*adfGaugeHeader.elements_list)->next_element;
  const auto* mode = static_cast<const ELEMENT_ICON*>(children[0]);
  const auto* ident = static_cast<const ELEMENT_ICON*>(children[1]);
  EXPECT_EQ(mode->num_icons, 4);
  EXPECT_EQ(mode->update_cb, adfModeIcon);
  EXPECT_EQ(ident->num_icons, 2);
  EXPECT_EQ(ident->update_cb, adfIdentIcon);
  for (const ELEMENT_ICON* icon : {mode, ident}) {
    EXPECT_EQ(icon->source_var, 0u);
    EXPECT_EQ(icon->switch_type, 0);
    EXPECT_EQ(icon->scale, 0.0);
    EXPECT_EQ(icon->offset, 0);
  }
}

TEST(AdfLayoutTest, TheDrumsMoveOnlyVerticallyOverTheirStripsRanges) {
  ELEMENT_HEADER** children = (*adfGaugeHeader.elements_list)->next_element;
  struct Drum {
    double minY, maxY;
    PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK y;
  };
  const Drum drums[] = {{1.0, 18.0, adfHundredsStripY},
                        {0.0, 10.0, adfTensStripY},
                        {0.0, 10.0, adfUnitsStripY},
                        {0.0, 10.0, adfTenthsStripY}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("drum " + std::to_string(i));
    const auto* drum = static_cast<const ELEMENT_MOVING_IMAGE*>(children[2 + i]);
    EXPECT_EQ(drum->min_x, 0.0);
    EXPECT_EQ(drum->max_x, 0.0);
    EXPECT_EQ(drum->update_x_cb, adfStripX);
    EXPECT_EQ(drum->min_y, drums[i].minY);
    EXPECT_EQ(drum->max_y, drums[i].maxY);
    EXPECT_EQ(drum->update_y_cb, drums[i].y);
  }
}

}  // namespace
