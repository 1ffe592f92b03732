// The module writes its texts without printf. Each is checked byte for byte against what printf
// writes for the same values into the same buffer: the calculator's "%s%s%s", cut to the
// buffer's size, and not a byte beyond it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

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

TEST(TextWithoutPrintf, CalculatorCodeCutAtItsBuffer) {
  using CodeBuffer = Marked<kCalculatorCodeSize + 2>;
  const std::size_t room = kCalculatorCodeSize - 1;
  struct Case {
    std::string name;
    std::size_t size;
  };
  const Case cases[] = {
      {"A:COM1 STANDBY FREQUENCY, Megahertz", kCalculatorCodeSize},
      {"", kCalculatorCodeSize},
      {std::string(room - 2, 'x'), kCalculatorCodeSize},  // fits to the last byte
      {std::string(room - 1, 'x'), kCalculatorCodeSize},  // loses the closing parenthesis
      {std::string(room, 'x'), kCalculatorCodeSize},
      {std::string(2 * room, 'x'), kCalculatorCodeSize},
      {"AB", 0},
      {"AB", 1},
      {"AB", 2},
      {"AB", 3},
      {"AB", 4},
      {"AB", 5},
  };
  for (const Case& c : cases) {
    CodeBuffer ours, theirs;
    writeCutText(ours.bytes, c.size, {"(", c.name.c_str(), ")"});
    std::snprintf(theirs.bytes, c.size, "%s%s%s", "(", c.name.c_str(), ")");
    ASSERT_EQ(ours.all(), theirs.all()) << c.name.size() << " characters into " << c.size;
  }
}

}  // namespace
