#include <gmock/gmock.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "comnav_fixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ComNavTest = ComNavFixture;

constexpr std::uint32_t kComSet = 65707;
constexpr std::uint32_t kNavSet = 65708;
constexpr std::uint32_t kIdentOn = 65837;
constexpr std::uint32_t kIdentOff = 65832;

// ---- Lifecycle: Loaded, OffSettling, OnSettling, Off, On ---------------------------------------

TEST_F(ComNavTest, LoadedShowsNothingAndSendsNothing) {
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 0));
  EXPECT_EQ(text(comActiveText), "");
  EXPECT_EQ(text(navStandbyText), "");
  EXPECT_EQ(powerSwitchIcon(nullptr), 0.0);
  EXPECT_EQ(navIdentIcon(nullptr), 0.0);
  preUpdate();  // no adoption before initialisation
  EXPECT_THAT(events(), IsEmpty());
  EXPECT_FALSE(timerRunning(4));
}

TEST_F(ComNavTest, WalksOffSettlingOnSettlingOnOffOnThroughItsEvents) {
  preInitialize();
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 0)) << "OffSettling";
  EXPECT_TRUE(timerRunning(4));

  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(powerAndSettled(), std::make_pair(1, 0)) << "OnSettling";
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 0)) << "OffSettling again";
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);

  advanceBy(5000);
  EXPECT_EQ(powerAndSettled(), std::make_pair(1, 1)) << "On";
  EXPECT_FALSE(timerRunning(4)) << "the settle timer fires once";

  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 1)) << "Off";
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(powerAndSettled(), std::make_pair(1, 1)) << "On again";
}

TEST_F(ComNavTest, OffSettlingBecomesOffWhenTheDelayRunsOut) {
  preInitialize();
  advanceBy(4999);
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 0));
  advanceBy(1);
  EXPECT_EQ(powerAndSettled(), std::make_pair(0, 1));
}

TEST_F(ComNavTest, AdoptionInOffSwitchesTheRadioOnWithoutSendingAnything) {
  preInitialize();
  advanceBy(5000);
  host.keyEvents.clear();
  host.simulation().state.com1ActiveKhz = 124850;
  preUpdate();
  EXPECT_EQ(powerAndSettled(), std::make_pair(1, 1));
  EXPECT_EQ(state.comActiveKhz, 124850);
  EXPECT_EQ(state.comSentKhz, 124850);
  EXPECT_EQ(text(comActiveText), "124.850");
  EXPECT_THAT(events(), IsEmpty());
  // The simulation's NAV1 stays at the off frequency until the power is cycled.
  EXPECT_EQ(host.simulation().state.nav1ActiveKhz, 117950);
}

TEST_F(ComNavTest, ServiceIdsOtherThanFourAndSixDoNothing) {
  for (SINT32 service : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11, 12, 13, 99, -1}) {
    comNavGaugeCallback(nullptr, service, 0);
  }
  EXPECT_EQ(state.initialised, 0);
  EXPECT_THAT(events(), IsEmpty());
  EXPECT_FALSE(timerRunning(4));
}

// ---- Pre-initialize -----------------------------------------------------------------------------

TEST_F(ComNavTest, PreInitializeReadsTheRadiosAndSendsTheOffFrequenciesInOrder) {
  host.simulation().state = {};
  preInitialize();
  EXPECT_THAT(events(), ElementsAre(Event{kComSet, 0x3600}, Event{kNavSet, 0x1795}));
  EXPECT_EQ(state.comActiveKhz, 122800);
  EXPECT_EQ(state.comStandbyKhz, 121500);
  EXPECT_EQ(state.navActiveKhz, 110500);
  EXPECT_EQ(state.navStandbyKhz, 113900);
  EXPECT_EQ(state.comSentKhz, 136000);
  EXPECT_EQ(state.navSentKhz, 117950);
  EXPECT_EQ(state.lastComBcd, 0x2280);
  EXPECT_EQ(state.lastNavBcd, 0x1050);
  EXPECT_EQ(state.navIdentOn, 0);
  EXPECT_EQ(state.initialised, 1);
  EXPECT_THAT(host.calculatorCodes,
              ::testing::ElementsAre("(A:COM1 STANDBY FREQUENCY, Megahertz)",
                                     "(A:NAV1 STANDBY FREQUENCY, Megahertz)"));
  ASSERT_EQ(host.moduleVarLookups.size(), 2u);
  EXPECT_EQ(host.moduleVarLookups[0].id, 23u);
  EXPECT_EQ(host.moduleVarLookups[1].id, 24u);
}

TEST_F(ComNavTest, NavReadingsAreCappedAtTheTopOfTheBandAndComReadingsAreNot) {
  auto& sim = host.simulation().state;
  sim.com1ActiveKhz = 136000;
  sim.com1StandbyKhz = 100000;
  sim.nav1ActiveKhz = 117950;
  sim.nav1StandbyKhz = 117950;
  preInitialize();
  EXPECT_EQ(state.comActiveKhz, 136000);
  EXPECT_EQ(state.comStandbyKhz, 100000);
  EXPECT_EQ(state.navActiveKhz, 117925);
  EXPECT_EQ(state.navStandbyKhz, 117925);

  host.keyEvents.clear();
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kComSet, 0x3600}, Event{kNavSet, 0x1792}));
}

