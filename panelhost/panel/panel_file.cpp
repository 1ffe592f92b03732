#include "panel/panel_file.h"

#include <map>
#include <sstream>

#include "support/bounded_file.h"
#include "support/host_error.h"
#include "support/message_parts.h"
#include "support/number_text.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr const char* kPlacementForm = "gaugeNN=MODULE!GAUGE, x, y[, width[, height]]";
constexpr int kLargestCoordinate = 100000;
// The panel's picture is held whole in memory; a side beyond this is a typing slip, and would ask
// for gigabytes.
constexpr int kLargestPanelSide = 8192;
// Each placement is served at every update cycle and drawn in every picture; far beyond any real
// panel, this keeps a run's time within reason.
constexpr std::size_t kMostPlacements = 10000;

constexpr std::size_t kLongestModuleName = 64;
constexpr std::size_t kLongestGaugeName = 255;
constexpr const char* kModuleNameForm =
    "a module file name (letters, digits, _, - and ., not starting with . and without .., at most "
    "64 characters)";

// MODULE becomes MODULE.so beside panelhost and is loaded as code: a path in it
// (../../etc/passwd) would load any file of the system. So it is a plain file name.
bool isPlainFileName(const std::string& name) {
  if (name.empty() || name.size() > kLongestModuleName || name[0] == '.' ||
      name.find("..") != std::string::npos) {
    return false;
  }
  for (const char c : name) {
    const bool letterOrDigit =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '_' && c != '-' && c != '.') return false;
  }
  return true;
}

