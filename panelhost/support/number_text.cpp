#include "support/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace panelhost {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<double> parseNumber(const std::string& text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  if (i >= text.size()) return std::nullopt;

  if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    std::uint64_t value = 0;
    for (std::size_t k = i + 2; k < text.size(); ++k) {
      const int digit = hexValue(text[k]);
      if (digit < 0 || value > (UINT64_MAX >> 4)) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    const double magnitude = static_cast<double>(value);
    return negative ? -magnitude : magnitude;
  }

  // Digits, then optionally a point and more digits; at least one digit before the point. The
  // grammar is checked here; strtod (in the "C" locale panelhost never leaves) does the rounding.
  const std::size_t start = i;
  std::size_t digits = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) ++digits;
  if (digits == 0 || digits > 18) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    ++i;
    std::size_t fractionDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) ++fractionDigits;
    if (fractionDigits > 18) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  const double magnitude = std::strtod(text.c_str() + start, nullptr);
  return negative ? -magnitude : magnitude;
}

std::optional<std::int64_t> parseWholeNumber(const std::string& text) {
  const auto value = parseNumber(text);
  if (!value || std::floor(*value) != *value || std::fabs(*value) > 9.0e15) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

std::string trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string withoutByteOrderMark(const std::string& text) {
  static const std::string kMark = "\xEF\xBB\xBF";
  return text.compare(0, kMark.size(), kMark) == 0 ? text.substr(kMark.size()) : text;
}

}  // namespace panelhost
