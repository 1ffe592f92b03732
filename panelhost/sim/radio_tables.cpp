#include "sim/radio_tables.h"

#include <iterator>
#include <type_traits>

namespace panelhost {

namespace {

using S = RadioSimState;

// In the order the recorder checks them and the strip shows them.
// clang-format off
constexpr SimKey kSimKeys[] = {
    // name          field               unit            settable strip
    {"com1.active",  &S::com1ActiveKhz,  &kMegahertz,    true,    "COM1  {}"},
    {"com1.standby", &S::com1StandbyKhz, &kMegahertz,    true,    "   standby {}"},
    {"nav1.active",  &S::nav1ActiveKhz,  &kMegahertz,    true,    "NAV1  {}"},
    {"nav1.standby", &S::nav1StandbyKhz, &kMegahertz,    true,    "   standby {}"},
    {"adf.active",   &S::adfActiveKhz,   &kAdfKilohertz, true,    "ADF  {} kHz"},
    {"xpdr.code",    &S::xpdrCode,       &kSquawkCode,   true,    "XPDR  {}"},
    {"nav1.ident",   &S::nav1Ident,      &kOnOff,        false,   "IDENT  NAV1 {}"},
    {"adf.ident",    &S::adfIdent,       &kOnOff,        false,   "   ADF {}"},
};
// clang-format on

constexpr bool sameName(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

// The row of a key named in the tables below; a name no row has does not compile.
constexpr const SimKey* key(const char* name) {
  for (const SimKey& row : kSimKeys) {
    if (sameName(row.name, name)) return &row;
  }
  throw "no simulation key of that name";
}

double comNavKhz(std::uint32_t bcd) { return RadioSimulation::khzFromBcd16(bcd); }
double adfKhz(std::uint32_t bcd) { return RadioSimulation::adfKhzFromBcd32(bcd); }
double squawk(std::uint32_t bcd) { return RadioSimulation::xpdrCodeFromBcd(bcd); }
double identOff(std::uint32_t) { return 0; }
double identOn(std::uint32_t) { return 1; }

// clang-format off
constexpr KeyEvent kKeyEvents[] = {
    // id   sets                decode     description
    {65707, key("com1.active"), comNavKhz, "COM1 active {} MHz"},
    {65708, key("nav1.active"), comNavKhz, "NAV1 active {} MHz"},
    {65715, key("xpdr.code"),   squawk,    "transponder code {}"},
    {66479, key("adf.active"),  adfKhz,    "ADF active {} kHz"},
    {65832, key("nav1.ident"),  identOff,  "NAV1 ident {}"},
    {65837, key("nav1.ident"),  identOn,   "NAV1 ident {}"},
    {65836, key("adf.ident"),   identOff,  "ADF ident {}"},
    {65841, key("adf.ident"),   identOn,   "ADF ident {}"},
};
// clang-format on

std::uint32_t bcd16(double khz) { return RadioSimulation::bcd16FromKhz(static_cast<int>(khz)); }

// clang-format off
constexpr ModuleVariable kModuleVariables[] = {
    // id key                 encode
    {23, key("com1.active"), bcd16},
    {24, key("nav1.active"), bcd16},
};
// clang-format on

double megahertz(double khz) { return khz / 1000.0; }
double kilohertz(double khz) { return khz; }

// clang-format off
constexpr CalculatorExpression kCalculatorExpressions[] = {
    // text                                   key                  answer
    {"(A:COM1 STANDBY FREQUENCY, Megahertz)", key("com1.standby"), megahertz},
    {"(A:NAV1 STANDBY FREQUENCY, Megahertz)", key("nav1.standby"), megahertz},
    {"(A:ADF ACTIVE FREQUENCY:1,KHz)",        key("adf.active"),   kilohertz},
};
// clang-format on

template <typename Row, std::size_t N, typename Matches>
const Row* rowWhere(const Row (&rows)[N], Matches matches) {
  for (const Row& row : rows) {
    if (matches(row)) return &row;
  }
  return nullptr;
}

}  // namespace

Rows<SimKey> simKeys() { return {kSimKeys, std::size(kSimKeys)}; }

const SimKey* simKeyNamed(const std::string& name) {
  return rowWhere(kSimKeys, [&](const SimKey& row) { return name == row.name; });
}

const KeyEvent* keyEventWithId(std::uint32_t id) {
  return rowWhere(kKeyEvents, [&](const KeyEvent& row) { return row.id == id; });
}

const ModuleVariable* moduleVariableWithId(std::uint32_t id) {
  return rowWhere(kModuleVariables, [&](const ModuleVariable& row) { return row.id == id; });
}

const CalculatorExpression* calculatorExpression(const std::string& text) {
  return rowWhere(kCalculatorExpressions,
                  [&](const CalculatorExpression& row) { return text == row.text; });
}

double heldValue(const RadioSimState& state, const SimKey& key) {
  return std::visit([&](auto field) { return static_cast<double>(state.*field); }, key.field);
}

void setHeldValue(RadioSimState& state, const SimKey& key, double held) {
  std::visit(
      [&](auto field) {
        using Held = std::remove_reference_t<decltype(state.*field)>;
        if constexpr (std::is_same_v<Held, bool>) {
          state.*field = held != 0;
        } else {
          state.*field = static_cast<Held>(held);
        }
      },
      key.field);
}

std::string simValueText(const RadioSimState& state, const SimKey& key) {
  return key.unit->format(heldValue(state, key));
}

std::string withValue(const char* pattern, const std::string& value) {
  std::string text = pattern;
  const auto at = text.find("{}");
  return at == std::string::npos ? text : text.replace(at, 2, value);
}

}  // namespace panelhost
