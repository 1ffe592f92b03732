// A scenario script read whole: one command per line, each checked for its shape before any runs.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "sim/radio_tables.h"

namespace panelhost {

// A day of update cycles takes seconds; a longer stretch is several advances, so that no one
// command runs for minutes.
constexpr std::int64_t kLongestAdvanceMs = 1000LL * 60 * 60 * 24;

// What `expect element` compares: a text in quotes or a number.
struct ExpectedElementValue {
  bool isText = false;
  std::string text;
  double number = 0;
  std::string written;  // as the script wrote it, for messages
};

// The commands, one struct each holding what its line names (docs/panelhost.md has the syntax).
namespace script {

struct PointOnGauge {
  std::string gauge;
  int x = 0;
  int y = 0;
};

// clang-format off
struct Panel         { std::string path; };
struct Sim           { const SimKey* key; double value; };  // the key's held value
struct Start         {};
struct Unload        {};
struct Rate          { std::int64_t hz; };
struct Advance       { std::int64_t ms; };
struct Update        { std::int64_t cycles = 1; };
struct Click         { PointOnGauge at; };
struct Press         { PointOnGauge at; };
struct Release       {};
struct Wheel         { PointOnGauge at; bool up; std::int64_t turns = 1; };
struct ExpectEvent   { std::uint32_t id; std::uint32_t value; };
struct ExpectNoEvent {};
struct ExpectElement { std::string gauge; std::int64_t number; ExpectedElementValue value; };
struct ExpectSim     { const SimKey* key; double value; };
struct ExpectTooltip { PointOnGauge at; std::string text; };
struct Render        { std::string path; };
struct Log           { bool on; };
// clang-format on

}  // namespace script

using ScriptAction =
    std::variant<script::Panel, script::Sim, script::Start, script::Unload, script::Rate,
                 script::Advance, script::Update, script::Click, script::Press, script::Release,
                 script::Wheel, script::ExpectEvent, script::ExpectNoEvent, script::ExpectElement,
                 script::ExpectSim, script::ExpectTooltip, script::Render, script::Log>;

struct Command {
  int line = 0;
  ScriptAction action;
};

struct Script {
  std::string file;
  std::vector<Command> commands;
};

// Throws HostError "FILE:LINE: expected ..., got ..." at the first line that does not parse.
Script parseScript(const std::string& text, const std::string& fileName);

// The blank-separated tokens of one line, comments dropped; quoted texts keep their quotes off.
struct Token {
  std::string text;
  bool quoted = false;
};
std::vector<Token> tokenizeLine(const std::string& line, const std::string& fileName, int lineNo);

}  // namespace panelhost
