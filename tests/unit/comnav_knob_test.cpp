#include <gmock/gmock.h>

#include "comnav_fixture.h"

namespace {

using ComNavKnobTest = ComNavFixture;

enum class Radio { kCom, kNav };

struct Step {
  const char* name;
  PMOUSE_FUNCTION handler;
  Radio radio;
  KhzFrequency from;
  KhzFrequency to;
};

KhzFrequency& standby(Radio radio) {
  return radio == Radio::kCom ? comNavState.comStandbyKhz : comNavState.navStandbyKhz;
}

// One click on a knob half, starting from `from`.
// clang-format off
const Step kClickSteps[] = {
    // COM fine: 25 kHz, wrapping around the band.
    {"comKnobUp25",     comKnobUp25,     Radio::kCom, 121500, 121525},
    {"comKnobUp25",     comKnobUp25,     Radio::kCom, 135975, 118000},
    {"comKnobDown25",   comKnobDown25,   Radio::kCom, 121500, 121475},
    {"comKnobDown25",   comKnobDown25,   Radio::kCom, 118000, 135975},
    // COM coarse: 1 MHz, keeping the kHz part.
    {"comKnobUp1000",   comKnobUp1000,   Radio::kCom, 121500, 122500},
    {"comKnobUp1000",   comKnobUp1000,   Radio::kCom, 135500, 118500},
    {"comKnobUp1000",   comKnobUp1000,   Radio::kCom, 135975, 118975},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 121500, 120500},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 118975, 135975},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 118000, 135000},
    // NAV fine.
    {"navKnobUp25",     navKnobUp25,     Radio::kNav, 113900, 113925},
    {"navKnobUp25",     navKnobUp25,     Radio::kNav, 117925, 108000},
    {"navKnobDown25",   navKnobDown25,   Radio::kNav, 113900, 113875},
    {"navKnobDown25",   navKnobDown25,   Radio::kNav, 108000, 117925},
    // NAV coarse: the band ends at 117.925, so .950 and .975 wrap to 108.
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 113900, 114900},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 116900, 117900},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 116925, 117925},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 116950, 108950},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 116975, 108975},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 117925, 108925},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 117000, 108000},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 113900, 112900},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 108950, 116950},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 108975, 116975},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 108925, 117925},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 108000, 117000},
    // A COM standby read far below the band at initialisation.
    {"comKnobUp25",     comKnobUp25,     Radio::kCom, 100000, 118000},
    {"comKnobUp1000",   comKnobUp1000,   Radio::kCom, 100000, 118000},
    {"comKnobDown25",   comKnobDown25,   Radio::kCom, 100000, 135975},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 100000, 117000},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 117000, 134000},
};
// clang-format on

TEST_F(ComNavKnobTest, AClickOrAHeldButtonStepsTheHalfsOwnWay) {
  for (FLAGS flags : {MOUSE_LEFTSINGLE, MOUSE_DOWN_REPEAT}) {
    for (const Step& step : kClickSteps) {
      standby(step.radio) = step.from;
      EXPECT_EQ(step.handler(&point, flags), 0);
      EXPECT_EQ(standby(step.radio), step.to)
          << step.name << " from " << step.from << " flags 0x" << std::hex << flags;
    }
  }
}

struct WheelCase {
  const char* half;
  PMOUSE_FUNCTION handler;
  Radio radio;
  KhzFrequency upTo;    // from 121500 (COM) or 113900 (NAV) with the wheel turned up
  KhzFrequency downTo;  // the same, wheel down
};

// clang-format off
const WheelCase kWheelCases[] = {
    {"comKnobUp25",     comKnobUp25,     Radio::kCom, 121525, 121475},
    {"comKnobDown25",   comKnobDown25,   Radio::kCom, 121525, 121475},
    {"comKnobUp1000",   comKnobUp1000,   Radio::kCom, 122500, 120500},
    {"comKnobDown1000", comKnobDown1000, Radio::kCom, 122500, 120500},
    {"navKnobUp25",     navKnobUp25,     Radio::kNav, 113925, 113875},
    {"navKnobDown25",   navKnobDown25,   Radio::kNav, 113925, 113875},
    {"navKnobUp1000",   navKnobUp1000,   Radio::kNav, 114900, 112900},
    {"navKnobDown1000", navKnobDown1000, Radio::kNav, 114900, 112900},
};
// clang-format on

TEST_F(ComNavKnobTest, TheWheelTurnsItsOwnWayOverEitherHalf) {
  for (const WheelCase& c : kWheelCases) {
    const KhzFrequency start = c.radio == Radio::kCom ? 121500 : 113900;
    standby(c.radio) = start;
    EXPECT_EQ(c.handler(&point, MOUSE_WHEEL_UP), 0);
    EXPECT_EQ(standby(c.radio), c.upTo) << c.half << " wheel up";
    standby(c.radio) = start;
    EXPECT_EQ(c.handler(&point, MOUSE_WHEEL_DOWN), 0);
    EXPECT_EQ(standby(c.radio), c.downTo) << c.half << " wheel down";
  }
}

TEST_F(ComNavKnobTest, BothWheelBitsAtOnceReturnWithoutTurning) {
  // Were the twins to hand this back and forth, the call would never return.
  for (const WheelCase& c : kWheelCases) {
    standby(c.radio) = 121500;
    EXPECT_EQ(c.handler(&point, MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN), 0) << c.half;
    EXPECT_EQ(c.handler(&point, MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN | MOUSE_LEFTSINGLE), 0);
    EXPECT_EQ(standby(c.radio), 121500) << c.half;
  }
}

TEST_F(ComNavKnobTest, KnobsTuneWhileOffAndSendNothing) {
  preInitialize();
  host.keyEvents.clear();
  comKnobUp1000(&point, MOUSE_LEFTSINGLE);
  navKnobDown25(&point, MOUSE_WHEEL_DOWN);
  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_EQ(text(comStandbyText), "");
  powerSwitchClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(text(comStandbyText), "122.500");
  EXPECT_EQ(text(navStandbyText), "113.870");
}

TEST_F(ComNavKnobTest, FineStepsWalkTheWholeBandAndComeBackAround) {
  const struct {
    PMOUSE_FUNCTION up;
    Radio radio;
    KhzFrequency low;
    KhzFrequency high;
  } bands[] = {{comKnobUp25, Radio::kCom, 118000, 135975},
               {navKnobUp25, Radio::kNav, 108000, 117925}};
  for (const auto& band : bands) {
    standby(band.radio) = band.low;
    const int channels = (band.high - band.low) / 25 + 1;
    for (int i = 1; i < channels; ++i) {
      band.up(&point, MOUSE_WHEEL_UP);
      ASSERT_EQ(standby(band.radio), band.low + 25 * i);
    }
    band.up(&point, MOUSE_WHEEL_UP);
    EXPECT_EQ(standby(band.radio), band.low);
  }
}

}  // namespace
