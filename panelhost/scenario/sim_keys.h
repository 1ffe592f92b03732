// The simulation's state as scenario scripts name it: com1.active 121.725, adf.active 350.0,
// xpdr.code 0012, nav1.ident on. Each key has its unit and the precision it compares to.
#pragma once

#include <optional>
#include <string>

#include "sim/radio_simulation.h"

namespace panelhost {

enum class SimKey {
  Com1Active,
  Com1Standby,
  Nav1Active,
  Nav1Standby,
  AdfActive,
  XpdrCode,
  Nav1Ident,
  AdfIdent
};

struct SimSetting {
  SimKey key;
  double number = 0;  // MHz for COM and NAV, kHz for the ADF
  int code = 0;       // the transponder's four digits as a decimal number (0012 is 12)
  bool on = false;    // the idents
};

std::optional<SimKey> simKeyNamed(const std::string& name);
const char* simKeyName(SimKey key);
// The keys `sim` may set (the idents can only be checked).
bool simKeySettable(SimKey key);
// What a value of that key looks like, for messages: "a frequency in MHz such as 121.725".
std::string simValueForm(SimKey key);

// Reads a value written for the key; nothing when it is not of the key's form.
std::optional<SimSetting> parseSimValue(SimKey key, const std::string& text);

void applySimSetting(RadioSimState& state, const SimSetting& setting);
// Whether the state holds the value, to the key's precision.
bool simHolds(const RadioSimState& state, const SimSetting& expected);
// The state's value of the key, written the way scripts write it.
std::string simValueText(const RadioSimState& state, SimKey key);

}  // namespace panelhost