// The module's table names its gauges in plain text; anything else cannot match one.
bool isPrintableName(const std::string& name) {
  if (name.size() > kLongestGaugeName) return false;
  for (const char c : name) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(trimmed(part));
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// A whole number in [low, high], or a HostError at the line.
int numberAt(const std::string& text, int low, int high, const std::string& what,
             const std::string& file, int line) {
  const auto value = parseWholeNumber(text);
  if (!value || *value < low || *value > high) {
    throw HostError(at(file, line,
                       "expected " + what + " (a whole number from " + std::to_string(low) +
                           " to " + std::to_string(high) + "), got " + quotedText(text)));
  }
  return static_cast<int>(*value);
}

GaugePlacement parsePlacement(const std::string& key, const std::string& value,
                              const std::string& file, int line) {
  const std::string expected =
      std::string("expected ") + kPlacementForm + ", got " + quotedText(key + "=" + value);
  const auto fields = splitAt(value, ',');
  if (fields.size() < 3 || fields.size() > 5) throw HostError(at(file, line, expected));
  const auto bang = fields[0].find('!');
  if (bang == std::string::npos || bang == 0 || bang + 1 == fields[0].size() ||
      fields[0].find('!', bang + 1) != std::string::npos) {
    throw HostError(at(file, line, expected));
  }
  GaugePlacement placement;
  placement.moduleName = fields[0].substr(0, bang);
  placement.gaugeName = fields[0].substr(bang + 1);
  if (!isPlainFileName(placement.moduleName)) {
    throw HostError(at(
        file, line,
        std::string("expected ") + kModuleNameForm + ", got " + quotedText(placement.moduleName)));
  }
  if (placement.gaugeName.empty() || !isPrintableName(placement.gaugeName)) {
    throw HostError(at(file, line,
                       "expected a gauge name of printable characters, at most " +
                           std::to_string(kLongestGaugeName) + ", got " +
                           quotedText(placement.gaugeName)));
  }
  placement.x = numberAt(fields[1], -kLargestCoordinate, kLargestCoordinate, "x", file, line);
  placement.y = numberAt(fields[2], -kLargestCoordinate, kLargestCoordinate, "y", file, line);
  if (fields.size() > 3) {
    placement.width = numberAt(fields[3], 1, kLargestCoordinate, "a width", file, line);
  }
  if (fields.size() > 4) {
    placement.height = numberAt(fields[4], 1, kLargestCoordinate, "a height", file, line);
  }
  placement.file = file;
  placement.line = line;
  return placement;
}

// One [WindowNN] section as read, before one of them is chosen.
struct WindowSection {
  std::string name;  // as the file writes it, without the brackets
  int line = 0;
  PanelLayout layout;
  std::map<std::string, int> keys;  // lowered key: its line
};

// What a panel file holds for panelhost: its windows in file order, their titles, and what a
// reader should know about the file.
struct PanelText {
  std::vector<WindowSection> windows;
  std::map<std::string, std::string> titles;  // lowered window name: its title
  std::vector<std::string> notes;
};

bool isWindowSection(const std::string& lowered) {
  // [Window00], [WINDOW01] and so on; [Window Titles] is not a window.
  return startsWith(lowered, "[window") && lowered.size() > 8 &&
         lowered.find_first_not_of("0123456789", 7) == lowered.size() - 1;
}

class PanelReader {
 public:
  explicit PanelReader(const std::string& fileName) : file_(fileName) {}

  PanelText read(const std::string& text) {
    std::istringstream in(withoutByteOrderMark(text));
    std::string rawLine;
    for (int line = 1; std::getline(in, rawLine); ++line) {
      std::string content = rawLine;
      const auto comment = content.find("//");
      if (comment != std::string::npos) content.erase(comment);
      content = trimmed(content);
      if (content.empty() || content[0] == ';') continue;
      if (content[0] == '[') {
        section(content, line);
      } else if (window_ != nullptr) {
        windowLine(content, line);
      } else if (inTitles_) {
        titleLine(content, line);
      }
      // Other sections of a real panel file are not ours to judge.
    }
    if (unsaid_ > 0) {
      result_.notes.push_back(shownText(file_, kShownPathBytes) +
                              ": warning: " + std::to_string(unsaid_) +
                              " more keys or sections stand twice; panelhost keeps the first of "
                              "each");
    }
    return std::move(result_);
  }

 private:
  // A file of thousands of repeated lines would bury everything else said.
  static constexpr int kMostWarnings = 20;

  void warn(int line, const std::string& message) {
    if (warned_ == kMostWarnings) {
      ++unsaid_;
      return;
    }
    ++warned_;
    result_.notes.push_back(at(file_, line, "warning: " + message));
  }

  void section(const std::string& content, int line) {
    if (content.back() != ']') {
      throw HostError(
          at(file_, line, "expected a section name in brackets, got " + quotedText(content)));
    }
    const std::string name = lowered(content);
    window_ = nullptr;
    inTitles_ = false;
    keys_ = nullptr;
    section_ = shownText(content);
    const bool window = isWindowSection(name);
    if (!window && name != "[window titles]") return;
    const auto [first, isNew] = sections_.emplace(name, line);
    if (!isNew) {
      // The simulator reads one of the two; which one is not published.
      warn(line, shownText(content) + " again, first at line " + std::to_string(first->second) +
                     "; panelhost reads the first and passes over this one");
      return;
    }
    if (window) {
      WindowSection& added = result_.windows.emplace_back();
      added.name = content.substr(1, content.size() - 2);
      added.line = line;
      added.layout.file = file_;
      added.layout.window = added.name;
      window_ = &added;
      keys_ = &added.keys;
    } else {
      inTitles_ = true;
      keys_ = &titleKeys_;
    }
  }

  // Whether this is the first time the key stands in its section; a repeat is reported.
  bool firstTime(const std::string& key, int line) {
    const auto [first, isNew] = keys_->emplace(key, line);
    if (!isNew) {
      warn(line, shownText(key) + " again in " + section_ + ", first at line " +
                     std::to_string(first->second) + "; panelhost keeps the first");
    }
    return isNew;
  }

  void titleLine(const std::string& content, int line) {
    const auto equals = content.find('=');
    if (equals == std::string::npos) return;
    const std::string key = lowered(trimmed(content.substr(0, equals)));
    if (firstTime(key, line)) result_.titles[key] = trimmed(content.substr(equals + 1));
  }

  void windowLine(const std::string& content, int line) {
    const auto equals = content.find('=');
    if (equals == std::string::npos) {
      throw HostError(
          at(file_, line, "expected KEY=VALUE or [SECTION], got " + quotedText(content)));
    }
    const std::string key = lowered(trimmed(content.substr(0, equals)));
    const std::string value = trimmed(content.substr(equals + 1));
    PanelLayout& layout = window_->layout;
    if (key == "size_mm") {
      const auto fields = splitAt(value, ',');
      if (fields.size() != 2) {
        throw HostError(at(file_, line, "expected size_mm=WIDTH,HEIGHT, got " + quotedText(value)));
      }
      const int width = numberAt(fields[0], 1, kLargestPanelSide, "a width", file_, line);
      const int height = numberAt(fields[1], 1, kLargestPanelSide, "a height", file_, line);
      if (firstTime(key, line)) {
        layout.widthPx = width;
        layout.heightPx = height;
      }
    } else if (startsWith(key, "gauge") && key.size() > 5 &&
               key.find_first_not_of("0123456789", 5) == std::string::npos) {
      GaugePlacement placement = parsePlacement(key, value, file_, line);
      if (!firstTime(key, line)) return;
      if (layout.placements.size() >= kMostPlacements) {
        throw HostError(at(file_, line,
                           "expected at most " + std::to_string(kMostPlacements) +
                               " gauges in one window, got more (each costs time at every "
                               "update cycle)"));
      }
      layout.placements.push_back(std::move(placement));
    }
  }

  std::string file_;
  PanelText result_;
  std::map<std::string, int> sections_;  // lowered section name: its line
  std::map<std::string, int> titleKeys_;
  std::string section_;                         // the section being read, as written
  WindowSection* window_ = nullptr;             // the window section being read
  std::map<std::string, int>* keys_ = nullptr;  // the keys of the section being read
  bool inTitles_ = false;
  int warned_ = 0;
  int unsaid_ = 0;
};

std::string windowNamed(const WindowSection& window, const PanelText& panel) {
  const auto title = panel.titles.find(lowered(window.name));
  return "[" + window.name + "]" +
         (title == panel.titles.end() ? std::string() : " " + quotedText(title->second));
}

// The window `wanted` names: by its section name, with or without brackets, or by its title.
const WindowSection* findWindow(const PanelText& panel, const std::string& wanted) {
  std::string name = lowered(trimmed(wanted));
  if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
    name = name.substr(1, name.size() - 2);
  }
  for (const WindowSection& window : panel.windows) {
    if (lowered(window.name) == name) return &window;
  }
  for (const WindowSection& window : panel.windows) {
    const auto title = panel.titles.find(lowered(window.name));
    if (title != panel.titles.end() && lowered(title->second) == name) return &window;
  }
  return nullptr;
}

}  // namespace

