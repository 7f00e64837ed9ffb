#include "tests/support/ccf_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ccf_builder {
namespace {

std::vector<uint8_t> Slice(const CcfBuilder& b, uint32_t offset, uint32_t count) {
  return {b.bytes().begin() + offset, b.bytes().begin() + offset + count};
}

uint32_t U32At(const CcfBuilder& b, uint32_t offset) {
  const auto& d = b.bytes();
  return uint32_t{d[offset]} << 24 | uint32_t{d[offset + 1]} << 16 | uint32_t{d[offset + 2]} << 8 |
         d[offset + 3];
}

TEST(CcfBuilderHeader, MagicAttributesAndChains) {
  CcfBuilder b({.colourFormat = true, .longIrHeader = true});
  ASSERT_EQ(b.size(), kHeaderSize);
  EXPECT_EQ(Slice(b, 13, 3), (std::vector<uint8_t>{'C', 'C', 'F'}));
  EXPECT_EQ(Slice(b, 32, 3), (std::vector<uint8_t>{'C', 'C', 'F'}));
  EXPECT_EQ(Slice(b, 36, 4), (std::vector<uint8_t>{0x00, 0x04, 0x01, 0x00}));

  const uint32_t d1 = b.AddDevice({.name = "A"});
  const uint32_t d2 = b.AddDevice({.name = "B"});
  b.SetChain(Chain::kDevices, {d1, d2});
  EXPECT_EQ(U32At(b, 48), 0u);
  EXPECT_EQ(U32At(b, 52), d1);
  EXPECT_EQ(U32At(b, 56), 0u);
  EXPECT_EQ(U32At(b, d1), d2);
  EXPECT_EQ(U32At(b, d2), 0u);
}

TEST(CcfBuilderRecords, DeviceAndPanelLayoutsFollowColourFormat) {
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour});
    const uint32_t p1 = b.AddPanel({.name = "One", .nameFlag = true});
    const uint32_t p2 = b.AddPanel({.name = std::nullopt});
    const std::vector<uint32_t> keys(colour ? 9 : 7, 0x1234);
    const uint32_t d = b.AddDevice({.name = "Dev", .hardKeys = keys, .panels = {p1, p2}});
    EXPECT_EQ(b.size() - d, colour ? 80u : 64u);
    EXPECT_EQ(U32At(b, d + (colour ? 76 : 60)), p1);
    EXPECT_EQ(U32At(b, d + 20 + 4 * (keys.size() - 1)), 0x1234u);
    EXPECT_EQ(U32At(b, p1), p2);
    EXPECT_EQ(U32At(b, p1 + 4), 0x80000000u | (p1 - 4));  // "One" precedes its panel
    EXPECT_EQ(U32At(b, p2 + 4), 0u);
    EXPECT_THROW(b.AddDevice({.hardKeys = std::vector<uint32_t>(keys.size() + 1)}),
                 std::invalid_argument);
  }
}

TEST(CcfBuilderRecords, ButtonBytesInBothLayouts) {
  const Button button{.width = 0x0102,
                      .height = 0x0304,
                      .actions = 0x11111111,
                      .label = "L",
                      .fontSize = 9,
                      .bitmaps = {0xA0, 0xA1, 0xA2, 0xA3},
                      .colours = {0xF1000006, 0xF200000B}};
  CcfBuilder plain;
  uint32_t at = plain.AddButton(button);
  EXPECT_EQ(plain.size() - at, 38u);
  EXPECT_EQ(Slice(plain, at, 4), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(U32At(plain, at + 8), at - 2);  // the label string
  EXPECT_EQ(U32At(plain, at + 12), 0u);
  EXPECT_EQ(plain.bytes()[at + 16], 9);
  EXPECT_EQ(U32At(plain, at + 18 + 8 + 4), 0xA3u);
  EXPECT_EQ(Slice(plain, at + 34, 4), (std::vector<uint8_t>{0x06, 0, 0x0B, 0}));

  CcfBuilder colour({.colourFormat = true});
  at = colour.AddButton(button);
  EXPECT_EQ(colour.size() - at, 50u);
  EXPECT_EQ(U32At(colour, at + 34), 0xF1000006u);
  EXPECT_EQ(U32At(colour, at + 42), 0xF200000Bu);
}

TEST(CcfBuilderRecords, FrameChildrenAndFieldHelpers) {
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour});
    const uint32_t f =
        b.AddFrame({.width = 10,
                    .height = 20,
                    .bitmap = 0xBB,
                    .fontSize = 0,
                    .colour = 0x0000000C,
                    .children = {ButtonItem(1, 2, 0xCAFE), FrameItem(3, 4, 0xF00D)}});
    const uint32_t count = f + (colour ? 22 : 19);
    EXPECT_EQ(b.FrameChildCountField(f), count);
    EXPECT_EQ(b.bytes()[count], 2);
    EXPECT_EQ(b.bytes()[f + (colour ? 20 : 17)], 0x0C);
    EXPECT_EQ(Slice(b, b.FrameChildField(f, 1), 9),
              (std::vector<uint8_t>{0, 3, 0, 4, 0, 0, 0xF0, 0x0D, 0}));
    b.Patch32(b.FrameChildField(f, 1) + CcfBuilder::kItemObjectField, f);
    EXPECT_EQ(U32At(b, count + 1 + 9 + 4), f);
    EXPECT_EQ(b.size(), count + 1 + 18);
  }
}

