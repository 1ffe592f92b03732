// The simulator's records as panelhost reads them: every record kind a gauge module hands the
// host, field by field, in the published order. One set for 32-bit modules (the simulator's own
// layout) and one for the 64-bit builds, which use the same declarations with 8-byte pointers.
#pragma once

#include <cstdint>

#include "abi/record_layout.h"

namespace panelhost::hostabi {

// Element kinds and the other numbers the records hold.
enum ElementKind : std::uint32_t {
  kStaticImage = 0,
  kNeedle = 1,
  kString = 2,
  kSlider = 3,
  kIcon = 4,
  kMovingImage = 5,
  kSprite = 6,
};

enum MouseEntryKind : std::uint32_t {
  kEndOfList = 0,
  kParent = 1,
  kChild = 2,
  kEndParent = 3,
  kUser = 4,
};

// The key of the record that ends a failure list.
constexpr std::uint32_t kEndOfFailureList = 0;

constexpr std::uint32_t kPanelsImportId = 0x0000000F;

// The PANELS table: six words of a linkage header, then services (services/host_services.cpp
// has the slots panelhost serves).
constexpr int kPanelsSlots = 86;
constexpr int kPanelsHeaderWords = 6;

struct HostLayouts {
  explicit HostLayouts(int pointerSize);

  int pointerSize;
  RecordLayout moduleVar;
  RecordLayout panelsHeader;  // the six words PANELS opens with
  RecordLayout importTable;
  RecordLayout linkage;  // up to the gauge table, which follows at gaugeTableOffset
  RecordLayout gaugeHeader;
  RecordLayout elementHeader;
  RecordLayout failureRecord;
  RecordLayout staticImage;
  RecordLayout string;
  RecordLayout icon;
  RecordLayout movingImage;
  RecordLayout mouseRect;

  // The MODULE_VAR fields lookup_var reads, found once: the module calls it every update cycle.
  struct ModuleVarFields {
    Field id;
    Field varPtr;
    Field varType;
    Field value;
    Field old;
  };
  ModuleVarFields moduleVarFields;

  std::uint32_t panelsSize() const;
  // Where slot `slot` of PANELS lies; the header's words have their own sizes.
  std::uint32_t panelsSlotOffset(int slot) const;
  std::uint32_t gaugeTableOffset() const { return linkage.size(); }

  // The layouts of 32-bit (4) or 64-bit (8) modules; throws std::logic_error for another width.
  static const HostLayouts& forPointerSize(int pointerSize);
};

}  // namespace panelhost::hostabi
