// The module's bitmaps by resource id, read and converted to drawing form once, when the module's
// resource script is loaded, and never again per frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "render/image.h"
#include "render/resource_script.h"

namespace panelhost {

class BitmapLibrary {
 public:
  struct Entry {
    Image image;
    std::filesystem::path file;
    std::string origin;  // "script:line" where the script names it, when read from one
  };

  BitmapLibrary() = default;

  // Reads every bitmap the script names. Throws RenderError naming the resource id, the file and
  // the script line for a missing, truncated, compressed or otherwise unusable bitmap.
  static BitmapLibrary load(const ResourceScript& script);
  static BitmapLibrary loadScript(const std::filesystem::path& scriptFile) {
    return load(ResourceScript::load(scriptFile));
  }

  void add(std::uint32_t id, Image image, std::filesystem::path file = {}, std::string origin = {});

  // The bitmaps a module carries inside itself (a .gau's bitmap resources): of `ids`, those that
  // `fetch` finds, as .bmp bytes. Throws RenderError naming the module and the id for one that
  // cannot be used.
  using ResourceFetch = std::function<std::optional<std::vector<std::uint8_t>>(std::uint32_t id)>;
  void addResources(const std::filesystem::path& module, const std::vector<std::uint32_t>& ids,
                    const ResourceFetch& fetch);

  bool contains(std::uint32_t id) const { return entries_.count(id) != 0; }
  // Throws RenderError naming the id when the module's resources lack it.
  const Entry& entry(std::uint32_t id) const;
  const Image& image(std::uint32_t id) const { return entry(id).image; }
  // "bitmap 4096 (resources/bitmaps/x.bmp)", for messages.
  std::string describe(std::uint32_t id) const;
  // Why `id` is not there, naming the script that should name it and the line of its nearest
  // neighbour, where the missing line most likely belongs.
  std::string missing(std::uint32_t id) const;

  std::size_t size() const { return entries_.size(); }

 private:
  std::map<std::uint32_t, Entry> entries_;
  std::filesystem::path script_;  // empty for a library put together in code
  std::filesystem::path carrier_;  // the module whose own resources these are, if they are
};

}  // namespace panelhost
