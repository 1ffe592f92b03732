// Building the elements of a gauge's tree from the values a layout gives, each into the host's
// field for it. Every field a builder does not name stays zero: the host owns those at run time,
// and the module leaves source variables, switch types, scales and offsets unused.
#pragma once

#include "host/interface/gauge_records.h"

constexpr ELEMENT_HEADER elementHeader(ELEMENT_TYPE_ENUM kind, ID resourceId, SINT32 x, SINT32 y,
                                       GAUGEHDR* gauge, FLAGS imageFlags,
                                       ELEMENT_HEADER** children = nullptr,
                                       FAILURE_RECORD* failures = nullptr) {
  ELEMENT_HEADER header{};
  header.element_type = kind;
  header.resource_id = resourceId;
  header.position = {x, y};
  header.gauge_header = gauge;
  header.next_element = children;
  header.failure_systems = failures;
  header.image_flags = imageFlags;
  return header;
}

// Text elements carry no bitmap.
constexpr ID kNoBitmap = static_cast<ID>(-1);

constexpr ELEMENT_STATIC_IMAGE staticImage(const ELEMENT_HEADER& header) {
  ELEMENT_STATIC_IMAGE element{};
  element.header = header;
  return element;
}

// How a text element looks, and the size of the buffer its callback writes into.
struct TextLook {
  PIXPOINT box;
  COLORREF_HOST foreground;
  COLORREF_HOST background;
  COLORREF_HOST highlight;
  const char* fontName;
  SINT32 fontWeight;
  UINT8 fontCharset;
  SINT32 fontSize;
  UINT32 drawTextFlags;
  UINT16 characters;  // the host's buffer holds this many bytes, terminator included
};

constexpr ELEMENT_STRING textElement(const ELEMENT_HEADER& header, const TextLook& look,
                                     PELEMENT_STRING_UPDATE_CALLBACK callback) {
  ELEMENT_STRING element{};
  element.header = header;
  element.img_size = look.box;
  element.fg_color = look.foreground;
  element.bg_color = look.background;
  element.hilite_color = look.highlight;
  for (std::size_t i = 0; i + 1 < FONT_NAME_SIZE && look.fontName[i] != '\0'; ++i) {
    element.font_name[i] = look.fontName[i];
  }
  element.font_weight = look.fontWeight;
  element.font_charset = look.fontCharset;
  element.draw_text_flags = look.drawTextFlags;
  element.max_string_length = look.characters;
  element.char_height = look.fontSize;
  element.update_cb = callback;
  return element;
}

constexpr ELEMENT_ICON iconElement(const ELEMENT_HEADER& header, SINT32 frames,
                                   PELEMENT_ICON_UPDATE_CALLBACK frameFromState) {
  ELEMENT_ICON element{};
  element.header = header;
  element.num_icons = frames;
  element.update_cb = frameFromState;
  return element;
}

// The ranges are the values the strip's cells stand for, the minimum at the top cell.
constexpr ELEMENT_MOVING_IMAGE movingImage(const ELEMENT_HEADER& header, FLOAT64 minX, FLOAT64 maxX,
                                           PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK xFromState,
                                           FLOAT64 minY, FLOAT64 maxY,
                                           PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK yFromState) {
  ELEMENT_MOVING_IMAGE element{};
  element.header = header;
  element.min_x = minX;
  element.max_x = maxX;
  element.update_x_cb = xFromState;
  element.min_y = minY;
  element.max_y = maxY;
  element.update_y_cb = yFromState;
  return element;
}
