// A failure that ends a panelhost command: bad input, a module that cannot be used, a command out
// of place. The message already says where (file and line) and what was expected there.
#pragma once

#include <stdexcept>
#include <string>

namespace panelhost {

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a command says when the system gives no more memory: an input asked for more than the
// machine has (or than `ulimit -v` allows).
constexpr const char* kOutOfMemory =
    "out of memory: the system gave no more (see the limits in docs/panelhost.md)";

// "FILE:LINE: message", the form every bad-input message takes.
inline std::string at(const std::string& file, int line, const std::string& message) {
  return file + ":" + std::to_string(line) + ": " + message;
}

}  // namespace panelhost
