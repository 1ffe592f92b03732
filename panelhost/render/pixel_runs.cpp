#include "render/pixel_runs.h"

#include <cstdint>
#include <cstring>

namespace panelhost {

namespace {

// A pixel read as a word may alias the Rgba it lies in.
#if defined(__GNUC__)
typedef std::uint32_t __attribute__((may_alias)) Word;
#else
typedef std::uint32_t Word;
#endif
static_assert(sizeof(Rgba) == sizeof(Word), "a pixel is one word");

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr unsigned kAlphaShift = 0;
constexpr Word kColourBits = 0xFFFFFF00u;
#else
constexpr unsigned kAlphaShift = 24;
constexpr Word kColourBits = 0x00FFFFFFu;
#endif

Word* words(Rgba* p) { return reinterpret_cast<Word*>(p); }
const Word* words(const Rgba* p) { return reinterpret_cast<const Word*>(p); }

}  // namespace

void fillPixels(Rgba* to, std::size_t count, Rgba fill) {
  Word* __restrict out = words(to);
  const Word value = *words(&fill);
  if (value == 0) {
    std::memset(static_cast<void*>(to), 0, count * sizeof(Rgba));
    return;
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = value;
}

void copyUnlessBlack(Rgba* to, const Rgba* from, std::size_t count) {
  Word* __restrict out = words(to);
  const Word* __restrict in = words(from);
  for (std::size_t i = 0; i < count; ++i) {
    const Word p = in[i];
    out[i] = (p & kColourBits) != 0 ? p : out[i];
  }
}

void copyReplacingBlack(Rgba* to, const Rgba* from, std::size_t count, Rgba black) {
  Word* __restrict out = words(to);
  const Word* __restrict in = words(from);
  const Word blackWord = *words(&black);
  for (std::size_t i = 0; i < count; ++i) {
    const Word p = in[i];
    out[i] = (p & kColourBits) != 0 ? p : blackWord;
  }
}

void settleOverBlack(Rgba* pixels, std::size_t count) {
  const Rgba black{0, 0, 0, 255};
  const Word blackWord = *words(&black);
  Word* __restrict io = words(pixels);
  for (std::size_t i = 0; i < count; ++i) {
    const Word alpha = (io[i] >> kAlphaShift) & 0xFFu;
    if (alpha == 0) {
      io[i] = blackWord;
    } else if (alpha != 0xFFu) {
      pixels[i] = blendOver(black, pixels[i]);
    }
  }
}

void putOver(Rgba* to, const Rgba* from, std::size_t count) {
  Word* __restrict out = words(to);
  const Word* __restrict in = words(from);
  // Opaque pixels first, all at once; the few partly transparent ones (the edges of glyphs drawn
  // where nothing was) after, one by one.
  Word partial = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Word p = in[i];
    const Word alpha = (p >> kAlphaShift) & 0xFFu;
    out[i] = alpha == 0xFFu ? p : out[i];
    partial |= static_cast<Word>(alpha != 0 && alpha != 0xFFu);
  }
  if (partial == 0) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (from[i].a != 0 && from[i].a != 255) to[i] = blendOver(to[i], from[i]);
  }
}

bool allOpaque(const Rgba* pixels, std::size_t count) {
  const Word* __restrict in = words(pixels);
  const Word alphaBits = Word{0xFFu} << kAlphaShift;
  Word all = alphaBits;
  for (std::size_t i = 0; i < count; ++i) all &= in[i];
  return all == alphaBits;
}

void packRgb(std::uint8_t* to, const Rgba* from, std::size_t count) {
  std::size_t i = 0;
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_BIG_ENDIAN__
  // Four pixels into three words: r0 g0 b0 r1 | g1 b1 r2 g2 | b2 r3 g3 b3.
  const Word* in = words(from);
  for (; i + 4 <= count; i += 4, to += 12) {
    const Word w0 = in[i];
    const Word w1 = in[i + 1];
    const Word w2 = in[i + 2];
    const Word w3 = in[i + 3];
    const Word out[3] = {(w0 & 0xFFFFFFu) | (w1 << 24), ((w1 >> 8) & 0xFFFFu) | (w2 << 16),
                         ((w2 >> 16) & 0xFFu) | (w3 << 8)};
    std::memcpy(to, out, sizeof out);
  }
#endif
  for (; i < count; ++i, to += 3) {
    to[0] = from[i].r;
    to[1] = from[i].g;
    to[2] = from[i].b;
  }
}

}  // namespace panelhost