TEST(CcfBuilderRecords, ActionListsAndIrHeaders) {
  CcfBuilder b({.longIrHeader = true});
  const uint32_t ir = b.AddIrCode({Rc5Code(5, 12)});
  EXPECT_EQ(b.size() - ir, 12u + 12u);
  EXPECT_EQ(Slice(b, ir, 2), (std::vector<uint8_t>{0, 24}));
  EXPECT_EQ(Slice(b, ir + 12, 12),
            (std::vector<uint8_t>{0x50, 0, 0, 0x73, 0, 0, 0, 1, 0, 5, 0, 12}));
  const uint32_t zero = b.AddIrCode({.words = {0}, .firstWord = 0});
  EXPECT_EQ(Slice(b, zero, 2), (std::vector<uint8_t>{0, 0}));

  const uint32_t list = b.AddActionList({IrAction(ir), AliasAction(0xABCD), {7, 1, 2}});
  EXPECT_EQ(Slice(b, list, 2), (std::vector<uint8_t>{0, 3}));
  EXPECT_EQ(Slice(b, b.ActionField(list, 0), 9),
            (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(ir)}));
  EXPECT_EQ(U32At(b, b.ActionField(list, 1) + CcfBuilder::kActionSecondField), 0xABCDu);
  EXPECT_EQ(b.bytes()[b.ActionField(list, 2)], 7);
}

TEST(CcfBuilderCodes, ProntoWordHelpers) {
  EXPECT_EQ(LearnedCode(0x6D, {{0x10, 0x20}, {0x30, 0x40}}),
            (std::vector<uint16_t>{0, 0x6D, 2, 0, 0x10, 0x20, 0x30, 0x40}));
  EXPECT_EQ(LearnedCode(0x73, {{1, 2}}, {{3, 4}}),
            (std::vector<uint16_t>{0, 0x73, 1, 1, 1, 2, 3, 4}));
  const std::vector<uint16_t> rc5x = Rc5xCode(21, 42, 7);
  ASSERT_GE(rc5x.size(), 7u);
  EXPECT_EQ(rc5x[0], 0x5001);
  EXPECT_EQ(rc5x[4], 21);
  EXPECT_EQ(rc5x[5], 42);
  EXPECT_EQ(rc5x[6], 7);
}

TEST(CcfBuilderBitmaps, RowPackingPerDepth) {
  EXPECT_EQ(BitmapRowBytes(9, 1), 2u);
  EXPECT_EQ(BitmapRowBytes(9, 2), 4u);
  EXPECT_EQ(BitmapRowBytes(5, 2), 2u);
  EXPECT_EQ(BitmapRowBytes(9, 8), 9u);

  CcfBuilder b;
  const uint32_t one =
      b.AddBitmap({.width = 9, .height = 1, .depth = 1, .pixels = {1, 0, 0, 0, 0, 0, 0, 0, 1}});
  EXPECT_EQ(Slice(b, one, 10), (std::vector<uint8_t>{0, 2, 0, 9, 0, 1, 0, 0, 0x80, 0x80}));
  const uint32_t two =
      b.AddBitmap({.width = 5, .height = 1, .depth = 2, .pixels = {0, 1, 2, 3, 2}});
  EXPECT_EQ(Slice(b, two + 6, 4), (std::vector<uint8_t>{0x01, 0x00, 0x1B, 0x80}));
  const uint32_t eight = b.AddBitmap(
      {.width = 2, .height = 2, .depth = 8, .compressed = true, .pixels = {1, 2, 3, 4}});
  EXPECT_EQ(Slice(b, eight + 6, 6), (std::vector<uint8_t>{0x80, 0x01, 1, 2, 3, 4}));
  EXPECT_THROW(b.AddBitmap({.width = 2, .height = 2, .pixels = {1}}), std::invalid_argument);
}

TEST(CcfBuilderPatching, PatchGrowsAndTruncateCuts) {
  CcfBuilder b;
  b.Patch16(kHeaderSize + 2, 0xBEEF);
  EXPECT_EQ(b.size(), kHeaderSize + 4);
  EXPECT_EQ(Slice(b, kHeaderSize, 4), (std::vector<uint8_t>{0, 0, 0xBE, 0xEF}));
  b.Truncate(20);
  EXPECT_EQ(b.size(), 20u);
  b.Truncate(40);
  EXPECT_EQ(b.size(), 20u);
}

TEST(CcfBuilderEntries, ListEntryFormat) {
  EXPECT_EQ(ListEntry(0xABCD, "Name"), "0000ABCD - Name");
  EXPECT_EQ(ListEntry(0, ""), "00000000 - ");
}

}  // namespace
}  // namespace ccf_builder
