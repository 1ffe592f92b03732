#include <cstring>
#include <string>

#include "host/host_numbers.h"
#include "host/panel_timers.h"
#include "host_fixture.h"
#include "module/linkage.h"

namespace {

using ModuleTest = HostFixture;

TEST_F(ModuleTest, LinkageNamesTheModuleAndListsTheThreeGaugesInOrder) {
  EXPECT_EQ(Linkage.ModuleID, 0x13u);
  EXPECT_EQ(Linkage.ModuleVersion, 0x0900u);
  EXPECT_EQ(Linkage.ModuleInfo, 0u);
  EXPECT_EQ(Linkage.ModuleStatus, 0u);
  const char* names[] = {"Com1Nav1", "Transponder", "ADF"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(Linkage.gauge_header_ptr[i], nullptr);
    EXPECT_STREQ(Linkage.gauge_header_ptr[i]->gauge_name, names[i]);
  }
  EXPECT_EQ(Linkage.gauge_header_ptr[3], nullptr);
}

TEST_F(ModuleTest, ImportTableAsksForThePanelsTable) {
  EXPECT_EQ(ImportTable.PANELSentry.fnID, 0x0Fu);
  EXPECT_EQ(ImportTable.nullentry.fnID, 0u);
  EXPECT_EQ(ImportTable.nullentry.fnptr, nullptr);
}

TEST_F(ModuleTest, EveryHeaderCarriesTheSharedFixedFields) {
  for (int i = 0; i < 3; ++i) {
    const GAUGEHDR& h = *Linkage.gauge_header_ptr[i];
    SCOPED_TRACE(h.gauge_name);
    EXPECT_EQ(h.gauge_header_version, 0x320u);
    EXPECT_EQ(h.size_x_mm, 417u);
    EXPECT_EQ(h.size_y_mm, 0u);
    ASSERT_NE(h.elements_list, nullptr);
    ASSERT_NE(*h.elements_list, nullptr);
    EXPECT_EQ((*h.elements_list)->element_type, ELEMENT_TYPE_STATIC_IMAGE);
    EXPECT_EQ((*h.elements_list)->gauge_header, &h);
    EXPECT_NE(h.mouse_rect, nullptr);
    EXPECT_EQ(h.reserved1, nullptr);
    EXPECT_EQ(h.user_data, 0u);
    EXPECT_EQ(h.parameters, nullptr);
    EXPECT_EQ(h.flags, 0u);
    const GAUGEHDR& first = *Linkage.gauge_header_ptr[0];
    EXPECT_EQ(h.query_routine, first.query_routine);
    EXPECT_EQ(h.install_routine, first.install_routine);
    EXPECT_EQ(h.initialize_routine, first.initialize_routine);
    EXPECT_EQ(h.update_routine, first.update_routine);
    EXPECT_EQ(h.generate_routine, first.generate_routine);
    EXPECT_EQ(h.draw_routine, first.draw_routine);
    EXPECT_EQ(h.kill_routine, first.kill_routine);
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
    const char* expected[] = {"query", "install", "initialize", "update", "generate", "plot", "kill"};
    ASSERT_EQ(host.elementListCalls.size(), 7u) << h.gauge_name;
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(host.elementListCalls[k].service, expected[k]) << h.gauge_name;
      EXPECT_EQ(host.elementListCalls[k].element, firstRoot) << h.gauge_name << " " << expected[k];
    }
  }
}

void CALLBACK neverExpected(HWND, UINT, UINT_PTR, DWORD) { ADD_FAILURE() << "timer fired after deinit"; }

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
