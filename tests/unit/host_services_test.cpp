#include <cstring>

#include "host/host_numbers.h"
#include "host/panel_services.h"
#include "host/panel_timers.h"
#include "host_fixture.h"
#include "module/linkage.h"

namespace {

using HostServicesTest = HostFixture;

TEST_F(HostServicesTest, CalculatorNamesAreWrappedInOneParenthesisEachAndNothingElse) {
  host.simulation().state.nav1StandbyKhz = 113900;
  EXPECT_DOUBLE_EQ(evalCalculatorNumber(calculator::kNav1Standby), 113.9);
  ASSERT_EQ(host.calculatorCodes.size(), 1u);
  EXPECT_EQ(host.calculatorCodes[0], "(A:NAV1 STANDBY FREQUENCY, Megahertz)");
}

TEST_F(HostServicesTest, AnExpressionIsHandedOverUnchanged) {
  FLOAT64 khz = -1.0;
  EXPECT_TRUE(evalCalculatorExpression(calculator::kAdfActive, &khz));
  EXPECT_DOUBLE_EQ(khz, 350.0);
  EXPECT_EQ(host.calculatorCodes.at(0), "(A:ADF ACTIVE FREQUENCY:1,KHz)");
}

TEST_F(HostServicesTest, AFailedEvaluationLeavesTheResultAlone) {
  FLOAT64 khz = 42.0;
  EXPECT_FALSE(evalCalculatorExpression("(A:NO SUCH THING)", &khz));
  EXPECT_DOUBLE_EQ(khz, 42.0);
  EXPECT_DOUBLE_EQ(evalCalculatorNumber("A:NO SUCH THING"), 0.0);
}

TEST_F(HostServicesTest, ModuleVariablesAreReadThroughAZeroedRecord) {
  host.simulation().state.com1ActiveKhz = 123425;
  EXPECT_EQ(readModuleVarInt(modulevar::kCom1ActiveFrequency), 0x2342);
  ASSERT_EQ(host.moduleVarLookups.size(), 1u);
  const panelhost::ModuleVarLookup& seen = host.moduleVarLookups[0];
  EXPECT_EQ(seen.id, 23u);
  EXPECT_EQ(seen.varPtr, 0u);
  EXPECT_EQ(seen.varType, 0u);
  EXPECT_EQ(seen.value, 0u);
  EXPECT_EQ(seen.old, 0u);
}

// A run of months calls lookup_var on every update cycle: the records of such calls are kept
// only as far as a test can still want them.
TEST_F(HostServicesTest, RecordsOfServiceCallsKeepOnlyTheLatest) {
  for (int i = 0; i < 1000; ++i) {
    readModuleVarInt(modulevar::kCom1ActiveFrequency);
    evalCalculatorNumber(calculator::kCom1Standby);
    Linkage.gauge_header_ptr[0]->update_routine();
  }
  EXPECT_EQ(host.moduleVarLookups.size(), panelhost::HostServices::kKeptServiceRecords);
  EXPECT_EQ(host.calculatorCodes.size(), panelhost::HostServices::kKeptServiceRecords);
  EXPECT_EQ(host.elementListCalls.size(), panelhost::HostServices::kKeptServiceRecords);
}

TEST_F(HostServicesTest, KeyEventsReachTheSimulation) {
  sendKeyEvent(keyevent::kCom1ActiveSet, 0x2172);
  sendKeyEvent(keyevent::kNav1IdentOn, 0);
  ASSERT_EQ(host.keyEvents.size(), 2u);
  EXPECT_EQ(host.keyEvents[0].eventId, 65707u);
  EXPECT_EQ(host.keyEvents[0].value, 0x2172u);
  EXPECT_EQ(host.simulation().state.com1ActiveKhz, 121725);
  EXPECT_TRUE(host.simulation().state.nav1Ident);
}

int firings = 0;
void CALLBACK selfStoppingHandler(HWND, UINT, UINT_PTR, DWORD) {
  ++firings;
  stopPanelTimer(2);
}
void CALLBACK countingHandler(HWND, UINT, UINT_PTR, DWORD) { ++firings; }

TEST_F(HostServicesTest, ATimerWhoseHandlerStopsItFiresOncePerStart) {
  firings = 0;
  startPanelTimer(2, 500, selfStoppingHandler);
  advanceTo(499);
  EXPECT_EQ(firings, 0);
  advanceTo(5000);
  EXPECT_EQ(firings, 1);
  startPanelTimer(2, 500, selfStoppingHandler);
  advanceTo(10000);
  EXPECT_EQ(firings, 2);
  EXPECT_FALSE(timerRunning(2));
}

TEST_F(HostServicesTest, StartingARunningTimerRestartsItsPeriod) {
  firings = 0;
  startPanelTimer(2, 500, countingHandler);
  advanceTo(400);
  startPanelTimer(2, 500, countingHandler);
  advanceTo(899);
  EXPECT_EQ(firings, 0);
  advanceTo(900);
  EXPECT_EQ(firings, 1);
  EXPECT_EQ(host.timers().running().size(), 1u);
  advanceTo(1400);  // repeats until killed
  EXPECT_EQ(firings, 2);
  stopPanelTimer(2);
  stopPanelTimer(3);  // not running: nothing happens
  advanceTo(5000);
  EXPECT_EQ(firings, 2);
}

void CALLBACK killsTheOther(HWND, UINT, UINT_PTR, DWORD) {
  ++firings;
  stopPanelTimer(3);
}

TEST_F(HostServicesTest, AMessageAlreadyQueuedIsDeliveredAfterItsTimerIsKilled) {
  firings = 0;
  startPanelTimer(2, 500, killsTheOther);
  startPanelTimer(3, 500, countingHandler);
  advanceTo(500);
  EXPECT_EQ(firings, 2);  // timer 3's message was queued before timer 2's handler killed it
  EXPECT_FALSE(timerRunning(3));
  advanceTo(1000);
  EXPECT_EQ(firings, 3);
}

TEST_F(HostServicesTest, WithoutTheMainWindowSetTimerHandsBackAnIdOfItsOwn) {
  host.setWindowPresent(false);
  EXPECT_EQ(FindWindowW(L"FS98MAIN", nullptr), nullptr);
  const UINT_PTR id = SetTimer(nullptr, 4, 5000, countingHandler);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, 4u);
  EXPECT_FALSE(KillTimer(nullptr, 4));
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(HostServicesTest, ATimerWithoutAProcedureFiresIntoTheWindowNotIntoNothing) {
  SetTimer(FindWindowW(L"FS98MAIN", nullptr), 2, 500, nullptr);
  advanceTo(2000);  // no procedure to call: nothing happens, nothing crashes
  EXPECT_TRUE(timerRunning(2));
}

TEST_F(HostServicesTest, OnlyTheMainWindowClassIsFound) {
  EXPECT_NE(FindWindowW(L"FS98MAIN", nullptr), nullptr);
  EXPECT_EQ(FindWindowW(L"Notepad", nullptr), nullptr);
}

}  // namespace
