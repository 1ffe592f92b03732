#include "panel/panel_file.h"

#include <sstream>

#include "support/bounded_file.h"
#include "support/host_error.h"
#include "support/number_text.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr const char* kPlacementForm = "gaugeNN=MODULE!GAUGE, x, y[, width[, height]]";
constexpr int kLargestCoordinate = 100000;
// The panel's picture is held whole in memory; a side beyond this is a typing slip, and would ask
// for gigabytes.
constexpr int kLargestPanelSide = 8192;

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

}  // namespace

PanelLayout parsePanelText(const std::string& text, const std::string& fileName) {
  PanelLayout layout;
  layout.file = fileName;
  bool inWindow = false;
  bool sizeSeen = false;
  std::istringstream in(withoutByteOrderMark(text));
  std::string rawLine;
  for (int line = 1; std::getline(in, rawLine); ++line) {
    std::string content = rawLine;
    const auto comment = content.find("//");
    if (comment != std::string::npos) content.erase(comment);
    content = trimmed(content);
    if (content.empty() || content[0] == ';') continue;

    if (content[0] == '[') {
      if (content.back() != ']') {
        throw HostError(
            at(fileName, line, "expected a section name in brackets, got " + quotedText(content)));
      }
      // [Window00], [WINDOW01] and so on; [Window Titles] is not a window.
      const std::string section = lowered(content);
      inWindow = startsWith(section, "[window") && section.size() > 8 &&
                 section.find_first_not_of("0123456789", 7) == section.size() - 1;
      continue;
    }
    // Other sections of a real panel file are not ours to judge.
    if (!inWindow) continue;
    const auto equals = content.find('=');
    if (equals == std::string::npos) {
      throw HostError(
          at(fileName, line, "expected KEY=VALUE or [SECTION], got " + quotedText(content)));
    }
    const std::string key = lowered(trimmed(content.substr(0, equals)));
    const std::string value = trimmed(content.substr(equals + 1));

    if (key == "size_mm") {
      const auto fields = splitAt(value, ',');
      if (fields.size() != 2) {
        throw HostError(
            at(fileName, line, "expected size_mm=WIDTH,HEIGHT, got " + quotedText(value)));
      }
      const int width = numberAt(fields[0], 1, kLargestPanelSide, "a width", fileName, line);
      const int height = numberAt(fields[1], 1, kLargestPanelSide, "a height", fileName, line);
      if (!sizeSeen) {
        layout.widthPx = width;
        layout.heightPx = height;
        sizeSeen = true;
      }
    } else if (startsWith(key, "gauge") && key.size() > 5 &&
               key.find_first_not_of("0123456789", 5) == std::string::npos) {
      layout.placements.push_back(parsePlacement(key, value, fileName, line));
    }
  }
  if (layout.placements.empty()) {
    throw HostError(at(fileName, 1,
                       "expected at least one " + std::string(kPlacementForm) +
                           " line in a [WindowNN] section, found none"));
  }
  return layout;
}

PanelLayout readPanelFile(const std::string& path) {
  const BoundedFile file = readBoundedFile(path, kLargestTextFile);
  if (file.outcome == BoundedFile::Outcome::TooLarge) {
    throw HostError(tooLargeMessage(path, file, kLargestTextFile, "a panel file"));
  }
  if (file.outcome != BoundedFile::Outcome::Read) {
    throw HostError(cannotReadMessage(path, file, "the panel file"));
  }
  return parsePanelText(file.text, path);
}

const char* builtInPanelText() {
  return "[Window00]\n"
         "size_mm=417,439\n"
         "gauge00=radios!Com1Nav1, 0, 0, 417\n"
         "gauge01=radios!Transponder, 0, 163, 417\n"
         "gauge02=radios!ADF, 0, 274, 417\n";
}

PanelLayout builtInPanel() { return parsePanelText(builtInPanelText(), "built-in radio stack"); }

}  // namespace panelhost
