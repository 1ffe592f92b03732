#include "sim/radio_simulation.h"

#include <array>

#include "sim/radio_tables.h"

namespace panelhost {

namespace {

// The decimal digits held in the nibbles of a BCD value, most significant first.
template <std::size_t N>
std::array<int, N> nibbles(std::uint32_t bcd, int topShift) {
  std::array<int, N> digits{};
  for (std::size_t i = 0; i < N; ++i)
    digits[i] = (bcd >> (topShift - 4 * static_cast<int>(i))) & 0xF;
  return digits;
}

}  // namespace

int RadioSimulation::khzFromBcd16(std::uint32_t bcd) {
  const auto d = nibbles<4>(bcd, 12);
  int tensOfKhz = 10000 + d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
  int khz = tensOfKhz * 10;
  if (d[3] == 2 || d[3] == 7) khz += 5;
  return khz;
}

std::uint32_t RadioSimulation::bcd16FromKhz(int khz) {
  int tensOfKhz = (khz / 10) % 10000;
  std::uint32_t bcd = 0;
  for (int shift = 0; shift < 16; shift += 4) {
    bcd |= static_cast<std::uint32_t>(tensOfKhz % 10) << shift;
    tensOfKhz /= 10;
  }
  return bcd;
}

double RadioSimulation::adfKhzFromBcd32(std::uint32_t bcd) {
  const auto d = nibbles<5>(bcd, 28);
  const int tenths = d[0] * 10000 + d[1] * 1000 + d[2] * 100 + d[3] * 10 + d[4];
  return tenths / 10.0;
}

int RadioSimulation::xpdrCodeFromBcd(std::uint32_t bcd) {
  const auto d = nibbles<4>(bcd, 12);
  return d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
}

bool RadioSimulation::applyKeyEvent(std::uint32_t eventId, std::uint32_t value) {
  const KeyEvent* event = keyEventWithId(eventId);
  if (event == nullptr) return false;
  setHeldValue(state, *event->sets, event->decode(value));
  return true;
}

std::optional<std::uint32_t> RadioSimulation::moduleVariable(std::uint32_t variableId) const {
  const ModuleVariable* variable = moduleVariableWithId(variableId);
  if (variable == nullptr) return std::nullopt;
  return variable->encode(heldValue(state, *variable->key));
}

std::optional<double> RadioSimulation::evaluate(const std::string& expression) const {
  const CalculatorExpression* known = calculatorExpression(expression);
  if (known == nullptr) return std::nullopt;
  return known->answer(heldValue(state, *known->key));
}

std::string RadioSimulation::describeKeyEvent(std::uint32_t eventId, std::uint32_t value) {
  const KeyEvent* event = keyEventWithId(eventId);
  if (event == nullptr) return "unknown to the simulation";
  return withValue(event->description, event->sets->unit->format(event->decode(value)));
}

}  // namespace panelhost
