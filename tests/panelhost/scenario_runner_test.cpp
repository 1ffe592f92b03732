#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_run.h"
#include "support/message_parts.h"

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using panelhost::hex;

// What the fake's handlers send: the event flag with the point relative to the handler's box.
std::string handlerEvent(int handler, unsigned flag, int x, int y) {
  return "expect event " + std::to_string(1000 + handler) + " " +
         hex(flag | static_cast<unsigned>(x) << 6 | static_cast<unsigned>(y)) + "\n";
}

TEST(ScenarioRunner, ChecksThatHoldEndWithTheClosingLineAndStatusZero) {
  const auto run = runFake(
      "expect event 65715 1\n"  // service 4 at start, from a freshly loaded module
      "expect no-event\n"
      "expect sim xpdr.code 0001\n"  // decoded by the simulation
      "expect element Fake 1 \"S1 U0 O7\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, EndsWith("4 passed, 0 failed\n"));
}

TEST(ScenarioRunner, EachFailedCheckNamesItsLineAndTheRunGoesOnToStatusOne) {
  const auto run = runFake(
      "expect event 65715 2\n"
      "expect event 65715 1\n"  // the failed check above still took the oldest event
      "expect sim com1.active 121.500\n"
      "expect tooltip Fake 12 12 \"Small box\"\n"
      "expect element Fake 2 0\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(1) + "expected event 65715 value 0x00000002, got "
                                                  "event 65715 value 0x00000001"));
  EXPECT_THAT(run.output,
              HasSubstr(bodyLine(2) + "expected event 65715 value 0x00000001, got no event"));
  EXPECT_THAT(run.output, HasSubstr(bodyLine(3) + "expected com1.active 121.500, got 122.800"));
  EXPECT_THAT(run.output,
              HasSubstr(bodyLine(4) + "expected tooltip \"Small box\", got \"Big box\""));
  EXPECT_THAT(run.output,
              HasSubstr(bodyLine(5) + "expected element 2 of Fake 0, got icon frame -1"));
  EXPECT_THAT(run.output, EndsWith("0 passed, 5 failed\n"));
}

TEST(ScenarioRunner, ANoEventFailureMarksEveryEventChecked) {
  const auto run = runFake(
      "click Fake 45 5\n"
      "expect no-event\n"
      "expect no-event\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(2) + "expected no event, got event 65715 value "
                                                  "0x00000001 (transponder code 0001) and 2 more"));
  EXPECT_THAT(run.output, EndsWith("1 passed, 1 failed\n"));
}

TEST(ScenarioRunner, ElementValuesAreReadFromTheCallbacksAtThatMoment) {
  const auto run = runFake(
      "expect element Fake 2 -1\n"
      "click Fake 12 12\n"  // handler A turns the icon to frame 1
      "expect element Fake 2 1.0\n"
      "expect element Fake 3 4\n"
      "update 2\n"
      "expect element Fake 1 \"S1 U2 O9\"\n"
      "expect element Fake 4 0\n"
      "expect element Fake 5 0\n"
      "expect element Fake 1 7\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(7) + "expected element 4 of Fake 0, got a static "
                                                  "image, which has no value"));
  EXPECT_THAT(run.output, HasSubstr(bodyLine(8) + "expected element 5 of Fake 0, got no element "
                                                  "5 (the root has 4 children)"));
  EXPECT_THAT(run.output, HasSubstr(bodyLine(9) + "expected element 1 of Fake 7, got text \"S1 "
                                                  "U2 O9\""));
  EXPECT_THAT(run.output, EndsWith("4 passed, 3 failed\n"));
}

