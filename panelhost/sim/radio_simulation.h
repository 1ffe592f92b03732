// The aircraft side of the radios: what the simulator holds and how it takes key events, module
// variable reads and calculator expressions (the rows of radio_tables.cpp). It decodes and
// encodes with its own code, so a wrong encoding in the module shows as a wrong state here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace panelhost {

struct RadioSimState {
  int com1ActiveKhz = 122800;
  int com1StandbyKhz = 121500;
  int nav1ActiveKhz = 110500;
  int nav1StandbyKhz = 113900;
  double adfActiveKhz = 350.0;
  int xpdrCode = 1200;  // four octal digits written as a decimal number: 7000, 0012
  bool nav1Ident = false;
  bool adfIdent = false;
};

class RadioSimulation {
 public:
  RadioSimState state;

  // Returns false for an event this simulation does not know; the state is then unchanged.
  bool applyKeyEvent(std::uint32_t eventId, std::uint32_t value);
  // The raw current value of a module variable, or nothing for an id it does not know.
  std::optional<std::uint32_t> moduleVariable(std::uint32_t variableId) const;
  // The result of a calculator expression, or nothing when it does not know the expression.
  std::optional<double> evaluate(const std::string& expression) const;
  // What a key event means to this simulation, for the log: "COM1 active 121.725 MHz".
  static std::string describeKeyEvent(std::uint32_t eventId, std::uint32_t value);

  // The host's BCD forms, written independently of the module's encodings.
  static int khzFromBcd16(std::uint32_t bcd);
  static std::uint32_t bcd16FromKhz(int khz);
  static double adfKhzFromBcd32(std::uint32_t bcd);
  static int xpdrCodeFromBcd(std::uint32_t bcd);
};

}  // namespace panelhost
