// What the renderer throws when a bitmap, a resource script, a font or an element tree cannot be
// used. The message names the file (and line or resource id) and what was expected; the panel
// host reports it and exits with status 2.
#pragma once

#include <stdexcept>
#include <string>

namespace panelhost {

class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace panelhost
