// User files are read up to a limit and no further, whatever they are.
#include "support/bounded_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_run.h"

namespace {

using Outcome = panelhost::BoundedFile::Outcome;

TEST(BoundedFile, ReadsUpToTheLimitAndStopsOneBytePastIt) {
  const std::string folder = testFolder();
  writeFile(folder + "/nine.txt", "a\nb\nc\nd\ne");
  // Sparse: a gigabyte on disk costs nothing, and reading it whole would show as time and memory.
  const std::string huge = folder + "/huge.txt";
  writeFile(huge, "");
  std::filesystem::resize_file(huge, 1ull << 30);
  const struct {
    std::string path;
    std::size_t limit;
    Outcome outcome;
    std::size_t kept;
    const char* message;
  } cases[] = {
      {folder + "/nine.txt", 9, Outcome::Read, 9, nullptr},
      {folder + "/nine.txt", 8, Outcome::TooLarge, 8,
       "nine.txt:5: expected a list of at most 8 bytes"},
      {folder + "/nine.txt", 3, Outcome::TooLarge, 3,
       "nine.txt:2: expected a list of at most 3 bytes"},
      {folder + "/nine.txt", 1024, Outcome::Read, 9, nullptr},
      {huge, panelhost::kLargestTextFile, Outcome::TooLarge, panelhost::kLargestTextFile,
       "huge.txt:1: expected a list of at most 1 MiB (1048576 bytes), got more"},
      // A folder opens like a file on Linux and reads as nothing, which would pass for a file.
      {folder, 100, Outcome::CannotOpen, 0, "cannot read a list (Is a directory)"},
      {folder + "/none.txt", 100, Outcome::CannotOpen, 0,
       "none.txt: cannot read a list (No such file or directory)"},
      {"/dev/zero", 1024, Outcome::CannotOpen, 0,
       "/dev/zero: cannot read a list (a character device, not a file)"},
  };
  for (const auto& c : cases) {
    const auto file = panelhost::readBoundedFile(c.path, c.limit);
    EXPECT_EQ(file.outcome, c.outcome) << c.path << " " << c.limit;
    EXPECT_EQ(file.text.size(), c.kept) << c.path << " " << c.limit;
    if (c.message != nullptr) {
      const std::string message = c.outcome == Outcome::TooLarge
                                      ? panelhost::tooLargeMessage(c.path, file, c.limit, "a list")
                                      : panelhost::cannotReadMessage(c.path, file, "a list");
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
  }
}

}  // namespace