TEST(ScenarioRunner, AGaugePlacedTwiceIsOneGaugeInitialisedOncePerLoad) {
  const auto run =
      runFake("expect element Fake 1 \"S2 U0 O14\"\nexpect event 65715 1\nexpect no-event\n",
              "[Window00]\ngauge00=fake!Fake, 0, 0\ngauge01=fake!Fake, 0, 100, 50\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

struct DispatchCase {
  const char* name;
  std::string commands;
  std::string expectedEvents;
};

void PrintTo(const DispatchCase& c, std::ostream* out) { *out << c.name; }

class MouseDispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(MouseDispatch, TheFirstChildWhoseBoxHoldsThePointAndAcceptsTheEventGetsIt) {
  const auto run = runFake("expect event 65715 1\n" + GetParam().commands +
                           GetParam().expectedEvents + "expect no-event\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Fake, MouseDispatch,
    ::testing::Values(
        // A click-only child overlaps the wheel child; the earlier entry wins the click, the
        // release goes to no one (neither accepts it).
        DispatchCase{"ClickOnOverlap", "click Fake 16 17\n", handlerEvent(1, 0x20000000, 6, 7)},
        DispatchCase{"WheelPassesTheClickOnlyChild", "wheel Fake 16 17 up 2\n",
                     handlerEvent(2, 0x4000, 1, 2) + handlerEvent(2, 0x4000, 1, 2)},
        DispatchCase{"WheelDown", "wheel Fake 24 24 down\n", handlerEvent(2, 0x2000, 9, 9)},
        DispatchCase{"ClickAndReleaseBothTaken", "click Fake 40 0\n",
                     handlerEvent(3, 0x20000000, 0, 0) + handlerEvent(3, 0x20000, 0, 0)},
        DispatchCase{"BoxRightEdgeIsOutside", "click Fake 30 12\nclick Fake 50 9\n", ""},
        DispatchCase{"NoChildAtAll", "click Fake 99 99\nwheel Fake 45 5 up\n", ""},
        DispatchCase{"WheelOfNoneIsNothing", "wheel Fake 16 17 up 0\n", ""},
        DispatchCase{"GaugeWithoutMouseTable", "click Bare 1 1\nwheel Bare 1 1 down\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioRunner, AHeldButtonRepeatsAfter500MsThenEvery100AtThePressPoint) {
  const auto run = runFake(
      "expect event 65715 1\n"
      "press Fake 16 17\n" +
      handlerEvent(1, 0x20000000, 6, 7) +
      "advance 499\n"
      "expect no-event\n"
      "advance 1\n" +
      handlerEvent(2, 0x200000, 1, 2) + "advance 250\n" + handlerEvent(2, 0x200000, 1, 2) +
      handlerEvent(2, 0x200000, 1, 2) +
      "release\n"
      "advance 1000\n"
      "expect no-event\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ScenarioRunner, TooltipsComeFromTheFirstHoldingParentAfterTheOuterOne) {
  const auto run = runFake(
      "expect tooltip Fake 12 12 \"Big box\"\n"
      "expect tooltip Fake 45 5 \"\"\n"   // a parent without a user entry
      "expect tooltip Fake 90 90 \"\"\n"  // only the outer parent holds it
      "expect tooltip Bare 0 0 \"\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ScenarioRunner, TimersRunOnTheScenarioClock) {
  const auto run = runFake(
      "expect event 65715 1\n"
      "advance 4999\n"
      "expect no-event\n"
      "advance 1\n"
      "expect event 65832 0\n"
      "expect sim nav1.ident off\n"
      "advance 20000\n"
      "expect no-event\n"  // the handler killed its own timer
      "unload\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ScenarioRunner, ATimerOutlivingUnloadIsAFailedCheckAndItsMessagesAreDropped) {
  const auto run = runFake(
      "advance 100\n"
      "unload\n"
      "sim com1.active 121.725\n"
      "advance 10000\n"
      "expect sim com1.active 121.725\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(2) + "expected no timer of the module running after "
                                                  "unload, got timer 4 (every 5000 ms)"));
  EXPECT_THAT(run.output, EndsWith("1 passed, 1 failed\n"));
}

TEST(ScenarioRunner, StartAfterUnloadLoadsTheModuleAfresh) {
  const auto run = runFake(
      "expect event 65715 1\n"
      "advance 5000\n"
      "expect event 65832 0\n"
      "unload\n"
      "start\n"
      "expect event 65715 1\n"  // module init counted once more in a fresh module: still 1
      "expect element Fake 1 \"S1 U0 O7\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ScenarioRunner, AtOneInstantTimersGoFirstThenTheRepeatThenTheUpdate) {
  // Updates every 50 ms fall at 5000 as the timer does; the repeat of a press at 4500 too.
  const auto run = runFake(
      "rate 20\n"
      "click Fake 40 0\n"  // from now on every pre-update sends event 6000
      "advance 4500\n"
      "press Fake 16 17\n"
      "log on\n"
      "advance 500\n");
  EXPECT_EQ(run.status, 0) << run.output;
  const auto timer = run.output.find("[   5000 ms] key event 65832");
  const auto repeat = run.output.find("[   5000 ms] mouse repeat");
  const auto update = run.output.find("[   5000 ms] warning: key event 6000");
  ASSERT_NE(timer, std::string::npos) << run.output;
  ASSERT_NE(repeat, std::string::npos) << run.output;
  ASSERT_NE(update, std::string::npos) << run.output;
  EXPECT_LT(timer, repeat);
  EXPECT_LT(repeat, update);
}

TEST(ScenarioRunner, UpdateCyclesFallEveryPeriodFromStartOrFromRate) {
  const auto run = runFake(
      "advance 54\n"
      "expect element Fake 1 \"S1 U0 O7\"\n"
      "advance 1\n"
      "expect element Fake 1 \"S1 U1 O8\"\n"
      "update 3\n"  // now, without moving the phase
      "advance 55\n"
      "expect element Fake 1 \"S1 U5 O12\"\n"
      "rate 0\n"
      "advance 1000\n"
      "expect element Fake 1 \"S1 U5 O12\"\n"
      "rate 1000\n"
      "advance 3\n"
      "expect element Fake 1 \"S1 U8 O15\"\n");
  EXPECT_EQ(run.status, 0) << run.output;
}

TEST(ScenarioRunner, SimSetsTheStateAndComparesToTheKeysPrecision) {
  const auto run = runFake(
      "expect sim com1.active 122.8\n"
      "expect sim nav1.standby 113.90\n"
      "expect sim adf.active 350\n"
      "expect sim xpdr.code 1200\n"
      "sim com1.active 121.7251\n"
      "expect sim com1.active 121.725\n"
      "sim adf.active 350.04\n"
      "expect sim adf.active 350.0\n"
      "expect sim adf.active 350.1\n"
      "sim nav1.active 117.95\n"
      "expect sim nav1.active 117.950\n"
      "expect sim nav1.active 117.951\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(9) + "expected adf.active 350.1, got 350.0"));
  EXPECT_THAT(run.output, HasSubstr(bodyLine(12) + "expected nav1.active 117.951, got 117.950"));
  EXPECT_THAT(run.output, EndsWith("7 passed, 2 failed\n"));
}

TEST(ScenarioRunner, TheLogShowsKeyEventsTimersAndMouseDispatchWithTheirTime) {
  const auto run = runFake("log on\nadvance 5000\nclick Fake 40 0\nlog off\nclick Fake 40 0\n");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, HasSubstr("[      0 ms] key event 65715 value 0x00000001: transponder "
                                    "code 0001"));
  EXPECT_THAT(run.output, HasSubstr("[   5000 ms] timer 4 fires"));
  EXPECT_THAT(run.output,
              HasSubstr("[   5000 ms] key event 65832 value 0x00000000: NAV1 ident off"));
  EXPECT_THAT(run.output, HasSubstr("[   5000 ms] mouse click at (40, 0) on Fake: entry 9, "));
  // Events the simulation does not know are told even with the log off.
  EXPECT_THAT(run.output, HasSubstr("warning: key event 1003 value 0x20000000: unknown"));
}

struct BadInputCase {
  const char* name;
  std::string body;
  std::string message;
};

void PrintTo(const BadInputCase& c, std::ostream* out) { *out << c.name; }

class BadInput : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, EndsTheRunWithStatusTwoAndAMessageNamingTheLine) {
  const auto run = runFake(GetParam().body);
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_THAT(run.output, HasSubstr(GetParam().message)) << run.output;
  EXPECT_THAT(run.output, EndsWith(" failed\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Fake, BadInput,
    ::testing::Values(
        BadInputCase{"UnknownCommand", "log on\nclik Fake 1 1\n",
                     bodyLine(2) + "expected a command: panel, sim"},
        BadInputCase{"UnknownSimKey", "sim com2.active 121.5\n",
                     bodyLine(1) + "expected a key: com1.active"},
        BadInputCase{"IdentCannotBeSet", "sim adf.ident on\n", bodyLine(1) + "expected a key"},
        BadInputCase{"BadCode", "sim xpdr.code 1280\n",
                     bodyLine(1) + "expected four digits 0-7 such as 0012, got \"1280\""},
        BadInputCase{"MissingArgument", "click Fake 1\n",
                     bodyLine(1) + "expected Y, a whole number from -1000000 to 1000000, got "
                                   "the end of the line"},
        BadInputCase{"ExtraArgument", "release now\n",
                     bodyLine(1) + "expected the end of the line, got \"now\""},
        BadInputCase{"UnclosedQuote", "expect tooltip Fake 1 1 \"abc\n",
                     bodyLine(1) + "expected a closing quote"},
        BadInputCase{"TooltipNotQuoted", "expect tooltip Fake 1 1 abc\n",
                     bodyLine(1) + "expected a tooltip text in quotes, got \"abc\""},
        BadInputCase{"PanelNotFirst", "panel other.cfg\n",
                     bodyLine(1) + "expected panel only as the first command"},
        BadInputCase{"RateTooHigh", "rate 1001\n", bodyLine(1) + "expected a rate in Hz"},
        BadInputCase{"AdvanceBeyondADay", "advance 86400001\n",
                     bodyLine(1) + "expected a time in ms up to a day, a whole number from 0 to "
                                   "86400000, got \"86400001\""},
        BadInputCase{"UnknownGauge", "click Com1Nav1 1 1\n",
                     bodyLine(1) + "expected a gauge on the panel (Fake, Bare), got \"Com1Nav1\""},
        BadInputCase{"SecondStart", "start\nstart\n",
                     bodyLine(2) + "expected start only before the module is started"},
        BadInputCase{"ReleaseWithoutPress", "release\n",
                     bodyLine(1) + "expected press before release"},
        BadInputCase{
            "ClickWhileHeld", "press Fake 1 1\nclick Fake 1 1\n",
            bodyLine(2) + "expected release while the mouse button is held down, got click"},
        BadInputCase{"RenderWithoutRenderer", "render out.png\n",
                     bodyLine(1) + "render is not available in this build"},
        BadInputCase{"UnservedService", "click Fake 65 5\n",
                     bodyLine(1) + "the module called PANELS slot 50, a service panelhost does "
                                   "not offer (it serves slots 24 to 31, 36, 40 and 69)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Events nobody checks are kept only up to a bound; a check that reaches past it says so.
TEST(ScenarioRunner, UncheckedKeyEventsAreKeptUpToABound) {
  const auto run = runFake(
      "expect event 65715 1\nwheel Fake 20 20 up 70000\nexpect event 1002 0\n"
      "expect no-event\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.output, HasSubstr(bodyLine(3) + "expected event 1002 value 0x00000000, got an "
                                                  "event no longer kept (panelhost keeps the "
                                                  "latest 65536 events not yet checked)"));
  EXPECT_THAT(run.output, HasSubstr(bodyLine(4) + "expected no event, got an event no longer "
                                                  "kept and 69998 more"));
}

TEST(ScenarioRunner, AScriptThatDoesNotParseRunsNothing) {
  const auto run = runFake("log on\nexpect sim com1.active 121.0\nadvance -5\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.output, Not(HasSubstr("key event")));
  EXPECT_EQ(run.output, bodyLine(3) +
                            "expected a time in ms up to a day, a whole number from 0 to 86400000, "
                            "got \"-5\"\n0 passed, 0 failed\n");
}

TEST(ScenarioRunner, ChecksBeforeAnErrorAreCountedInTheClosingLine) {
  const auto run = runFake("expect event 65715 1\nexpect no-event 2\n");
  EXPECT_EQ(run.status, 2);
  const auto run2 = runFake("expect event 65715 1\nexpect no-event\nclick Nowhere 1 1\n");
  EXPECT_EQ(run2.status, 2);
  EXPECT_THAT(run2.output, EndsWith("2 passed, 0 failed\n"));
}

TEST(ScenarioRunner, AModuleThatCannotBeUsedIsStatusTwo) {
  const auto missing = runFake("start\n", "[Window00]\ngauge00=fake!Fake, 0, 0\n",
                               testFolder() + "/no-such-module.so");
  EXPECT_EQ(missing.status, 2);
  EXPECT_THAT(missing.output, HasSubstr(bodyLine(1) + testFolder() + "/fake.cfg:2: the module "));
  EXPECT_THAT(missing.output, HasSubstr("could not be loaded"));

  const auto noLinkage =
      runFake("start\n", "[Window00]\ngauge00=fake!Fake, 0, 0\n", FAKE_WITHOUT_LINKAGE_PATH);
  EXPECT_EQ(noLinkage.status, 2);
  EXPECT_THAT(noLinkage.output, HasSubstr("lacks the export Linkage"));

  const auto notAModule =
      runFake("start\n", "[Window00]\ngauge00=fake!Fake, 0, 0\n", testFolder() + "/fake.cfg");
  EXPECT_EQ(notAModule.status, 2);

  const auto unknownGauge =
      runFake("expect sim xpdr.code 1200\nstart\n",
              "[Window00]\n\ngauge00=fake!Fake, 0, 0\ngauge01=fake!Radar, 1, 1\n");
  EXPECT_EQ(unknownGauge.status, 2);
  EXPECT_THAT(unknownGauge.output,
              HasSubstr(testFolder() + "/fake.cfg:4: expected a gauge that " FAKE_MODULE_PATH
                                       " exports (Fake, Bare, Lifecycle), got \"Radar\""));
  EXPECT_THAT(unknownGauge.output, EndsWith("1 passed, 0 failed\n"));
}

TEST(ScenarioRunner, AMissingScriptOrPanelFileIsStatusTwo) {
  panelhost::RunOptions options;
  std::ostringstream out;
  EXPECT_EQ(panelhost::runScenarioFile(testFolder() + "/absent.scn", options, out), 2);
  EXPECT_THAT(out.str(),
              HasSubstr("absent.scn: cannot read the scenario script (No such file or directory)"));

  // A folder opens like a file on Linux and reads as nothing; it is no script all the same.
  const std::string folder = testFolder() + "/folder.scn";
  std::filesystem::create_directories(folder);
  std::ostringstream outFolder;
  EXPECT_EQ(panelhost::runScenarioFile(folder, options, outFolder), 2);
  EXPECT_THAT(outFolder.str(),
              HasSubstr("folder.scn: cannot read the scenario script (Is a directory)"));

  const std::string script = testFolder() + "/panel-missing.scn";
  writeFile(script, "panel nowhere.cfg\n");
  std::ostringstream out2;
  EXPECT_EQ(panelhost::runScenarioFile(script, options, out2), 2);
  EXPECT_THAT(out2.str(), HasSubstr("panel-missing.scn:1: "));
  EXPECT_THAT(out2.str(),
              HasSubstr("nowhere.cfg: cannot read the panel file (No such file or directory)"));
}

}  // namespace
