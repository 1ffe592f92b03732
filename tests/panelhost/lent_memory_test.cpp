// The emulated module may write only inside the memory the host lent it: one byte past a text
// buffer, or past the storage var_ptr points at, ends the run naming the block and the entry.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_run.h"

using ::testing::HasSubstr;

namespace {

TEST(LentMemory, AWriteJustOutsideABlockEndsTheRunNamingTheBlockAndTheEntryPoint) {
  ASSERT_TRUE(std::filesystem::exists(FAKE_GAU_PATH))
      << FAKE_GAU_PATH << " is missing: build the mingw-i686 preset first";
  const struct {
    const char* body;
    const char* entry;
    const char* block;
  } cases[] = {
      {"click Fake 75 5\nupdate\n", "element 1 of \"Fake\"",
       "offset 32 of the text buffer of element 1 of \"Fake\", which is 32 bytes long"},
      {"click Fake 85 5\n", "mouse entry 13 of \"Fake\"",
       "offset 8 of the storage of module variable 23 (lookup_var's var_ptr), which is 8 bytes "
       "long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    const RunResult run = runFake(c.body, "[Window00]\ngauge00=fake!Fake, 0, 0\n", FAKE_GAU_PATH);
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_THAT(run.output, HasSubstr(std::string(c.entry) +
                                      ": wrote outside the memory the host lent it: at 0x"));
    EXPECT_THAT(run.output, HasSubstr(c.block));
  }
}

// An update cycle goes into the emulator in one entry: Lifecycle's pre-update, Fake's, then
// Fake's text callback, the third call, which writes past its buffer. The fault names that
// callback and the instruction.
TEST(LentMemory, AWriteOutsideByTheThirdCallOfABatchedUpdateCycleNamesThatCall) {
  ASSERT_TRUE(std::filesystem::exists(FAKE_GAU_PATH))
      << FAKE_GAU_PATH << " is missing: build the mingw-i686 preset first";
  const RunResult run = runFake(
      "click Fake 75 5\nupdate\n",
      "[Window00]\ngauge00=fake!Lifecycle, 0, 0\ngauge01=fake!Fake, 0, 100\n", FAKE_GAU_PATH);
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_THAT(run.output, HasSubstr("element 1 of \"Fake\": wrote outside the memory the host lent "
                                    "it: at 0x"));
  EXPECT_THAT(run.output, HasSubstr("(the instruction at 0x"));
  EXPECT_THAT(run.output, HasSubstr("serviceText+0x"));
}

}  // namespace
