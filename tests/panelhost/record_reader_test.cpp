// panelhost's own description of the host's records, checked against byte images laid out by hand
// at the simulator's published 32-bit offsets and at the 64-bit builds' offsets: a field written
// at its offset must decode as that field.
#include <gtest/gtest.h>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
#include "byte_image.h"

using namespace panelhost;

namespace {

// Offsets of the fields a host reads, written down from the published layout (32-bit) and from
// the module's own pinned 64-bit layout, never computed.
struct Offsets {
  int width;
  std::size_t linkageInit, linkageDeinit, linkageVersion, linkageGauges;
  std::size_t gaugeName, gaugeElements, gaugeSizeX, gaugeXAdjust, gaugeMouse, gaugeCallback,
      gaugeFlags;
  std::size_t elementNext, elementFailures, elementImageFlags;
  std::size_t textImgSize, textFg, textFontName, textFontWeight, textCharset, textDrawFlags,
      textMaxLength, textSeq, textCharHeight, textUpdate, textString;
  std::size_t iconNumIcons, iconUpdate;
  std::size_t movingMinX, movingMaxX, movingMinY, movingMaxY, movingUpdateX, movingUpdateY;
  std::size_t mouseCursor, mouseFlags, mouseFunction, mouseSize;
  std::size_t failureSize;
  std::size_t slot24, slot36, slot40, slot69, panelsSize;
};

// clang-format off
const Offsets kLayouts[] = {
    {4,  4,  8, 20, 24,   4,  8, 44, 52,  80,  84, 196,  40, 44, 48,
         192, 208, 248, 280, 284, 288, 292, 300, 308, 312, 184,  112, 132,
          92, 100, 144, 152, 244, 248,  20, 28, 36, 44,  12,  96, 144, 160, 276, 344},
    {8,  4, 12, 28, 32,   4, 12, 84, 92, 132, 140, 268,  48, 56, 64,
         244, 268, 336, 368, 372, 376, 380, 388, 400, 404, 228,  136, 164,
         116, 124, 180, 188, 324, 332,  20, 28, 36, 52,  16, 176, 272, 304, 536, 672},
};
// clang-format on

// Where the test puts each record in its image.
constexpr std::size_t kGauge = 0x100, kName = 0x900, kRootSlot = 0x980, kRoot = 0x1000,
                      kChildren = 0x1800, kText = 0x2000, kIcon = 0x2400, kMoving = 0x2800,
                      kFailures = 0x3000, kMouse = 0x3400, kTooltip = 0x3F00;

class RecordReaderTest : public ::testing::TestWithParam<Offsets> {};

TEST_P(RecordReaderTest, FieldsWrittenAtTheirOffsetsDecodeAsThoseFields) {
  const Offsets& o = GetParam();
  const std::size_t p = static_cast<std::size_t>(o.width);
  ByteImage image(o.width, 0x4000);

  image.put(0, 0x13, 4);
  image.put(o.linkageInit, 0x4001, p);
  image.put(o.linkageDeinit, 0x4002, p);
  image.put(o.linkageVersion, 0x900, 4);
  image.putPointer(o.linkageGauges, kGauge);

  image.put(kGauge, 0x320, 4);
  image.putPointer(kGauge + o.gaugeName, kName);
  image.putText(kName, "Test");
  image.putPointer(kGauge + o.gaugeElements, kRootSlot);
  image.putPointer(kRootSlot, kRoot);
  image.put(kGauge + o.gaugeSizeX, 417, 4);
  image.put(kGauge + o.gaugeXAdjust, 0x3FC00000, 4);  // 1.5f
  image.putPointer(kGauge + o.gaugeMouse, kMouse);
  image.put(kGauge + o.gaugeCallback, 0x4003, p);
  image.put(kGauge + o.gaugeFlags, 0xF1A6, 4);

  auto header = [&](std::size_t at, std::uint32_t kind, std::uint32_t id, std::uint32_t flags) {
    image.put(at, kind, 4);
    image.put(at + 4, id, 4);
    image.put(at + 8, 10 + at / 0x400, 4);
    image.put(at + 12, 20 + at / 0x400, 4);
    image.put(at + o.elementImageFlags, flags, 4);
  };
  header(kRoot, 0, 4096, 0x1);
  image.putPointer(kRoot + o.elementNext, kChildren);
  for (std::size_t i = 0; i < 3; ++i) image.putPointer(kChildren + i * p, kText + i * 0x400);

  header(kText, 2, 0xFFFFFFFF, 0x7);
  image.putPointer(kText + o.elementFailures, kFailures);
  image.put(kFailures, 14, 4);
  image.put(kFailures + 4, 3, 4);
  image.put(kFailures + o.failureSize, 21, 4);
  image.put(kFailures + o.failureSize + 4, 3, 4);
  image.put(kText + o.textImgSize, 78, 4);
  image.put(kText + o.textImgSize + 4, 26, 4);
  image.put(kText + o.textFg, 0x003D3FC3, 4);
  image.putText(kText + o.textFontName, "Quartz");
  image.put(kText + o.textFontWeight, 400, 4);
  image.put(kText + o.textCharset, 1, 1);
  image.put(kText + o.textDrawFlags, 6, 4);
  image.put(kText + o.textMaxLength, 8, 2);
  image.put(kText + o.textSeq, 0x4004, p);
  image.put(kText + o.textCharHeight, 37, 4);
  image.put(kText + o.textUpdate, 0x4005, p);

  header(kIcon, 4, 4352, 0);
  image.put(kIcon + o.iconNumIcons, 2, 4);
  image.put(kIcon + o.iconUpdate, 0x4006, p);

  header(kMoving, 5, 13056, 0x3);
  image.putDouble(kMoving + o.movingMinX, -1);
  image.putDouble(kMoving + o.movingMaxX, 2);
  image.putDouble(kMoving + o.movingMinY, 1);
  image.putDouble(kMoving + o.movingMaxY, 18);
  image.put(kMoving + o.movingUpdateX, 0x4007, p);
  image.put(kMoving + o.movingUpdateY, 0x4008, p);

  const std::uint32_t kinds[] = {1, 4, 2, 0};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t at = kMouse + i * o.mouseSize;
    image.put(at, kinds[i], 4);
    image.put(at + 4, 5 + i, 4);
    image.put(at + 16, 50, 4);
    image.put(at + o.mouseCursor, i == 2 ? 5 : 0xFFFFFFFF, 4);
    image.put(at + o.mouseFlags, i == 2 ? 0x20206000 : 0, 4);
  }
  image.putPointer(kMouse + o.mouseSize + o.mouseFunction, kTooltip);
  image.putText(kTooltip, "Tip");
  image.put(kMouse + 2 * o.mouseSize + o.mouseFunction, 0x4009, p);

