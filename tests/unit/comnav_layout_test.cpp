#include "gauges/comnav/comnav_layout.h"

#include <gmock/gmock.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

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
    EXPECT_THAT(text->source_var, ::testing::Each(0u));
    EXPECT_EQ(text->highlight_list, nullptr);
    EXPECT_EQ(text->next_element, nullptr);
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
    EXPECT_EQ(icon->scale, 0.0);
    EXPECT_EQ(icon->offset, 0);
    EXPECT_EQ(icon->gauge_header, &comNavGaugeHeader);
    EXPECT_EQ(icon->next_element, nullptr);
  }
}

char kindLetter(MOUSE_RECT_TYPE kind) {
  switch (kind) {
    case MOUSE_RECT_PARENT:
      return 'P';
    case MOUSE_RECT_USER:
      return 'U';
    case MOUSE_RECT_END_PARENT:
      return 'E';
    case MOUSE_RECT_CHILD:
      return 'C';
    case MOUSE_RECT_EOL:
      return '.';
  }
  return '?';
}

TEST(ComNavLayoutTest, MouseTableIsOneRegionPerControlWithItsTooltip) {
  std::string shape;
  std::vector<std::string> tooltips;
  for (int i = 0; i < 33; ++i) {
    shape += kindLetter(table()[i].rect_type);
    if (table()[i].rect_type == MOUSE_RECT_USER) tooltips.push_back(table()[i].handler.tooltip);
  }
  EXPECT_EQ(shape,
            "P"
            "PUEC"
            "PUECCCC"
            "PUEC"
            "PUEC"
            "PUECCCC"
            "PUEC"
            "E.");
  EXPECT_THAT(tooltips,
              ::testing::ElementsAre("COM/NAV on/off", "COM Frequency Select", "COM Frequency swap",
                                     "NAV ident", "NAV Frequency Select", "NAV Frequency swap"));
  for (int i = 0; i < 33; ++i) {
    const MOUSERECT& e = table()[i];
    EXPECT_EQ(e.help_id, 0u) << i;
    EXPECT_EQ(e.event_id, 0u) << i;
    EXPECT_EQ(e.api_data, nullptr) << i;
    if (e.rect_type != MOUSE_RECT_CHILD) {
      EXPECT_EQ(e.cursor, CURSOR_NONE) << i;
      EXPECT_EQ(e.mouse_flags, 0u) << i;
    }
  }
}

// Every entry as panels were drawn against it, boxes, cursors and flags included. Slots hold the
// handler of a child or the tooltip of a user entry.
struct Entry {
  MOUSE_RECT_TYPE kind;
  SINT32 x, y, w, h;
  CURSOR_TYPE cursor;
  FLAGS flags;
  PMOUSE_FUNCTION handler;
  const char* tooltip;
};

constexpr MOUSE_RECT_TYPE P = MOUSE_RECT_PARENT, U = MOUSE_RECT_USER, E = MOUSE_RECT_END_PARENT,
                          C = MOUSE_RECT_CHILD, L = MOUSE_RECT_EOL;
constexpr CURSOR_TYPE kNone = CURSOR_NONE, kUp = CURSOR_UPARROW, kDown = CURSOR_DOWNARROW,
                      kHand = CURSOR_HAND;

