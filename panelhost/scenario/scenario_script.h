// A scenario script read whole: one command per line, each checked for its shape before any runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/sim_keys.h"

namespace panelhost {

enum class CommandKind {
  Panel,
  Sim,
  Start,
  Unload,
  Rate,
  Advance,
  Update,
  Click,
  Press,
  Release,
  Wheel,
  ExpectEvent,
  ExpectNoEvent,
  ExpectElement,
  ExpectSim,
  ExpectTooltip,
  Render,
  Log,
};

// What `expect element` compares: a text in quotes or a number.
struct ExpectedElementValue {
  bool isText = false;
  std::string text;
  double number = 0;
  std::string written;  // as the script wrote it, for messages
};

struct Command {
  CommandKind kind = CommandKind::Start;
  int line = 0;
  std::string path;   // panel, render
  std::string gauge;  // mouse commands, expect element, expect tooltip
  int x = 0;
  int y = 0;
  std::int64_t count = 1;  // update N, wheel N, advance MS, rate HZ, element N
  bool on = false;         // log on, wheel up
  SimSetting sim{SimKey::Com1Active};
  std::uint32_t eventId = 0;
  std::uint32_t eventValue = 0;
  ExpectedElementValue element;
  std::string tooltip;
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
