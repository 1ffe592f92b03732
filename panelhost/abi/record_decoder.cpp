#include "abi/record_decoder.h"

#include <set>

#include "support/message_parts.h"

namespace panelhost {

std::vector<const ElementRecord*> ElementTree::rootChildren() const {
  std::vector<const ElementRecord*> children;
  if (const ElementRecord* r = root()) {
    for (std::size_t index : r->children) children.push_back(&elements[index]);
  }
  return children;
}

}  // namespace panelhost

namespace panelhost::hostabi {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The pointers of a null-terminated table, at most `most` of them.
std::vector<ModuleAddress> pointerList(const ModuleImage& image, ModuleAddress at,
                                       std::size_t most) {
  std::vector<ModuleAddress> list;
  const auto size = static_cast<std::size_t>(image.pointerSize());
  for (std::size_t i = 0; i < most; ++i) {
    std::uint64_t value = 0;
    image.read(at + i * size, &value, size);
    if (value == 0) break;
    list.push_back(value);
  }
  return list;
}

std::vector<FailureEntry> failureList(const ModuleImage& image, const HostLayouts& layouts,
                                      ModuleAddress at) {
  std::vector<FailureEntry> entries;
  for (std::size_t i = 0; i < kMostFailures; ++i) {
    const RecordReader record(image, layouts.failureRecord, at + i * layouts.failureRecord.size());
    if (record.u32("key") == kEndOfFailureList) break;
    entries.push_back(FailureEntry{record.u32("key"), record.u32("action")});
  }
  return entries;
}

void readKindFields(const ModuleImage& image, const HostLayouts& layouts, ElementRecord& e) {
  switch (e.kind) {
    case kString: {
      const RecordReader r(image, layouts.string, e.address);
      TextFields& t = e.text;
      t.box = r.point("img_size");
      t.foreground = r.u32("fg_color");
      t.background = r.u32("bg_color");
      t.highlight = r.u32("hilite_color");
      t.fontName = r.chars("font_name");
      t.fontWeight = r.s32("font_weight");
      t.fontCharset = r.u8("font_charset");
      t.drawTextFlags = r.u32("draw_text_flags");
      t.characters = r.u16("max_string_length");
      t.fontSize = r.s32("char_height");
      t.highlightList = r.pointer("seq");
      t.callback = r.pointer("update_cb");
      break;
    }
    case kIcon: {
      const RecordReader r(image, layouts.icon, e.address);
      e.icon = IconFields{r.s32("num_icons"), r.s32("switch_type"), r.f64("scale"), r.s32("offset"),
                          r.pointer("update_cb")};
      break;
    }
    case kMovingImage: {
      const RecordReader r(image, layouts.movingImage, e.address);
      e.moving =
          MovingImageFields{r.f64("min_x"), r.f64("max_x"),           r.f64("min_y"),
                            r.f64("max_y"), r.pointer("update_x_cb"), r.pointer("update_y_cb")};
      break;
    }
    default:
      break;
  }
}

class TreeReader {
 public:
  TreeReader(const ModuleImage& image, const HostLayouts& layouts, const std::string& gaugeName)
      : image_(image), layouts_(layouts), gaugeName_(gaugeName) {}

  // Returns the index of the element read, or nothing when it was skipped.
  std::optional<std::size_t> read(ModuleAddress at, int depth) {
    if (at == 0 || depth > kDeepestTree || !seen_.insert(at).second) return std::nullopt;
    const RecordReader header(image_, layouts_.elementHeader, at);
    ElementRecord e;
    e.address = at;
    e.depth = depth;
    e.kind = header.u32("element_type");
    e.resourceId = header.u32("resource_id");
    e.position = header.point("position");
    e.gaugeHeader = header.pointer("gauge_header");
    e.childList = header.pointer("next_element");
    e.imageFlags = header.u32("image_flags");
    e.specialInstrumentation = header.u32("aircraft_special_instrumentation");
    const ModuleAddress failures = header.pointer("failure_systems");
    e.hasFailureList = failures != 0;
    if (failures) e.failures = failureList(image_, layouts_, failures);
    readKindFields(image_, layouts_, e);
    const std::size_t index = tree_.elements.size();
    e.entry = (depth == 0 ? std::string("the root element") : "element " + std::to_string(index)) +
              " of " + quoted(gaugeName_);
    tree_.elements.push_back(std::move(e));

    if (const ModuleAddress list = tree_.elements[index].childList) {
      for (ModuleAddress child : pointerList(image_, list, kMostChildren)) {
        if (auto childIndex = read(child, depth + 1)) {
          tree_.elements[index].children.push_back(*childIndex);
        }
      }
    }
    return index;
  }

  ElementTree take() { return std::move(tree_); }

 private:
  const ModuleImage& image_;
  const HostLayouts& layouts_;
  const std::string& gaugeName_;
  std::set<ModuleAddress> seen_;
  ElementTree tree_;
};

}  // namespace

