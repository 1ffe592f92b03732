// The module writes its texts without printf. Each is checked byte for byte against what printf
// writes for the same values into the same buffer: the displays' "%7.3f" of floor(khz / 10.0) /
// 100.0 and the calculator's "%s%s%s", cut to the buffer's size, and not a byte beyond it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "gauges/comnav/frequency_text.h"
#include "host/cut_text.h"
#include "host/panel_services.h"

namespace {

// A buffer and the bytes after it, all marked unwritten: the whole is compared.
template <std::size_t N>
struct Marked {
  char bytes[N];
  Marked() { std::fill(bytes, bytes + N, '#'); }
  std::string all() const { return std::string(bytes, N); }
};

using DisplayBuffer = Marked<kLongestFrequencyText + 3>;  // within the string's small size

std::string written(KhzFrequency khz, std::size_t size) {
  DisplayBuffer buffer;
  writeFrequencyText(buffer.bytes, size, khz);
  return buffer.all();
}

std::string printed(KhzFrequency khz, std::size_t size) {
  DisplayBuffer buffer;
  std::snprintf(buffer.bytes, size, "%7.3f", std::floor(khz / 10.0) / 100.0);
  return buffer.all();
}

constexpr std::size_t kWholeText = kLongestFrequencyText + 1;
constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();

TEST(TextWithoutPrintf, EveryTenKilohertzFromZeroTo999_99Mhz) {
  for (KhzFrequency khz = 0; khz <= 999990; khz += 10) {
    ASSERT_EQ(written(khz, 8), printed(khz, 8)) << khz;
  }
}

// Off the 10 kHz grid, negative, around every change of length and sign, and the ends of int32.
std::vector<KhzFrequency> oddFrequencies() {
  std::vector<KhzFrequency> odd = {kLowest,  kLowest + 1,  kLowest + 9,  kLowest + 10,
                                   kHighest, kHighest - 9, kHighest - 10};
  for (KhzFrequency khz = -2000; khz <= 2000; ++khz) odd.push_back(khz);
  for (std::int64_t ten = 10; ten <= 1000000000; ten *= 10) {
    for (std::int64_t near : {ten - 1, ten, ten + 1, ten + 9}) {
      odd.push_back(static_cast<KhzFrequency>(near));
      odd.push_back(static_cast<KhzFrequency>(-near));
    }
  }
  // A spread over the whole range, stepping by a prime so that every last digit comes round.
  for (std::int64_t khz = kLowest; khz <= kHighest; khz += 104729) {
    odd.push_back(static_cast<KhzFrequency>(khz));
  }
  return odd;
}

TEST(TextWithoutPrintf, AnyOther32BitFrequency) {
  for (KhzFrequency khz : oddFrequencies()) {
    ASSERT_EQ(written(khz, kWholeText), printed(khz, kWholeText)) << khz;
  }
}

TEST(TextWithoutPrintf, CutToEveryBufferSize) {
  for (KhzFrequency khz : {0, -1, 123425, 999990, 1000000, -999990, kHighest, kLowest}) {
    for (std::size_t size = 0; size <= kWholeText; ++size) {
      ASSERT_EQ(written(khz, size), printed(khz, size)) << khz << " into " << size << " bytes";
    }
  }
}

TEST(TextWithoutPrintf, CalculatorCodeCutAtItsBuffer) {
  const std::size_t room = kCalculatorCodeSize - 1;
  const std::string names[] = {"A:COM1 STANDBY FREQUENCY, Megahertz", "",
                               std::string(room - 2, 'x'),  // fills the buffer to its last byte
                               std::string(room - 1, 'x'),  // loses the closing parenthesis
                               std::string(2 * room, 'x')};
  const std::size_t sizes[] = {0, 1, 2, 3, 4, kCalculatorCodeSize};
  for (const std::string& name : names) {
    for (std::size_t size : sizes) {
      Marked<kCalculatorCodeSize + 2> ours, theirs;
      writeCutText(ours.bytes, size, {"(", name.c_str(), ")"});
      std::snprintf(theirs.bytes, size, "%s%s%s", "(", name.c_str(), ")");
      ASSERT_EQ(ours.all(), theirs.all()) << name.size() << " characters into " << size;
    }
  }
}

}  // namespace
