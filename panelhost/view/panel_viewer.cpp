#include "view/panel_viewer.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "panel/mouse_table.h"
#include "render/png_writer.h"
#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

namespace {

// The window shows a new picture as often as the simulator updates its gauges.
constexpr std::int64_t kFrameMs = PanelSession::kDefaultPeriodMs;
// How long the pointer rests before the region's tooltip shows, as in the simulator.
constexpr std::int64_t kTooltipDelayMs = 700;
// The strip needs room for the simulation and a few key events, however small the panel.
constexpr int kLeastWindowHeight = 20 * kStripLineHeight;

}  // namespace

PanelViewer::PanelViewer(PanelSession& session, ViewSettings settings)
    : session_(session), settings_(std::move(settings)) {
  if (settings_.record) {
    recorder_ = std::make_unique<ScenarioRecorder>(*settings_.record, session_, settings_.origin);
  }
  // What the gauges send while they initialise is checked right after start.
  act(script::Start{}, [this] { session_.start(); });
  canvas_ =
      std::make_unique<PanelCanvas>(session_.layout(), session_.view().gauges, settings_.canvas);
  windowSize_ = {canvas_->size().width + kStripWidth,
                 std::max(canvas_->size().height, kLeastWindowHeight)};
  window_ = std::make_unique<ViewWindow>("panelhost view: " + session_.layout().file, windowSize_);
  originMs_ = window_->ticksMs();
}

void PanelViewer::say(const std::string& line) const {
  if (settings_.print) settings_.print("view: " + line);
}

std::int64_t PanelViewer::virtualAt(std::uint64_t windowMs) const {
  return windowMs > originMs_ ? static_cast<std::int64_t>(windowMs - originMs_) : 0;
}

void PanelViewer::catchUpTo(std::int64_t virtualMs) {
  // Input can be stamped a little before the clock has already been moved; time never runs back.
  if (virtualMs > session_.nowMs()) session_.advance(virtualMs - session_.nowMs());
}

int PanelViewer::run() {
  try {
    return runUntilQuit();
  } catch (const std::exception& failure) {
    // What the pilot did up to the failure is worth keeping: it replays up to there.
    if (recorder_ && recorder_->stoppedEarly(failure.what())) {
      say("recorded up to the failure to " + recorder_->file().string());
    }
    throw;
  }
}

int PanelViewer::runUntilQuit() {
  window_->show(picture());
  say("showing " + session_.layout().file + "; L panel lights, S screenshot, Q quits" +
      (recorder_ ? "; recording to " + recorder_->file().string() : ""));
  std::int64_t nextFrameMs = kFrameMs;
  while (!quitting_) {
    const std::int64_t untilFrame = nextFrameMs - virtualAt(window_->ticksMs());
    const int wait = static_cast<int>(std::clamp<std::int64_t>(untilFrame, 0, kFrameMs));
    if (const std::optional<ViewInput> input = window_->nextInput(wait)) {
      catchUpTo(virtualAt(input->timeMs));
      handle(*input);
    }
    const std::int64_t now = virtualAt(window_->ticksMs());
    catchUpTo(now);
    if (recorder_) recorder_->keepUp();
    showTooltipWhenRested();
    if (redraw_ || now >= nextFrameMs) {
      window_->show(picture());
      redraw_ = false;
      nextFrameMs = now + kFrameMs;
    }
  }
  return quit();
}

void PanelViewer::act(const ScriptAction& command, const std::function<void()>& action) {
  if (recorder_) {
    recorder_->record(command, action);
  } else {
    action();
  }
  redraw_ = true;
}

void PanelViewer::handle(const ViewInput& input) {
  using Kind = ViewInput::Kind;
  const std::optional<PointedGauge> pointed = canvas_->gaugeAt(input.x, input.y);
  switch (input.kind) {
    case Kind::Quit:
      quitting_ = true;
      return;
    case Kind::Motion:
      pointerAt(input.x, input.y);
      return;
    case Kind::Leave:
      if (hover_ && !hover_->tooltip.empty()) redraw_ = true;
      hover_.reset();
      window_->setCursor(CursorShape::Arrow);
      return;
    case Kind::ButtonDown:
      pointerAt(input.x, input.y);
      if (hover_ && !hover_->tooltip.empty()) {
        hover_->tooltip.clear();  // the pilot is busy with the control now
        redraw_ = true;
      }
      if (pointed && !session_.buttonDown()) {
        const std::string& name = pointed->placed->gauge->name;
        act(script::Press{{name, pointed->x, pointed->y}},
            [&] { session_.press(*pointed->placed, pointed->x, pointed->y); });
      }
      return;
    case Kind::ButtonUp:
      if (session_.buttonDown()) act(script::Release{}, [&] { session_.release(); });
      return;
    case Kind::Wheel:
      pointerAt(input.x, input.y);
      if (pointed && !session_.buttonDown()) {
        const bool up = input.wheelSteps > 0;
        const int count = std::abs(input.wheelSteps);
        const std::string& name = pointed->placed->gauge->name;
        act(script::Wheel{{name, pointed->x, pointed->y}, up, count},
            [&] { session_.wheel(*pointed->placed, pointed->x, pointed->y, up, count); });
      }
      return;
    case Kind::Key:
      if (input.key == 'q' || input.key == ViewInput::kEscape) {
        quitting_ = true;
      } else if (input.key == 'l') {
        canvas_->setPanelLights(!canvas_->panelLights());
        redraw_ = true;
      } else if (input.key == 's') {
        screenshot();
      }
      return;
  }
}

