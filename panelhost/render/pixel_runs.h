// Runs of pixels done a row at a time, each pixel taken as one 32-bit word, so that the compiler
// can do several at once: the loops a whole frame goes through (filling it, copying a face plate
// that has transparent black, putting a layer onto the panel). None of them allocates.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/image.h"

namespace panelhost {

void fillPixels(Rgba* to, std::size_t count, Rgba fill);
// Copies every pixel of `from` that is not pure black.
void copyUnlessBlack(Rgba* to, const Rgba* from, std::size_t count);
// Copies every pixel of `from`, putting `black` for the pure black ones.
void copyReplacingBlack(Rgba* to, const Rgba* from, std::size_t count, Rgba black);
// Puts the pixels of a layer over an opaque black panel, in place: transparent ones become that
// black, partly transparent ones are blended over it.
void settleOverBlack(Rgba* pixels, std::size_t count);
// Copies every opaque pixel of `from`, leaves `to` where `from` is fully transparent, and blends
// the pixels in between over `to`.
void putOver(Rgba* to, const Rgba* from, std::size_t count);

// Whether every pixel is opaque.
bool allOpaque(const Rgba* pixels, std::size_t count);
// The red, green and blue bytes of each pixel, three bytes a pixel, as a PNG row holds them.
void packRgb(std::uint8_t* to, const Rgba* from, std::size_t count);

}  // namespace panelhost