TEST_F(ComNavTest, ASecondPreInitializeChangesNothing) {
  preInitialize();
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  advanceBy(3000);
  host.keyEvents.clear();
  host.simulation().state.com1StandbyKhz = 130000;
  const ComNavState before = state;

  preInitialize();
  EXPECT_THAT(events(), IsEmpty());
  EXPECT_EQ(fields(before), fields(state));
  advanceBy(2000);  // the original delay is not restarted
  EXPECT_EQ(state.settleElapsed, 1);
}

// Readings a host should never give: the radio keeps to defined arithmetic and starts the
// standby frequency on the band's lowest channel.
double failingCalculatorResult;
SINT32 FSAPI failingCalculator(PCSTRINGZ, FLOAT64* result, SINT32*, PCSTRINGZ*) {
  *result = failingCalculatorResult;
  return 0;
}
double oddCalculatorResult;
SINT32 FSAPI oddCalculator(PCSTRINGZ, FLOAT64* result, SINT32*, PCSTRINGZ*) {
  *result = oddCalculatorResult;
  return 1;
}

TEST_F(ComNavTest, AFailedStandbyReadingStartsOnTheLowestChannel) {
  failingCalculatorResult = 125.0;  // whatever the host leaves behind is not believed
  panels()->execute_calculator_code = failingCalculator;
  preInitialize();
  EXPECT_EQ(state.comStandbyKhz, 118000);
  EXPECT_EQ(state.navStandbyKhz, 108000);
}

TEST_F(ComNavTest, StandbyReadingsThatAreNoFrequencyStartOnTheLowestChannel) {
  const double nonsense[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             -0.001,
                             -1e12,
                             1000.0,
                             3e9,
                             1e300};
  for (double reading : nonsense) {
    SCOPED_TRACE(reading);
    comNavState = {};
    oddCalculatorResult = reading;
    panels()->execute_calculator_code = oddCalculator;
    preInitialize();
    EXPECT_EQ(state.comStandbyKhz, 118000);
    EXPECT_EQ(state.navStandbyKhz, 108000);
  }
}

TEST_F(ComNavTest, StandbyReadingsAThreeDigitDisplayCanShowAreTakenAsTheyCome) {
  const std::pair<double, KhzFrequency> readings[] = {
      {0.0, 0}, {100.0, 100000}, {121.725, 121725}, {121.72, 121725}, {999.99, 999990}};
  for (const auto& [mhz, khz] : readings) {
    SCOPED_TRACE(mhz);
    comNavState = {};
    oddCalculatorResult = mhz;
    panels()->execute_calculator_code = oddCalculator;
    preInitialize();
    EXPECT_EQ(state.comStandbyKhz, khz);
    EXPECT_EQ(state.navStandbyKhz, std::min(khz, 117925));
  }
}

SINT32 highBitsReading;
void FSAPI highBitsLookup(MODULE_VAR* var) {
  var->var_value.u = static_cast<UINT32>(highBitsReading);
}

TEST_F(ComNavTest, ActiveReadingsKeepOnlyTheSixteenBitForm) {
  for (SINT32 raw : {static_cast<SINT32>(0xFFFF2342), static_cast<SINT32>(0x7FFF2342), 0x12342}) {
    comNavState = {};
    highBitsReading = raw;
    panels()->lookup_var = highBitsLookup;
    preInitialize();
    EXPECT_EQ(state.comActiveKhz, 123425) << std::hex << raw;
    EXPECT_EQ(state.navActiveKhz, 117925) << std::hex << raw;
  }
}

// ---- Adoption of outside COM1 changes ----------------------------------------------------------

TEST_F(ComNavTest, OutsideChangesAreIgnoredDuringTheSettleDelay) {
  preInitialize();
  host.keyEvents.clear();
  host.simulation().state.com1ActiveKhz = 119000;
  for (int t = 55; t < 5000; t += 55) {
    advanceTo(t);
    preUpdate();
  }
  EXPECT_EQ(state.powerOn, 0);
  EXPECT_EQ(state.comActiveKhz, 122800);
  advanceTo(5000);
  preUpdate();
  EXPECT_EQ(state.powerOn, 1);
  EXPECT_EQ(state.comActiveKhz, 119000);
  EXPECT_THAT(events(), IsEmpty());
}

TEST_F(ComNavTest, TheRadiosOwnFrequencyIsNotAdopted) {
  startOn();
  auto& s = comNavState;
  s.comStandbyKhz = 127275;
  comSwapClick(&point, MOUSE_LEFTSINGLE);
  ComNavState expected = s;
  expected.lastComBcd = 0x2727;  // the reading itself is always kept
  preUpdate();
  EXPECT_EQ(fields(expected), fields(s));

  // Switched off, the simulation holds 136.000, which is the radio's own too.
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  preUpdate();
  EXPECT_EQ(s.powerOn, 0);
}

