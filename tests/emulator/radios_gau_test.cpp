// The shipped i686 radios.gau under the emulator, treated as the simulator treats it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "emulator/emulated_module.h"
#include "recording_windows.h"

using panelhost::HostError;
using panelhost::ModuleAddress;
using panelhost::ModuleFault;
using panelhost::ModuleImage;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr std::uint32_t kPanelsSlots = 86;
constexpr std::uint32_t kTriggerKeyEvent = 36;
constexpr std::uint32_t kLookupVar = 40;
constexpr std::uint32_t kExecuteCalculatorCode = 69;

struct KeyEvent {
  std::uint64_t id;
  std::uint64_t value;
  bool operator==(const KeyEvent& other) const { return id == other.id && value == other.value; }
};

class RadiosGau : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(RADIOS_I686_GAU))
        << RADIOS_I686_GAU << " is missing: build the mingw-i686 preset first (scripts/test "
        << "builds every preset before testing)";
  }

  void load(panelhost::EmulatorOptions options = {}) {
    module_ = panelhost::openEmulatedModule(RADIOS_I686_GAU, windows_, options);
    linkage_ = *module_->exportAddress("Linkage");
    installPanels();
  }

  std::uint32_t word(ModuleAddress at) const {
    std::uint32_t value = 0;
    module_->read(at, &value, 4);
    return value;
  }

  // The PANELS table as host-abi.md lays it out: the linkage header's six words, then services;
  // the slots the module must not call throw.
  void installPanels() {
    std::vector<std::uint32_t> table(kPanelsSlots);
    for (std::uint32_t slot = 0; slot < kPanelsSlots; ++slot) {
      table[slot] = slot < 6 ? word(linkage_ + 4 * slot) : serviceRefusing(slot);
    }
    ModuleImage& m = *module_;
    const auto trigger = m.hostFunction("trigger_key_event", 2, [this](const auto& a) {
      events_.push_back({a[0], a[1]});
      return 0;
    });
    // MODULE_VAR: the value's low word at offset 12.
    const auto lookup = m.hostFunction("lookup_var", 1, [&m](const auto& a) {
      std::uint32_t id = 0;
      m.read(a[0], &id, 4);
      const std::uint32_t value = id == 23 ? 0x2280 : id == 24 ? 0x1050 : 0;
      m.write(a[0] + 12, &value, 4);
      return 0;
    });
    const auto calculate = m.hostFunction("execute_calculator_code", 4, [&m](const auto& a) {
      char code[64] = {};
      m.read(a[0], code, 40);
      const double value = std::strstr(code, "ADF") ? 352.7 : 121.5;
      if (a[1] != 0) m.write(a[1], &value, 8);
      return 1;
    });
    table[kTriggerKeyEvent] = static_cast<std::uint32_t>(trigger);
    table[kLookupVar] = static_cast<std::uint32_t>(lookup);
    table[kExecuteCalculatorCode] = static_cast<std::uint32_t>(calculate);
    const ModuleAddress panels = m.allocateHostBlock(4 * kPanelsSlots, "the PANELS table");
    m.write(panels, table.data(), 4 * kPanelsSlots);
    const auto panelsWord = static_cast<std::uint32_t>(panels);
    m.write(*m.exportAddress("ImportTable") + 4, &panelsWord, 4);
  }

  std::uint32_t serviceRefusing(std::uint32_t slot) {
    return static_cast<std::uint32_t>(module_->hostFunction(
        "PANELS slot " + std::to_string(slot), 0,
        [slot](const panelhost::HostArguments&) -> std::uint64_t {
          throw HostError("the module called PANELS slot " + std::to_string(slot));
        }));
  }

  // The gauge header of the gauge at `index` in the linkage's table.
  ModuleAddress gauge(int index) const { return word(linkage_ + 24 + 4 * index); }

  // The first function pointer named `name` among `bytes` bytes at `from`: a test that finds the
  // module's functions by their symbols, whatever the records' layout.
  ModuleAddress named(ModuleAddress from, std::size_t bytes, const std::string& name) const {
    std::vector<std::uint32_t> words(bytes / 4);
    module_->read(from, words.data(), words.size() * 4);
    for (const std::uint32_t candidate : words) {
      if (module_->nameOf(candidate) == name) return candidate;
    }
    ADD_FAILURE() << "no pointer to " << name << " near " << from;
    return 0;
  }
  ModuleAddress namedInData(const std::string& name) const {
    return named((linkage_ & ~0xFFFull) - 0x2000, 0x4000, name);
  }

  void initialise(int gaugeIndex, const std::string& callback) {
    const ModuleAddress header = gauge(gaugeIndex);
    module_->call(named(header, 256, callback), {header, 4, 0}, callback);
  }

  emulator_test::RecordingWindows windows_;
  std::unique_ptr<ModuleImage> module_;
  ModuleAddress linkage_ = 0;
  std::vector<KeyEvent> events_;
};

