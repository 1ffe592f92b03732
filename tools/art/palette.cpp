#include "art/palette.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace art {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr int kMaxColours = 255;  // entry 0 is reserved for black

uint32_t key(Rgb c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

uint8_t channel(Rgb c, int which) { return which == 0 ? c.r : which == 1 ? c.g : c.b; }

struct Entry {
  Rgb colour;
  long count;
};

struct Box {
  explicit Box(std::vector<Entry> e) : entries(std::move(e)) {
    // Cached because the split loop asks for every box on every round.
    for (int which = 0; which < 3; ++which) {
      uint8_t lo = 255, hi = 0;
      for (const Entry& entry : entries) {
        lo = std::min(lo, channel(entry.colour, which));
        hi = std::max(hi, channel(entry.colour, which));
      }
      if (hi - lo > spread) spread = hi - lo, widest = which;
    }
  }

  std::vector<Entry> entries;
  int widest = 0;
  int spread = 0;

  Rgb mean() const {
    double r = 0, g = 0, b = 0, n = 0;
    for (const Entry& e : entries) {
      r += e.colour.r * static_cast<double>(e.count);
      g += e.colour.g * static_cast<double>(e.count);
      b += e.colour.b * static_cast<double>(e.count);
      n += static_cast<double>(e.count);
    }
    return {static_cast<uint8_t>(std::lround(r / n)), static_cast<uint8_t>(std::lround(g / n)),
            static_cast<uint8_t>(std::lround(b / n))};
  }
};

// Splits the box with the widest channel range until there are enough boxes; weighting the split
// point by pixel count spends palette entries where the picture actually has pixels.
std::vector<Rgb> medianCut(std::vector<Entry> colours) {
  std::vector<Box> boxes;
  boxes.emplace_back(std::move(colours));
  while (static_cast<int>(boxes.size()) < kMaxColours) {
    int chosen = -1, chosenRange = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].spread > chosenRange)
        chosen = static_cast<int>(i), chosenRange = boxes[i].spread;
    }
    if (chosen < 0) break;
    std::vector<Entry> entries = std::move(boxes[chosen].entries);
    const int which = boxes[chosen].widest;
    std::sort(entries.begin(), entries.end(), [which](const Entry& a, const Entry& b) {
      const uint8_t ca = channel(a.colour, which), cb = channel(b.colour, which);
      return ca != cb ? ca < cb : key(a.colour) < key(b.colour);
    });
    long total = 0;
    for (const Entry& e : entries) total += e.count;
    long running = 0;
    size_t split = 1;
    for (; split < entries.size() - 1; ++split) {
      running += entries[split - 1].count;
      if (running * 2 >= total) break;
    }
    std::vector<Entry> upper(entries.begin() + static_cast<long>(split), entries.end());
    entries.resize(split);
    boxes[chosen] = Box(std::move(entries));
    boxes.emplace_back(std::move(upper));
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) palette.push_back(box.mean());
  return palette;
}

long distanceSquared(Rgb a, Rgb b) {
  const long dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

IndexedImage quantise(const Canvas& canvas) {
  IndexedImage image;
  image.width = canvas.width();
  image.height = canvas.height();
  image.palette.fill(Rgb{1, 1, 1});  // unused entries are not black, so black stays unambiguous
  image.palette[0] = kBlack;

  std::map<uint32_t, long> histogram;  // ordered, so the palette does not depend on hashing
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.pixel(x, y);
      if (c != kBlack) ++histogram[key(c)];
    }
  }
  std::vector<Entry> colours;
  for (const auto& [k, count] : histogram) {
    colours.push_back(
        {Rgb{static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k)},
         count});
  }

  std::vector<Rgb> chosen;
  if (static_cast<int>(colours.size()) <= kMaxColours) {
    for (const Entry& e : colours) chosen.push_back(e.colour);
  } else {
    chosen = medianCut(std::move(colours));
  }
  for (size_t i = 0; i < chosen.size(); ++i) {
    // A box of very dark colours can average to black; nudge it so it stays opaque.
    image.palette[i + 1] = chosen[i] == kBlack ? Rgb{1, 1, 1} : chosen[i];
  }
  image.usedEntries = static_cast<int>(chosen.size()) + 1;

  std::map<uint32_t, uint8_t> lookup;
  for (const auto& [k, count] : histogram) {
    (void)count;
    const Rgb c{static_cast<uint8_t>(k >> 16), static_cast<uint8_t>(k >> 8),
                static_cast<uint8_t>(k)};
    int best = 1;
    for (int i = 2; i < image.usedEntries; ++i) {
      if (distanceSquared(c, image.palette[i]) < distanceSquared(c, image.palette[best])) best = i;
    }
    lookup[k] = static_cast<uint8_t>(best);
  }

  image.indices.reserve(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const Rgb c = canvas.pixel(x, y);
      image.indices.push_back(c == kBlack ? 0 : lookup.at(key(c)));
    }
  }
  return image;
}

}  // namespace art
