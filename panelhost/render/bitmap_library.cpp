#include "render/bitmap_library.h"

#include "render/bmp_reader.h"
#include "render/render_error.h"
#include "support/shown_text.h"

namespace panelhost {

BitmapLibrary BitmapLibrary::load(const ResourceScript& script) {
  BitmapLibrary library;
  library.script_ = script.file();
  for (const BitmapResource& resource : script.bitmaps()) {
    try {
      library.add(resource.id, readBmpFile(resource.file), resource.file, resource.origin);
    } catch (const RenderError& e) {
      throw RenderError(resource.origin + ": bitmap " + std::to_string(resource.id) + ": " +
                        e.what());
    }
  }
  return library;
}

void BitmapLibrary::add(std::uint32_t id, Image image, std::filesystem::path file,
                        std::string origin) {
  entries_[id] = Entry{std::move(image), std::move(file), std::move(origin)};
}

const BitmapLibrary::Entry& BitmapLibrary::entry(std::uint32_t id) const {
  auto found = entries_.find(id);
  if (found == entries_.end()) throw RenderError(missing(id));
  return found->second;
}

void BitmapLibrary::addResources(const std::filesystem::path& module,
                                 const std::vector<std::uint32_t>& ids,
                                 const ResourceFetch& fetch) {
  carrier_ = module;
  for (std::uint32_t id : ids) {
    if (contains(id)) continue;
    const auto bytes = fetch(id);
    if (!bytes) continue;
    const std::string name = shownText(module.string(), kShownPathBytes) + ", bitmap resource " +
                             std::to_string(id);
    add(id, decodeBmp(*bytes, name), name);
  }
}

std::string BitmapLibrary::missing(std::uint32_t id) const {
  if (!carrier_.empty()) {
    return "bitmap " + std::to_string(id) + ": the module " +
           shownText(carrier_.string(), kShownPathBytes) +
           " carries no bitmap resource of this id";
  }
  std::string text =
      "bitmap " + std::to_string(id) + ": the module's resource script names no bitmap of this id";
  if (script_.empty()) return text;
  text += ": expected a line " + std::to_string(id) + " BITMAP \"FILE.bmp\" in " +
          shownText(script_.string(), kShownPathBytes) + " or a script it includes";
  const Entry* nearest = nullptr;
  std::uint32_t nearestId = 0;
  for (const auto& [otherId, entry] : entries_) {
    const auto distance = [id](std::uint32_t other) {
      return other > id ? other - id : id - other;
    };
    if (!entry.origin.empty() && (nearest == nullptr || distance(otherId) < distance(nearestId))) {
      nearest = &entry;
      nearestId = otherId;
    }
  }
  if (nearest != nullptr) {
    text += " (bitmap " + std::to_string(nearestId) + " is named at " + nearest->origin + ")";
  }
  return text;
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