void PanelViewer::pointerAt(int x, int y) {
  const bool moved = !hover_ || hover_->x != x || hover_->y != y;
  if (!moved) return;
  if (hover_ && !hover_->tooltip.empty()) redraw_ = true;
  hover_ = Hover{x, y, session_.nowMs(), "", false};
  const std::optional<PointedGauge> pointed = canvas_->gaugeAt(x, y);
  window_->setCursor(pointed ? cursorAt(pointed->placed->gauge->mouse, pointed->x, pointed->y)
                             : CursorShape::Arrow);
}

void PanelViewer::showTooltipWhenRested() {
  if (!hover_ || hover_->asked || session_.buttonDown()) return;
  if (session_.nowMs() - hover_->sinceMs < kTooltipDelayMs) return;
  hover_->asked = true;
  const std::optional<PointedGauge> pointed = canvas_->gaugeAt(hover_->x, hover_->y);
  if (!pointed) return;
  const std::string& name = pointed->placed->gauge->name;
  hover_->tooltip = tooltipAt(pointed->placed->gauge->mouse, pointed->x, pointed->y);
  if (hover_->tooltip.empty()) return;
  redraw_ = true;
  // What the pilot read becomes a check of the recording.
  if (recorder_) {
    recorder_->record(script::ExpectTooltip{{name, pointed->x, pointed->y}, hover_->tooltip}, {});
  }
}

Image PanelViewer::picture() {
  Image window(windowSize_.width, windowSize_.height, opaque(0, 0, 0));
  session_.beforeDrawing();
  const Image panel = canvas_->draw();
  session_.afterDrawing();
  for (int y = 0; y < panel.height(); ++y) {
    for (int x = 0; x < panel.width(); ++x) window.set(x, y, panel.at(x, y));
  }
  StripStatus status;
  status.nowMs = session_.nowMs();
  status.panelLights = canvas_->panelLights();
  if (recorder_) status.recording = recorder_->file().filename().string();
  const HostServices& host = session_.host();
  strip_.drawStrip(window, panel.width(),
                   stripLines(session_.simulation().state, host.keyEvents,
                              host.keyEventsDropped + host.keyEvents.size(), status,
                              windowSize_.height / kStripLineHeight));
  if (hover_ && !hover_->tooltip.empty()) {
    strip_.drawTooltip(window, hover_->x + 12, hover_->y + 20, hover_->tooltip);
  }
  return window;
}

void PanelViewer::screenshot() {
  std::filesystem::path file;
  std::error_code ignored;
  do {
    file =
        settings_.screenshotFolder / ("panelhost-view-" + std::to_string(++screenshots_) + ".png");
  } while (std::filesystem::exists(file, ignored));
  try {
    writePng(picture(), file);
    say("screenshot written to " +
        std::filesystem::absolute(file, ignored).lexically_normal().string());
  } catch (const RenderError& failure) {
    say(std::string("no screenshot: ") + failure.what());
  }
}

int PanelViewer::quit() {
  // The host releases a held button before it lets the module go.
  if (session_.buttonDown()) act(script::Release{}, [&] { session_.release(); });
  catchUpTo(virtualAt(window_->ticksMs()));
  if (recorder_) {
    recorder_->finish();
    say("recorded to " + recorder_->file().string() + "; play it back with panelhost run");
  }
  const std::vector<OutlivingTimer> outliving = session_.unload();
  say("module unloaded after " + std::to_string(session_.nowMs()) + " ms");
  for (const OutlivingTimer& timer : outliving) {
    say("expected no timer of the module running after unload, got timer " +
        std::to_string(timer.id) + " (every " + std::to_string(timer.periodMs) + " ms)");
  }
  return outliving.empty() ? 0 : 1;
}

}  // namespace panelhost
