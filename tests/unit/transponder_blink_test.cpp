// The reply lamp's blink cycle: its four states as the flag and the two lamp timers show them,
// and the lamp as the pilot sees it over many periods on the virtual clock.
#include <functional>
#include <string>
#include <vector>

#include "transponder_fixture.h"

namespace {

enum class Blink { Idle, LitPhase, DarkPhase, Lingering, Inconsistent };

const char* name(Blink b) {
  switch (b) {
    case Blink::Idle:
      return "Idle";
    case Blink::LitPhase:
      return "LitPhase";
    case Blink::DarkPhase:
      return "DarkPhase";
    case Blink::Lingering:
      return "Lingering";
    default:
      return "Inconsistent";
  }
}

class TransponderBlink : public TransponderFixture {
 protected:
  Blink blink() {
    const bool on = transponderState.replyBlinkOn;
    const bool lit = timerRunning(paneltimer::kXpdrReplyLit);
    const bool dark = timerRunning(paneltimer::kXpdrReplyDark);
    if (!on && !lit && !dark) return Blink::Idle;
    if (on && lit && !dark) return Blink::LitPhase;
    if (!on && !lit && dark) return Blink::DarkPhase;
    if (on && !lit && !dark) return Blink::Lingering;
    return Blink::Inconsistent;
  }

  struct Step {
    std::string event;
    std::function<void()> act;
    Blink expected;
  };

  void run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      step.act();
      EXPECT_STREQ(name(blink()), name(step.expected)) << "after: " << step.event;
    }
  }
};

TEST_F(TransponderBlink, StateTableDrivenByKnobTimersAndLampUpdates) {
  // Deliver a timer message the way Windows may after KillTimer: the handler simply runs.
  auto staleLitMessage = [] { replyLitPhaseElapsed(nullptr, 0x113, paneltimer::kXpdrReplyLit, 0); };
  auto staleDarkMessage = [] {
    replyDarkPhaseElapsed(nullptr, 0x113, paneltimer::kXpdrReplyDark, 0);
  };
  run({
      {"initialisation", [] {}, Blink::Idle},
      {"OFF -> SBY", [&] { modeUp(); }, Blink::Idle},
      {"update at SBY", [&] { update(); }, Blink::Idle},
      {"SBY -> ON", [&] { modeUp(); }, Blink::LitPhase},
      {"update in lit phase", [&] { update(); }, Blink::LitPhase},
      {"timer 2 fires", [&] { advanceBy(500); }, Blink::DarkPhase},
      {"update in dark phase", [&] { update(); }, Blink::DarkPhase},
      {"timer 3 fires", [&] { advanceBy(2000); }, Blink::LitPhase},
      {"ON -> ALT", [&] { modeUp(); }, Blink::LitPhase},
      {"ALT end stop", [&] { modeUp(); }, Blink::LitPhase},
      {"ALT -> ON", [&] { modeDown(); }, Blink::LitPhase},
      {"digit step", [&] { xpdrDigit2Up(&point, MOUSE_LEFTSINGLE); }, Blink::LitPhase},
      {"IDENT", [&] { identButton(); }, Blink::LitPhase},
      {"ON -> SBY in lit phase", [&] { modeDown(); }, Blink::Lingering},
      {"SBY -> ON while lingering", [&] { modeUp(); }, Blink::LitPhase},
      {"ON -> SBY again", [&] { modeDown(); }, Blink::Lingering},
      {"SBY -> OFF while lingering", [&] { modeDown(); }, Blink::Lingering},
      {"update ends the lingering", [&] { update(); }, Blink::Idle},
      {"OFF end stop", [&] { modeDown(); }, Blink::Idle},
      {"OFF -> SBY -> ON", [&] { modeUp(2); }, Blink::LitPhase},
      {"timer 2 fires", [&] { advanceBy(500); }, Blink::DarkPhase},
      {"ON -> SBY in dark phase", [&] { modeDown(); }, Blink::Idle},
      {"nothing left to fire", [&] { advanceBy(10000); }, Blink::Idle},
      {"TEST press at SBY", [&] { testButton(MOUSE_LEFTSINGLE); }, Blink::Idle},
      {"TEST release", [&] { testButton(MOUSE_LEFTRELEASE); }, Blink::Idle},
      // Windows may hand over a message queued just before its timer was killed.
      {"SBY -> ON", [&] { modeUp(); }, Blink::LitPhase},
      {"ON -> SBY in lit phase", [&] { modeDown(); }, Blink::Lingering},
      {"queued timer 2 message", staleLitMessage, Blink::DarkPhase},
      {"timer 3 fires at SBY", [&] { advanceBy(2000); }, Blink::LitPhase},
      {"update at SBY clears it", [&] { update(); }, Blink::Idle},
      {"SBY -> ON, then a dark phase", [&] { modeUp(), advanceBy(500); }, Blink::DarkPhase},
      {"ON -> SBY in dark phase", [&] { modeDown(); }, Blink::Idle},
      {"queued timer 3 message", staleDarkMessage, Blink::LitPhase},
      {"update at SBY clears it", [&] { update(); }, Blink::Idle},
  });
  advanceBy(60000);
  EXPECT_STREQ(name(blink()), "Idle");
}

