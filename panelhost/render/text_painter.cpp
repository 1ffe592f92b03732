#include "render/text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "render/render_error.h"

namespace panelhost {

namespace {

constexpr std::uint32_t kDtCenter = 0x1;
constexpr std::uint32_t kDtRight = 0x2;
constexpr std::uint32_t kDtVCenter = 0x4;
constexpr std::uint32_t kDtBottom = 0x8;
constexpr int kBoldWeight = 600;
constexpr double kNarrowest = 0.5;

// The glyph whose ink sets the size: a seven-segment "8" covers every segment.
constexpr char kSizingGlyph = '8';
// Sizes are worked out from this large a reference, so the ratio of ink to pixel size is exact
// enough.
constexpr int kReference = 200;

bool isSevenSegmentFace(const std::string& face) {
  std::string lower(face);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "quartz";
}

// Kept free of the box's edges so the figures do not touch it.
int inkHeightFor(int boxHeight) { return boxHeight - 2 * std::max(1, boxHeight / 10); }

struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

// No narrowing: the face drawn without a transform.
constexpr FT_Fixed kUnnarrowed = 0x10000;
// Beyond this many sizes of glyphs the cache starts again; a panel uses a handful.
constexpr std::size_t kMostGlyphSets = 64;

// One glyph as FreeType gives it at one size and narrowing.
struct Glyph {
  bool measured = false;
  bool hasAdvance = false;  // it loaded for measuring
  long advance = 0;         // 26.6, as measured
  bool rendered = false;
  bool hasBitmap = false;  // it loaded for drawing
  long drawnAdvance = 0;   // 26.6, as loaded for drawing
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> coverage;  // rows x width
};

// A face at one pixel size and one narrowing: the ink of its sizing glyph and its glyphs.
struct GlyphSet {
  int inkHeight = 0;
  int inkTop = 0;
  std::array<Glyph, 256> glyphs;
};

}  // namespace

FontFiles FontFiles::system() {
  const std::filesystem::path dseg = "/usr/share/fonts/truetype/dseg";
  const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu";
  return FontFiles{dseg / "DSEG7Classic-Regular.ttf", dseg / "DSEG7Classic-Bold.ttf",
                   dejavu / "DejaVuSans.ttf", dejavu / "DejaVuSans-Bold.ttf"};
}

struct TextPainter::Impl {
  struct Face {
    FacePtr face;
    int referenceInk = -1;  // the sizing glyph's ink at kReference pixels; -1 until measured
    int pixels = 0;         // the size and narrowing FreeType is set to now
    FT_Fixed narrowing = 0;
  };
  using SetKey = std::tuple<FT_Face, int, FT_Fixed>;

  FontFiles files;
  FT_Library library = nullptr;
  std::map<std::filesystem::path, Face> faces;
  std::map<SetKey, std::unique_ptr<GlyphSet>> sets;

  explicit Impl(FontFiles f) : files(std::move(f)) {
    if (FT_Init_FreeType(&library) != 0) throw RenderError("FreeType could not be started");
  }
  ~Impl() {
    sets.clear();
    faces.clear();
    FT_Done_FreeType(library);
  }

  Face& face(const TextStyle& style) {
    const bool bold = style.weight >= kBoldWeight;
    const std::filesystem::path& file = isSevenSegmentFace(style.face)
                                            ? (bold ? files.sevenSegmentBold : files.sevenSegment)
                                            : (bold ? files.fallbackBold : files.fallback);
    auto found = faces.find(file);
    if (found != faces.end()) return found->second;
    FT_Face loaded = nullptr;
    if (FT_New_Face(library, file.string().c_str(), 0, &loaded) != 0) {
      throw RenderError(file.string() + ": cannot load the font for the face \"" + style.face +
                        "\" (expected a TrueType file; Debian packages fonts-dseg and " +
                        "fonts-dejavu-core)");
    }
    Face added;
    added.face.reset(loaded);
    return faces.emplace(file, std::move(added)).first->second;
  }

