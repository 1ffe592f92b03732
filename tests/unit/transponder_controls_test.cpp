// The code the transponder sends, its digit knobs and mode knob, and the IDENT and TEST buttons.
#include <cstring>
#include <vector>

#include "transponder_fixture.h"

namespace {

using TransponderControls = TransponderFixture;

std::vector<UINT32> codesSent(const panelhost::HostServices& host) {
  std::vector<UINT32> codes;
  for (const auto& e : host.keyEvents) {
    EXPECT_EQ(e.eventId, keyevent::kTransponderSet);
    codes.push_back(e.value);
  }
  return codes;
}

std::vector<int> drums() {
  return {static_cast<int>(xpdrStripY0(nullptr)), static_cast<int>(xpdrStripY1(nullptr)),
          static_cast<int>(xpdrStripY2(nullptr)), static_cast<int>(xpdrStripY3(nullptr))};
}

using DigitHandler = SINT32(FSAPI*)(PIXPOINT*, FLAGS);
struct DigitKnob {
  DigitHandler down;
  DigitHandler up;
};
const DigitKnob kDigitKnobs[kXpdrDigitCount] = {
    {xpdrDigit0Down, xpdrDigit0Up},
    {xpdrDigit1Down, xpdrDigit1Up},
    {xpdrDigit2Down, xpdrDigit2Up},
    {xpdrDigit3Down, xpdrDigit3Up},
};

TEST_F(TransponderControls, InitialisationShows7000AtOffAndSendsNothing) {
  EXPECT_EQ(drums(), (std::vector<int>{7, 0, 0, 0}));
  EXPECT_EQ(xpdrModeIcon(nullptr), 0.0);
  update();
  EXPECT_FALSE(lampShown());
  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_FALSE(anyTransponderTimerRunning());
  for (double x :
       {xpdrStripX0(nullptr), xpdrStripX1(nullptr), xpdrStripX2(nullptr), xpdrStripX3(nullptr)}) {
    EXPECT_EQ(x, 0.0);
  }
}

TEST_F(TransponderControls, ASecondInitialisationKeepsCodeAndKnob) {
  xpdrDigit0Down(&point, MOUSE_LEFTSINGLE);  // 6000
  xpdrDigit3Up(&point, MOUSE_LEFTSINGLE);    // 6001
  modeUp(3);
  service(PANEL_SERVICE_PRE_INITIALIZE);
  EXPECT_EQ(drums(), (std::vector<int>{6, 0, 0, 1}));
  EXPECT_EQ(xpdrModeIcon(nullptr), 3.0);
}

TEST_F(TransponderControls, OtherServicesChangeNothing) {
  modeUp(2);
  const TransponderState before = transponderState;
  for (SINT32 id : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11, 12, 13, 99, -1}) service(id);
  EXPECT_EQ(std::memcmp(&before, &transponderState, sizeof before), 0);
}

