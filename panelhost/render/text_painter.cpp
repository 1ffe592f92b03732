#include "render/text_painter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

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

}  // namespace

FontFiles FontFiles::system() {
  const std::filesystem::path dseg = "/usr/share/fonts/truetype/dseg";
  const std::filesystem::path dejavu = "/usr/share/fonts/truetype/dejavu";
  return FontFiles{dseg / "DSEG7Classic-Regular.ttf", dseg / "DSEG7Classic-Bold.ttf",
                   dejavu / "DejaVuSans.ttf", dejavu / "DejaVuSans-Bold.ttf"};
}

struct TextPainter::Impl {
  FontFiles files;
  FT_Library library = nullptr;
  std::map<std::filesystem::path, FacePtr> faces;

  explicit Impl(FontFiles f) : files(std::move(f)) {
    if (FT_Init_FreeType(&library) != 0) throw RenderError("FreeType could not be started");
  }
  ~Impl() {
    faces.clear();
    FT_Done_FreeType(library);
  }

  FT_Face face(const TextStyle& style) {
    const bool bold = style.weight >= kBoldWeight;
    const std::filesystem::path& file = isSevenSegmentFace(style.face)
                                            ? (bold ? files.sevenSegmentBold : files.sevenSegment)
                                            : (bold ? files.fallbackBold : files.fallback);
    auto found = faces.find(file);
    if (found != faces.end()) return found->second.get();
    FT_Face loaded = nullptr;
    if (FT_New_Face(library, file.string().c_str(), 0, &loaded) != 0) {
      throw RenderError(file.string() + ": cannot load the font for the face \"" + style.face +
                        "\" (expected a TrueType file; Debian packages fonts-dseg and " +
                        "fonts-dejavu-core)");
    }
    return faces.emplace(file, FacePtr(loaded)).first->second.get();
  }

  void setPixelSize(FT_Face f, int pixels) {
    if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::max(1, pixels))) != 0) {
      throw RenderError("FreeType cannot size the font to " + std::to_string(pixels) + " pixels");
    }
  }

  // Ink height and top (above the baseline) of the sizing glyph, in pixels.
  std::pair<int, int> sizingInk(FT_Face f) {
    if (FT_Load_Char(f, static_cast<FT_ULong>(kSizingGlyph), FT_LOAD_DEFAULT) != 0) return {0, 0};
    return {static_cast<int>(f->glyph->metrics.height / 64),
            static_cast<int>(f->glyph->metrics.horiBearingY / 64)};
  }

  // Advances are in 26.6 pixels and follow the face's transform.
  int advance(FT_Face f, const std::string& text) {
    long total = 0;
    for (unsigned char c : text) {
      if (FT_Load_Char(f, c, FT_LOAD_DEFAULT) == 0) total += f->glyph->advance.x;
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
  if (text.empty() || box.width <= 0 || box.height <= 0) return;
  FT_Face f = impl_->face(style);

  // Size from a large reference so the ratio of ink to pixel size is exact enough.
  constexpr int kReference = 200;
  FT_Set_Transform(f, nullptr, nullptr);
  impl_->setPixelSize(f, kReference);
  const int referenceInk = impl_->sizingInk(f).first;
  if (referenceInk <= 0) return;
  int pixels = kReference * inkHeightFor(box.height) / referenceInk;
  impl_->setPixelSize(f, pixels);
  // A display box is wide enough for its figures only narrowed, as the simulator's own
  // seven-segment face is; narrow the glyphs first, and shrink them only past kNarrowest.
  int width = impl_->advance(f, text);
  if (width > box.width) {
    double narrowing = static_cast<double>(box.width) / width;
    if (narrowing < kNarrowest) {
      pixels = std::max(1, static_cast<int>(pixels * narrowing / kNarrowest));
      narrowing = kNarrowest;
      impl_->setPixelSize(f, pixels);
    }
    FT_Matrix matrix{static_cast<FT_Fixed>(narrowing * 0x10000), 0, 0, 0x10000};
    FT_Set_Transform(f, &matrix, nullptr);
    width = impl_->advance(f, text);
  }
  const auto [inkHeight, inkTop] = impl_->sizingInk(f);

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

  long pen = static_cast<long>(penX) * 64;  // 26.6, so narrowed advances do not drift
  for (unsigned char c : text) {
    if (FT_Load_Char(f, c, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = f->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    const int left = static_cast<int>(pen / 64) + glyph->bitmap_left;
    const int top = baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int x = left + static_cast<int>(col);
        const int y = top + static_cast<int>(row);
        if (x < box.x || y < box.y || x >= box.x + box.width || y >= box.y + box.height) continue;
        const std::uint8_t coverage = bitmap.buffer[row * bitmap.pitch + col];
        if (coverage == 0) continue;
        Rgba ink = style.colour;
        ink.a = static_cast<std::uint8_t>(ink.a * coverage / 255);
        layer.blend(x, y, ink);
      }
    }
    pen += glyph->advance.x;
  }
}

}  // namespace panelhost
