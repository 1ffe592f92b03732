// Every file panelhost writes (a picture, a recorded scenario, a screenshot) goes through here, so
// that a full disk or a folder that cannot be written is an error naming the file and the
// system's reason, never a success with a broken file left behind.
//
// A regular file (or one that does not exist yet) is written to a temporary file beside it, which
// replaces the target only once every byte is written and the file is closed: a failure leaves
// the target as it was. A target that exists and is not a regular file (/dev/null, /dev/full, a
// FIFO) is not ours to replace: it is written directly, every write and the close checked.
#pragma once

#include <cstddef>
#include <string>

namespace panelhost {

// How long a FIFO may go without a reader, or without taking what is written, before the write
// counts as failed.
constexpr int kLongestStallMs = 5000;

class OutputFile {
 public:
  // Opens the file for `what` ("the PNG file"); throws HostError "PATH: cannot write WHAT
  // (REASON)".
  OutputFile(std::string path, std::string what);
  // Without commit, the temporary file goes and the target stays as it was.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Each throws HostError as the constructor does.
  void write(const void* bytes, std::size_t size);
  void write(const std::string& text) { write(text.data(), text.size()); }
  // Closes the file and puts it in place of the target.
  void commit();

  const std::string& path() const { return path_; }

 private:
  [[noreturn]] void fail(const std::string& reason);
  [[noreturn]] void failWithErrno();
  void waitUntilWritable();

  std::string path_;
  std::string what_;
  std::string target_;     // what the temporary file replaces: the path, its link followed
  std::string temporary_;  // empty when the target is written directly
  int descriptor_ = -1;
};

// The whole file at once.
void writeOutputFile(const std::string& path, const std::string& what, const void* bytes,
                     std::size_t size);

}  // namespace panelhost
