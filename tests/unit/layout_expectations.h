// A gauge's layout as the host reads it: its records decoded through panelhost's own description
// of the host's layout, compared with tables written the way the panels were drawn up. A record
// the module declares wrongly decodes wrongly here.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "abi/host_layouts.h"
#include "abi/module_records.h"
#include "host/interface/gauge_records.h"
#include "panel/mouse_table.h"
#include "resources/bitmaps.h"

// A module function's address, as the host finds it in a record.
template <typename Function>
std::uint64_t at(Function* function) {
  return reinterpret_cast<std::uintptr_t>(function);
}

struct MouseRow {
  MOUSE_RECT_TYPE kind;
  int x, y, w, h;
  CURSOR_TYPE cursor;
  FLAGS flags;
  std::uint64_t handler;  // a child's
  const char* tooltip;    // a user entry's
};

// Every entry as the table lists it; help ids, event ids and extra pointers are 0 throughout.
inline void expectMouseTable(const panelhost::GaugeRecord& gauge,
                             const std::vector<MouseRow>& rows) {
  ASSERT_EQ(gauge.mouse.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("mouse entry " + std::to_string(i));
    const MouseRow& want = rows[i];
    const panelhost::MouseEntry& got = gauge.mouse[i];
    EXPECT_EQ(got.kind, static_cast<std::uint32_t>(want.kind));
    EXPECT_EQ(got.box.x, want.x);
    EXPECT_EQ(got.box.y, want.y);
    EXPECT_EQ(got.box.width, want.w);
    EXPECT_EQ(got.box.height, want.h);
    EXPECT_EQ(got.cursor, want.cursor);
    EXPECT_EQ(got.flags, want.flags);
    EXPECT_EQ(got.helpId, 0u);
    EXPECT_EQ(got.eventId, 0u);
    if (want.tooltip) {
      EXPECT_EQ(got.tooltip, want.tooltip);
    } else {
      EXPECT_EQ(got.function, want.handler);
    }
  }
}

struct ElementRow {
  ELEMENT_TYPE_ENUM kind;
  ID resource;
  int x, y;
  FLAGS imageFlags;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> failures;  // key, action
};

// rows[0] is the root; the others are its children in child order, each without children of its
// own. Every element names the gauge's own header.
inline void expectElements(const panelhost::GaugeRecord& gauge,
                           const std::vector<ElementRow>& rows) {
  const auto& elements = gauge.tree.elements;
  ASSERT_EQ(elements.size(), rows.size());
  ASSERT_EQ(elements[0].children.size(), rows.size() - 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i == 0 ? std::string("root") : "element " + std::to_string(i));
    const ElementRow& want = rows[i];
    const panelhost::ElementRecord& got = elements[i];
    if (i > 0) {
      EXPECT_EQ(elements[0].children[i - 1], i);
    }
    EXPECT_EQ(got.kind, static_cast<std::uint32_t>(want.kind));
    EXPECT_EQ(got.resourceId, want.resource);
    EXPECT_EQ(got.position.x, want.x);
    EXPECT_EQ(got.position.y, want.y);
    EXPECT_EQ(got.imageFlags, want.imageFlags);
    EXPECT_EQ(got.specialInstrumentation, 0u);
    EXPECT_EQ(got.gaugeHeader, gauge.address);
    EXPECT_EQ(got.hasFailureList, !want.failures.empty());
    ASSERT_EQ(got.failures.size(), want.failures.size());
    for (std::size_t f = 0; f < want.failures.size(); ++f) {
      EXPECT_EQ(got.failures[f].key, want.failures[f].first);
      EXPECT_EQ(got.failures[f].action, want.failures[f].second);
    }
    if (i > 0) {
      EXPECT_TRUE(got.children.empty());
    }
  }
}

// The host's rule: the first child entry whose box holds the point and whose flags take the event.
inline std::uint64_t handlerAt(const panelhost::GaugeRecord& gauge, int x, int y, FLAGS event) {
  const int index = panelhost::childTakingEvent(gauge.mouse, x, y, event);
  return index < 0 ? 0 : gauge.mouse[static_cast<std::size_t>(index)].function;
}

constexpr ID kNoBitmapId = 0xFFFFFFFF;  // text elements carry no bitmap

constexpr MOUSE_RECT_TYPE P = MOUSE_RECT_PARENT, U = MOUSE_RECT_USER, E = MOUSE_RECT_END_PARENT,
                          C = MOUSE_RECT_CHILD, L = MOUSE_RECT_EOL;
constexpr CURSOR_TYPE kNone = CURSOR_NONE, kUp = CURSOR_UPARROW, kDown = CURSOR_DOWNARROW,
                      kHand = CURSOR_HAND;