LinkageRecord readLinkage(const ModuleImage& image, const HostLayouts& layouts, ModuleAddress at) {
  const RecordReader r(image, layouts.linkage, at);
  LinkageRecord linkage;
  linkage.address = at;
  linkage.moduleId = r.u32("module_id");
  linkage.init = r.pointer("module_init");
  linkage.deinit = r.pointer("module_deinit");
  linkage.flags = r.u32("module_flags");
  linkage.priority = r.u32("module_priority");
  linkage.version = r.u32("module_version");
  linkage.gauges = pointerList(image, at + layouts.gaugeTableOffset(), kMostGauges);
  return linkage;
}

GaugeRecord readGauge(const ModuleImage& image, const HostLayouts& layouts, ModuleAddress at) {
  const RecordReader r(image, layouts.gaugeHeader, at);
  GaugeRecord gauge;
  gauge.address = at;
  gauge.version = r.u32("gauge_header_version");
  const ModuleAddress name = r.pointer("gauge_name");
  gauge.name = name ? readModuleText(image, name, kLongestName) : "";
  gauge.elementsList = r.pointer("elements_list");
  constexpr const char* kRoutines[kStandardRoutines] = {
      "query_routine",    "install_routine", "initialize_routine", "update_routine",
      "generate_routine", "draw_routine",    "kill_routine"};
  for (int i = 0; i < kStandardRoutines; ++i) gauge.routines[i] = r.pointer(kRoutines[i]);
  gauge.sizeXmm = r.u32("size_x_mm");
  gauge.sizeYmm = r.u32("size_y_mm");
  gauge.xAdjust = r.f32("x_adjust");
  gauge.yAdjust = r.f32("y_adjust");
  gauge.mouseTable = r.pointer("mouse_rect");
  gauge.callback = r.pointer("gauge_callback");
  gauge.userData = r.u32("user_data");
  gauge.flags = r.u32("flags");
  gauge.callbackEntry = "the gauge callback of " + quoted(gauge.name);
  // What a field of the header leads to is named with the field.
  const auto through = [&gauge](const char* field, const auto& read) {
    namingFailures<ModuleFault>(
        "gauge " + quoted(gauge.name) + ", what its GAUGEHDR field " + field + " points at: ",
        read);
  };
  if (gauge.elementsList) {
    through("elements_list", [&] {
      ModuleAddress root = 0;
      image.read(gauge.elementsList, &root, static_cast<std::size_t>(image.pointerSize()));
      gauge.tree = readElementTree(image, layouts, root, gauge.name);
    });
  }
  if (gauge.mouseTable) {
    through("mouse_rect",
            [&] { gauge.mouse = readMouseTable(image, layouts, gauge.mouseTable, gauge.name); });
  }
  return gauge;
}

ElementTree readElementTree(const ModuleImage& image, const HostLayouts& layouts,
                            ModuleAddress root, const std::string& gaugeName) {
  TreeReader reader(image, layouts, gaugeName);
  reader.read(root, 0);
  return reader.take();
}

std::vector<MouseEntry> readMouseTable(const ModuleImage& image, const HostLayouts& layouts,
                                       ModuleAddress at, const std::string& gaugeName) {
  std::vector<MouseEntry> entries;
  for (std::size_t i = 0; i < kMostMouseEntries; ++i) {
    const RecordReader r(image, layouts.mouseRect, at + i * layouts.mouseRect.size());
    MouseEntry entry;
    entry.kind = r.u32("rect_type");
    entry.box = r.box("relative_box");
    entry.cursor = r.s32("cursor");
    entry.helpId = r.u32("help_id");
    entry.flags = r.u32("mouse_flags");
    entry.eventId = r.u32("event_id");
    entry.function = r.pointer("mouse_function");
    if (entry.kind == kUser && entry.function) {
      entry.tooltip = readModuleText(image, entry.function, kLongestName);
    }
    entry.entry = "mouse entry " + std::to_string(i) + " of " + quoted(gaugeName);
    entries.push_back(std::move(entry));
    if (entries.back().kind == kEndOfList) break;
  }
  return entries;
}

const char* elementKindName(std::uint32_t kind) {
  switch (kind) {
    case kStaticImage:
      return "static image";
    case kNeedle:
      return "needle";
    case kString:
      return "text";
    case kSlider:
      return "slider";
    case kIcon:
      return "icon";
    case kMovingImage:
      return "moving image";
    case kSprite:
      return "sprite";
  }
  return "unknown kind";
}

const char* mouseEntryKindName(std::uint32_t kind) {
  switch (kind) {
    case kEndOfList:
      return "end of list";
    case kParent:
      return "parent";
    case kChild:
      return "child";
    case kEndParent:
      return "end parent";
    case kUser:
      return "user";
  }
  return "unknown kind";
}

}  // namespace panelhost::hostabi
