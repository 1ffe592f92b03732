#include <cstring>
#include <string>

#include "host/host_numbers.h"
#include "host/panel_timers.h"
#include "host_fixture.h"
#include "layout_expectations.h"
#include "module/linkage.h"

namespace {

using ModuleTest = HostFixture;

TEST_F(ModuleTest, LinkageNamesTheModuleAndListsTheThreeGaugesInOrder) {
  const panelhost::LinkageRecord& linkage = module.linkage();
  EXPECT_EQ(linkage.moduleId, 0x13u);
  EXPECT_EQ(linkage.version, 0x0900u);
  EXPECT_EQ(linkage.flags, 0u);
  EXPECT_EQ(linkage.priority, 0u);
  EXPECT_EQ(linkage.init, at(radiosModuleInit));
  EXPECT_EQ(linkage.deinit, at(radiosModuleDeinit));
  EXPECT_EQ(linkage.gauges, (std::vector<std::uint64_t>{at(Linkage.gauge_header_ptr[0]),
                                                        at(Linkage.gauge_header_ptr[1]),
                                                        at(Linkage.gauge_header_ptr[2])}))
      << "three gauges, then the null end";
  std::vector<std::string> names;
  for (const auto& gauge : module.gauges()) names.push_back(gauge.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Com1Nav1", "Transponder", "ADF"}));
}

TEST_F(ModuleTest, ImportTableAsksForThePanelsTableAndTheHostFillsIt) {
  EXPECT_EQ(ImportTable.PANELSentry.fnID, 0x0Fu);
  EXPECT_EQ(at(ImportTable.PANELSentry.fnptr), module.panelsTable());
  EXPECT_EQ(ImportTable.nullentry.fnID, 0u);
  EXPECT_EQ(ImportTable.nullentry.fnptr, nullptr);
}

TEST_F(ModuleTest, EveryHeaderCarriesTheSharedFixedFields) {
  const panelhost::GaugeRecord& first = module.gauges().front();
  for (const panelhost::GaugeRecord& gauge : module.gauges()) {
    SCOPED_TRACE(gauge.name);
    EXPECT_EQ(gauge.version, 0x320u);
    EXPECT_EQ(gauge.sizeXmm, 417u);
    EXPECT_EQ(gauge.sizeYmm, 0u);
    ASSERT_NE(gauge.tree.root(), nullptr);
    EXPECT_EQ(gauge.tree.root()->kind, static_cast<std::uint32_t>(ELEMENT_TYPE_STATIC_IMAGE));
    EXPECT_NE(gauge.mouseTable, 0u);
    EXPECT_EQ(gauge.userData, 0u);
    EXPECT_EQ(gauge.flags, 0u);
    // The seven routines are one set, and each hands over the first gauge's root (below).
    EXPECT_EQ(gauge.routines, first.routines);
  }
}

TEST_F(ModuleTest, EveryRoutineOfEveryHeaderHandsOverTheFirstGaugesRoot) {
  ELEMENT_HEADER* firstRoot = *Linkage.gauge_header_ptr[0]->elements_list;
  for (int i = 0; i < 3; ++i) {
    const GAUGEHDR& h = *Linkage.gauge_header_ptr[i];
    host.elementListCalls.clear();
    h.query_routine();
    h.install_routine(nullptr);
    h.initialize_routine();
    h.update_routine();
    h.generate_routine(1);
    h.draw_routine();
    h.kill_routine();
    // The host's slots for query, install, initialize, update, generate, plot and kill.
    const int expected[] = {24, 25, 26, 27, 28, 29, 31};
    ASSERT_EQ(host.elementListCalls.size(), 7u) << h.gauge_name;
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(host.elementListCalls[k].slot, expected[k]) << h.gauge_name;
      EXPECT_EQ(host.elementListCalls[k].element, reinterpret_cast<std::uintptr_t>(firstRoot))
          << h.gauge_name << " slot " << expected[k];
    }
  }
}

void CALLBACK neverExpected(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "timer fired after deinit";
}

TEST_F(ModuleTest, DeinitLeavesNoTimerOfTheModuleRunning) {
  for (UINT id = 1; id <= 4; ++id) startPanelTimer(id, 500 * id, neverExpected);
  ASSERT_EQ(host.timers().running().size(), 4u);
  Linkage.ModuleInit();
  Linkage.ModuleDeinit();
  EXPECT_TRUE(host.timers().running().empty());
  advanceTo(60000);
}

TEST_F(ModuleTest, InitSendsAndStartsNothing) {
  Linkage.ModuleInit();
  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_TRUE(host.timers().running().empty());
}

}  // namespace
