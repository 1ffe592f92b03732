// User files read whole, but never past a limit: `panelhost run <(yes)` would otherwise read until
// memory runs out. Reading stops one byte past the limit, so an input of any size costs at most
// that much.
//
// A regular file is read as it is. A FIFO or a pipe (process substitution, /dev/stdin) is read as
// it delivers, but a pause longer than kLongestPauseMs ends the reading: a FIFO that nobody writes
// to would otherwise hold panelhost for ever. A folder, a device or a socket is no input file and
// is refused, named, without being opened.
#pragma once

#include <cstddef>
#include <string>

namespace panelhost {

// Scripts and panel files are hand-written text a few kilobytes long; a megabyte is room to spare.
constexpr std::size_t kLargestTextFile = 1024 * 1024;
// How long a FIFO or pipe may deliver nothing before its reading ends as failed.
constexpr int kLongestPauseMs = 5000;

struct BoundedFile {
  enum class Outcome { Read, CannotOpen, TooLarge };
  Outcome outcome = Outcome::CannotOpen;
  std::string text;    // Read: the file; TooLarge: its first `limit` bytes
  std::string reason;  // CannotOpen: the system's reason, or what the path is instead of a file
};

BoundedFile readBoundedFile(const std::string& path, std::size_t limit);

// Why `path` is no regular file that can be opened for reading, in the system's words ("No such
// file or directory", "Is a directory", "Too many levels of symbolic links") or naming what it is
// ("a character device"); empty when it is one. `pipes`: a FIFO counts as readable.
std::string whyNotReadable(const std::string& path, bool pipes);

// "PATH: cannot read WHAT (REASON)", for a file that could not be opened or read.
std::string cannotReadMessage(const std::string& path, const BoundedFile& file,
                              const std::string& what);

// For a file that outgrew the limit: "PATH:LINE: expected WHAT of at most 1 MiB (1048576 bytes),
// got more", LINE being where the limit falls.
std::string tooLargeMessage(const std::string& path, const BoundedFile& file, std::size_t limit,
                            const std::string& what);

// "1 MiB (1048576 bytes)".
std::string byteCountText(std::size_t bytes);

}  // namespace panelhost