  // Sets FreeType to a size and narrowing, unless it is there already.
  void use(Face& f, int pixels, FT_Fixed narrowing) {
    if (f.pixels == pixels && f.narrowing == narrowing) return;
    if (narrowing == kUnnarrowed) {
      FT_Set_Transform(f.face.get(), nullptr, nullptr);
    } else {
      FT_Matrix matrix{narrowing, 0, 0, 0x10000};
      FT_Set_Transform(f.face.get(), &matrix, nullptr);
    }
    if (FT_Set_Pixel_Sizes(f.face.get(), 0, static_cast<FT_UInt>(std::max(1, pixels))) != 0) {
      f.pixels = 0;
      throw RenderError("FreeType cannot size the font to " + std::to_string(pixels) + " pixels");
    }
    f.pixels = pixels;
    f.narrowing = narrowing;
  }

  // Ink height and top (above the baseline) of the sizing glyph, in pixels, at the size in use.
  static std::pair<int, int> sizingInk(FT_Face f) {
    if (FT_Load_Char(f, static_cast<FT_ULong>(kSizingGlyph), FT_LOAD_DEFAULT) != 0) return {0, 0};
    return {static_cast<int>(f->glyph->metrics.height / 64),
            static_cast<int>(f->glyph->metrics.horiBearingY / 64)};
  }

  int referenceInk(Face& f) {
    if (f.referenceInk < 0) {
      use(f, kReference, kUnnarrowed);
      f.referenceInk = sizingInk(f.face.get()).first;
    }
    return f.referenceInk;
  }

  GlyphSet& glyphs(Face& f, int pixels, FT_Fixed narrowing) {
    const SetKey key{f.face.get(), pixels, narrowing};
    auto found = sets.find(key);
    if (found != sets.end()) return *found->second;
    if (sets.size() >= kMostGlyphSets) sets.clear();
    auto set = std::make_unique<GlyphSet>();
    use(f, pixels, narrowing);
    std::tie(set->inkHeight, set->inkTop) = sizingInk(f.face.get());
    return *sets.emplace(key, std::move(set)).first->second;
  }

  Glyph& measured(Face& f, GlyphSet& set, int pixels, FT_Fixed narrowing, unsigned char c) {
    Glyph& g = set.glyphs[c];
    if (!g.measured) {
      use(f, pixels, narrowing);
      g.hasAdvance = FT_Load_Char(f.face.get(), c, FT_LOAD_DEFAULT) == 0;
      if (g.hasAdvance) g.advance = f.face->glyph->advance.x;
      g.measured = true;
    }
    return g;
  }

  Glyph& rendered(Face& f, GlyphSet& set, int pixels, FT_Fixed narrowing, unsigned char c) {
    Glyph& g = set.glyphs[c];
    if (!g.rendered) {
      use(f, pixels, narrowing);
      g.hasBitmap = FT_Load_Char(f.face.get(), c, FT_LOAD_RENDER) == 0;
      if (g.hasBitmap) {
        const FT_GlyphSlot glyph = f.face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        g.drawnAdvance = glyph->advance.x;
        g.left = glyph->bitmap_left;
        g.top = glyph->bitmap_top;
        g.width = static_cast<int>(bitmap.width);
        g.rows = static_cast<int>(bitmap.rows);
        g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
        for (unsigned row = 0; row < bitmap.rows; ++row) {
          for (unsigned col = 0; col < bitmap.width; ++col) {
            g.coverage[row * bitmap.width + col] = bitmap.buffer[row * bitmap.pitch + col];
          }
        }
      }
      g.rendered = true;
    }
    return g;
  }

