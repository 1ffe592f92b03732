#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "encoding/radio_encoding.h"

namespace {

struct KhzBcd {
  KhzFrequency khz;
  Bcd16Frequency bcd;
};

TEST(Encoding, KhzToBcd16DropsTheLeadingOneAndTheFiveKhzDigit) {
  const KhzBcd cases[] = {
      {123425, 0x2342}, {123420, 0x2342}, {136000, 0x3600},
      {117950, 0x1795}, {118000, 0x1800}, {108000, 0x0800},
  };
  for (const auto& c : cases) EXPECT_EQ(khzToBcd16(c.khz), c.bcd) << c.khz;
}

TEST(Encoding, Bcd16ToKhzRestoresQuarterChannelsFromTheLastDigit) {
  const KhzBcd cases[] = {
      {123425, 0x2342}, {123450, 0x2345}, {136000, 0x3600}, {117950, 0x1795},
      {123475, 0x2347}, {123460, 0x2346}, {108000, 0x0800},
  };
  for (const auto& c : cases) EXPECT_EQ(bcd16ToKhz(c.bcd), c.khz) << std::hex << c.bcd;
}

TEST(Encoding, EveryQuarterChannelSurvivesTheRoundTrip) {
  for (KhzFrequency k = 100000; k <= 199975; k += 25) ASSERT_EQ(bcd16ToKhz(khzToBcd16(k)), k);
}

TEST(Encoding, Bcd16ToKhzUsesOnlyTheSixteenBitsOfTheHostForm) {
  // Bits above the BCD form would overflow the sum; they are not part of a frequency.
  EXPECT_EQ(bcd16ToKhz(0x7FFF2342), 123425);
  EXPECT_EQ(bcd16ToKhz(static_cast<Bcd16Frequency>(0xFFFF1800u)), 118000);
  EXPECT_EQ(bcd16ToKhz(-1), bcd16ToKhz(0xFFFF));
}

TEST(Encoding, MhzToKhzAbsorbsBinaryErrorAndRestoresQuarterChannels) {
  const struct {
    double mhz;
    KhzFrequency khz;
  } cases[] = {
      {124.85, 124850}, {121.725, 121725}, {121.72, 121725}, {118.0, 118000},
      {117.95, 117950}, {108.05, 108050},  {135.975, 135975}, {0.0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(mhzToKhz(c.mhz), c.khz) << c.mhz;
}

TEST(Encoding, MhzToKhzGivesZeroForReadingsThatAreNotAFrequency) {
  const double nonsense[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -1e300, 3e6};
  for (double x : nonsense) EXPECT_EQ(mhzToKhz(x), 0) << x;
  EXPECT_EQ(mhzToKhz(2e6), 2000000000);  // still representable: kept
}

TEST(Encoding, SplitAdfTenthsGivesGroupAndDigits) {
  const struct {
    AdfTenths tenths;
    std::int32_t group, tens, units, tenth;
  } cases[] = {
      {17505, 17, 5, 0, 5}, {3500, 3, 5, 0, 0}, {2000, 2, 0, 0, 0}, {4159, 4, 1, 5, 9}, {0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    std::int32_t g, t, u, f;
    splitAdfTenths(c.tenths, &g, &t, &u, &f);
    EXPECT_EQ(g, c.group) << c.tenths;
    EXPECT_EQ(t, c.tens) << c.tenths;
    EXPECT_EQ(u, c.units) << c.tenths;
    EXPECT_EQ(f, c.tenth) << c.tenths;
  }
}

TEST(Encoding, AdfTenthsToBcd32PlacesFiveDigitsAboveTwelveZeroBits) {
  const struct {
    std::int32_t group, tens, units, tenth;
    std::uint32_t bcd;
  } cases[] = {
      {3, 5, 0, 0, 0x03500000u}, {17, 5, 0, 5, 0x17505000u}, {2, 0, 0, 0, 0x02000000u},
      {16, 9, 9, 9, 0x16999000u}, {3, 5, 0, 1, 0x03501000u}, {99, 9, 9, 9, 0x99999000u},
  };
  for (const auto& c : cases)
    EXPECT_EQ(adfTenthsToBcd32(c.group, c.tens, c.units, c.tenth), c.bcd) << std::hex << c.bcd;
}

TEST(Encoding, PowerOfTwoWrapsAtThirtyTwoBits) {
  const struct {
    std::int32_t n;
    std::uint32_t result;
  } cases[] = {{0, 1}, {1, 2}, {12, 4096}, {28, 0x10000000u}, {31, 0x80000000u}, {32, 0}, {33, 0}, {100, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<std::uint32_t>(powerOfTwo(c.n)), c.result) << c.n;
}

}  // namespace