// clang-format off
const Entry kExpectedTable[] = {
    {P,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {P,  64,  87, 58, 60, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "COM/NAV on/off"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C,  64,  87, 58, 60, kHand, 0x20000000, powerSwitchClick, nullptr},
    {P, 148,  80, 56, 53, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "COM Frequency Select"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C, 176,  89, 15, 35, kUp,   0x20206000, comKnobUp25,      nullptr},
    {C, 192,  80, 12, 53, kUp,   0x20206000, comKnobUp1000,    nullptr},
    {C, 160,  89, 15, 35, kDown, 0x20206000, comKnobDown25,    nullptr},
    {C, 148,  80, 12, 53, kDown, 0x20206000, comKnobDown1000,  nullptr},
    {P, 107,  77, 27, 26, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "COM Frequency swap"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C, 107,  77, 27, 26, kHand, 0x20000000, comSwapClick,     nullptr},
    {P, 239, 125, 22, 21, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "NAV ident"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C, 239, 125, 22, 21, kHand, 0x20000000, navIdentClick,    nullptr},
    {P, 300,  61, 75, 67, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "NAV Frequency Select"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C, 350,  91, 15, 35, kUp,   0x20206000, navKnobUp25,      nullptr},
    {C, 366,  82, 12, 53, kUp,   0x20206000, navKnobUp1000,    nullptr},
    {C, 334,  91, 15, 35, kDown, 0x20206000, navKnobDown25,    nullptr},
    {C, 322,  91, 12, 53, kDown, 0x20206000, navKnobDown1000,  nullptr},
    {P, 281,  78, 27, 26, kNone, 0,          nullptr,          nullptr},
    {U,   0,   0,  0,  0, kNone, 0,          nullptr,          "NAV Frequency swap"},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {C, 281,  78, 27, 26, kHand, 0x20000000, navSwapClick,     nullptr},
    {E,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
    {L,   0,   0,  0,  0, kNone, 0,          nullptr,          nullptr},
};
// clang-format on

TEST(ComNavLayoutTest, EveryMouseEntryHasItsBoxCursorFlagsAndSlot) {
  for (std::size_t i = 0; i < std::size(kExpectedTable); ++i) {
    SCOPED_TRACE(i);
    const Entry& want = kExpectedTable[i];
    const MOUSERECT& got = table()[i];
    EXPECT_EQ(got.rect_type, want.kind);
    EXPECT_EQ(got.relative_box.x, want.x);
    EXPECT_EQ(got.relative_box.y, want.y);
    EXPECT_EQ(got.relative_box.size_x, want.w);
    EXPECT_EQ(got.relative_box.size_y, want.h);
    EXPECT_EQ(got.cursor, want.cursor);
    EXPECT_EQ(got.mouse_flags, want.flags);
    if (want.tooltip != nullptr) {
      EXPECT_STREQ(got.handler.tooltip, want.tooltip);
    } else {
      EXPECT_EQ(got.handler.function, want.handler);
    }
  }
}

// The host's rule: the first child entry whose box holds the point and whose flags take the event.
PMOUSE_FUNCTION handlerAt(int x, int y, FLAGS event) {
  for (const MOUSERECT* e = table(); e->rect_type != MOUSE_RECT_EOL; ++e) {
    const PIXBOX& b = e->relative_box;
    if (e->rect_type == MOUSE_RECT_CHILD && x >= b.x && x < b.x + b.size_x && y >= b.y &&
        y < b.y + b.size_y && (e->mouse_flags & event)) {
      return e->handler.function;
    }
  }
  return nullptr;
}

TEST(ComNavLayoutTest, EachControlIsReachedWhereItsPartIsDrawn) {
  const struct {
    int x, y;
    PMOUSE_FUNCTION expected;
  } points[] = {
      // clang-format off
      { 93, 117, powerSwitchClick}, {110, 100, powerSwitchClick},  // covers the COM swap's centre
      {128,  82, comSwapClick},     {110,  80, comSwapClick},
      {153, 106, comKnobDown1000},  {167, 106, comKnobDown25},
      {183, 106, comKnobUp25},      {197, 106, comKnobUp1000},
      {153,  82, comKnobDown1000},  {197, 131, comKnobUp1000},     {183,  88, nullptr},
      {250, 135, navIdentClick},    {294,  90, navSwapClick},
      {327, 108, navKnobDown1000},  {341, 108, navKnobDown25},
      {357, 108, navKnobUp25},      {371, 108, navKnobUp1000},
      {327, 143, navKnobDown1000},  {377,  82, navKnobUp1000},     {327,  90, nullptr},
      {349, 108, nullptr},          {175, 106, nullptr},           // the seams between fine columns
      { 30,  20, nullptr},
      // clang-format on
  };
  for (const auto& p : points) {
    EXPECT_EQ(handlerAt(p.x, p.y, MOUSE_LEFTSINGLE), p.expected) << p.x << ", " << p.y;
  }
}

TEST(ComNavLayoutTest, ButtonsTakeClicksOnlyAndKnobsTakeEverything) {
  for (FLAGS event : {MOUSE_DOWN_REPEAT, MOUSE_WHEEL_UP, MOUSE_WHEEL_DOWN, MOUSE_LEFTRELEASE}) {
    EXPECT_EQ(handlerAt(93, 117, event), nullptr);
    EXPECT_EQ(handlerAt(128, 82, event), nullptr);
    EXPECT_EQ(handlerAt(250, 135, event), nullptr);
    EXPECT_EQ(handlerAt(294, 90, event), nullptr);
  }
  for (FLAGS event : {MOUSE_LEFTSINGLE, MOUSE_DOWN_REPEAT, MOUSE_WHEEL_UP, MOUSE_WHEEL_DOWN}) {
    EXPECT_EQ(handlerAt(183, 106, event), comKnobUp25);
    EXPECT_EQ(handlerAt(327, 108, event), navKnobDown1000);
  }
  EXPECT_EQ(handlerAt(183, 106, MOUSE_LEFTRELEASE), nullptr);
}

TEST(ComNavLayoutTest, CursorsShowWhichWayAClickTurns) {
  const std::pair<PMOUSE_FUNCTION, CURSOR_TYPE> cursors[] = {
      {powerSwitchClick, CURSOR_HAND},   {comSwapClick, CURSOR_HAND},
      {navSwapClick, CURSOR_HAND},       {navIdentClick, CURSOR_HAND},
      {comKnobUp25, CURSOR_UPARROW},     {comKnobUp1000, CURSOR_UPARROW},
      {navKnobUp25, CURSOR_UPARROW},     {navKnobUp1000, CURSOR_UPARROW},
      {comKnobDown25, CURSOR_DOWNARROW}, {comKnobDown1000, CURSOR_DOWNARROW},
      {navKnobDown25, CURSOR_DOWNARROW}, {navKnobDown1000, CURSOR_DOWNARROW},
  };
  int children = 0;
  for (const MOUSERECT* e = table(); e->rect_type != MOUSE_RECT_EOL; ++e) {
    if (e->rect_type != MOUSE_RECT_CHILD) continue;
    ++children;
    for (const auto& [handler, cursor] : cursors) {
      if (e->handler.function == handler) {
        EXPECT_EQ(e->cursor, cursor) << children;
      }
    }
  }
  EXPECT_EQ(children, 12);
}

}  // namespace
