// What the simulator's published facts leave open about the host, chosen on panelhost's command
// line so that the module can be tried under each: the x87 precision its thread computes at, and
// how its simulation holds the numbers the calculator hands back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace panelhost {

// How the simulation holds a calculator answer: as the exact double, as a 32-bit float widened
// back to a double, or one step (ulp) below the exact double.
enum class HeldAnswers { kExact, kFloat, kBelow };

struct HostConditions {
  // The precision of the x87 at every call into the emulated module: 24, 53 (a Windows thread's
  // own) or 64 bits. Unset: the emulator's default, a Windows thread's own. A native module
  // computes with SSE and cannot take one.
  std::optional<int> fpuBits;
  HeldAnswers answers = HeldAnswers::kExact;
};

// The x87 control word of a precision: 0x07F, 0x27F or 0x37F (every exception masked, rounding
// to nearest).
std::uint16_t fpuControlWord(int bits);
// The answer as the simulation holds it.
double heldAnswer(double exact, HeldAnswers answers);

// What the options take, "24, 53 or 64" and "exact, float or below".
std::string fpuBitsChoices();
std::string heldAnswersChoices();
// The options' values as the command line gives them; throw HostError naming what is accepted.
int parseFpuBits(const std::string& text);
HeldAnswers parseHeldAnswers(const std::string& text);
const char* heldAnswersName(HeldAnswers answers);

}  // namespace panelhost
