// Parts of the messages panelhost writes: a number as an address or a flag word, and a failure
// named with what led to it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace panelhost {

// "0x1F", at least `digits` hex digits.
inline std::string hex(std::uint64_t value, int digits = 1) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

// "a, b or c": the items with `last` (" or ", " and ", or ", " for a plain list) before the last
// one and ", " between the others.
inline std::string listed(const std::vector<std::string>& items, const char* last = " or ") {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == items.size() ? last : ", ") + items[i];
  }
  return list;
}

// Runs `work`; a `Failure` it throws is thrown again with `context` before its message, so that a
// failure deep in a read says which record or field led there.
template <typename Failure, typename Work>
void namingFailures(const std::string& context, const Work& work) {
  try {
    work();
  } catch (const Failure& failure) {
    throw Failure(context + failure.what());
  }
}

}  // namespace panelhost
