// The kinds of value the simulation holds, as scripts write them and as they are compared: a
// COM or NAV frequency in MHz, the ADF's in kHz, a transponder code, an ident that is on or off.
// Each holds its value as a double: whole kHz, kHz as given, the code's four digits as a decimal
// number (0012 is 12), 1 for on.
#pragma once

#include <optional>
#include <string>

namespace panelhost {

// `sim` sets the simulation, `expect sim` checks it.
enum class SimUse { Set, Check };

struct SimUnit {
  // What a value looks like, for messages: "a frequency in MHz ... such as 121.725".
  const char* setForm;
  const char* checkForm;
  // The held value a script's text names; nothing when the text is not of the form. A value is
  // taken when the host's form of it spans the value at the precision the simulation keeps; one
  // to set must also be a value the form carries (121.725, not 121.720), a check may name any
  // within the span.
  std::optional<double> (*parse)(const std::string& text, SimUse use);
  // The held value written the way scripts write it.
  std::string (*format)(double held);
  // Whether the held value is the expected one, to the precision the unit keeps.
  bool (*same)(double held, double expected);

  const char* form(SimUse use) const { return use == SimUse::Set ? setForm : checkForm; }
};

extern const SimUnit kMegahertz;
extern const SimUnit kAdfKilohertz;
extern const SimUnit kSquawkCode;
extern const SimUnit kOnOff;

}  // namespace panelhost
