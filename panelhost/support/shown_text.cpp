#include "support/shown_text.h"

#include <cstdio>

namespace panelhost {

namespace {

void appendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '\t':
      out += "\\t";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '"':
      out += "\\\"";
      return;
    default:
      break;
  }
  if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
    return;
  }
  char escape[5];
  std::snprintf(escape, sizeof escape, "\\x%02X", c);
  out += escape;
}

std::string escaped(const std::string& text, std::size_t limit) {
  std::string out;
  const std::size_t shown = text.size() < limit ? text.size() : limit;
  out.reserve(shown + 3);
  for (std::size_t i = 0; i < shown; ++i) appendEscaped(out, static_cast<unsigned char>(text[i]));
  if (shown < text.size()) out += "...";
  return out;
}

std::string lengthNote(const std::string& text, std::size_t limit) {
  return text.size() > limit ? " (" + std::to_string(text.size()) + " bytes)" : "";
}

}  // namespace

std::string shownText(const std::string& text, std::size_t limit) {
  return escaped(text, limit) + lengthNote(text, limit);
}

std::string quotedText(const std::string& text, std::size_t limit) {
  return "\"" + escaped(text, limit) + "\"" + lengthNote(text, limit);
}

}  // namespace panelhost