TEST_F(TransponderBlink, LingeringShowsTheLampOnceMoreThenDark) {
  modeUp(2);
  update();
  ASSERT_TRUE(lampShown());
  advanceBy(200);
  modeDown();  // ON -> SBY in the lit phase
  update();
  EXPECT_TRUE(lampShown()) << "the update that clears the blink still shows it";
  update();
  EXPECT_FALSE(lampShown());
  EXPECT_FALSE(anyTransponderTimerRunning());
}

// At ON the lamp is lit at every update inside a 500 ms lit phase and dark inside every
// 2000 ms dark phase; the first lit phase begins at the step into ON.
void expectRegularBlink(std::int64_t onAtMs, std::int64_t timeMs, bool lit) {
  const bool inLitPhase = (timeMs - onAtMs) % 2500 < 500;
  EXPECT_EQ(lit, inLitPhase) << "at " << timeMs << " ms (" << (timeMs - onAtMs) % 2500
                             << " ms into the period)";
}

TEST_F(TransponderBlink, LampFollowsFiveHundredLitTwoThousandDarkForManyPeriods) {
  modeUp();
  runUpdatesUntil(1000);
  const std::int64_t onAt = host.nowMs();
  modeUp();
  int litUpdates = 0, darkUpdates = 0;
  runUpdatesUntil(onAt + 12 * 2500, [&](std::int64_t t, bool lit) {
    expectRegularBlink(onAt, t, lit);
    (lit ? litUpdates : darkUpdates)++;
  });
  // Twelve periods of about 9 lit and 36 dark updates each: a lamp stuck either way fails.
  EXPECT_GE(litUpdates, 12 * 8);
  EXPECT_GE(darkUpdates, 12 * 35);
}

TEST_F(TransponderBlink, OnToAltToOnNeitherRestartsNorInterruptsTheBlink) {
  modeUp();
  advanceTo(1000);
  const std::int64_t onAt = host.nowMs();
  modeUp();
  auto check = [&](std::int64_t t, bool lit) { expectRegularBlink(onAt, t, lit); };
  runUpdatesUntil(onAt + 1200, check);  // dark phase
  modeUp();                             // ALT
  runUpdatesUntil(onAt + 2700, check);  // into the next lit phase
  modeDown();                           // back to ON, mid lit phase
  runUpdatesUntil(onAt + 3900, check);
  modeUp();
  runUpdatesUntil(onAt + 5100, check);
  modeDown();
  runUpdatesUntil(onAt + 10 * 2500, check);
}

TEST_F(TransponderBlink, NoBlinkAtOffOrStandby) {
  runUpdatesUntil(3000, [](std::int64_t t, bool lit) { EXPECT_FALSE(lit) << "OFF at " << t; });
  modeUp();
  runUpdatesUntil(9000, [](std::int64_t t, bool lit) { EXPECT_FALSE(lit) << "SBY at " << t; });
  EXPECT_FALSE(anyTransponderTimerRunning());
}

TEST_F(TransponderBlink, AQueuedMessageAfterReturningToOnLeavesOneCycle) {
  modeUp(2);
  advanceBy(100);
  modeDown();  // killed timer 2 with its message already queued
  replyLitPhaseElapsed(nullptr, 0x113, paneltimer::kXpdrReplyLit, 0);
  advanceBy(300);
  const std::int64_t onAt = host.nowMs();
  modeUp();
  runUpdatesUntil(onAt + 8 * 2500,
                  [&](std::int64_t t, bool lit) { expectRegularBlink(onAt, t, lit); });
}

}  // namespace
