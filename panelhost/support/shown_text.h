// User text as messages show it. A script, panel file or resource script may hold anything: a NUL
// would cut the message at that byte, control bytes would drive the terminal, and a 10 MB token
// would bury the message. So every byte outside printable ASCII is written as an escape (\t, \r,
// \n, \xNN; a backslash and a double quote are escaped too), and a long text is cut after its
// first bytes, with its length said.
#pragma once

#include <cstddef>
#include <string>

namespace panelhost {

// The host's text buffer is 64 bytes, so any text a gauge can show is shown whole.
constexpr std::size_t kShownBytes = 64;
// Longer than any path the system opens (PATH_MAX is 4096).
constexpr std::size_t kShownPathBytes = 4096;

// `text` escaped, and cut after `limit` of its bytes: "abc..." (10485760 bytes).
std::string shownText(const std::string& text, std::size_t limit = kShownBytes);
// The same in double quotes: "\"abc\"", or "\"abc...\" (10485760 bytes)" once cut.
std::string quotedText(const std::string& text, std::size_t limit = kShownBytes);

}  // namespace panelhost
