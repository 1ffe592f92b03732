#include "services/host_conditions.h"

#include <cmath>
#include <limits>
#include <vector>

#include "support/host_error.h"
#include "support/message_parts.h"
#include "support/shown_text.h"

namespace panelhost {
namespace {

struct FpuPrecision {
  int bits;
  std::uint16_t controlWord;
};

// clang-format off
//                                      bits  control word
constexpr FpuPrecision kFpuPrecisions[] = {{24, 0x07F},
                                           {53, 0x27F},
                                           {64, 0x37F}};

struct AnswersName {
  HeldAnswers answers;
  const char* name;
};
constexpr AnswersName kAnswersNames[] = {{HeldAnswers::kExact, "exact"},
                                         {HeldAnswers::kFloat, "float"},
                                         {HeldAnswers::kBelow, "below"}};
// clang-format on

}  // namespace

std::string fpuBitsChoices() {
  std::vector<std::string> choices;
  for (const FpuPrecision& precision : kFpuPrecisions) {
    choices.push_back(std::to_string(precision.bits));
  }
  return listed(choices);
}

std::string heldAnswersChoices() {
  std::vector<std::string> choices;
  for (const AnswersName& known : kAnswersNames) choices.push_back(known.name);
  return listed(choices);
}

std::uint16_t fpuControlWord(int bits) {
  for (const FpuPrecision& precision : kFpuPrecisions) {
    if (precision.bits == bits) return precision.controlWord;
  }
  throw HostError("an x87 precision of " + std::to_string(bits) + " bits: expected " +
                  fpuBitsChoices());
}

double heldAnswer(double exact, HeldAnswers answers) {
  switch (answers) {
    case HeldAnswers::kFloat:
      // A float cannot hold more; the conversion itself is defined only within its range.
      if (std::fabs(exact) > std::numeric_limits<float>::max()) {
        return std::copysign(std::numeric_limits<double>::infinity(), exact);
      }
      return static_cast<double>(static_cast<float>(exact));
    case HeldAnswers::kBelow:
      return std::nextafter(exact, -std::numeric_limits<double>::infinity());
    case HeldAnswers::kExact:
      break;
  }
  return exact;
}

int parseFpuBits(const std::string& text) {
  for (const FpuPrecision& precision : kFpuPrecisions) {
    if (text == std::to_string(precision.bits)) return precision.bits;
  }
  throw HostError("--fpu " + shownText(text) + ": expected " + fpuBitsChoices() +
                  " (bits of x87 precision)");
}

HeldAnswers parseHeldAnswers(const std::string& text) {
  for (const AnswersName& known : kAnswersNames) {
    if (text == known.name) return known.answers;
  }
  throw HostError("--answers " + shownText(text) + ": expected " + heldAnswersChoices());
}

const char* heldAnswersName(HeldAnswers answers) {
  for (const AnswersName& known : kAnswersNames) {
    if (known.answers == answers) return known.name;
  }
  return "exact";
}

}  // namespace panelhost
