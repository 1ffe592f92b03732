#include "support/bounded_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/shown_text.h"

namespace panelhost {

BoundedFile readBoundedFile(const std::string& path, std::size_t limit) {
  BoundedFile file;
  std::error_code ignored;
  if (path.find('\0') != std::string::npos || std::filesystem::is_directory(path, ignored)) {
    return file;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return file;
  char chunk[64 * 1024];
  while (file.text.size() <= limit) {
    const std::size_t wanted = std::min(sizeof chunk, limit + 1 - file.text.size());
    in.read(chunk, static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in.gcount());
    file.text.append(chunk, got);
    if (got < wanted) break;
  }
  if (in.bad()) return BoundedFile{};
  file.outcome = BoundedFile::Outcome::Read;
  if (file.text.size() > limit) {
    file.outcome = BoundedFile::Outcome::TooLarge;
    file.text.resize(limit);
  }
  return file;
}

std::string byteCountText(std::size_t bytes) {
  const std::string exact = std::to_string(bytes) + " bytes";
  if (bytes % (1024 * 1024) == 0)
    return std::to_string(bytes / (1024 * 1024)) + " MiB (" + exact + ")";
  if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB (" + exact + ")";
  return exact;
}

std::string tooLargeMessage(const std::string& path, const BoundedFile& file, std::size_t limit,
                            const std::string& what) {
  const auto line = 1 + std::count(file.text.begin(), file.text.end(), '\n');
  return shownText(path, kShownPathBytes) + ":" + std::to_string(line) + ": expected " + what +
         " of at most " + byteCountText(limit) + ", got more (reading stopped on this line)";
}

}  // namespace panelhost
