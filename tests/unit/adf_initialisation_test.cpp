#include <cmath>
#include <limits>

#include "adf_fixture.h"

namespace {

using AdfInitialisationTest = AdfFixture;

TEST_F(AdfInitialisationTest, ReadsTheSimulatorOntoTheDrumsAndHoldsItAtTwoHundredWhileOff) {
  initialiseWithSimAt(350.0);
  EXPECT_EQ(drums(), (std::vector<int>{3, 5, 0, 0}));
  EXPECT_EQ(adfState.selectedTenths, 3500);
  EXPECT_EQ(adfState.activeTenths, 2000);
  EXPECT_EQ(adfState.mode, 0);
  EXPECT_EQ(adfState.identOn, 0);
  EXPECT_TRUE(adfState.initialised);
  ASSERT_EQ(host.keyEvents.size(), 1u);
  EXPECT_EQ(host.keyEvents[0].eventId, 66479u);
  EXPECT_EQ(host.keyEvents[0].value, 0x02000000u);
  EXPECT_EQ(simAdfTenths(), 2000);
  ASSERT_EQ(host.calculatorCodes.size(), 1u);
  EXPECT_EQ(host.calculatorCodes[0], "(A:ADF ACTIVE FREQUENCY:1,KHz)");
}

struct Reading {
  double khz;
  AdfTenths tenths;
  std::vector<int> drums;
};

// A reading between tenths is truncated, never rounded, onto the drums; a tenth the simulation
// holds a hair low (as a float, or one step below the double) is that tenth; a reading the host's
// form does not carry starts the drums at 200.0 kHz instead.
TEST_F(AdfInitialisationTest, ReadingsLandOnTheDrumsTruncated) {
  const Reading readings[] = {
      {415.99, 4159, {4, 1, 5, 9}},
      {1750.5, 17505, {17, 5, 0, 5}},
      {190.0, 1900, {1, 9, 0, 0}},
      {1799.99, 17999, {17, 9, 9, 9}},
      {200.0, 2000, {2, 0, 0, 0}},
      {0.0, 0, {0, 0, 0, 0}},
      {-0.0, 0, {0, 0, 0, 0}},
      {350.9f, 3509, {3, 5, 0, 9}},
      {9999.9f, 99999, {99, 9, 9, 9}},
      {std::nextafter(350.0, 0.0), 3500, {3, 5, 0, 0}},
      {std::nextafter(0.0, -1.0), 0, {0, 0, 0, 0}},
      {415.995, 4159, {4, 1, 5, 9}},
      {1800.0, 18000, {18, 0, 0, 0}},
      {9999.9, 99999, {99, 9, 9, 9}},
      {9999.95, 99999, {99, 9, 9, 9}},
      {10000.0, 2000, {2, 0, 0, 0}},
      {-0.01, 2000, {2, 0, 0, 0}},
      {-350.0, 2000, {2, 0, 0, 0}},
      {1e12, 2000, {2, 0, 0, 0}},
      {std::numeric_limits<double>::quiet_NaN(), 2000, {2, 0, 0, 0}},
      {std::numeric_limits<double>::infinity(), 2000, {2, 0, 0, 0}},
      {-std::numeric_limits<double>::infinity(), 2000, {2, 0, 0, 0}},
  };
  for (const Reading& r : readings) {
    SCOPED_TRACE(r.khz);
    adfState = AdfState{};
    host.keyEvents.clear();
    initialiseWithSimAt(r.khz);
    EXPECT_EQ(adfState.selectedTenths, r.tenths);
    EXPECT_EQ(drums(), r.drums);
    EXPECT_EQ(adfFrequencyValuesSent(), (std::vector<UINT32>{0x02000000u}));
  }
}

TEST_F(AdfInitialisationTest, AFailedEvaluationStartsTheDrumsAtTwoHundred) {
  // A host that fails the expression yet scribbles into the result.
  panels()->execute_calculator_code = [](PCSTRINGZ, FLOAT64* result, SINT32*,
                                         PCSTRINGZ*) -> SINT32 {
    *result = 777.0;
    return 0;
  };
  initialiseWithSimAt(350.0);
  EXPECT_EQ(adfState.selectedTenths, 2000);
  EXPECT_EQ(drums(), (std::vector<int>{2, 0, 0, 0}));
  EXPECT_EQ(adfFrequencyValuesSent(), (std::vector<UINT32>{0x02000000u}));
}

TEST_F(AdfInitialisationTest, GroupSeventeenShowsAndTheKnobWrapsAtSixteen) {
  initialiseWithSimAt(1750.5);
  EXPECT_EQ(adfHundredsStripY(nullptr), 17.0);
  adfHundredsUp(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfState.hundredsGroup, 2);
  EXPECT_EQ(adfState.selectedTenths, 2505);

  adfState = AdfState{};
  initialiseWithSimAt(1750.5);
  adfHundredsDown(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(adfState.hundredsGroup, 16);
  EXPECT_EQ(adfState.selectedTenths, 16505);
}

TEST_F(AdfInitialisationTest, OnlyTheFirstPreInitializeDoesAnything) {
  initialiseWithSimAt(350.0);
  adfModeUp(&point, MOUSE_LEFTSINGLE);
  adfTensUp(&point, MOUSE_LEFTSINGLE);
  const AdfState before = adfState;
  host.keyEvents.clear();
  host.simulation().state.adfActiveKhz = 999.0;

  for (SINT32 service = 0; service <= 13; ++service) adfGaugeCallback(&adfGaugeHeader, service, 0);

  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_EQ(host.calculatorCodes.size(), 1u);
  EXPECT_EQ(adfState.mode, before.mode);
  EXPECT_EQ(adfState.selectedTenths, before.selectedTenths);
  EXPECT_EQ(adfState.activeTenths, before.activeTenths);
  EXPECT_EQ(drums(), (std::vector<int>{3, 6, 0, 0}));
}

TEST_F(AdfInitialisationTest, ServicesOtherThanPreInitializeDoNotInitialise) {
  for (SINT32 service : {0, 1, 2, 3, 5, 6, 7, 8, 13, 99})
    adfGaugeCallback(&adfGaugeHeader, service, 0);
  EXPECT_FALSE(adfState.initialised);
  EXPECT_TRUE(host.keyEvents.empty());
  EXPECT_TRUE(host.calculatorCodes.empty());
}

}  // namespace
