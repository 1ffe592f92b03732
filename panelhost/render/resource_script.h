// The module's resource script (radios.rc and the fragments it includes), read for the bitmaps it
// numbers. Other resource statements (VERSIONINFO and the like) are passed over; a line that is
// no resource statement at all is an error, so a slip such as "4096 BITMAPP" does not pass unseen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/bounded_file.h"

namespace panelhost {

struct BitmapResource {
  std::uint32_t id = 0;
  std::filesystem::path file;  // resolved against the folder of the script that names it
  std::string origin;          // "script:line", for messages
};

class ResourceScript {
 public:
  // How a script of the tree is read, up to a limit: from disk, or from memory for the fuzzer.
  using Reader = std::function<BoundedFile(const std::filesystem::path& file, std::size_t limit)>;

  // Reads `script` and every script it includes. Throws RenderError with the file and line.
  static ResourceScript load(const std::filesystem::path& script);
  static ResourceScript load(const std::filesystem::path& script, const Reader& read);

  const std::filesystem::path& file() const { return file_; }
  const std::vector<BitmapResource>& bitmaps() const { return bitmaps_; }

 private:
  std::filesystem::path file_;
  std::vector<BitmapResource> bitmaps_;
  friend class ResourceScriptParser;
};

}  // namespace panelhost
