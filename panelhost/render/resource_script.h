// The module's resource script (radios.rc and the fragments it includes), read for the bitmaps it
// numbers. Other resource statements (VERSIONINFO and the like) are passed over.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace panelhost {

struct BitmapResource {
  std::uint32_t id = 0;
  std::filesystem::path file;  // resolved against the folder of the script that names it
  std::string origin;          // "script:line", for messages
};

class ResourceScript {
 public:
  // Reads `script` and every script it includes. Throws RenderError with the file and line.
  static ResourceScript load(const std::filesystem::path& script);

  const std::vector<BitmapResource>& bitmaps() const { return bitmaps_; }

 private:
  std::vector<BitmapResource> bitmaps_;
  friend class ResourceScriptParser;
};

}  // namespace panelhost
