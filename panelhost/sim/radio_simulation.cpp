#include "sim/radio_simulation.h"

#include <array>
#include <cstdio>

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
  switch (eventId) {
    case 65707:
      state.com1ActiveKhz = khzFromBcd16(value);
      return true;
    case 65708:
      state.nav1ActiveKhz = khzFromBcd16(value);
      return true;
    case 65715:
      state.xpdrCode = xpdrCodeFromBcd(value);
      return true;
    case 66479:
      state.adfActiveKhz = adfKhzFromBcd32(value);
      return true;
    case 65832:
      state.nav1Ident = false;
      return true;
    case 65837:
      state.nav1Ident = true;
      return true;
    case 65836:
      state.adfIdent = false;
      return true;
    case 65841:
      state.adfIdent = true;
      return true;
    default:
      return false;
  }
}

std::optional<std::uint32_t> RadioSimulation::moduleVariable(std::uint32_t variableId) const {
  switch (variableId) {
    case 23:
      return bcd16FromKhz(state.com1ActiveKhz);
    case 24:
      return bcd16FromKhz(state.nav1ActiveKhz);
    default:
      return std::nullopt;
  }
}

std::optional<double> RadioSimulation::evaluate(const std::string& expression) const {
  if (expression == "(A:COM1 STANDBY FREQUENCY, Megahertz)") return state.com1StandbyKhz / 1000.0;
  if (expression == "(A:NAV1 STANDBY FREQUENCY, Megahertz)") return state.nav1StandbyKhz / 1000.0;
  if (expression == "(A:ADF ACTIVE FREQUENCY:1,KHz)") return state.adfActiveKhz;
  return std::nullopt;
}

std::string RadioSimulation::describeKeyEvent(std::uint32_t eventId, std::uint32_t value) {
  char text[64];
  switch (eventId) {
    case 65707:
      std::snprintf(text, sizeof text, "COM1 active %.3f MHz", khzFromBcd16(value) / 1000.0);
      return text;
    case 65708:
      std::snprintf(text, sizeof text, "NAV1 active %.3f MHz", khzFromBcd16(value) / 1000.0);
      return text;
    case 65715:
      std::snprintf(text, sizeof text, "transponder code %04d", xpdrCodeFromBcd(value));
      return text;
    case 66479:
      std::snprintf(text, sizeof text, "ADF active %.1f kHz", adfKhzFromBcd32(value));
      return text;
    case 65832:
      return "NAV1 ident off";
    case 65837:
      return "NAV1 ident on";
    case 65836:
      return "ADF ident off";
    case 65841:
      return "ADF ident on";
    default:
      return "unknown to the simulation";
  }
}

}  // namespace panelhost