TEST_F(ComNavTest, WithThePowerOnEveryOutsideChangeIsFollowed) {
  startOn();
  const std::pair<KhzFrequency, const char*> changes[] = {
      {118025, "118.020"}, {135975, "135.970"}, {121725, "121.720"}};
  for (const auto& [khz, shown] : changes) {
    host.simulation().state.com1ActiveKhz = khz;
    preUpdate();
    EXPECT_EQ(state.comActiveKhz, khz);
    EXPECT_EQ(text(comActiveText), shown);
  }
  EXPECT_THAT(events(), IsEmpty());
  EXPECT_EQ(state.comStandbyKhz, 121500);
}

// ---- Power, swaps, ident ------------------------------------------------------------------------

TEST_F(ComNavTest, PowerSendsTheActiveFrequenciesOnAndTheOffFrequenciesOff) {
  preInitialize();
  host.keyEvents.clear();
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kComSet, 0x2280}, Event{kNavSet, 0x1050}));
  EXPECT_EQ(powerSwitchIcon(nullptr), 1.0);
  host.keyEvents.clear();
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kComSet, 0x3600}, Event{kNavSet, 0x1795}));
  EXPECT_EQ(powerSwitchIcon(nullptr), 0.0);
}

TEST_F(ComNavTest, SwapsAreIgnoredWhileOff) {
  preInitialize();
  host.keyEvents.clear();
  const ComNavState before = state;
  comSwapClick(&point, MOUSE_LEFTSINGLE);
  navSwapClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(fields(before), fields(state));
  EXPECT_THAT(events(), IsEmpty());
}

TEST_F(ComNavTest, EachSwapExchangesItsPairAndSendsOnlyItsOwnRadio) {
  startOn();
  comSwapClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kComSet, 0x2150}));
  EXPECT_EQ(state.comActiveKhz, 121500);
  EXPECT_EQ(state.comStandbyKhz, 122800);
  EXPECT_EQ(state.comSentKhz, 121500);
  EXPECT_EQ(host.simulation().state.com1ActiveKhz, 121500);

  host.keyEvents.clear();
  navSwapClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kNavSet, 0x1390}));
  EXPECT_EQ(state.navActiveKhz, 113900);
  EXPECT_EQ(state.navStandbyKhz, 110500);
  EXPECT_EQ(state.navSentKhz, 113900);
}

TEST_F(ComNavTest, IdentTogglesAndSendsWhateverThePower) {
  preInitialize();
  host.keyEvents.clear();
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(navIdentIcon(nullptr), 1.0);
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(navIdentIcon(nullptr), 0.0);
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  host.keyEvents.clear();
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kIdentOn, 0}));
  EXPECT_TRUE(host.simulation().state.nav1Ident);
}

TEST_F(ComNavTest, FirstIdentClickAfterInitialisationTurnsIdentOn) {
  preInitialize();
  host.keyEvents.clear();
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_THAT(events(), ElementsAre(Event{kIdentOn, 0}, Event{kIdentOff, 0}));
}

// ---- Displays -----------------------------------------------------------------------------------

TEST_F(ComNavTest, DisplaysAreEmptyWhileOffAndShowTheTenKilohertzWhileOn) {
  preInitialize();
  EXPECT_EQ(text(comActiveText), "");
  EXPECT_EQ(text(comStandbyText), "");
  EXPECT_EQ(text(navActiveText), "");
  EXPECT_EQ(text(navStandbyText), "");

  comNavState.powerOn = 1;
  const std::pair<KhzFrequency, const char*> shown[] = {
      {123425, "123.420"}, {118000, "118.000"}, {117925, "117.920"}, {108050, "108.050"},
      {0, "  0.000"},      {99975, " 99.970"},  {266655, "266.650"}, {999990, "999.990"}};
  for (const auto& [khz, expected] : shown) {
    comNavState.comActiveKhz = khz;
    comNavState.comStandbyKhz = khz;
    comNavState.navActiveKhz = khz;
    comNavState.navStandbyKhz = khz;
    EXPECT_EQ(text(comActiveText), expected);
    EXPECT_EQ(text(comStandbyText), expected);
    EXPECT_EQ(text(navActiveText), expected);
    EXPECT_EQ(text(navStandbyText), expected);
  }
}

TEST_F(ComNavTest, ALongTextIsCutToTheHostsBufferAndTerminated) {
  comNavState.powerOn = 1;
  comNavState.comStandbyKhz = 1999990;  // would need nine characters and the terminator
  char buffer[12];
  std::memset(buffer, '#', sizeof buffer);
  ELEMENT_STRING element{};
  element.string = buffer;
  element.max_string_length = 6;
  EXPECT_EQ(comStandbyText(&element), 0.0);
  EXPECT_STREQ(buffer, "1999.");
  EXPECT_EQ(buffer[6], '#') << "wrote past the buffer";

  element.max_string_length = 0;  // nothing may be written at all
  buffer[0] = '#';
  comStandbyText(&element);
  EXPECT_EQ(buffer[0], '#');
}

}  // namespace