TEST_F(RadiosGau, LoadsWithItsExportsAndRunsModuleInitAndDeinit) {
  load();
  EXPECT_EQ(module_->pointerSize(), 4);
  EXPECT_EQ(word(linkage_), 0x13u);
  EXPECT_EQ(word(linkage_ + 20), 0x0900u);
  EXPECT_EQ(word(*module_->exportAddress("ImportTable")), 0x0Fu);
  const ModuleAddress init = word(linkage_ + 4);
  const ModuleAddress deinit = word(linkage_ + 8);
  EXPECT_EQ(module_->nameOf(init), "radiosModuleInit");
  EXPECT_EQ(module_->nameOf(deinit), "radiosModuleDeinit");
  EXPECT_EQ(module_->nameOf(init + 1), "");
  module_->call(init, {}, "module init");
  module_->call(deinit, {}, "module deinit");
  EXPECT_THAT(events_, ElementsAre());
}

TEST_F(RadiosGau, InitialisingComNavSendsTheOffFrequenciesAndRunsItsTimer) {
  for (const std::optional<std::uint32_t> base : {std::optional<std::uint32_t>{}, {0x30000000u}}) {
    SCOPED_TRACE(base ? "relocated" : "at its preferred base");
    panelhost::EmulatorOptions options;
    options.imageBase = base;
    windows_.calls.clear();
    events_.clear();
    load(options);
    if (base) {
      EXPECT_EQ(linkage_ >> 24, 0x30u);
    }
    module_->call(word(linkage_ + 4), {}, "module init");
    initialise(0, "comNavGaugeCallback");
    EXPECT_THAT(events_, ElementsAre(KeyEvent{65707, 0x3600}, KeyEvent{65708, 0x1795}));
    ASSERT_EQ(windows_.calls.size(), 1u);
    const emulator_test::TimerCall set = windows_.calls[0];
    EXPECT_EQ(set.window, emulator_test::kMainWindow);
    EXPECT_EQ(set.id, 4u);
    EXPECT_EQ(set.periodMs, 5000u);
    EXPECT_EQ(module_->nameOf(set.procedure), "onSettleTimer");
    module_->call(set.procedure, {set.window, panelhost::kWmTimer, 4, 5000}, "timer procedure");
    ASSERT_EQ(windows_.calls.size(), 2u);
    EXPECT_EQ(windows_.calls[1].id, 4u);
    EXPECT_EQ(windows_.calls[1].periodMs, 0u) << "the settle timer stops itself";
  }
}

TEST_F(RadiosGau, ElementCallbacksReturnTheirDoubleInSt0) {
  load();
  initialise(2, "adfGaugeCallback");
  ASSERT_THAT(events_, ElementsAre(KeyEvent{66479, 0x2000000}));
  const std::map<std::string, double> drums = {
      {"adfTensStripY", 5}, {"adfUnitsStripY", 2}, {"adfTenthsStripY", 7}};
  for (const auto& [name, value] : drums) {
    const ModuleAddress callback = namedInData(name);
    // More calls than the x87 stack has registers: each must leave it empty.
    for (int call = 0; call < 10; ++call) {
      EXPECT_EQ(module_->callReturningDouble(callback, {0}, name), value) << name;
    }
  }
}

TEST_F(RadiosGau, Bitmap4096IsTheComNavFaceAs8BitBmp) {
  load();
  const auto bmp = module_->bitmapResource(4096);
  ASSERT_TRUE(bmp.has_value());
  const auto field = [&](std::size_t at, int bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, bmp->data() + at, bytes);
    return value;
  };
  EXPECT_EQ(field(0, 2), 0x4D42u);  // "BM"
  EXPECT_EQ(field(2, 4), bmp->size());
  EXPECT_EQ(field(18, 4), 417u);
  EXPECT_EQ(std::abs(static_cast<std::int32_t>(field(22, 4))), 163);  // bottom-up or top-down
  EXPECT_EQ(field(28, 2), 8u);
  const std::uint32_t colours = field(46, 4) == 0 ? 256 : field(46, 4);
  EXPECT_EQ(field(10, 4), 14 + field(14, 4) + 4 * colours);
  EXPECT_EQ(module_->bitmapResource(1), std::nullopt);
}

TEST_F(RadiosGau, AFaultNamesTheEntryTheAddressAndTheFunction) {
  load();
  const ModuleAddress text = namedInData("comActiveText");
  try {
    module_->callReturningDouble(text, {0x100}, "the COM active text callback");
    ADD_FAILURE() << "no fault";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(), HasSubstr("the COM active text callback: read 4 bytes at 0x1"));
    EXPECT_THAT(fault.what(), HasSubstr("which is not mapped (the instruction at 0x62C4"));
    EXPECT_THAT(fault.what(), HasSubstr("(comActiveText+0x"));
  }
}

}  // namespace
