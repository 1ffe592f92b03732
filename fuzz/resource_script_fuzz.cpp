// Any text given to the resource script reader is a list of bitmaps or a RenderError; nothing
// else. The text may include itself (the depth limit ends that) and one fixed fragment; every
// other name cannot be opened, so no input reaches the file system.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "render/render_error.h"
#include "render/resource_script.h"

namespace {

const std::string kFragment =
    "#define FACE 4096\n"
    "1 VERSIONINFO\nFILEVERSION 1, 0, 0, 0\nBEGIN\n  VALUE \"x\", \"4097 BITMAP "
    "\\\"y.bmp\\\"\"\nEND\n"
    "FACE BITMAP DISCARDABLE \"bitmaps\\\\face.bmp\"\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto read = [&](const std::filesystem::path& file, std::size_t limit) {
    panelhost::BoundedFile result;
    const std::string name = file.filename().string();
    const std::string* body = name == "fuzz.rc" ? &text : name == "part.rc" ? &kFragment : nullptr;
    if (body == nullptr) return result;
    result.outcome = body->size() > limit ? panelhost::BoundedFile::Outcome::TooLarge
                                          : panelhost::BoundedFile::Outcome::Read;
    result.text = body->substr(0, limit);
    return result;
  };
  try {
    const auto script = panelhost::ResourceScript::load("/fuzz/fuzz.rc", read);
    std::set<std::uint32_t> ids;
    for (const auto& bitmap : script.bitmaps()) {
      // Ids are 1 to 65535, each named once, each with the line that names it and a file.
      if (bitmap.id == 0 || bitmap.id > 0xFFFF || !ids.insert(bitmap.id).second ||
          bitmap.origin.empty() || bitmap.file.filename().empty()) {
        std::abort();
      }
    }
  } catch (const panelhost::RenderError&) {
  }
  return 0;
}