  const hostabi::HostLayouts& layouts = hostabi::HostLayouts::forPointerSize(o.width);
  const LinkageRecord linkage = hostabi::readLinkage(image, layouts, ByteImage::kBase);
  EXPECT_EQ(linkage.moduleId, 0x13u);
  EXPECT_EQ(linkage.init, 0x4001u);
  EXPECT_EQ(linkage.deinit, 0x4002u);
  EXPECT_EQ(linkage.version, 0x900u);
  ASSERT_EQ(linkage.gauges.size(), 1u);

  const GaugeRecord gauge = hostabi::readGauge(image, layouts, linkage.gauges[0]);
  EXPECT_EQ(gauge.version, 0x320u);
  EXPECT_EQ(gauge.name, "Test");
  EXPECT_EQ(gauge.sizeXmm, 417u);
  EXPECT_EQ(gauge.xAdjust, 1.5f);
  EXPECT_EQ(gauge.callback, 0x4003u);
  EXPECT_EQ(gauge.flags, 0xF1A6u);

  const auto& e = gauge.tree.elements;
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].kind, 0u);
  EXPECT_EQ(e[0].resourceId, 4096u);
  EXPECT_EQ(e[0].imageFlags, 0x1u);
  EXPECT_EQ(e[0].children, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_EQ(e[1].position.x, 18);
  EXPECT_EQ(e[1].position.y, 28);
  ASSERT_EQ(e[1].failures.size(), 2u);
  EXPECT_EQ(e[1].failures[1].key, 21u);
  EXPECT_EQ(e[1].failures[1].action, 3u);
  const TextFields& t = e[1].text;
  EXPECT_EQ(t.box.x, 78);
  EXPECT_EQ(t.box.y, 26);
  EXPECT_EQ(t.foreground, 0x003D3FC3u);
  EXPECT_EQ(t.fontName, "Quartz");
  EXPECT_EQ(t.fontWeight, 400);
  EXPECT_EQ(t.fontCharset, 1u);
  EXPECT_EQ(t.drawTextFlags, 6u);
  EXPECT_EQ(t.characters, 8u);
  EXPECT_EQ(t.highlightList, 0x4004u);
  EXPECT_EQ(t.fontSize, 37);
  EXPECT_EQ(t.callback, 0x4005u);
  EXPECT_EQ(layouts.string.offset("string"), o.textString);
  EXPECT_EQ(e[2].icon.frames, 2);
  EXPECT_EQ(e[2].icon.callback, 0x4006u);
  const MovingImageFields& m = e[3].moving;
  EXPECT_EQ(m.minX, -1);
  EXPECT_EQ(m.maxX, 2);
  EXPECT_EQ(m.minY, 1);
  EXPECT_EQ(m.maxY, 18);
  EXPECT_EQ(m.xCallback, 0x4007u);
  EXPECT_EQ(m.yCallback, 0x4008u);

  ASSERT_EQ(gauge.mouse.size(), 4u);
  EXPECT_EQ(gauge.mouse[1].tooltip, "Tip");
  EXPECT_EQ(gauge.mouse[2].kind, 2u);
  EXPECT_EQ(gauge.mouse[2].box.x, 7);
  EXPECT_EQ(gauge.mouse[2].box.height, 50);
  EXPECT_EQ(gauge.mouse[2].cursor, 5);
  EXPECT_EQ(gauge.mouse[2].flags, 0x20206000u);
  EXPECT_EQ(gauge.mouse[2].function, 0x4009u);

  EXPECT_EQ(layouts.panelsSlotOffset(24), o.slot24);
  EXPECT_EQ(layouts.panelsSlotOffset(36), o.slot36);
  EXPECT_EQ(layouts.panelsSlotOffset(40), o.slot40);
  EXPECT_EQ(layouts.panelsSlotOffset(69), o.slot69);
  EXPECT_EQ(layouts.panelsSize(), o.panelsSize);
}

INSTANTIATE_TEST_SUITE_P(BothWidths, RecordReaderTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) {
                           return std::to_string(info.param.width * 8) + "bit";
                         });

TEST(RecordReader, ATreeThatLeadsBackIntoItselfOrOffTheMemoryEndsThere) {
  ByteImage image(4, 0x200);
  image.put(0x40, 0, 4);  // a static image whose child list names itself and then the void
  image.putPointer(0x40 + 40, 0x100);
  image.putPointer(0x100, 0x40);
  image.put(0x104, 0xFFFFFF00, 4);
  const hostabi::HostLayouts& layouts = hostabi::HostLayouts::forPointerSize(4);
  EXPECT_THROW(hostabi::readElementTree(image, layouts, ByteImage::kBase + 0x40, "Loop"),
               ModuleFault);
  image.put(0x104, 0, 4);
  EXPECT_EQ(
      hostabi::readElementTree(image, layouts, ByteImage::kBase + 0x40, "Loop").elements.size(),
      1u);
}

}  // namespace
