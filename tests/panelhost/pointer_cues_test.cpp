#include "view/pointer_cues.h"

#include <gtest/gtest.h>

#include "abi/host_layouts.h"
#include "panel/mouse_table.h"

namespace {

using panelhost::CursorShape;
using panelhost::MouseEntry;

MouseEntry entry(std::uint32_t kind, int x, int y, int width, int height, std::int32_t cursor,
                 std::uint32_t flags) {
  MouseEntry made;
  made.kind = kind;
  made.box = {x, y, width, height};
  made.cursor = cursor;
  made.flags = flags;
  return made;
}

TEST(PointerCues, TheCursorIsThatOfTheEntryThatWouldTakeTheEvent) {
  using namespace panelhost::hostabi;
  const std::vector<MouseEntry> table = {
      entry(kParent, 0, 0, 0, 0, -1, 0),
      entry(kParent, 0, 0, 100, 20, 5, 0),  // a region's own cursor never shows
      entry(kChild, 0, 0, 10, 10, 5, 0),    // takes nothing: the pointer is not over it
      entry(kChild, 0, 0, 10, 10, 1, panelhost::kMouseWheelUp),
      entry(kChild, 20, 0, 10, 10, 2, panelhost::kMouseClick),
      entry(kChild, 40, 0, 10, 10, 5, panelhost::kMouseClick),
      entry(kChild, 60, 0, 10, 10, 3, panelhost::kMouseClick),
      entry(kEndParent, 0, 0, 0, 0, -1, 0),
      entry(kEndOfList, 0, 0, 0, 0, -1, 0),
  };
  EXPECT_EQ(panelhost::cursorAt(table, 5, 5), CursorShape::UpArrow);
  EXPECT_EQ(panelhost::cursorAt(table, 25, 5), CursorShape::DownArrow);
  EXPECT_EQ(panelhost::cursorAt(table, 45, 5), CursorShape::Hand);
  EXPECT_EQ(panelhost::cursorAt(table, 65, 5), CursorShape::Arrow);  // a number of no cursor
  EXPECT_EQ(panelhost::cursorAt(table, 85, 5), CursorShape::Arrow);  // inside a region only
}

}  // namespace
