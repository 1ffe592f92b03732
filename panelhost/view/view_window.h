// The one part of the viewer that knows SDL: a window that shows a picture, wears a cursor and
// hands back the pilot's input as plain values. Everything else draws into an Image.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "render/image.h"
#include "view/pointer_cues.h"

namespace panelhost {

struct ViewInput {
  enum class Kind {
    Quit,        // the window was closed
    Motion,      // the pointer moved to (x, y)
    Leave,       // the pointer left the window
    ButtonDown,  // the left button, at (x, y)
    ButtonUp,
    Wheel,  // wheelSteps notches at (x, y): positive away from the pilot (up)
    Key,    // key pressed: a lower-case letter, or kEscape
  };
  static constexpr char kEscape = '\x1b';

  Kind kind = Kind::Motion;
  std::uint64_t timeMs = 0;  // on the window's clock (ticksMs)
  int x = 0;                 // window pixels
  int y = 0;
  int wheelSteps = 0;
  char key = 0;
};

class ViewWindow {
 public:
  // Opens a window of that size. Throws HostError saying why when there is no display.
  ViewWindow(const std::string& title, Size size);
  ~ViewWindow();
  ViewWindow(const ViewWindow&) = delete;
  ViewWindow& operator=(const ViewWindow&) = delete;

  // Shows the picture, drawn at the window's size, from the window's top left corner.
  void show(const Image& picture);
  void setCursor(CursorShape shape);
  // The next input, waiting at most `timeoutMs` for one; nothing when none came.
  std::optional<ViewInput> nextInput(int timeoutMs);
  // Milliseconds since the window opened, steadily increasing.
  std::uint64_t ticksMs() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace panelhost
