// The "Transponder" gauge as the host reads it: the element tree it draws and the mouse table it
// hit-tests.
#include <string>
#include <vector>

#include "transponder_fixture.h"

namespace {

using TransponderLayout = TransponderFixture;

std::vector<ELEMENT_HEADER*> children() {
  std::vector<ELEMENT_HEADER*> list;
  ELEMENT_HEADER* root = *transponderGaugeHeader.elements_list;
  for (ELEMENT_HEADER** c = root->next_element; c && *c; ++c) list.push_back(*c);
  return list;
}

std::vector<const MOUSERECT*> childEntries() {
  std::vector<const MOUSERECT*> list;
  for (const MOUSERECT* m = transponderGaugeHeader.mouse_rect; m->rect_type != MOUSE_RECT_EOL; ++m)
    if (m->rect_type == MOUSE_RECT_CHILD) list.push_back(m);
  return list;
}

bool overlap(const PIXBOX& a, const PIXBOX& b) {
  return a.x < b.x + b.size_x && b.x < a.x + a.size_x && a.y < b.y + b.size_y &&
         b.y < a.y + a.size_y;
}

bool inside(const PIXBOX& inner, const PIXBOX& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.size_x <= outer.x + outer.size_x &&
         inner.y + inner.size_y <= outer.y + outer.size_y;
}

TEST_F(TransponderLayout, HeaderNamesTheGaugeItsCallbackAndItsFacePlate) {
  EXPECT_STREQ(transponderGaugeHeader.gauge_name, "Transponder");
  EXPECT_EQ(transponderGaugeHeader.gauge_callback, &transponderGaugeCallback);
  const ELEMENT_HEADER* root = *transponderGaugeHeader.elements_list;
  EXPECT_EQ(root->resource_id, 8192u);
  EXPECT_EQ(root->image_flags, 0x1u);
  EXPECT_EQ(root->position.x, 0);
  EXPECT_EQ(root->position.y, 0);
}

TEST_F(TransponderLayout, FourDrumsShareOneStripAndShowTheDigitsLeftToRight) {
  const auto list = children();
  ASSERT_EQ(list.size(), 6u);
  const int drumX[4] = {154, 221, 287, 352};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    ASSERT_EQ(list[k]->element_type, ELEMENT_TYPE_MOVING_IMAGE);
    auto* drum = static_cast<ELEMENT_MOVING_IMAGE*>(list[k]);
    EXPECT_EQ(drum->resource_id, 8448u);
    EXPECT_EQ(drum->position.x, drumX[k]);
    EXPECT_EQ(drum->position.y, 32);
    EXPECT_EQ(drum->image_flags, 0x3u);
    EXPECT_EQ(drum->gauge_header, &transponderGaugeHeader);
    EXPECT_EQ(drum->min_x, 0.0);
    EXPECT_EQ(drum->max_x, 0.0);
    EXPECT_EQ(drum->min_y, 0.0);
    EXPECT_EQ(drum->max_y, 7.0);  // eight values over the 160-pixel strip: 20-pixel cells
    transponderState.digit[k] = 5;
    EXPECT_EQ(drum->update_y_cb(drum), 5.0);
    EXPECT_EQ(drum->update_x_cb(drum), 0.0);
  }
  EXPECT_EQ(children()[0]->previous_element, nullptr);
}

TEST_F(TransponderLayout, KnobIconHasFourFramesAndTheLampOneWithItsFailures) {
  const auto list = children();
  auto* knob = static_cast<ELEMENT_ICON*>(list[4]);
  ASSERT_EQ(knob->element_type, ELEMENT_TYPE_ICON);
  EXPECT_EQ(knob->resource_id, 8704u);
  EXPECT_EQ(knob->num_icons, 4);
  EXPECT_EQ(knob->position.x, 0);
  EXPECT_EQ(knob->position.y, 36);
  EXPECT_EQ(knob->image_flags, 0x0u);
  EXPECT_EQ(knob->failure_systems, nullptr);
  modeUp(2);
  EXPECT_EQ(knob->update_cb(knob), 2.0);

  auto* lamp = static_cast<ELEMENT_ICON*>(list[5]);
  ASSERT_EQ(lamp->element_type, ELEMENT_TYPE_ICON);
  EXPECT_EQ(lamp->resource_id, 8960u);
  EXPECT_EQ(lamp->num_icons, 1);
  EXPECT_EQ(lamp->position.x, 32);
  EXPECT_EQ(lamp->position.y, 0);
  EXPECT_EQ(lamp->image_flags, 0x3u);
  ASSERT_NE(lamp->failure_systems, nullptr);
  const UINT32 failures[][3] = {{17, 3, 0}, {21, 3, 0}, {21, 3, 0}, {0, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lamp->failure_systems[i].failure_key, failures[i][0]);
    EXPECT_EQ(lamp->failure_systems[i].action, failures[i][1]);
    EXPECT_EQ(lamp->failure_systems[i].reserved, failures[i][2]);
  }
  EXPECT_EQ(lamp->update_cb(lamp), -1.0);
  update();
  EXPECT_EQ(lamp->update_cb(lamp), 0.0);
}

