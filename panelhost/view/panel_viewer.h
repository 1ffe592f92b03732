// `panelhost view`: the panel in a window, run in real time. The real clock drives the session's
// virtual clock (timers, update cycles, held-button repeats); the pilot's mouse goes through the
// session exactly as a scenario's mouse commands do, in the pixels of the gauge drawn under the
// pointer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "panel/panel_session.h"
#include "view/panel_canvas.h"
#include "view/scenario_recorder.h"
#include "view/status_strip.h"
#include "view/view_window.h"

namespace panelhost {

struct ViewSettings {
  CanvasSettings canvas;
  std::optional<std::filesystem::path> record;  // --record FILE.scn
  RecordingOrigin origin;
  std::filesystem::path screenshotFolder = ".";
  std::function<void(const std::string&)> print;  // where the viewer says what it did
};

class PanelViewer {
 public:
  // The session is not started yet; the viewer starts it. Throws HostError when the recording
  // cannot be written, the module cannot be used or no window can be opened.
  PanelViewer(PanelSession& session, ViewSettings settings);

  // Until the pilot quits: 0 when the module unloaded cleanly, 1 when one of its timers outlived
  // it. Throws HostError (a module that faults in a handler, say).
  int run();

 private:
  struct Hover {
    int x = 0;
    int y = 0;
    std::int64_t sinceMs = 0;
    std::string tooltip;  // shown now, when not empty
    bool asked = false;   // the tooltip of this resting place was looked up
  };

  int runUntilQuit();
  std::int64_t virtualAt(std::uint64_t windowMs) const;
  void catchUpTo(std::int64_t virtualMs);
  void handle(const ViewInput& input);
  void pointerAt(int x, int y);
  void act(const ScriptAction& command, const std::function<void()>& action);
  void showTooltipWhenRested();
  Image picture();
  void screenshot();
  int quit();
  void say(const std::string& line) const;

  PanelSession& session_;
  ViewSettings settings_;
  std::unique_ptr<ScenarioRecorder> recorder_;
  std::unique_ptr<PanelCanvas> canvas_;
  std::unique_ptr<ViewWindow> window_;
  StripPainter strip_;
  Size windowSize_;
  std::uint64_t originMs_ = 0;  // the window's time at virtual time 0
  std::optional<Hover> hover_;  // where the pointer rests over the window
  bool quitting_ = false;
  bool redraw_ = true;
  int screenshots_ = 0;
};

}  // namespace panelhost
