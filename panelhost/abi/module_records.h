// A module's records as panelhost has read them: plain values, decoded once when the module is
// loaded, with every address kept as an integer of the module's address space. The fields are
// those a host uses; `info` shows the rest straight from memory.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "abi/record_reader.h"

namespace panelhost {

struct FailureEntry {
  std::uint32_t key = 0;
  std::uint32_t action = 0;
};

struct TextFields {
  hostabi::Point box;  // img_size
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
  std::uint32_t highlight = 0;
  std::string fontName;
  std::int32_t fontWeight = 0;
  std::uint8_t fontCharset = 0;
  std::uint32_t drawTextFlags = 0;
  std::uint16_t characters = 0;  // max_string_length: the buffer the host lends, in bytes
  std::int32_t fontSize = 0;     // char_height
  ModuleAddress highlightList = 0;
  ModuleAddress callback = 0;
  ModuleAddress buffer = 0;  // the host's buffer, once lent
};

struct IconFields {
  std::int32_t frames = 0;  // num_icons
  std::int32_t switchType = 0;
  double scale = 0;
  std::int32_t offset = 0;
  ModuleAddress callback = 0;
};

struct MovingImageFields {
  double minX = 0;
  double maxX = 0;
  double minY = 0;
  double maxY = 0;
  ModuleAddress xCallback = 0;
  ModuleAddress yCallback = 0;
};

struct ElementRecord {
  ModuleAddress address = 0;
  std::uint32_t kind = 0;
  std::uint32_t resourceId = 0;
  hostabi::Point position;
  ModuleAddress gaugeHeader = 0;
  ModuleAddress childList = 0;
  std::uint32_t imageFlags = 0;
  std::uint32_t specialInstrumentation = 0;
  bool hasFailureList = false;
  std::vector<FailureEntry> failures;
  std::vector<std::size_t> children;  // indices into the tree's elements, in child order
  int depth = 0;                      // 0 for the root
  TextFields text;
  IconFields icon;
  MovingImageFields moving;
  // How a fault in one of its callbacks is reported: "element 2 of \"Com1Nav1\"".
  std::string entry;
};

// Every element of a gauge's tree in drawing order: the root first, each element before its
// children. Empty when the gauge names no root.
struct ElementTree {
  std::vector<ElementRecord> elements;

  const ElementRecord* root() const { return elements.empty() ? nullptr : &elements.front(); }
  // The root's children, in child order.
  std::vector<const ElementRecord*> rootChildren() const;
};

struct MouseEntry {
  std::uint32_t kind = 0;
  hostabi::Box box;
  std::int32_t cursor = 0;
  std::uint32_t helpId = 0;
  std::uint32_t flags = 0;
  std::uint32_t eventId = 0;
  ModuleAddress function = 0;  // a child's handler, or a user entry's tooltip text
  std::string tooltip;         // a user entry's text, as read
  std::string entry;           // "mouse entry 4 of \"Com1Nav1\""
};

constexpr int kStandardRoutines = 7;

struct GaugeRecord {
  ModuleAddress address = 0;
  std::uint32_t version = 0;
  std::string name;
  ModuleAddress elementsList = 0;
  std::array<ModuleAddress, kStandardRoutines> routines{};  // query, install, ... kill
  std::uint32_t sizeXmm = 0;
  std::uint32_t sizeYmm = 0;
  float xAdjust = 0;
  float yAdjust = 0;
  ModuleAddress mouseTable = 0;
  ModuleAddress callback = 0;
  std::uint32_t userData = 0;
  std::uint32_t flags = 0;
  ElementTree tree;
  std::vector<MouseEntry> mouse;  // up to and including the end of the list
  std::string callbackEntry;      // "the gauge callback of \"Com1Nav1\""
};

struct LinkageRecord {
  ModuleAddress address = 0;
  std::uint32_t moduleId = 0;
  ModuleAddress init = 0;
  ModuleAddress deinit = 0;
  std::uint32_t flags = 0;
  std::uint32_t priority = 0;
  std::uint32_t version = 0;
  std::vector<ModuleAddress> gauges;  // the gauge table up to its null end
};

}  // namespace panelhost