TEST_F(TransponderLayout, MouseTableHasTheSharedShapeAndItsTooltips) {
  std::string shape;
  std::vector<std::string> tooltips;
  for (const MOUSERECT* m = transponderGaugeHeader.mouse_rect;; ++m) {
    shape += "EPCXU"[m->rect_type];
    EXPECT_EQ(m->help_id, 0u);
    EXPECT_EQ(m->event_id, 0u);
    EXPECT_EQ(m->api_data, nullptr);
    if (m->rect_type != MOUSE_RECT_CHILD) {
      EXPECT_EQ(m->cursor, CURSOR_NONE);
      EXPECT_EQ(m->mouse_flags, 0u);
    }
    if (m->rect_type == MOUSE_RECT_USER) tooltips.push_back(m->handler.tooltip);
    if (m->rect_type == MOUSE_RECT_EOL) break;
  }
  EXPECT_EQ(shape, "PPUXCCPUXCCCCCCCCPUXCPUXCXE");
  EXPECT_EQ(tooltips, (std::vector<std::string>{"Transponder Mode", "Transponder Code select",
                                                "Test Mode", "Squawk Ident"}));
}

// The boxes as the face plate's art places the controls; the shape test above fixes the kinds.
TEST_F(TransponderLayout, EveryEntryHasTheBoxOfItsControl) {
  // clang-format off
  const PIXBOX boxes[] = {
      {  0,  0,   0,  0},
      { 44, 39,  41, 46}, {0, 0, 0, 0}, {0, 0, 0, 0},
      { 44, 39,  41, 26}, { 44, 66, 41, 20},
      {142, 54, 239, 31}, {0, 0, 0, 0}, {0, 0, 0, 0},
      {142, 54,  20, 31}, {163, 54, 20, 31}, {209, 54, 20, 31}, {230, 54, 20, 31},
      {275, 54,  20, 31}, {296, 54, 20, 31}, {340, 54, 20, 31}, {361, 54, 20, 31},
      {101, 80,  22, 21}, {0, 0, 0, 0}, {0, 0, 0, 0},
      {101, 80,  22, 21},
      {104, 11,  24, 21}, {0, 0, 0, 0}, {0, 0, 0, 0},
      {104, 11,  24, 21},
      {  0,  0,   0,  0},
      {  0,  0,   0,  0},
  };
  // clang-format on
  const MOUSERECT* table = transponderGaugeHeader.mouse_rect;
  for (size_t i = 0; i < std::size(boxes); ++i) {
    const PIXBOX& got = table[i].relative_box;
    EXPECT_EQ((std::vector<SINT32>{got.x, got.y, got.size_x, got.size_y}),
              (std::vector<SINT32>{boxes[i].x, boxes[i].y, boxes[i].size_x, boxes[i].size_y}))
        << "entry " << i;
  }
  EXPECT_EQ(table[std::size(boxes) - 1].rect_type, MOUSE_RECT_EOL);
}

TEST_F(TransponderLayout, NoTwoChildBoxesOverlapAndCodeKnobsSitInsideTheirParent) {
  const auto entries = childEntries();
  ASSERT_EQ(entries.size(), 12u);
  for (size_t i = 0; i < entries.size(); ++i)
    for (size_t j = i + 1; j < entries.size(); ++j)
      EXPECT_FALSE(overlap(entries[i]->relative_box, entries[j]->relative_box)) << i << ", " << j;
  const PIXBOX codeParent = transponderGaugeHeader.mouse_rect[6].relative_box;
  for (size_t i = 2; i < 10; ++i) EXPECT_TRUE(inside(entries[i]->relative_box, codeParent)) << i;
  // The mode knob's up half lies above its down half; each code knob's down half left of its up.
  EXPECT_LT(entries[0]->relative_box.y, entries[1]->relative_box.y);
  for (size_t i = 2; i < 10; i += 2)
    EXPECT_LT(entries[i]->relative_box.x, entries[i + 1]->relative_box.x);
}

TEST_F(TransponderLayout, EachChildCarriesTheFlagsAndCursorOfItsControl) {
  struct Expected {
    PMOUSE_FUNCTION handler;
    CURSOR_TYPE cursor;
    FLAGS flags;
  } expected[] = {
      {xpdrModeUp, CURSOR_UPARROW, 0x20000000},       {xpdrModeDown, CURSOR_DOWNARROW, 0x20000000},
      {xpdrDigit0Down, CURSOR_DOWNARROW, 0x20206000}, {xpdrDigit0Up, CURSOR_UPARROW, 0x20206000},
      {xpdrDigit1Down, CURSOR_DOWNARROW, 0x20206000}, {xpdrDigit1Up, CURSOR_UPARROW, 0x20206000},
      {xpdrDigit2Down, CURSOR_DOWNARROW, 0x20206000}, {xpdrDigit2Up, CURSOR_UPARROW, 0x20206000},
      {xpdrDigit3Down, CURSOR_DOWNARROW, 0x20206000}, {xpdrDigit3Up, CURSOR_UPARROW, 0x20206000},
      {xpdrTestButton, CURSOR_HAND, 0x20020000},      {xpdrIdentButton, CURSOR_HAND, 0x20000000},
  };
  const auto entries = childEntries();
  ASSERT_EQ(entries.size(), std::size(expected));
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i]->handler.function, expected[i].handler) << i;
    EXPECT_EQ(entries[i]->cursor, expected[i].cursor) << i;
    EXPECT_EQ(entries[i]->mouse_flags, expected[i].flags) << i;
  }
}

}  // namespace
