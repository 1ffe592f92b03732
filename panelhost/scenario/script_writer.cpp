#include "scenario/script_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace panelhost {

namespace {

template <typename... Writers>
struct Overloaded : Writers... {
  using Writers::operator()...;
};
template <typename... Writers>
Overloaded(Writers...) -> Overloaded<Writers...>;

using Line = std::optional<std::string>;

bool quotable(const std::string& text) { return text.find('"') == std::string::npos; }

Line inQuotes(const std::string& text) {
  if (!quotable(text)) return std::nullopt;
  return "\"" + text + "\"";
}

// Scripts write numbers without exponents, with at most 18 digits on each side of the point;
// the fewest digits that read back as the same double, so that a check compares exactly.
Line scriptNumber(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e17) return std::nullopt;
  char text[64];
  if (value == std::floor(value)) {
    std::snprintf(text, sizeof text, "%.0f", value);
    return std::string(text);
  }
  for (int digits = 1; digits <= 18; ++digits) {
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    if (std::strtod(text, nullptr) == value) return std::string(text);
  }
  return std::string(text);
}

// A name or path as one token: in quotes when it is empty or holds what would end or split it.
Line asToken(const std::string& text) {
  if (text.empty() || text.find_first_of(" \t#\r") != std::string::npos) return inQuotes(text);
  if (!quotable(text)) return std::nullopt;
  return text;
}

Line pointText(const script::PointOnGauge& at) {
  const Line gauge = asToken(at.gauge);
  if (!gauge) return std::nullopt;
  return *gauge + " " + std::to_string(at.x) + " " + std::to_string(at.y);
}

Line prefixed(const char* verb, const Line& rest) {
  if (!rest) return std::nullopt;
  return verb + *rest;
}

// The key's own form where it reads back as the same value (121.725, 350.0); else the fewest
// digits that do (an ADF set to 415.99, which the gauge shows as 415.9).
std::string simKeyAndValue(const SimKey* key, double value) {
  const std::string text = key->unit->format(value);
  const Line exact = key->unit->parse(text, SimUse::Check) == value ? text : scriptNumber(value);
  return std::string(key->name) + " " + exact.value_or(text);
}

// An element's value as `expect element` writes it.
Line elementValueText(const ExpectedElementValue& value) {
  return value.isText ? inQuotes(value.text) : scriptNumber(value.number);
}

}  // namespace

std::optional<std::string> commandLine(const ScriptAction& action) {
  using namespace script;
  return std::visit(
      Overloaded{
          [](const Panel& c) { return prefixed("panel ", asToken(c.path)); },
          [](const Sim& c) -> Line { return "sim " + simKeyAndValue(c.key, c.value); },
          [](const Start&) -> Line { return "start"; },
          [](const Unload&) -> Line { return "unload"; },
          [](const Rate& c) -> Line { return "rate " + std::to_string(c.hz); },
          [](const Advance& c) -> Line { return "advance " + std::to_string(c.ms); },
          [](const Update& c) -> Line { return "update " + std::to_string(c.cycles); },
          [](const Click& c) { return prefixed("click ", pointText(c.at)); },
          [](const Press& c) { return prefixed("press ", pointText(c.at)); },
          [](const Release&) -> Line { return "release"; },
          [](const Wheel& c) -> Line {
            const Line at = pointText(c.at);
            if (!at) return std::nullopt;
            return "wheel " + *at + (c.up ? " up " : " down ") + std::to_string(c.turns);
          },
          [](const ExpectEvent& c) -> Line {
            char text[48];
            std::snprintf(text, sizeof text, "expect event %u 0x%08X", c.id, c.value);
            return std::string(text);
          },
          [](const ExpectNoEvent&) -> Line { return "expect no-event"; },
          [](const ExpectElement& c) -> Line {
            const Line gauge = asToken(c.gauge);
            const Line value = elementValueText(c.value);
            if (!gauge || !value) return std::nullopt;
            return "expect element " + *gauge + " " + std::to_string(c.number) + " " + *value;
          },
          [](const ExpectSim& c) -> Line { return "expect sim " + simKeyAndValue(c.key, c.value); },
          [](const ExpectTooltip& c) -> Line {
            const Line at = pointText(c.at);
            const Line text = inQuotes(c.text);
            if (!at || !text) return std::nullopt;
            return "expect tooltip " + *at + " " + *text;
          },
          [](const Render& c) { return prefixed("render ", asToken(c.path)); },
          [](const Log& c) -> Line { return std::string("log ") + (c.on ? "on" : "off"); },
      },
      action);
}

}  // namespace panelhost
