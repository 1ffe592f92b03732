#include "scenario/scenario_script.h"

#include <fstream>
#include <sstream>

#include "support/host_error.h"
#include "support/number_text.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr const char* kCommandList =
    "panel, sim, start, unload, rate, advance, update, click, press, release, wheel, expect, "
    "render or log";
// A day of update cycles takes seconds; a longer stretch is several advances, so that no one
// command runs for minutes.
constexpr std::int64_t kLongestAdvanceMs = 1000LL * 60 * 60 * 24;
constexpr std::int64_t kMostRepeats = 1000000;
constexpr int kLargestCoordinate = 1000000;
constexpr std::int64_t kLargestUnsigned32 = 0xFFFFFFFFLL;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string shown(const Token& token) { return quotedText(token.text); }

// Reads the tokens of one line in order, with the messages that name where it went wrong.
class LineReader {
 public:
  LineReader(std::vector<Token> tokens, std::string file, int line)
      : tokens_(std::move(tokens)), file_(std::move(file)), line_(line) {}

  [[noreturn]] void fail(const std::string& expected) const {
    const std::string got = next_ < tokens_.size() ? shown(tokens_[next_]) : "the end of the line";
    throw HostError(at(file_, line_, "expected " + expected + ", got " + got));
  }

  const Token& take(const std::string& expected) {
    if (next_ >= tokens_.size()) fail(expected);
    return tokens_[next_++];
  }
  std::string word(const std::string& expected) {
    const Token& token = take(expected);
    if (token.quoted) failOnLast(expected);
    return token.text;
  }
  std::string name(const std::string& expected) { return take(expected).text; }
  // The system cuts a path at a NUL and refuses one longer than PATH_MAX: either would open
  // another file than the script names, or fail with the name echoed whole.
  std::string fileName(const std::string& what) {
    const std::string expected =
        what + " (without a NUL byte, at most " + std::to_string(kShownPathBytes) + " bytes)";
    const Token& token = take(expected);
    if (token.text.empty() || token.text.size() > kShownPathBytes ||
        token.text.find('\0') != std::string::npos) {
      failOnLast(expected);
    }
    return token.text;
  }
  // A whole number from `low` to `high`, the range said in the message. Where no negative is
  // allowed, neither is a minus sign: -0 is as wrong there as -1.
  std::int64_t whole(const std::string& what, std::int64_t low, std::int64_t high) {
    const std::string expected =
        what + ", a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    const Token& token = take(expected);
    const auto value = token.quoted ? std::nullopt : parseWholeNumber(token.text);
    if (!value || *value < low || *value > high || (low >= 0 && token.text[0] == '-')) {
      failOnLast(expected);
    }
    return *value;
  }
  // Event ids and values as the host passes them: unsigned 32-bit, written decimal or in hex.
  std::uint32_t unsigned32(const std::string& what) {
    return static_cast<std::uint32_t>(whole(what, 0, kLargestUnsigned32));
  }
  // For a token that was read and then found not to be one of the choices: names that token.
  [[noreturn]] void failOnLast(const std::string& expected) {
    if (next_ > 0) --next_;
    fail(expected);
  }
  bool more() const { return next_ < tokens_.size(); }
  void end() {
    if (more()) fail("the end of the line");
  }

 private:
  std::vector<Token> tokens_;
  std::size_t next_ = 0;
  std::string file_;
  int line_;
};

void readPoint(LineReader& in, Command& command) {
  command.gauge = in.name("a gauge name");
  command.x = static_cast<int>(in.whole("X", -kLargestCoordinate, kLargestCoordinate));
  command.y = static_cast<int>(in.whole("Y", -kLargestCoordinate, kLargestCoordinate));
}

SimSetting readSim(LineReader& in, bool forSetting) {
  const std::string keys =
      forSetting
          ? "a key: com1.active, com1.standby, nav1.active, nav1.standby, adf.active or xpdr.code"
          : "a key: com1.active, com1.standby, nav1.active, nav1.standby, adf.active, xpdr.code, "
            "nav1.ident or adf.ident";
  const auto key = simKeyNamed(in.word(keys));
  if (!key || (forSetting && !simKeySettable(*key))) in.failOnLast(keys);
  const SimUse use = forSetting ? SimUse::Set : SimUse::Check;
  const std::string form = simValueForm(*key, use);
  const auto setting = parseSimValue(*key, in.word(form), use);
  if (!setting) in.failOnLast(form);
  return *setting;
}

