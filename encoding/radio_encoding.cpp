#include "encoding/radio_encoding.h"

Bcd16Frequency khzToBcd16(KhzFrequency khz) {
  const std::int32_t t = (khz / 10) % 10000;
  const std::int32_t d3 = t / 1000;
  std::int32_t r = t - 1000 * d3;
  const std::int32_t d2 = r / 100;
  r = r - 100 * d2;
  const std::int32_t d1 = r / 10;
  const std::int32_t d0 = r - 10 * d1;
  return d3 * 4096 + d2 * 256 + d1 * 16 + d0;
}

KhzFrequency bcd16ToKhz(Bcd16Frequency bcd) {
  // The host's form has 16 bits; anything above them is not a frequency, and left in it would
  // overflow the sum below.
  bcd &= 0xFFFF;
  const std::int32_t d3 = bcd / 4096;
  std::int32_t r = bcd - 4096 * d3;
  const std::int32_t d2 = r / 256;
  r = r - 256 * d2;
  const std::int32_t d1 = r / 16;
  const std::int32_t d0 = r - 16 * d1;
  KhzFrequency khz = 10000 * d3 + 1000 * d2 + 100 * d1 + 10 * d0 + 100000;
  // The 5 kHz digit is not carried: a last digit of 2 or 7 stands for a 25 or 75 kHz channel.
  if (d0 == 2 || d0 == 7) khz += 5;
  return khz;
}

namespace {
constexpr double kMaxScaled = 214748364.0;  // 10 * a + 5 must still fit in 32 bits
}  // namespace

KhzFrequency mhzToKhz(double mhz) {
  // The 0.4 absorbs the binary error of readings like 121.725 (12172.4999...).
  const double scaled = mhz * 100 + 0.4;
  // A failed or nonsense reading (not finite, or too large for the 32-bit result) would make the
  // conversion undefined; it reads as 0 kHz, which the knobs bring back into the band.
  if (!(scaled > -kMaxScaled && scaled < kMaxScaled)) return 0;
  const std::int32_t a = static_cast<std::int32_t>(scaled);
  KhzFrequency khz = 10 * a;
  if (a % 10 == 2 || a % 10 == 7) khz += 5;
  return khz;
}

void splitAdfTenths(AdfTenths tenths, std::int32_t* hundredsGroup, std::int32_t* tens,
                    std::int32_t* units, std::int32_t* tenthDigit) {
  *hundredsGroup = tenths / 1000;
  std::int32_t r = tenths - 1000 * *hundredsGroup;
  *tens = r / 100;
  r = r - 100 * *tens;
  *units = r / 10;
  *tenthDigit = r - 10 * *units;
}

std::uint32_t adfTenthsToBcd32(std::int32_t hundredsGroup, std::int32_t tens, std::int32_t units,
                               std::int32_t tenthDigit) {
  // Unsigned arithmetic: a thousands digit of 8 or more reaches the sign bit.
  const auto nibble = [](std::int32_t digit, std::int32_t shift) {
    return static_cast<std::uint32_t>(digit) * static_cast<std::uint32_t>(powerOfTwo(shift));
  };
  return nibble(hundredsGroup / 10, 28) + nibble(hundredsGroup % 10, 24) + nibble(tens, 20) +
         nibble(units, 16) + nibble(tenthDigit, 12);
}

std::int32_t powerOfTwo(std::int32_t n) {
  if (n == 0) return 1;
  if (n > 32) return 0;
  std::uint32_t result = 1;
  for (std::int32_t i = 0; i < n; ++i) result *= 2u;
  return static_cast<std::int32_t>(result);
}