PanelLayout parsePanelText(const std::string& text, const std::string& fileName,
                           const std::optional<std::string>& window) {
  PanelText panel = PanelReader(fileName).read(text);
  std::vector<const WindowSection*> placing;
  for (const WindowSection& section : panel.windows) {
    if (!section.layout.placements.empty()) placing.push_back(&section);
  }
  const WindowSection* chosen = nullptr;
  if (window) {
    chosen = findWindow(panel, *window);
    if (chosen == nullptr) {
      std::vector<std::string> names;
      for (const WindowSection& section : panel.windows) {
        names.push_back(windowNamed(section, panel));
      }
      throw HostError(
          shownText(fileName, kShownPathBytes) + ": expected --window to name one of " +
          (names.empty() ? std::string("its windows (it has none)") : listed(names, ", ")) +
          ", got " + quotedText(*window));
    }
    if (chosen->layout.placements.empty()) {
      throw HostError(at(fileName, chosen->line,
                         windowNamed(*chosen, panel) + ": expected at least one " + kPlacementForm +
                             " line in the window, found none"));
    }
  } else {
    if (placing.empty()) {
      throw HostError(at(fileName, 1,
                         "expected at least one " + std::string(kPlacementForm) +
                             " line in a [WindowNN] section, found none"));
    }
    chosen = placing.front();
    if (placing.size() > 1) {
      std::vector<std::string> names;
      for (const WindowSection* section : placing) names.push_back(windowNamed(*section, panel));
      panel.notes.push_back(shownText(fileName, kShownPathBytes) + ": " +
                            std::to_string(placing.size()) + " windows place gauges (" +
                            listed(names, ", ") + "); panelhost takes " +
                            windowNamed(*chosen, panel) + ", --window NAME takes another");
    }
  }
  PanelLayout layout = chosen->layout;
  layout.notes = std::move(panel.notes);
  return layout;
}

PanelLayout readPanelFile(const std::string& path, const std::optional<std::string>& window) {
  const BoundedFile file = readBoundedFile(path, kLargestTextFile);
  if (file.outcome == BoundedFile::Outcome::TooLarge) {
    throw HostError(tooLargeMessage(path, file, kLargestTextFile, "a panel file"));
  }
  if (file.outcome != BoundedFile::Outcome::Read) {
    throw HostError(cannotReadMessage(path, file, "the panel file"));
  }
  return parsePanelText(file.text, path, window);
}

const char* builtInPanelText() {
  return "[Window00]\n"
         "size_mm=417,439\n"
         "gauge00=radios!Com1Nav1, 0, 0, 417\n"
         "gauge01=radios!Transponder, 0, 163, 417\n"
         "gauge02=radios!ADF, 0, 274, 417\n";
}

PanelLayout builtInPanel(const std::optional<std::string>& window) {
  return parsePanelText(builtInPanelText(), "built-in radio stack", window);
}

}  // namespace panelhost