Command parseCommand(LineReader& in, const std::string& verb, int line) {
  Command command;
  command.line = line;
  if (verb == "panel") {
    command.kind = CommandKind::Panel;
    command.path = in.fileName("a panel file name");
  } else if (verb == "sim") {
    command.kind = CommandKind::Sim;
    command.sim = readSim(in, true);
  } else if (verb == "start") {
    command.kind = CommandKind::Start;
  } else if (verb == "unload") {
    command.kind = CommandKind::Unload;
  } else if (verb == "rate") {
    command.kind = CommandKind::Rate;
    command.count = in.whole("a rate in Hz", 0, 1000);
  } else if (verb == "advance") {
    command.kind = CommandKind::Advance;
    command.count = in.whole("a time in ms up to a day", 0, kLongestAdvanceMs);
  } else if (verb == "update") {
    command.kind = CommandKind::Update;
    if (in.more()) command.count = in.whole("a count of update cycles", 0, kMostRepeats);
  } else if (verb == "click" || verb == "press") {
    command.kind = verb == "click" ? CommandKind::Click : CommandKind::Press;
    readPoint(in, command);
  } else if (verb == "release") {
    command.kind = CommandKind::Release;
  } else if (verb == "wheel") {
    command.kind = CommandKind::Wheel;
    readPoint(in, command);
    const std::string direction = in.word("up or down");
    if (direction != "up" && direction != "down") in.failOnLast("up or down");
    command.on = direction == "up";
    if (in.more()) command.count = in.whole("a count of wheel events", 0, kMostRepeats);
  } else if (verb == "render") {
    command.kind = CommandKind::Render;
    command.path = in.fileName("a PNG file name");
  } else if (verb == "log") {
    command.kind = CommandKind::Log;
    const std::string state = in.word("on or off");
    if (state != "on" && state != "off") in.failOnLast("on or off");
    command.on = state == "on";
  } else if (verb == "expect") {
    const std::string what = in.word("what to expect: event, no-event, element, sim or tooltip");
    if (what == "event") {
      command.kind = CommandKind::ExpectEvent;
      command.eventId = in.unsigned32("an event id");
      command.eventValue = in.unsigned32("an event value");
    } else if (what == "no-event") {
      command.kind = CommandKind::ExpectNoEvent;
    } else if (what == "element") {
      command.kind = CommandKind::ExpectElement;
      command.gauge = in.name("a gauge name");
      command.count = in.whole("an element number", 1, kMostRepeats);
      const Token& value = in.take("a text in quotes or a number");
      command.element.isText = value.quoted;
      command.element.text = value.text;
      command.element.written = shown(value);
      if (!value.quoted) {
        const auto number = parseNumber(value.text);
        if (!number) in.failOnLast("a text in quotes or a number");
        command.element.number = *number;
        command.element.written = value.text;
      }
    } else if (what == "sim") {
      command.kind = CommandKind::ExpectSim;
      command.sim = readSim(in, false);
    } else if (what == "tooltip") {
      command.kind = CommandKind::ExpectTooltip;
      readPoint(in, command);
      const Token& text = in.take("a tooltip text in quotes");
      if (!text.quoted) in.failOnLast("a tooltip text in quotes");
      command.tooltip = text.text;
    } else {
      in.failOnLast("what to expect: event, no-event, element, sim or tooltip");
    }
  } else {
    in.failOnLast(std::string("a command: ") + kCommandList);
  }
  in.end();
  return command;
}

}  // namespace

std::vector<Token> tokenizeLine(const std::string& line, const std::string& fileName, int lineNo) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (isBlank(line[i])) {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      const auto close = line.find('"', i + 1);
      if (close == std::string::npos) {
        throw HostError(at(fileName, lineNo, "expected a closing quote, got the end of the line"));
      }
      tokens.push_back({line.substr(i + 1, close - i - 1), true});
      i = close + 1;
      if (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
        throw HostError(
            at(fileName, lineNo,
               "expected a blank after the closing quote, got " + quotedText(line.substr(i, 1))));
      }
    } else {
      const std::size_t begin = i;
      while (i < line.size() && !isBlank(line[i]) && line[i] != '#' && line[i] != '"') ++i;
      if (i < line.size() && line[i] == '"') {
        throw HostError(at(fileName, lineNo,
                           "expected a blank before the opening quote, got " +
                               quotedText(line.substr(begin, i - begin + 1))));
      }
      tokens.push_back({line.substr(begin, i - begin), false});
    }
  }
  return tokens;
}

Script parseScript(const std::string& text, const std::string& fileName) {
  Script script;
  script.file = fileName;
  std::istringstream in(withoutByteOrderMark(text));
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto tokens = tokenizeLine(line, fileName, lineNo);
    if (tokens.empty()) continue;
    if (tokens[0].quoted) {
      throw HostError(at(fileName, lineNo,
                         std::string("expected a command: ") + kCommandList + ", got " +
                             quotedText(tokens[0].text)));
    }
    const std::string verb = tokens[0].text;
    LineReader reader(std::move(tokens), fileName, lineNo);
    reader.take("a command");
    Command command = parseCommand(reader, verb, lineNo);
    if (command.kind == CommandKind::Panel && !script.commands.empty()) {
      throw HostError(at(fileName, lineNo, "expected panel only as the first command"));
    }
    script.commands.push_back(std::move(command));
  }
  return script;
}

}  // namespace panelhost
