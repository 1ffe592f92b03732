// Hours of the radio stack as a restless pilot flies it: every simulated second a click, a held
// button or a few wheel notches on a control picked at random (fixed seed), with the update cycles
// and timers in between. After every event the radios are checked as the host sees them: what
// the displays, drums and knob pictures show, and what the simulation was sent.
//
//   radio_soak [--hours H] [--seed S] [--module PATH] [--most-rss-mb M]
//
// Exit 0 when every check held (and peak memory stayed within M MB, when given), 1 otherwise.
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "abi/host_layouts.h"
#include "loader/module_files.h"
#include "panel/element_reader.h"
#include "panel/mouse_table.h"
#include "panel/panel_session.h"

using namespace panelhost;

namespace {

struct Options {
  double hours = 2;
  unsigned seed = 1;
  std::optional<std::string> module;
  std::optional<long> mostRssMb;
};

long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class Soak {
 public:
  Soak(PanelSession& session, unsigned seed) : session_(session), random_(seed) {
    for (const char* name : {"Com1Nav1", "Transponder", "ADF"}) {
      const PlacedGauge* placed = session.placedGauge(name);
      if (placed == nullptr) throw HostError(std::string("the panel places no gauge ") + name);
      gauges_.push_back(*placed);
    }
  }

  // One simulated second: an event on some control, then time up to the next whole second.
  void second() {
    const PlacedGauge& placed = gauges_[pick(gauges_.size())];
    std::vector<const MouseEntry*> children;
    for (const MouseEntry& entry : placed.gauge->mouse) {
      if (entry.kind == hostabi::kChild && entry.box.width > 0 && entry.box.height > 0) {
        children.push_back(&entry);
      }
    }
    const MouseEntry& control = *children[pick(children.size())];
    const int x =
        control.box.x + static_cast<int>(pick(static_cast<std::size_t>(control.box.width)));
    const int y =
        control.box.y + static_cast<int>(pick(static_cast<std::size_t>(control.box.height)));
    const std::int64_t start = session_.nowMs();
    switch (pick(4)) {
      case 0:
        session_.click(placed, x, y);
        break;
      case 1: {
        session_.press(placed, x, y);
        session_.advance(100 + static_cast<std::int64_t>(pick(800)));
        session_.release();
        break;
      }
      default:
        session_.wheel(placed, x, y, pick(2) == 0, 1 + static_cast<int>(pick(3)));
        break;
    }
    check(placed.gauge->name + " after an event at (" + std::to_string(x) + ", " +
          std::to_string(y) + ")");
    session_.advance(1000 - (session_.nowMs() - start) % 1000);
  }

  int failures() const { return failures_; }

 private:
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

  void fail(const std::string& where, const std::string& what) {
    if (++failures_ <= 20) {
      std::cout << "[" << session_.nowMs() << " ms] " << where << ": " << what << std::endl;
    }
  }

  void expect(bool held, const std::string& where, const std::string& what) {
    if (!held) fail(where, what);
  }

  static bool whole(double v, double lo, double hi) {
    return std::isfinite(v) && v == std::floor(v) && v >= lo && v <= hi;
  }

  // "123.420" as kHz, or -1 when the text is not a frequency of seven characters.
  static long shownKhz(const std::string& text) {
    if (text.size() != 7 || text[3] != '.') return -1;
    long khz = 0;
    for (char c : text) {
      if (c == '.') continue;
      if (c < '0' || c > '9') return -1;
      khz = khz * 10 + (c - '0');
    }
    return khz;
  }

  void check(const std::string& where) {
    const RadioSimState& sim = session_.simulation().state;
    {
      ModuleElementValues values(*gauges_[0].module);
      const auto e = gauges_[0].gauge->tree.rootChildren();
      const double power = values.iconFrame(*e[4]);
      expect(power == 0 || power == 1, where, "the power knob shows a frame of 0 or 1");
      std::string texts[4];
      for (int i = 0; i < 4; ++i) texts[i] = values.text(*e[static_cast<std::size_t>(i)]);
      if (power == 0) {
        for (const auto& t : texts) expect(t.empty(), where, "a display shows \"" + t + "\" off");
        expect(sim.com1ActiveKhz == 136000 && sim.nav1ActiveKhz == 117950, where,
               "with the power off the simulation holds 136.000 and 117.950 MHz");
      } else {
        const long comStandby = shownKhz(texts[1]);
        const long navStandby = shownKhz(texts[3]);
        expect(comStandby >= 118000 && comStandby <= 135970, where,
               "the COM standby \"" + texts[1] + "\" in its band");
        expect(navStandby >= 108000 && navStandby <= 117920, where,
               "the NAV standby \"" + texts[3] + "\" in its band");
        expect(shownKhz(texts[0]) == sim.com1ActiveKhz / 10 * 10, where,
               "the COM active \"" + texts[0] + "\" as the simulation holds it");
        expect(shownKhz(texts[2]) == sim.nav1ActiveKhz / 10 * 10, where,
               "the NAV active \"" + texts[2] + "\" as the simulation holds it");
      }
    }
    {
      ModuleElementValues values(*gauges_[1].module);
      const auto e = gauges_[1].gauge->tree.rootChildren();
      int code = 0;
      for (int k = 0; k < 4; ++k) {
        const double digit = values.movingY(*e[static_cast<std::size_t>(k)]);
        expect(whole(digit, 0, 7), where, "a code drum shows a digit 0 to 7");
        code = code * 10 + static_cast<int>(digit);
      }
      const double mode = values.iconFrame(*e[4]);
      expect(whole(mode, 0, 3), where, "the mode knob stands at 0 to 3");
      const double lamp = values.iconFrame(*e[5]);
      expect(lamp == 0 || lamp == -1, where, "the lamp is lit (0) or shows nothing (-1)");
      if (mode > 0) expect(sim.xpdrCode == code, where, "the code sent is the code dialled");
    }
    {
      ModuleElementValues values(*gauges_[2].module);
      const auto e = gauges_[2].gauge->tree.rootChildren();
      const double mode = values.iconFrame(*e[0]);
      expect(whole(mode, 0, 3), where, "the ADF mode knob stands at 0 to 3");
      expect(whole(values.iconFrame(*e[1]), 0, 1), where, "the ident knob shows 0 or 1");
      const double hundreds = values.movingY(*e[2]);
      expect(whole(hundreds, 2, 16), where, "the hundreds drum at 2 to 16 once turned");
      double tenths = hundreds * 1000;
      for (int k = 3; k < 6; ++k) {
        const double digit = values.movingY(*e[static_cast<std::size_t>(k)]);
        expect(whole(digit, 0, 9), where, "an ADF digit drum shows 0 to 9");
        tenths += digit * (k == 3 ? 100 : k == 4 ? 10 : 1);
      }
      const double sentTenths = std::round(sim.adfActiveKhz * 10);
      expect(sentTenths == (mode == 0 ? 2000 : tenths), where,
             "the simulation holds 200.0 kHz at OFF and the drums' frequency otherwise");
    }
  }

  PanelSession& session_;
  std::mt19937 random_;
  std::vector<PlacedGauge> gauges_;
  int failures_ = 0;
};

Options readOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) throw HostError("expected a value after " + arg);
    const std::string value = argv[++i];
    if (arg == "--hours") {
      options.hours = std::stod(value);
    } else if (arg == "--seed") {
      options.seed = static_cast<unsigned>(std::stoul(value));
    } else if (arg == "--module") {
      options.module = value;
    } else if (arg == "--most-rss-mb") {
      options.mostRssMb = std::stol(value);
    } else {
      throw HostError("unknown option " + arg);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = readOptions(argc, argv);
    SessionOptions sessionOptions;
    sessionOptions.moduleFolder = executableFolder();
    sessionOptions.moduleOverride = options.module;
    PanelSession session(builtInPanel(), sessionOptions);
    session.start();
    Soak soak(session, options.seed);
    const long seconds = std::lround(options.hours * 3600);
    for (long s = 0; s < seconds; ++s) soak.second();
    const std::uint64_t sent = session.host().keyEvents.size() + session.host().keyEventsDropped;
    const auto outliving = session.unload();
    const long peakMb = peakRssKb() / 1024;
    std::cout << seconds << " simulated seconds, " << sent << " key events, " << soak.failures()
              << " failed checks, " << outliving.size() << " timers outliving unload, peak "
              << peakMb << " MB" << std::endl;
    const bool memoryHeld = !options.mostRssMb || peakMb <= *options.mostRssMb;
    if (!memoryHeld) {
      std::cout << "expected a peak of at most " << *options.mostRssMb << " MB, got " << peakMb
                << " MB" << std::endl;
    }
    return soak.failures() == 0 && outliving.empty() && memoryHeld ? 0 : 1;
  } catch (const std::exception& error) {
    std::cout << "radio_soak: " << error.what() << std::endl;
    return 2;
  }
}
