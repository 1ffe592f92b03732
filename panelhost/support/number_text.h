// Numbers as scripts and panel files write them: decimal with an optional leading minus and
// fraction, or hexadecimal with 0x. Parsed by hand so that no locale and no stray suffix can
// change what a text means.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace panelhost {

std::optional<double> parseNumber(const std::string& text);
// A number whose value is whole (7 and 7.0 both give 7) and fits in 64 bits.
std::optional<std::int64_t> parseWholeNumber(const std::string& text);
// The text trimmed of blanks at both ends.
std::string trimmed(const std::string& text);
// The text without the UTF-8 byte order mark that Windows editors put at the start of a file.
std::string withoutByteOrderMark(const std::string& text);

}  // namespace panelhost