TEST_F(TransponderControls, StandbyWith1200SteppingTheHundredsSends0x1300) {
  xpdrDigit0Up(&point, MOUSE_LEFTSINGLE);  // 7 wraps to 0
  xpdrDigit0Up(&point, MOUSE_LEFTSINGLE);  // 1
  xpdrDigit1Up(&point, MOUSE_LEFTSINGLE);
  xpdrDigit1Up(&point, MOUSE_LEFTSINGLE);  // 1200, dialled at OFF
  EXPECT_TRUE(host.keyEvents.empty()) << "nothing is sent at OFF";
  modeUp();
  xpdrDigit1Up(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(codesSent(host), (std::vector<UINT32>{0x1200, 0x1300}));
  EXPECT_EQ(host.simulation().state.xpdrCode, 1300);
}

TEST_F(TransponderControls, CodeValueHasOneDigitPerNibble) {
  struct Case {
    SINT32 digits[4];
    UINT32 value;
  } cases[] = {{{7, 0, 0, 0}, 28672},
               {{1, 2, 0, 0}, 4608},
               {{7, 7, 7, 7}, 30583},
               {{0, 0, 1, 2}, 0x0012},
               {{0, 0, 0, 0}, 0}};
  for (const Case& c : cases) {
    TransponderState s{};
    for (int k = 0; k < 4; ++k) s.digit[k] = c.digits[k];
    EXPECT_EQ(xpdrCodeValue(s), c.value);
  }
}

TEST_F(TransponderControls, DigitsWrapByThemselvesWithoutCarry) {
  struct Case {
    int digit;
    bool up;
    int from;
    int to;
  } cases[] = {
      {3, true, 7, 0},  {3, false, 0, 7}, {0, false, 0, 7}, {0, true, 7, 0}, {1, true, 3, 4},
      {2, false, 5, 4}, {1, true, 7, 0},  {2, false, 0, 7}, {3, true, 6, 7}, {0, false, 1, 0},
  };
  modeUp();  // SBY: every step is sent
  for (const Case& c : cases) {
    for (int k = 0; k < 4; ++k) transponderState.digit[k] = 3;
    transponderState.digit[c.digit] = c.from;
    host.keyEvents.clear();
    const DigitKnob& knob = kDigitKnobs[c.digit];
    (c.up ? knob.up : knob.down)(&point, MOUSE_LEFTSINGLE);
    std::vector<int> expected{3, 3, 3, 3};
    expected[c.digit] = c.to;
    EXPECT_EQ(drums(), expected) << "digit " << c.digit << (c.up ? " up" : " down") << " from "
                                 << c.from;
    TransponderState want{};
    for (int k = 0; k < 4; ++k) want.digit[k] = expected[k];
    EXPECT_EQ(codesSent(host), (std::vector<UINT32>{xpdrCodeValue(want)}));
  }
}

TEST_F(TransponderControls, WheelTurnsEitherHalfTheWheelsWayOnceAndClicksRepeatsTheHalfsWay) {
  modeUp();
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const DigitKnob& knob = kDigitKnobs[k];
    struct Case {
      DigitHandler handler;
      FLAGS flags;
      int delta;
    } cases[] = {
        {knob.down, MOUSE_WHEEL_UP, +1},    {knob.up, MOUSE_WHEEL_DOWN, -1},
        {knob.down, MOUSE_WHEEL_DOWN, -1},  {knob.up, MOUSE_WHEEL_UP, +1},
        {knob.down, MOUSE_LEFTSINGLE, -1},  {knob.up, MOUSE_LEFTSINGLE, +1},
        {knob.down, MOUSE_DOWN_REPEAT, -1}, {knob.up, MOUSE_DOWN_REPEAT, +1},
    };
    for (const Case& c : cases) {
      transponderState.digit[k] = 4;
      host.keyEvents.clear();
      EXPECT_EQ(c.handler(&point, c.flags), 0);
      EXPECT_EQ(transponderState.digit[k], 4 + c.delta) << "flags " << std::hex << c.flags;
      EXPECT_EQ(host.keyEvents.size(), 1u) << "one notch, one code sent";
    }
  }
}

TEST_F(TransponderControls, BothWheelBitsInOneEventReturnWithoutTurning) {
  modeUp();
  for (const DigitKnob& knob : kDigitKnobs) {
    for (DigitHandler h : {knob.down, knob.up}) {
      EXPECT_EQ(h(&point, MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN), 0);
      EXPECT_EQ(h(&point, MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN | MOUSE_LEFTSINGLE), 0);
    }
  }
  EXPECT_EQ(drums(), (std::vector<int>{7, 0, 0, 0}));
  EXPECT_EQ(host.keyEvents.size(), 1u) << "only the knob click into SBY";
}

TEST_F(TransponderControls, ModeKnobClampsAndSendsExceptAtOff) {
  struct Step {
    bool up;
    double mode;
    bool sends;
  } steps[] = {
      {false, 0, false},  // OFF end stop
      {true, 1, true},   {true, 2, true},  {true, 3, true},
      {true, 3, true},                                         // ALT end stop sends again
      {false, 2, true},  {false, 1, true}, {false, 0, false},  // into OFF
      {false, 0, false},
  };
  for (const Step& s : steps) {
    host.keyEvents.clear();
    EXPECT_EQ((s.up ? xpdrModeUp : xpdrModeDown)(&point, MOUSE_LEFTSINGLE), 0);
    EXPECT_EQ(xpdrModeIcon(nullptr), s.mode);
    EXPECT_EQ(codesSent(host), s.sends ? std::vector<UINT32>{0x7000} : std::vector<UINT32>{});
  }
}

TEST_F(TransponderControls, DigitsDialledAtOffAreSentByTheClickIntoStandby) {
  xpdrDigit3Up(&point, MOUSE_LEFTSINGLE);
  xpdrDigit2Down(&point, MOUSE_WHEEL_UP);
  EXPECT_EQ(drums(), (std::vector<int>{7, 0, 1, 1}));
  EXPECT_TRUE(host.keyEvents.empty());
  modeUp();
  EXPECT_EQ(codesSent(host), (std::vector<UINT32>{0x7011}));
}

