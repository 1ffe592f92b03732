#include "view/view_command.h"

#include <iostream>
#include <optional>

#include "loader/module_files.h"
#include "panel/panel_file.h"
#include "panel/panel_session.h"
#include "support/host_error.h"
#include "support/number_text.h"
#include "view/panel_viewer.h"

namespace panelhost {

namespace {

constexpr int kExitBadInput = 2;
// Beyond these the window is either a few pixels or larger than any screen.
constexpr double kSmallestScale = 0.25;
constexpr double kLargestScale = 4.0;

struct ViewArguments {
  std::optional<std::string> panel;
  std::optional<std::string> window;
  std::optional<std::string> module;
  std::optional<std::string> record;
  CanvasSettings canvas;
  HostConditions conditions;
};

// Throws HostError naming the option and what was expected.
ViewArguments readViewArguments(const std::vector<std::string>& args) {
  ViewArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto value = [&](const char* what) {
      if (i + 1 >= args.size()) {
        throw HostError("expected " + std::string(what) + " after " + args[i]);
      }
      return args[++i];
    };
    if (args[i] == "--panel") {
      parsed.panel = value("a panel file");
    } else if (args[i] == "--window") {
      parsed.window = value("a window of the panel file");
    } else if (args[i] == "--module") {
      parsed.module = value("a path");
    } else if (args[i] == "--fpu") {
      parsed.conditions.fpuBits = parseFpuBits(value("24, 53 or 64"));
    } else if (args[i] == "--answers") {
      parsed.conditions.answers = parseHeldAnswers(value("exact, float or below"));
    } else if (args[i] == "--record") {
      parsed.record = value("a scenario file to write");
    } else if (args[i] == "--resources") {
      parsed.canvas.resourcesFolder = value("a folder");
    } else if (args[i] == "--lights") {
      const std::string state = value("on or off");
      if (state != "on" && state != "off") {
        throw HostError("--lights " + state + ": expected on or off");
      }
      parsed.canvas.panelLights = state == "on";
    } else if (args[i] == "--scale") {
      const std::string text = value("a scale");
      const std::optional<double> scale = parseNumber(text);
      if (!scale || *scale < kSmallestScale || *scale > kLargestScale) {
        throw HostError("--scale " + text + ": expected a number from 0.25 to 4");
      }
      parsed.canvas.scale = *scale;
    } else {
      throw HostError("expected an option of view, got " + args[i]);
    }
  }
  return parsed;
}

}  // namespace

int viewCommand(const std::vector<std::string>& args) {
  const ViewArguments parsed = readViewArguments(args);
  SessionOptions options;
  options.moduleFolder = executableFolder();
  options.moduleOverride = parsed.module;
  options.conditions = parsed.conditions;
  options.print = [](const std::string& line) { std::cout << line << std::endl; };
  ViewSettings settings;
  settings.canvas = parsed.canvas;
  if (parsed.record) settings.record = *parsed.record;
  if (parsed.panel) settings.origin.panelFile = *parsed.panel;
  settings.origin.module = parsed.module;
  settings.origin.window = parsed.window;
  settings.origin.conditions = parsed.conditions;
  settings.print = options.print;
  try {
    PanelSession session(
        parsed.panel ? readPanelFile(*parsed.panel, parsed.window) : builtInPanel(parsed.window),
        options);
    PanelViewer viewer(session, settings);
    return viewer.run();
  } catch (const HostError& error) {
    std::cout << "panelhost view: " << error.what() << std::endl;
    return kExitBadInput;
  }
}

}  // namespace panelhost
