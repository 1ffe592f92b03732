#include "panel/gauge_info.h"

#include <cstdio>
#include <optional>
#include <string>

#include "abi/record_decoder.h"
#include "abi/record_reader.h"
#include "panel/panel_file.h"
#include "support/message_parts.h"

namespace panelhost {

namespace {

std::string point(hostabi::Point p) {
  return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string range(double low, double high) { return number(low) + ".." + number(high); }

// One field of a record as it lies in memory, for --offsets.
std::string fieldValue(const hostabi::RecordReader& record, const hostabi::Field& field) {
  using hostabi::FieldKind;
  if (field.kind == FieldKind::Char) return "\"" + record.chars(field.name) + "\"";
  std::string value;
  for (std::uint32_t i = 0; i < field.count; ++i) {
    if (i > 0) value += ", ";
    switch (field.kind) {
      case FieldKind::U8:
        value += std::to_string(record.u8(field.name));
        break;
      case FieldKind::U16:
        value += std::to_string(record.u16(field.name));
        break;
      case FieldKind::S16:
        value += std::to_string(record.s16(field.name));
        break;
      case FieldKind::U32:
        value += hex(record.u32(field.name, i));
        break;
      case FieldKind::S32:
        value += std::to_string(record.s32(field.name));
        break;
      case FieldKind::F32:
        value += number(record.f32(field.name));
        break;
      case FieldKind::F64:
        value += number(record.f64(field.name, i));
        break;
      case FieldKind::Pointer:
        value += hex(record.pointer(field.name, i));
        break;
      case FieldKind::Point:
        value += point(record.point(field.name));
        break;
      case FieldKind::Box: {
        const hostabi::Box b = record.box(field.name);
        value += std::to_string(b.x) + ", " + std::to_string(b.y) + ", " + std::to_string(b.width) +
                 ", " + std::to_string(b.height);
        break;
      }
      case FieldKind::ModuleVar:
        value += "(a MODULE_VAR)";
        break;
      case FieldKind::Char:
        break;
    }
  }
  return field.count > 1 && field.kind != FieldKind::Char ? "{" + value + "}" : value;
}

// The module's name as a panel line writes it: its file name without the extension.
std::string moduleStem(const std::string& path) {
  const auto slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

class Describer {
 public:
  Describer(const LoadedModule& module, std::ostream& out, bool offsets, const GaugeSizer& sizer,
            const PanelLayout* panel)
      : module_(module), out_(out), offsets_(offsets), sizer_(sizer), panel_(panel) {
    // The built-in stack read once for every gauge it places.
    if (panel_ == nullptr && sizer_) builtIn_ = builtInPanel();
  }

  void module() {
    const LinkageRecord& l = module_.linkage();
    out_ << "module " << module_.path() << " (" << module_.layouts().pointerSize * 8
         << "-bit layout): " << l.gauges.size() << " gauges\n";
    out_ << "  Linkage at " << hex(l.address) << ": module id " << hex(l.moduleId) << ", version "
         << hex(l.version) << ", init " << function(l.init) << ", deinit " << function(l.deinit)
         << "\n";
    fields(module_.layouts().linkage, l.address, 2);
    out_ << "  ImportTable at " << hex(module_.importTable()) << ", PANELS at "
         << hex(module_.panelsTable()) << " (" << hostabi::kPanelsSlots << " slots)\n";
    fields(module_.layouts().importTable, module_.importTable(), 2);
    for (const GaugeRecord& gauge : module_.gauges()) describeGauge(gauge);
  }

 private:
  std::string function(ModuleAddress address) const {
    if (address == 0) return "none";
    const std::string name = module_.nameOf(address);
    return name.empty() ? "set" : name;
  }

  void fields(const hostabi::RecordLayout& layout, ModuleAddress at, int indent) {
    if (!offsets_) return;
    const hostabi::RecordReader record(module_.image(), layout, at);
    const std::string pad(static_cast<std::size_t>(indent) + 2, ' ');
    for (const hostabi::Field& field : layout.fields()) {
      char offset[16];
      std::snprintf(offset, sizeof offset, "+%3u", field.offset);
      out_ << pad << offset << " " << field.name << ": " << fieldValue(record, field) << "\n";
    }
  }

  const hostabi::RecordLayout& layoutOf(const ElementRecord& element) const {
    const hostabi::HostLayouts& l = module_.layouts();
    switch (element.kind) {
      case hostabi::kStaticImage:
        return l.staticImage;
      case hostabi::kString:
        return l.string;
      case hostabi::kIcon:
        return l.icon;
      case hostabi::kMovingImage:
        return l.movingImage;
      default:
        return l.elementHeader;
    }
  }

  void describeElement(const GaugeRecord& gauge, const ElementRecord& element,
                       const std::string& number) {
    std::string line = std::string(2 + 2 * static_cast<std::size_t>(element.depth), ' ') + number +
                       ": " + hostabi::elementKindName(element.kind) + " at " +
                       point(element.position) + ", flags " + hex(element.imageFlags);
    switch (element.kind) {
      case hostabi::kStaticImage:
        line += ", bitmap " + std::to_string(element.resourceId);
        break;
      case hostabi::kString: {
        const TextFields& t = element.text;
        line += ", box " + std::to_string(t.box.x) + " x " + std::to_string(t.box.y) + ", font \"" +
                t.fontName + "\" " + std::to_string(t.fontSize) + ", colour " +
                hex(t.foreground, 6) + ", " + std::to_string(t.characters) +
                " characters, callback " + function(t.callback);
        break;
      }
      case hostabi::kIcon:
        line += ", bitmaps " + std::to_string(element.resourceId) + " (" +
                std::to_string(element.icon.frames) + " frames), callback " +
                function(element.icon.callback);
        break;
      case hostabi::kMovingImage: {
        const MovingImageFields& m = element.moving;
        line += ", strip " + std::to_string(element.resourceId) + " window " +
                std::to_string(element.resourceId + 1) + ", X " + range(m.minX, m.maxX) +
                " callback " + function(m.xCallback) + ", Y " + range(m.minY, m.maxY) +
                " callback " + function(m.yCallback);
        break;
      }
      default:
        break;
    }
    if (element.hasFailureList) {
      line += ", failures";
      for (const FailureEntry& f : element.failures) {
        line += " " + std::to_string(f.key) + "/" + std::to_string(f.action);
      }
    }
    out_ << line << '\n';
    fields(layoutOf(element), element.address, 2 + 2 * element.depth);
    for (std::size_t i = 0; i < element.children.size(); ++i) {
      const std::string childNumber =
          (element.depth == 0 ? "" : number + ".") + std::to_string(i + 1);
      describeElement(gauge, gauge.tree.elements[element.children[i]], childNumber);
    }
  }

  void mouseTable(const GaugeRecord& gauge) {
    out_ << "  mouse table: " << gauge.mouse.size() << " entries\n";
    for (std::size_t i = 0; i < gauge.mouse.size(); ++i) {
      const MouseEntry& entry = gauge.mouse[i];
      std::string line =
          "    " + std::to_string(i) + ": " + hostabi::mouseEntryKindName(entry.kind);
      if (entry.kind == hostabi::kUser) {
        line += ", tooltip \"" + entry.tooltip + "\"";
      } else if (entry.kind != hostabi::kEndOfList && entry.kind != hostabi::kEndParent) {
        const hostabi::Box& box = entry.box;
        line += ", box " + std::to_string(box.x) + ", " + std::to_string(box.y) + ", " +
                std::to_string(box.width) + ", " + std::to_string(box.height);
        line += ", cursor " + std::to_string(entry.cursor);
        line += ", flags " + hex(entry.flags, 8);
        if (entry.kind == hostabi::kChild) line += ", handler " + function(entry.function);
      }
      out_ << line << '\n';
      fields(module_.layouts().mouseRect, gauge.mouseTable + i * module_.layouts().mouseRect.size(),
             4);
    }
  }

  void placement(const GaugeRecord& gauge) {
    if (!sizer_) return;
    const GaugePixels size = sizer_(gauge);
    if (!size.unknownBecause.empty()) {
      out_ << "  size in pixels: not known (" << size.unknownBecause << ")\n";
      return;
    }
    out_ << "  size in pixels: " << size.width << " x " << size.height << "\n";
    std::string line;
    const PanelLayout& stack = panel_ ? *panel_ : *builtIn_;
    const std::string placedBy =
        panel_ ? stack.file + " [" + stack.window + "]" : std::string("the built-in stack");
    for (std::size_t i = 0; i < stack.placements.size(); ++i) {
      const GaugePlacement& p = stack.placements[i];
      if (p.gaugeName != gauge.name) continue;
      const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
      line = "gauge" + number + "=" + moduleStem(module_.path()) + "!" + gauge.name + ", " +
             std::to_string(p.x) + ", " + std::to_string(p.y) + ", " +
             std::to_string(p.width > 0 ? p.width : size.width);
      out_ << "  placed as " << placedBy << " does: " << line << "\n";
    }
    if (line.empty()) {
      out_ << "  placed at its own size: gaugeNN=" << moduleStem(module_.path()) << "!"
           << gauge.name << ", X, Y, " << size.width << "\n";
    }
  }

  void describeGauge(const GaugeRecord& gauge) {
    out_ << "gauge \"" << gauge.name << "\" at " << hex(gauge.address) << ": header version "
         << hex(gauge.version) << ", default size " << gauge.sizeXmm << " x " << gauge.sizeYmm
         << " mm, callback " << function(gauge.callback) << '\n';
    placement(gauge);
    fields(module_.layouts().gaugeHeader, gauge.address, 0);
    if (const ElementRecord* root = gauge.tree.root()) {
      out_ << "  elements:\n";
      describeElement(gauge, *root, "root");
    } else {
      out_ << "  elements: none\n";
    }
    mouseTable(gauge);
  }

  const LoadedModule& module_;
  std::ostream& out_;
  bool offsets_;
  const GaugeSizer& sizer_;
  const PanelLayout* panel_;
  std::optional<PanelLayout> builtIn_;
};

}  // namespace

void describeModule(const LoadedModule& module, std::ostream& out, bool offsets,
                    const GaugeSizer& sizer, const PanelLayout* panel) {
  Describer(module, out, offsets, sizer, panel).module();
}

}  // namespace panelhost
