// User files read whole, but never past a limit: `panelhost run /dev/zero` would otherwise read
// until memory runs out. Reading stops one byte past the limit, so a device or a file of any size
// costs at most that much.
#pragma once

#include <cstddef>
#include <string>

namespace panelhost {

// Scripts and panel files are hand-written text a few kilobytes long; a megabyte is room to spare.
constexpr std::size_t kLargestTextFile = 1024 * 1024;

struct BoundedFile {
  enum class Outcome { Read, CannotOpen, TooLarge };
  Outcome outcome = Outcome::CannotOpen;
  std::string text;  // Read: the file; TooLarge: its first `limit` bytes
};

// A folder counts as a file that cannot be opened: it reads as empty, which would pass for a file.
BoundedFile readBoundedFile(const std::string& path, std::size_t limit);

// For a file that outgrew the limit: "PATH:LINE: expected WHAT of at most 1 MiB (1048576 bytes),
// got more", LINE being where the limit falls.
std::string tooLargeMessage(const std::string& path, const BoundedFile& file, std::size_t limit,
                            const std::string& what);

// "1 MiB (1048576 bytes)".
std::string byteCountText(std::size_t bytes);

}  // namespace panelhost