// ---- IDENT ----------------------------------------------------------------------------------

TEST_F(TransponderControls, IdentDoesNothingAtOffOrStandby) {
  for (int mode = 0; mode <= 1; ++mode) {
    identButton();
    EXPECT_FALSE(timerRunning(paneltimer::kXpdrIdentWindow));
    runUpdatesUntil(host.nowMs() + 1000, [&](std::int64_t t, bool lit) {
      EXPECT_FALSE(lit) << "mode " << mode << " at " << t;
    });
    modeUp();
  }
}

TEST_F(TransponderControls, IdentHoldsTheLampLitForEighteenSecondsBlinkOrNot) {
  modeUp(3);  // ALT, blinking from 0
  advanceTo(1000);
  identButton();
  runUpdatesUntil(18990, [](std::int64_t t, bool lit) { EXPECT_TRUE(lit) << "at " << t; });
  // After the window the lamp follows the blink again: 19000 falls in a dark phase.
  runUpdatesUntil(19400, [](std::int64_t t, bool lit) { EXPECT_FALSE(lit) << "at " << t; });
  EXPECT_FALSE(timerRunning(paneltimer::kXpdrIdentWindow));
}

TEST_F(TransponderControls, ASecondIdentPressRestartsTheWindow) {
  modeUp(2);
  advanceTo(1000);
  identButton();
  advanceTo(11000);
  identButton();
  runUpdatesUntil(28990, [](std::int64_t t, bool lit) { EXPECT_TRUE(lit) << "at " << t; });
  runUpdatesUntil(29400, [](std::int64_t t, bool lit) { EXPECT_FALSE(lit) << "at " << t; });
}

TEST_F(TransponderControls, StandbyEndsTheIdentWindowAfterOneMoreLitUpdate) {
  modeUp(2);
  advanceTo(1000);  // dark phase
  identButton();
  runUpdatesUntil(1400);
  modeDown();
  update();
  EXPECT_TRUE(lampShown());
  EXPECT_FALSE(timerRunning(paneltimer::kXpdrIdentWindow));
  runUpdatesUntil(25000, [](std::int64_t t, bool lit) { EXPECT_FALSE(lit) << "at " << t; });
  EXPECT_FALSE(anyTransponderTimerRunning());
}

// ---- TEST -----------------------------------------------------------------------------------

TEST_F(TransponderControls, TestDoesNothingAtOff) {
  testButton(MOUSE_LEFTSINGLE);
  EXPECT_FALSE(lampShown());
  update();
  EXPECT_FALSE(lampShown());
}

TEST_F(TransponderControls, TestLightsTheLampWhileHeldAtStandby) {
  modeUp();
  testButton(MOUSE_LEFTSINGLE);
  EXPECT_TRUE(lampShown()) << "at the press, before any update";
  runUpdatesUntil(10000, [](std::int64_t t, bool lit) { EXPECT_TRUE(lit) << "at " << t; });
  testButton(MOUSE_LEFTRELEASE);
  EXPECT_FALSE(lampShown()) << "at the release, before any update";
  update();
  EXPECT_FALSE(lampShown());
}

// Press and release are looked at one after the other, so one event carrying both leaves the
// button released; a handler that took the press alone would hold the lamp lit until OFF.
TEST_F(TransponderControls, PressAndReleaseInOneEventLeaveTestReleased) {
  modeUp();
  testButton(MOUSE_LEFTSINGLE | MOUSE_LEFTRELEASE);
  EXPECT_EQ(transponderState.testPressed, 0);
  EXPECT_FALSE(lampShown());
  update();
  EXPECT_FALSE(lampShown());
}

TEST_F(TransponderControls, TestReleaseLeavesTheLampToTheBlinkAndTheIdent) {
  modeUp(2);
  advanceTo(1000);  // dark phase
  testButton(MOUSE_LEFTSINGLE);
  identButton();
  testButton(MOUSE_LEFTRELEASE);
  EXPECT_TRUE(lampShown()) << "the ident still holds it";
}

TEST_F(TransponderControls, TurningToOffWhileTestIsHeldReleasesIt) {
  modeUp();
  testButton(MOUSE_LEFTSINGLE);
  modeDown();
  update();
  EXPECT_TRUE(lampShown()) << "one more lit update";
  update();
  EXPECT_FALSE(lampShown());
  EXPECT_EQ(transponderState.testPressed, 0);
}

}  // namespace
