#include "panel/gauge_info.h"

#include <cstdio>
#include <string>

#include "panel/element_reader.h"
#include "panel/mouse_table.h"

namespace panelhost {

namespace {

std::string hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string point(SINT32 x, SINT32 y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string range(double low, double high) {
  char text[64];
  std::snprintf(text, sizeof text, "%g..%g", low, high);
  return text;
}

class Describer {
 public:
  Describer(const LoadedModule& module, std::ostream& out) : module_(module), out_(out) {}

  std::string function(const void* address) const {
    if (address == nullptr) return "none";
    const std::string name = module_.nameOf(address);
    return name.empty() ? "set" : name;
  }

  void describeElement(ELEMENT_HEADER* element, const std::string& number, int depth) {
    std::string line = std::string(2 + 2 * depth, ' ') + number + ": " + elementKindName(element);
    line += " at " + point(element->position.x, element->position.y);
    line += ", flags " + hex(element->image_flags, 1);
    switch (element->element_type) {
      case ELEMENT_TYPE_STATIC_IMAGE:
        line += ", bitmap " + std::to_string(element->resource_id);
        break;
      case ELEMENT_TYPE_STRING: {
        auto* text = static_cast<ELEMENT_STRING*>(element);
        char face[FONT_FACE_SIZE + 1] = {};
        std::snprintf(face, sizeof face, "%.*s", static_cast<int>(FONT_FACE_SIZE), text->font_face);
        line += ", box " + std::to_string(text->box_size.x) + " x " +
                std::to_string(text->box_size.y) + ", font \"" + face + "\" " +
                std::to_string(text->font_size) + ", colour " + hex(text->fg_color, 6) +
                ", callback " + function(reinterpret_cast<const void*>(text->update_cb));
        break;
      }
      case ELEMENT_TYPE_ICON: {
        auto* icon = static_cast<ELEMENT_ICON*>(element);
        line += ", bitmaps " + std::to_string(element->resource_id) + " (" +
                std::to_string(icon->num_icons) + " frames), callback " +
                function(reinterpret_cast<const void*>(icon->update_cb));
        break;
      }
      case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* moving = static_cast<ELEMENT_MOVING_IMAGE*>(element);
        line += ", strip " + std::to_string(element->resource_id) + " window " +
                std::to_string(element->resource_id + 1) + ", X " +
                range(moving->min_x, moving->max_x) + " callback " +
                function(reinterpret_cast<const void*>(moving->update_x_cb)) + ", Y " +
                range(moving->min_y, moving->max_y) + " callback " +
                function(reinterpret_cast<const void*>(moving->update_y_cb));
        break;
      }
    }
    if (element->failure_systems) line += ", failure list";
    out_ << line << '\n';
    const auto children = childElements(element);
    for (std::size_t i = 0; i < children.size(); ++i) {
      const std::string childNumber = (depth == 0 ? "" : number + ".") + std::to_string(i + 1);
      describeElement(children[i], childNumber, depth + 1);
    }
  }

  void mouseTable(const GAUGEHDR* gauge) {
    const auto entries = mouseEntries(gauge);
    out_ << "  mouse table: " << entries.size() << " entries\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const MOUSERECT& entry = *entries[i];
      std::string line = "    " + std::to_string(i) + ": " + mouseEntryKindName(&entry);
      if (entry.rect_type == MOUSE_RECT_USER) {
        line +=
            ", tooltip \"" + std::string(entry.handler.tooltip ? entry.handler.tooltip : "") + "\"";
      } else if (entry.rect_type != MOUSE_RECT_EOL && entry.rect_type != MOUSE_RECT_END_PARENT) {
        const PIXBOX& box = entry.relative_box;
        line += ", box " + std::to_string(box.x) + ", " + std::to_string(box.y) + ", " +
                std::to_string(box.size_x) + ", " + std::to_string(box.size_y);
        line += ", cursor " + std::to_string(entry.cursor);
        line += ", flags " + hex(entry.mouse_flags, 8);
        if (entry.rect_type == MOUSE_RECT_CHILD) {
          line += ", handler " + function(reinterpret_cast<const void*>(entry.handler.function));
        }
      }
      out_ << line << '\n';
    }
  }

  void gauge(const GAUGEHDR* gauge) {
    out_ << "gauge \"" << gauge->gauge_name << "\": header version "
         << hex(gauge->gauge_header_version, 1) << ", default size " << gauge->size_x_mm << " x "
         << gauge->size_y_mm << " mm, callback "
         << function(reinterpret_cast<const void*>(gauge->gauge_callback)) << '\n';
    ELEMENT_HEADER* root = rootElement(gauge);
    if (root == nullptr) {
      out_ << "  elements: none\n";
    } else {
      out_ << "  elements:\n";
      describeElement(root, "root", 0);
    }
    mouseTable(gauge);
  }

 private:
  const LoadedModule& module_;
  std::ostream& out_;
};

}  // namespace

void describeModule(const LoadedModule& module, std::ostream& out) {
  out << "module " << module.path() << ": " << module.gauges().size() << " gauges\n";
  Describer describer(module, out);
  for (const GAUGEHDR* gauge : module.gauges()) describer.gauge(gauge);
}

}  // namespace panelhost
