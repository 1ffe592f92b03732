#include "render/bitmap_library.h"

#include "render/bmp_reader.h"
#include "render/render_error.h"

namespace panelhost {

BitmapLibrary BitmapLibrary::load(const ResourceScript& script) {
  BitmapLibrary library;
  for (const BitmapResource& resource : script.bitmaps()) {
    try {
      library.add(resource.id, readBmpFile(resource.file), resource.file);
    } catch (const RenderError& e) {
      throw RenderError(resource.origin + ": bitmap " + std::to_string(resource.id) + ": " +
                        e.what());
    }
  }
  return library;
}

void BitmapLibrary::add(std::uint32_t id, Image image, std::filesystem::path file) {
  entries_[id] = Entry{std::move(image), std::move(file)};
}

const BitmapLibrary::Entry& BitmapLibrary::entry(std::uint32_t id) const {
  auto found = entries_.find(id);
  if (found == entries_.end()) {
    throw RenderError("bitmap " + std::to_string(id) +
                      ": the module's resource script names no bitmap of this id");
  }
  return found->second;
}

std::string BitmapLibrary::describe(std::uint32_t id) const {
  auto found = entries_.find(id);
  std::string text = "bitmap " + std::to_string(id);
  if (found != entries_.end() && !found->second.file.empty()) {
    text += " (" + found->second.file.string() + ")";
  }
  return text;
}

}  // namespace panelhost
