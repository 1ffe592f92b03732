#include <cstdint>
#include <string>

#include "adf_fixture.h"

namespace {

using AdfKnobsTest = AdfFixture;

struct Step {
  const char* name;
  PMOUSE_FUNCTION handler;
  AdfTenths from;
  AdfTenths to;
};

// Each drum turns by itself: a wrap carries nothing into, and borrows nothing from, its neighbour.
TEST_F(AdfKnobsTest, EachClickStepsItsOwnDrumAndWrapsWithoutCarry) {
  const Step steps[] = {
      {"hundreds down", adfHundredsDown, 3500, 2500},
      {"hundreds down", adfHundredsDown, 2500, 16500},
      {"hundreds down", adfHundredsDown, 1500, 16500},
      {"hundreds down", adfHundredsDown, 500, 16500},
      {"hundreds up", adfHundredsUp, 3500, 4500},
      {"hundreds up", adfHundredsUp, 15500, 16500},
      {"hundreds up", adfHundredsUp, 16500, 2500},
      {"hundreds up", adfHundredsUp, 500, 1500},
      {"hundreds up", adfHundredsUp, 17999, 2999},
      {"tens down", adfTensDown, 3500, 3400},
      {"tens down", adfTensDown, 3099, 3999},
      {"tens down", adfTensDown, 3199, 3099},
      {"tens up", adfTensUp, 3500, 3600},
      {"tens up", adfTensUp, 3900, 3000},
      {"tens up", adfTensUp, 3800, 3900},
      {"units down", adfUnitsDown, 3500, 3590},
      {"units down", adfUnitsDown, 3515, 3505},
      {"units up", adfUnitsUp, 3500, 3510},
      {"units up", adfUnitsUp, 3585, 3595},
      {"units up", adfUnitsUp, 3599, 3509},
      {"tenths down", adfTenthsDown, 3500, 3509},
      {"tenths down", adfTenthsDown, 3507, 3506},
      {"tenths down", adfTenthsDown, 3501, 3500},
      {"tenths up", adfTenthsUp, 3508, 3509},
      {"tenths up", adfTenthsUp, 3500, 3501},
      {"tenths up", adfTenthsUp, 3999, 3990},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.name) + " from " + std::to_string(s.from));
    adfState = AdfState{};
    startAt(s.from / 10.0, 1);
    EXPECT_EQ(s.handler(&point, MOUSE_LEFTSINGLE), 0);
    EXPECT_EQ(adfState.selectedTenths, s.to);
    EXPECT_EQ(adfState.activeTenths, s.to);
    EXPECT_EQ(simAdfTenths(), s.to);
    EXPECT_EQ(adfFrequencyValuesSent().size(), 1u);
  }
}

TEST_F(AdfKnobsTest, ARepeatWhileHeldStepsLikeAClick) {
  startAt(350.0, 1);
  adfUnitsUp(&point, MOUSE_DOWN_REPEAT);
  adfUnitsUp(&point, MOUSE_DOWN_REPEAT);
  EXPECT_EQ(adfState.selectedTenths, 3520);
}

struct Twin {
  const char* name;
  PMOUSE_FUNCTION handler;
  SINT32 AdfState::*drum;
};

// Over either half of a knob the wheel turns the drum the wheel's way.
TEST_F(AdfKnobsTest, TheWheelTurnsTheDrumItsOwnWayOverEitherHalf) {
  const Twin twins[] = {
      {"adfHundredsDown", adfHundredsDown, &AdfState::hundredsGroup},
      {"adfHundredsUp", adfHundredsUp, &AdfState::hundredsGroup},
      {"adfTensDown", adfTensDown, &AdfState::tensDigit},
      {"adfTensUp", adfTensUp, &AdfState::tensDigit},
      {"adfUnitsDown", adfUnitsDown, &AdfState::unitsDigit},
      {"adfUnitsUp", adfUnitsUp, &AdfState::unitsDigit},
      {"adfTenthsDown", adfTenthsDown, &AdfState::tenthsDigit},
      {"adfTenthsUp", adfTenthsUp, &AdfState::tenthsDigit},
  };
  for (const Twin& t : twins) {
    SCOPED_TRACE(t.name);
    adfState = AdfState{};
    startAt(355.5, 2);  // every drum at 3 or 5, away from its ends
    const int start = adfState.*t.drum;
    EXPECT_EQ(t.handler(&point, MOUSE_WHEEL_UP), 0);
    EXPECT_EQ(adfState.*t.drum, start + 1);
    EXPECT_EQ(simAdfTenths(), adfState.selectedTenths);
    EXPECT_EQ(t.handler(&point, MOUSE_WHEEL_DOWN), 0);
    EXPECT_EQ(t.handler(&point, MOUSE_WHEEL_DOWN), 0);
    EXPECT_EQ(adfState.*t.drum, start - 1);
    EXPECT_EQ(simAdfTenths(), adfState.selectedTenths);
    EXPECT_EQ(adfFrequencyValuesSent().size(), 3u);
  }
}

TEST_F(AdfKnobsTest, AnEventWithBothWheelBitsReturnsAndTurnsNothing) {
  const PMOUSE_FUNCTION handlers[] = {adfHundredsDown, adfHundredsUp, adfTensDown,   adfTensUp,
                                      adfUnitsDown,    adfUnitsUp,    adfTenthsDown, adfTenthsUp};
  startAt(355.5, 1);
  for (PMOUSE_FUNCTION handler : handlers) {
    EXPECT_EQ(handler(&point, MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN), 0);
    EXPECT_EQ(handler(&point, MOUSE_LEFTSINGLE | MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN), 0);
  }
  EXPECT_EQ(adfState.selectedTenths, 3555);
  EXPECT_TRUE(host.keyEvents.empty());
}

