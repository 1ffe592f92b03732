// Radio frequencies as the gauges keep them (whole integers) and as the host takes them (binary
// coded decimal). Signed 32-bit arithmetic, division truncating toward zero.
#pragma once

#include <cstdint>

typedef std::int32_t KhzFrequency;    // COM/NAV frequency in kHz: 123.425 MHz is 123425
typedef std::int32_t Bcd16Frequency;  // four BCD digits of the frequency in 10 kHz, no leading 1
typedef std::int32_t AdfTenths;       // ADF frequency in tenths of a kHz: 350.0 kHz is 3500

Bcd16Frequency khzToBcd16(KhzFrequency khz);
KhzFrequency bcd16ToKhz(Bcd16Frequency bcd);
KhzFrequency mhzToKhz(double mhz);

void splitAdfTenths(AdfTenths tenths, std::int32_t* hundredsGroup, std::int32_t* tens,
                    std::int32_t* units, std::int32_t* tenthDigit);
std::uint32_t adfTenthsToBcd32(std::int32_t hundredsGroup, std::int32_t tens, std::int32_t units,
                               std::int32_t tenthDigit);

std::int32_t powerOfTwo(std::int32_t n);
