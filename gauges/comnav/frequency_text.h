// A frequency as the COM/NAV displays show it: MHz to the 10 kHz, the text "%7.3f" gives for
// floor(khz / 10.0) / 100.0, made from integers.
#pragma once

#include <cstddef>

#include "encoding/radio_encoding.h"

// The longest text, that of the lowest 32-bit frequency: "-2147483.650".
constexpr std::size_t kLongestFrequencyText = 12;

// Writes the text of any 32-bit frequency into a buffer of `size` bytes, cut and terminated as
// snprintf cuts it (nothing written when size is 0).
void writeFrequencyText(char* buffer, std::size_t size, KhzFrequency khz);
