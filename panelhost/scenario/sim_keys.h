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
// `sim` sets the simulation, `expect sim` checks it.
enum class SimUse { Set, Check };

// What a value of that key looks like, for messages: "a frequency in MHz ... such as 121.725".
std::string simValueForm(SimKey key, SimUse use);

// Reads a value written for the key; nothing when it is not of the key's form. A value is taken
// when the host's form of the key spans it at the precision the simulation keeps; one to set must
// also be a value the form carries (121.725, not 121.720), a check may name any within the span.
std::optional<SimSetting> parseSimValue(SimKey key, const std::string& text, SimUse use);

void applySimSetting(RadioSimState& state, const SimSetting& setting);
// Whether the state holds the value, to the key's precision.
bool simHolds(const RadioSimState& state, const SimSetting& expected);
// The state's value of the key, written the way scripts write it.
std::string simValueText(const RadioSimState& state, SimKey key);

}  // namespace panelhost