  // Advances are in 26.6 pixels and follow the narrowing.
  int advance(Face& f, GlyphSet& set, int pixels, FT_Fixed narrowing, const std::string& text) {
    long total = 0;
    for (unsigned char c : text) {
      const Glyph& g = measured(f, set, pixels, narrowing, c);
      if (g.hasAdvance) total += g.advance;
    }
    return static_cast<int>((total + 63) / 64);
  }
};

TextPainter::TextPainter(FontFiles files) : impl_(std::make_unique<Impl>(std::move(files))) {}
TextPainter::~TextPainter() = default;
TextPainter::TextPainter(TextPainter&&) noexcept = default;
TextPainter& TextPainter::operator=(TextPainter&&) noexcept = default;

void TextPainter::draw(Image& layer, const TextBox& box, const std::string& text,
                       const TextStyle& style) {
  Canvas canvas(layer, 0, 0, layer.size());
  draw(canvas, box, text, style);
}

void TextPainter::draw(Canvas& canvas, const TextBox& box, const std::string& text,
                       const TextStyle& style) {
  if (text.empty() || box.width <= 0 || box.height <= 0) return;
  Impl::Face& f = impl_->face(style);

  // Size from a large reference so the ratio of ink to pixel size is exact enough.
  const int referenceInk = impl_->referenceInk(f);
  if (referenceInk <= 0) return;
  int pixels = kReference * inkHeightFor(box.height) / referenceInk;
  FT_Fixed narrowed = kUnnarrowed;
  GlyphSet* set = &impl_->glyphs(f, pixels, narrowed);
  // A display box is wide enough for its figures only narrowed, as the simulator's own
  // seven-segment face is; narrow the glyphs first, and shrink them only past kNarrowest.
  int width = impl_->advance(f, *set, pixels, narrowed, text);
  if (width > box.width) {
    double narrowing = static_cast<double>(box.width) / width;
    if (narrowing < kNarrowest) {
      pixels = std::max(1, static_cast<int>(pixels * narrowing / kNarrowest));
      narrowing = kNarrowest;
    }
    narrowed = static_cast<FT_Fixed>(narrowing * 0x10000);
    set = &impl_->glyphs(f, pixels, narrowed);
    width = impl_->advance(f, *set, pixels, narrowed, text);
  }
  const int inkHeight = set->inkHeight;
  const int inkTop = set->inkTop;

  int penX = box.x;
  if (style.drawTextFlags & kDtRight) {
    penX = box.x + box.width - width;
  } else if (style.drawTextFlags & kDtCenter) {
    penX = box.x + (box.width - width) / 2;
  }
  int inkTopY = box.y;
  if (style.drawTextFlags & kDtVCenter) {
    inkTopY = box.y + (box.height - inkHeight) / 2;
  } else if (style.drawTextFlags & kDtBottom) {
    inkTopY = box.y + box.height - inkHeight;
  }
  const int baseline = inkTopY + inkTop;

  // Drawn where the box and the canvas both hold.
  const int clipLeft = std::max(box.x, canvas.left());
  const int clipTop = std::max(box.y, canvas.top());
  const int clipRight = std::min(box.x + box.width, canvas.right());
  const int clipBottom = std::min(box.y + box.height, canvas.bottom());
  long pen = static_cast<long>(penX) * 64;  // 26.6, so narrowed advances do not drift
  for (unsigned char c : text) {
    const Glyph& g = impl_->rendered(f, *set, pixels, narrowed, c);
    if (!g.hasBitmap) continue;
    const int left = static_cast<int>(pen / 64) + g.left;
    const int top = baseline - g.top;
    const int col0 = std::max(0, clipLeft - left);
    const int col1 = std::min(g.width, clipRight - left);
    const int row0 = std::max(0, clipTop - top);
    const int row1 = std::min(g.rows, clipBottom - top);
    for (int row = row0; row < row1; ++row) {
      const std::uint8_t* coverage = g.coverage.data() + static_cast<std::size_t>(row) * g.width;
      if (col0 >= col1) break;
      Rgba* to = canvas.at(left + col0, top + row);
      for (int col = col0; col < col1; ++col, ++to) {
        if (coverage[col] == 0) continue;
        Rgba ink = style.colour;
        ink.a = static_cast<std::uint8_t>(ink.a * coverage[col] / 255);
        *to = blendOver(*to, ink);
      }
    }
    pen += g.drawnAdvance;
  }
}

}  // namespace panelhost
