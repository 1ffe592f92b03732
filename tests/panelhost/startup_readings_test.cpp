// What the shipped .gau reads from the simulation at start-up, under every host condition the
// published facts leave open: each x87 precision and each way of holding the calculator's
// answers. The ADF's drums and the frequency its first mode click sends must be the tenth the
// simulation holds (a reading between tenths truncated, one the host's form cannot carry at
// 200.0 kHz); the COM and NAV standby displays must show the frequency the simulation holds.
//
// Initialisation runs once per load, so each reading starts from the module's data as it stood
// after loading rather than from a fresh load: a few hundred thousand readings in seconds.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "emulator/pe_image.h"
#include "emulator/windows_definitions.h"
#include "loader/loaded_module.h"
#include "loader/module_files.h"
#include "panel/element_reader.h"
#include "panel/mouse_table.h"
#include "services/host_services.h"

#ifndef STARTUP_READINGS_STRIDE
#define STARTUP_READINGS_STRIDE 1
#endif

namespace {

constexpr int kStride = STARTUP_READINGS_STRIDE;

using panelhost::HeldAnswers;
using panelhost::ModuleAddress;

struct Condition {
  int fpuBits;
  HeldAnswers answers;
};

std::string conditionName(const ::testing::TestParamInfo<Condition>& info) {
  return "Fpu" + std::to_string(info.param.fpuBits) + "_" +
         panelhost::heldAnswersName(info.param.answers);
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StartupReadings : public ::testing::TestWithParam<Condition> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(RADIOS_GAU_PATH))
        << RADIOS_GAU_PATH << " is missing: build the mingw-i686 preset first";
    panelhost::HostConditions conditions;
    conditions.fpuBits = GetParam().fpuBits;
    conditions.answers = GetParam().answers;
    host_.setHeldAnswers(conditions.answers);
    module_ = std::make_unique<panelhost::LoadedModule>(
        panelhost::openModuleImage(RADIOS_GAU_PATH, host_, conditions), host_);
    values_ = std::make_unique<panelhost::ModuleElementValues>(*module_);
    // The module's writable pages as loading left them.
    const panelhost::PeImage pe = panelhost::parsePeImage(fileBytes(RADIOS_GAU_PATH), "radios");
    const ModuleAddress base = module_->image().moduleHandle();
    for (std::size_t page = 0; page < pe.pageAccess.size(); ++page) {
      if (!(pe.pageAccess[page] & panelhost::kPageWrite)) continue;
      Page saved{base + page * panelhost::win32::kPageSize, {}};
      module_->image().read(saved.address, saved.bytes.data(), saved.bytes.size());
      loaded_.push_back(saved);
    }
  }

  // The module as freshly loaded, then its gauge initialised with the simulation as it stands.
  const panelhost::GaugeRecord& initialise(const std::string& name) {
    for (const Page& page : loaded_) {
      module_->image().write(page.address, page.bytes.data(), page.bytes.size());
    }
    host_.keyEvents.clear();
    const panelhost::GaugeRecord& gauge = *module_->gauge(name);
    const panelhost::ModuleCall init = module_->serviceCall(gauge, 4, 0);
    module_->callInOrder(&init, 1, nullptr);
    return gauge;
  }

  void click(const panelhost::GaugeRecord& gauge, int x, int y) {
    const int index = panelhost::childTakingEvent(gauge.mouse, x, y, panelhost::kMouseClick);
    ASSERT_GE(index, 0);
    const panelhost::MouseEntry& entry = gauge.mouse[static_cast<std::size_t>(index)];
    module_->mouse(entry, x - entry.box.x, y - entry.box.y, panelhost::kMouseClick);
  }

  // The ADF drums, then the frequency in tenths the first click of the mode knob sends.
  std::vector<int> adfAfterStart(double khz) {
    host_.simulation().state.adfActiveKhz = khz;
    const panelhost::GaugeRecord& adf = initialise("ADF");
    std::vector<int> seen;
    const auto children = adf.tree.rootChildren();
    for (std::size_t drum = 2; drum < 6; ++drum) {
      seen.push_back(static_cast<int>(values_->movingY(*children[drum])));
    }
    click(adf, 60, 40);
    const auto& sent = host_.keyEvents.back();
    seen.push_back(sent.eventId == 66479
                       ? static_cast<int>(std::lround(
                             panelhost::RadioSimulation::adfKhzFromBcd32(sent.value) * 10))
                       : -1);
    return seen;
  }

  static std::vector<int> adfShowing(int tenths) {
    return {tenths / 1000, tenths / 100 % 10, tenths / 10 % 10, tenths % 10, tenths};
  }

  struct Page {
    ModuleAddress address;
    std::array<std::uint8_t, panelhost::win32::kPageSize> bytes;
  };

  panelhost::HostServices host_;
  std::unique_ptr<panelhost::LoadedModule> module_;
  std::unique_ptr<panelhost::ModuleElementValues> values_;
  std::vector<Page> loaded_;
};