TEST_F(AdfKnobsTest, AtOffTheDrumsTurnSilentlyAndTheNextModeStepSendsThem) {
  startAt(350.0, 0);
  adfHundredsUp(&point, MOUSE_LEFTSINGLE);
  adfTensDown(&point, MOUSE_WHEEL_DOWN);
  adfUnitsUp(&point, MOUSE_WHEEL_UP);
  adfTenthsDown(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfState.selectedTenths, 4419);
  EXPECT_EQ(adfState.activeTenths, 2000);
  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_EQ(simAdfTenths(), 2000);

  adfModeUp(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfState.mode, 1);
  EXPECT_EQ(adfFrequencyValuesSent(), (std::vector<UINT32>{0x04419000u}));
  EXPECT_EQ(simAdfTenths(), 4419);
}

struct ModeClick {
  PMOUSE_FUNCTION handler;
  int modeAfter;
  UINT32 sent;
};

// The knob stops at OFF and BFO, and every click tells the simulation, also at an end.
TEST_F(AdfKnobsTest, TheModeKnobStopsAtItsEndsAndAlwaysSends) {
  startAt(350.0, 0);
  const ModeClick clicks[] = {
      {adfModeDown, 0, 0x02000000}, {adfModeUp, 1, 0x03500000},   {adfModeUp, 2, 0x03500000},
      {adfModeUp, 3, 0x03500000},   {adfModeUp, 3, 0x03500000},   {adfModeDown, 2, 0x03500000},
      {adfModeDown, 1, 0x03500000}, {adfModeDown, 0, 0x02000000}, {adfModeDown, 0, 0x02000000},
  };
  for (const ModeClick& c : clicks) {
    host.keyEvents.clear();
    EXPECT_EQ(c.handler(&point, MOUSE_LEFTSINGLE), 0);
    EXPECT_EQ(adfState.mode, c.modeAfter);
    EXPECT_EQ(adfModeIcon(nullptr), c.modeAfter);
    EXPECT_EQ(adfFrequencyValuesSent(), (std::vector<UINT32>{c.sent}));
    EXPECT_EQ(host.keyEvents.size(), 1u);
  }
}

TEST_F(AdfKnobsTest, TheIdentTogglesAtOffToo) {
  startAt(350.0, 0);
  adfIdentToggle(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfIdentIcon(nullptr), 1.0);
  EXPECT_TRUE(host.simulation().state.adfIdent);
  adfIdentToggle(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfIdentIcon(nullptr), 0.0);
  EXPECT_FALSE(host.simulation().state.adfIdent);
  ASSERT_EQ(host.keyEvents.size(), 2u);
  EXPECT_EQ(host.keyEvents[0].eventId, 65841u);
  EXPECT_EQ(host.keyEvents[0].value, 0u);
  EXPECT_EQ(host.keyEvents[1].eventId, 65836u);
  EXPECT_EQ(host.keyEvents[1].value, 0u);
}

// Whatever the pilot does, the simulation holds 200.0 kHz at OFF and the drums' frequency
// otherwise, as the simulation itself decodes what it was sent.
TEST_F(AdfKnobsTest, TheSimulatedFrequencyFollowsTheDrumsInEveryMode) {
  const PMOUSE_FUNCTION handlers[] = {adfModeDown,   adfModeUp,  adfHundredsDown, adfHundredsUp,
                                      adfTensDown,   adfTensUp,  adfUnitsDown,    adfUnitsUp,
                                      adfTenthsDown, adfTenthsUp};
  const FLAGS flags[] = {MOUSE_LEFTSINGLE, MOUSE_DOWN_REPEAT, MOUSE_WHEEL_UP, MOUSE_WHEEL_DOWN};
  initialiseWithSimAt(1234.5);
  std::uint32_t seed = 12345;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const auto handler = handlers[(seed >> 8) % 10];
    handler(&point, flags[(seed >> 20) % 4]);
    const AdfTenths shown = 1000 * static_cast<int>(adfHundredsStripY(nullptr)) +
                            100 * static_cast<int>(adfTensStripY(nullptr)) +
                            10 * static_cast<int>(adfUnitsStripY(nullptr)) +
                            static_cast<int>(adfTenthsStripY(nullptr));
    ASSERT_EQ(shown, adfState.selectedTenths) << "after step " << i;
    ASSERT_GE(adfState.hundredsGroup, 2) << "after step " << i;
    ASSERT_LE(adfState.hundredsGroup, 16) << "after step " << i;
    const AdfTenths expected = adfState.mode == 0 ? 2000 : shown;
    ASSERT_EQ(simAdfTenths(), expected) << "after step " << i << ", mode " << adfState.mode;
    ASSERT_EQ(adfState.activeTenths, expected) << "after step " << i;
  }
}

TEST_F(AdfKnobsTest, ElementCallbacksShowTheStateAndChangeNothing) {
  EXPECT_EQ(adfModeIcon(nullptr), 0.0);  // before initialisation: all zero
  EXPECT_EQ(adfHundredsStripY(nullptr), 0.0);
  startAt(1234.5, 2);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(adfModeIcon(nullptr), 2.0);
    EXPECT_EQ(adfIdentIcon(nullptr), 0.0);
    EXPECT_EQ(adfStripX(nullptr), 0.0);
    EXPECT_EQ(adfHundredsStripY(nullptr), 12.0);
    EXPECT_EQ(adfTensStripY(nullptr), 3.0);
    EXPECT_EQ(adfUnitsStripY(nullptr), 4.0);
    EXPECT_EQ(adfTenthsStripY(nullptr), 5.0);
  }
  EXPECT_TRUE(host.keyEvents.empty());
}

}  // namespace
