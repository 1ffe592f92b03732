#include "scenario/scenario_script.h"

#include <fstream>
#include <sstream>

#include "support/host_error.h"
#include "support/message_parts.h"
#include "support/number_text.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr const char* kCommandList =
    "panel, sim, start, unload, rate, advance, update, click, press, release, wheel, expect, "
    "render or log";
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

script::PointOnGauge readPoint(LineReader& in) {
  script::PointOnGauge point;
  point.gauge = in.name("a gauge name");
  point.x = static_cast<int>(in.whole("X", -kLargestCoordinate, kLargestCoordinate));
  point.y = static_cast<int>(in.whole("Y", -kLargestCoordinate, kLargestCoordinate));
  return point;
}

bool readOnOff(LineReader& in, const char* on, const char* off) {
  const std::string expected = std::string(on) + " or " + off;
  const std::string word = in.word(expected);
  if (word != on && word != off) in.failOnLast(expected);
  return word == on;
}

// "a key: com1.active, ... or xpdr.code", the keys `sim` may set or all of them.
std::string keyChoice(SimUse use) {
  std::vector<std::string> names;
  for (const SimKey& key : simKeys()) {
    if (use == SimUse::Check || key.settable) names.push_back(key.name);
  }
  return "a key: " + listed(names);
}

template <typename SimCommand>
SimCommand readSim(LineReader& in, SimUse use) {
  const std::string keys = keyChoice(use);
  const SimKey* key = simKeyNamed(in.word(keys));
  if (key == nullptr || (use == SimUse::Set && !key->settable)) in.failOnLast(keys);
  const std::string form = key->unit->form(use);
  const auto value = key->unit->parse(in.word(form), use);
  if (!value) in.failOnLast(form);
  return SimCommand{key, *value};
}

ExpectedElementValue readElementValue(LineReader& in) {
  const Token& value = in.take("a text in quotes or a number");
  ExpectedElementValue element;
  element.isText = value.quoted;
  element.text = value.text;
  element.written = shown(value);
  if (!value.quoted) {
    const auto number = parseNumber(value.text);
    if (!number) in.failOnLast("a text in quotes or a number");
    element.number = *number;
    element.written = value.text;
  }
  return element;
}

ScriptAction parseExpectation(LineReader& in) {
  const std::string expected = "what to expect: event, no-event, element, sim or tooltip";
  const std::string what = in.word(expected);
  if (what == "event") {
    const std::uint32_t id = in.unsigned32("an event id");
    return script::ExpectEvent{id, in.unsigned32("an event value")};
  }
  if (what == "no-event") return script::ExpectNoEvent{};
  if (what == "element") {
    script::ExpectElement element;
    element.gauge = in.name("a gauge name");
    element.number = in.whole("an element number", 1, kMostRepeats);
    element.value = readElementValue(in);
    return element;
  }
  if (what == "sim") return readSim<script::ExpectSim>(in, SimUse::Check);
  if (what == "tooltip") {
    script::ExpectTooltip tooltip{readPoint(in), ""};
    const Token& text = in.take("a tooltip text in quotes");
    if (!text.quoted) in.failOnLast("a tooltip text in quotes");
    tooltip.text = text.text;
    return tooltip;
  }
  in.failOnLast(expected);
}

ScriptAction parseAction(LineReader& in, const std::string& verb) {
  if (verb == "panel") return script::Panel{in.fileName("a panel file name")};
  if (verb == "sim") return readSim<script::Sim>(in, SimUse::Set);
  if (verb == "start") return script::Start{};
  if (verb == "unload") return script::Unload{};
  if (verb == "rate") return script::Rate{in.whole("a rate in Hz", 0, 1000)};
  if (verb == "advance") {
    return script::Advance{in.whole("a time in ms up to a day", 0, kLongestAdvanceMs)};
  }
  if (verb == "update") {
    script::Update update;
    if (in.more()) update.cycles = in.whole("a count of update cycles", 0, kMostRepeats);
    return update;
  }
  if (verb == "click") return script::Click{readPoint(in)};
  if (verb == "press") return script::Press{readPoint(in)};
  if (verb == "release") return script::Release{};
  if (verb == "wheel") {
    script::Wheel wheel{readPoint(in), false};
    wheel.up = readOnOff(in, "up", "down");
    if (in.more()) wheel.turns = in.whole("a count of wheel events", 0, kMostRepeats);
    return wheel;
  }
  if (verb == "render") return script::Render{in.fileName("a PNG file name")};
  if (verb == "log") return script::Log{readOnOff(in, "on", "off")};
  if (verb == "expect") return parseExpectation(in);
  in.failOnLast(std::string("a command: ") + kCommandList);
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
    ScriptAction action = parseAction(reader, verb);
    reader.end();
    if (std::holds_alternative<script::Panel>(action) && !script.commands.empty()) {
      throw HostError(at(fileName, lineNo, "expected panel only as the first command"));
    }
    script.commands.push_back(Command{lineNo, std::move(action)});
  }
  return script;
}

}  // namespace panelhost
