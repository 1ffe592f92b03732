// Building mouse tables entry by entry, so that each table reads like the list of regions it is:
// an outer parent; for each control a parent with its box, its tooltip, an end parent and its
// children; the closing end parent and the end of the list.
#pragma once

#include "host/interface/gauge_records.h"

constexpr FLAGS kMouseClick = MOUSE_LEFTSINGLE;
constexpr FLAGS kMouseClickRelease = MOUSE_LEFTSINGLE | MOUSE_LEFTRELEASE;
constexpr FLAGS kMouseKnob =
    MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT | MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN;

constexpr MOUSERECT mouseParent(SINT32 x, SINT32 y, SINT32 w, SINT32 h) {
  return {MOUSE_RECT_PARENT, {x, y, w, h}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
}
constexpr MOUSERECT mouseTooltip(const char* text) {
  return {MOUSE_RECT_USER, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, text, nullptr};
}
constexpr MOUSERECT mouseEndParent() {
  return {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
}
constexpr MOUSERECT mouseChild(SINT32 x, SINT32 y, SINT32 w, SINT32 h, CURSOR_TYPE cursor,
                               FLAGS flags, PMOUSE_FUNCTION handler) {
  return {MOUSE_RECT_CHILD, {x, y, w, h}, cursor, 0, flags, 0, handler, nullptr};
}
constexpr MOUSERECT mouseEndOfList() {
  return {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
}
