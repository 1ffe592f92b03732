#include "sim/sim_units.h"

#include <cmath>
#include <cstdio>

#include "support/number_text.h"

namespace panelhost {

namespace {

// COM and NAV travel as 16-bit BCD of the frequency in 10 kHz without the leading 1: 100.000 to
// 199.990 MHz, the 5-kHz digit carried only by a last digit of 2 or 7 (121.725, not 121.720).
constexpr long kLowestKhz = 100000;
constexpr long kHighestKhz = 199990;
// The ADF travels as five BCD digits of tenths of a kHz: 0.0 to 9999.9 kHz.
constexpr long long kHighestAdfTenths = 99999;

bool bcd16Carries(long khz) {
  const long tens = khz / 10 % 10;
  return khz % 10 == (tens == 2 || tens == 7 ? 5 : 0);
}

bool sameValue(double held, double expected) { return held == expected; }

// Kept and compared in whole kHz: 121.7254 is 121.725.
std::optional<double> parseMegahertz(const std::string& text, SimUse use) {
  const auto value = parseNumber(text);
  if (!value || !(std::fabs(*value) < 1e6)) return std::nullopt;
  const long khz = std::lround(*value * 1000);
  if (khz < kLowestKhz || khz > kHighestKhz || (use == SimUse::Set && !bcd16Carries(khz))) {
    return std::nullopt;
  }
  return static_cast<double>(khz);
}

std::string formatMegahertz(double khz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<int>(khz) / 1000.0);
  return text;
}

// Kept as given, since the gauge reads it from the calculator and truncates it (415.99 shows
// 415.9), and compared to the nearest tenth, which five BCD digits must carry.
std::optional<double> parseAdfKilohertz(const std::string& text, SimUse) {
  const auto value = parseNumber(text);
  if (!value || text[0] == '-' || !(*value >= 0 && *value < 1e6) ||
      std::llround(*value * 10) > kHighestAdfTenths) {
    return std::nullopt;
  }
  return *value;
}

std::string formatAdfKilohertz(double khz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", khz);
  return text;
}

bool sameTenth(double held, double expected) {
  return std::llround(held * 10) == std::llround(expected * 10);
}

std::optional<double> parseSquawkCode(const std::string& text, SimUse) {
  if (text.size() != 4) return std::nullopt;
  int code = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '7') return std::nullopt;
    code = code * 10 + (digit - '0');
  }
  return code;
}

std::string formatSquawkCode(double code) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d", static_cast<int>(code));
  return text;
}

std::optional<double> parseOnOff(const std::string& text, SimUse) {
  if (text != "on" && text != "off") return std::nullopt;
  return text == "on" ? 1 : 0;
}

std::string formatOnOff(double on) { return on != 0 ? "on" : "off"; }

}  // namespace

const SimUnit kMegahertz = {
    "a frequency in MHz that the host's BCD form carries, 100.000 to 199.990 with a last kHz digit "
    "of 0, or 5 after a 10-kHz digit of 2 or 7, such as 121.725",
    "a frequency in MHz from 100.000 to 199.990, such as 121.725",
    parseMegahertz,
    formatMegahertz,
    sameValue,
};

const SimUnit kAdfKilohertz = {
    "a frequency in kHz from 0.0 to 9999.9, such as 350.0",
    "a frequency in kHz from 0.0 to 9999.9, such as 350.0",
    parseAdfKilohertz,
    formatAdfKilohertz,
    sameTenth,
};

const SimUnit kSquawkCode = {
    "four digits 0-7 such as 0012",
    "four digits 0-7 such as 0012",
    parseSquawkCode,
    formatSquawkCode,
    sameValue,
};

const SimUnit kOnOff = {"on or off", "on or off", parseOnOff, formatOnOff, sameValue};

}  // namespace panelhost
