#include "gauges/comnav/frequency_text.h"

#include <cstdint>
#include <cstring>

#include "host/cut_text.h"

// Why the integers give the bytes "%7.3f" gives, for every 32-bit khz:
// - |khz / 10| < 2^28, so khz / 10.0 is within 2^-26 of the quotient, and a quotient that is no
//   whole number lies at least 0.1 from one: floor() of it is khz / 10 rounded down, exactly.
// - |tens| < 2^28, so tens / 100.0 is within 2^-32 of tens / 100, a number with two decimals.
//   Rounded to three decimals it is tens / 100 itself: the nearest halfway point is 0.0005 away.
// So the text is the sign, |tens| / 100, the point, the two digits of |tens| % 100 and a 0,
// padded on the left with spaces to seven characters.
void writeFrequencyText(char* buffer, std::size_t size, KhzFrequency khz) {
  std::int32_t tens = khz / 10;  // toward zero; one lower for a negative khz with a remainder
  if (khz % 10 < 0) --tens;
  const bool negative = tens < 0;
  // Unsigned, so that the magnitude of the lowest quotient needs no sign bit.
  std::uint32_t magnitude = negative ? 0u - static_cast<std::uint32_t>(tens) : tens;

  char text[kLongestFrequencyText + 1];
  char* const end = text + kLongestFrequencyText;
  char* first = end;
  *first = '\0';
  *--first = '0';
  for (int decimal = 0; decimal < 2; ++decimal) {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  *--first = '.';
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--first = '-';
  constexpr std::ptrdiff_t kWidth = 7;
  while (end - first < kWidth) *--first = ' ';

  // Every frequency from 0 to 999.999 MHz, into the displays' own buffers: the seven characters
  // and the terminator in one move. The displays call this on every update.
  if (end - first == kWidth && size > kWidth) {
    std::memcpy(buffer, first, kWidth + 1);
    return;
  }
  writeCutText(buffer, size, {first});
}
