// The simulation as tables: the keys scripts name its state by, and the host's key events, module
// variables and calculator expressions it answers. The simulation, the scenario parser and runner,
// the recorder and the viewer's strip all go through these rows, so that a new key event is a row
// in radio_tables.cpp, and a field of RadioSimState when it sets something not yet held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "sim/radio_simulation.h"
#include "sim/sim_units.h"

namespace panelhost {

template <typename Row>
struct Rows {
  const Row* first;
  std::size_t count;
  const Row* begin() const { return first; }
  const Row* end() const { return first + count; }
};

using SimField = std::variant<int RadioSimState::*, double RadioSimState::*, bool RadioSimState::*>;

// A key of the simulation's state as scripts name it: com1.active 121.725, xpdr.code 0012.
struct SimKey {
  const char* name;
  SimField field;
  const SimUnit* unit;
  bool settable;      // by `sim`; the idents can only be checked
  const char* strip;  // its part of the viewer's strip, "{}" its value; one that starts with a
                      // blank goes on the line of the key before
};

// A key event the simulation takes: which key it sets, to what its value decodes.
struct KeyEvent {
  std::uint32_t id;
  const SimKey* sets;
  double (*decode)(std::uint32_t value);  // to the key's held value
  const char* description;                // for the log, "{}" the decoded value
};

// A module variable lookup_var answers: the key's held value in the host's form.
struct ModuleVariable {
  std::uint32_t id;
  const SimKey* key;
  std::uint32_t (*encode)(double held);
};

// A calculator expression execute_calculator_code answers, exactly as the module writes it.
struct CalculatorExpression {
  const char* text;
  const SimKey* key;
  double (*answer)(double held);
};

Rows<SimKey> simKeys();
const SimKey* simKeyNamed(const std::string& name);
const KeyEvent* keyEventWithId(std::uint32_t id);
const ModuleVariable* moduleVariableWithId(std::uint32_t id);
const CalculatorExpression* calculatorExpression(const std::string& text);

double heldValue(const RadioSimState& state, const SimKey& key);
void setHeldValue(RadioSimState& state, const SimKey& key, double held);
// The state's value of the key, written the way scripts write it.
std::string simValueText(const RadioSimState& state, const SimKey& key);
// `pattern` with its "{}" replaced by `value`.
std::string withValue(const char* pattern, const std::string& value);

}  // namespace panelhost