TEST_P(StartupReadings, TheAdfDrumsAndItsFirstFrequencyAreTheTenthTheSimulationHolds) {
  int mismatches = 0;
  const auto expectShowing = [&](double khz, int tenths) {
    const std::vector<int> seen = adfAfterStart(khz);
    if (seen != adfShowing(tenths) && ++mismatches <= 10) {
      ADD_FAILURE() << "a reading of " << khz << " kHz shows drums " << seen[0] << " " << seen[1]
                    << " " << seen[2] << " " << seen[3] << " and sends " << seen[4]
                    << " tenths; expected " << tenths;
    }
  };
  // Every tenth the drums can show, a spread of those above them the host's form carries, and
  // readings between tenths, which are truncated.
  for (int tenths = 0; tenths < 18000; tenths += kStride) expectShowing(tenths / 10.0, tenths);
  for (int tenths = 18000; tenths <= 99999; tenths += 97 * kStride) {
    expectShowing(tenths / 10.0, tenths);
  }
  expectShowing(9999.9, 99999);
  for (int tenths = 0; tenths < 99999; tenths += 89 * kStride) {
    for (const double between : {0.005, 0.05, 0.09}) {
      expectShowing(tenths / 10.0 + between, tenths);
    }
  }
  // What the form cannot carry starts the drums where OFF holds the simulation.
  for (const double beyond : {-0.1, -350.0, 10000.0, 1e12, std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()}) {
    expectShowing(beyond, 2000);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_P(StartupReadings, TheStandbyDisplaysShowTheFrequencyTheSimulationHolds) {
  int mismatches = 0;
  // Every frequency the host's BCD form carries, 100.000 to 199.995 MHz.
  for (int tens = 10000; tens < 20000; tens += kStride) {
    const int khz = tens * 10 + (tens % 10 == 2 || tens % 10 == 7 ? 5 : 0);
    host_.simulation().state.com1StandbyKhz = khz;
    host_.simulation().state.nav1StandbyKhz = khz;
    const panelhost::GaugeRecord& comNav = initialise("Com1Nav1");
    click(comNav, 90, 110);  // the power switch: the displays light
    const auto children = comNav.tree.rootChildren();
    const std::string com = values_->text(*children[1]);
    const std::string nav = values_->text(*children[3]);
    const auto shown = [](int standbyKhz) {
      char text[16];
      std::snprintf(text, sizeof text, "%6.2f0", standbyKhz / 10 / 100.0);
      return std::string(text);
    };
    // The NAV knob's band ends at 117.925 MHz; a higher reading starts there.
    const std::string wantCom = shown(khz);
    const std::string wantNav = shown(khz > 117925 ? 117925 : khz);
    if ((com != wantCom || nav != wantNav) && ++mismatches <= 10) {
      ADD_FAILURE() << "standby " << khz << " kHz shows COM \"" << com << "\" NAV \"" << nav
                    << "\"; expected \"" << wantCom << "\" and \"" << wantNav << "\"";
    }
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryHostCondition, StartupReadings,
    ::testing::Values(Condition{24, HeldAnswers::kExact}, Condition{24, HeldAnswers::kFloat},
                      Condition{24, HeldAnswers::kBelow}, Condition{53, HeldAnswers::kExact},
                      Condition{53, HeldAnswers::kFloat}, Condition{53, HeldAnswers::kBelow},
                      Condition{64, HeldAnswers::kExact}, Condition{64, HeldAnswers::kFloat},
                      Condition{64, HeldAnswers::kBelow}),
    conditionName);

}  // namespace
