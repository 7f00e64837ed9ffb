#include "converter/ccf/ccf_bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/palettes.h"

namespace velmora {
namespace {

constexpr uint32_t kBitmap = 8;  // the bitmap follows 8 filler bytes
const common::RecordedMessages::Entry kCompressed{kCompressedBitmapText, "Unsupported feature",
                                                  false};
const common::RecordedMessages::Entry kReadPastEnd{"Read past end of file", "File error", false};

std::vector<Rgb> Pixels(const Canvas& canvas) {
  return {canvas.pixels().begin(), canvas.pixels().end()};
}

CcfImage BitmapImage(uint16_t width, uint16_t height, uint16_t flags, std::vector<uint8_t> pixels) {
  std::vector<uint8_t> bytes(kBitmap, 0xEE);
  for (uint16_t v : {uint16_t{0}, width, height, flags}) {
    bytes.push_back(static_cast<uint8_t>(v >> 8));
    bytes.push_back(static_cast<uint8_t>(v));
  }
  for (uint8_t p : pixels) bytes.push_back(p);
  return CcfImage(std::move(bytes), "bitmap.ccf");
}

LayoutTransform Scale(float x, float y) { return {x, y, 0, 0}; }

struct Rendered {
  std::optional<CcfBitmapPixels> pixels;
  std::vector<common::RecordedMessages::Entry> messages;
};

Rendered Render(const CcfImage& image, LayoutTransform layout = Scale(1, 1)) {
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  CompressedBitmapNote note;
  Rendered result{RenderCcfBitmap(reader, kBitmap, layout, note), {}};
  result.messages = messages.entries();
  return result;
}

std::vector<uint8_t> Values(const CcfImage& image, LayoutTransform layout = Scale(1, 1)) {
  Rendered r = Render(image, layout);
  EXPECT_TRUE(r.messages.empty());
  return r.pixels ? r.pixels->values : std::vector<uint8_t>{};
}

TEST(BitmapFormat, FlagsAreTestedInOrder) {
  EXPECT_EQ(FormatOfFlags(0x0000), BitmapFormat::kOneBit);
  EXPECT_EQ(FormatOfFlags(0x7EFE), BitmapFormat::kOneBit);  // only bits 0, 8 and 15 matter
  EXPECT_EQ(FormatOfFlags(0x0100), BitmapFormat::kTwoBit);
  EXPECT_EQ(FormatOfFlags(0x0001), BitmapFormat::kEightBit);
  EXPECT_EQ(FormatOfFlags(0x0101), BitmapFormat::kEightBit);
  EXPECT_EQ(FormatOfFlags(0x8000), BitmapFormat::kCompressed);
  EXPECT_EQ(FormatOfFlags(0x8001), BitmapFormat::kCompressed);
  EXPECT_EQ(FormatOfFlags(0x8100), BitmapFormat::kCompressed);
}

TEST(BitmapFormat, RowSizes) {
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kOneBit, 9), 2u);
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kOneBit, 8), 1u);  // not rounded to even
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kTwoBit, 9), 4u);  // 3 rounded up to even
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kTwoBit, 5), 2u);
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kTwoBit, 8), 2u);
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kEightBit, 7), 7u);
  EXPECT_EQ(CcfRowBytes(BitmapFormat::kOneBit, 65535), 8192u);
}

TEST(BufferSink, OneBitRowsAreMostSignificantBitFirst) {
  EXPECT_EQ(Values(BitmapImage(8, 1, 0, {0x80})), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  // 9 pixels wide: 2-byte rows.
  EXPECT_EQ(Values(BitmapImage(9, 2, 0, {0x00, 0x80, 0xFF, 0x7F})),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
}

TEST(BufferSink, TwoBitRowsArePairsPaddedToEvenBytes) {
  EXPECT_EQ(Values(BitmapImage(4, 1, 0x0100, {0x1B, 0x00})), (std::vector<uint8_t>{0, 1, 2, 3}));
  // 5 pixels wide: 2-byte rows.
  EXPECT_EQ(Values(BitmapImage(5, 2, 0x0100, {0xE4, 0xC0, 0x1B, 0x40})),
            (std::vector<uint8_t>{3, 2, 1, 0, 3, 0, 1, 2, 3, 1}));
  // 9 pixels wide: 4-byte rows.
  std::vector<uint8_t> rows = {0, 0, 0x40, 0xAA, 0xFF, 0xFF, 0x80, 0};
  std::vector<uint8_t> values = Values(BitmapImage(9, 2, 0x0100, rows));
  ASSERT_EQ(values.size(), 18u);
  EXPECT_EQ(values[8], 1);
  EXPECT_EQ(values[9], 3);
  EXPECT_EQ(values[17], 2);
}

TEST(BufferSink, EightBitPixelsBecomePalmIndexes) {
  EXPECT_EQ(Values(BitmapImage(3, 1, 0x0101, {0, 215, 5})),
            (std::vector<uint8_t>{230, 0, PalmIndexMap[5]}));
}

TEST(BufferSink, ScaleTwoRepeatsAndScaleHalfDrops) {
  Rendered twice = Render(BitmapImage(2, 1, 0x0001, {0, 215}), Scale(2, 2));
  ASSERT_TRUE(twice.pixels);
  EXPECT_EQ(twice.pixels->width, 4u);
  EXPECT_EQ(twice.pixels->height, 2u);
  EXPECT_EQ(twice.pixels->values, (std::vector<uint8_t>{230, 230, 0, 0, 230, 230, 0, 0}));
  // 9 wide at 0.5: columns 0, 2, 4, 6; 3 rows at 0.5: row 0 only.
  std::vector<uint8_t> pixels = {10, 11, 12, 13, 14, 15, 16, 17, 18};
  for (int i = 0; i < 18; ++i) pixels.push_back(0);
  Rendered half = Render(BitmapImage(9, 3, 0x0001, pixels), Scale(0.5f, 0.5f));
  ASSERT_TRUE(half.pixels);
  EXPECT_EQ(half.pixels->width, 4u);
  EXPECT_EQ(half.pixels->height, 1u);
  EXPECT_EQ(half.pixels->values, (std::vector<uint8_t>{PalmIndexMap[10], PalmIndexMap[12],
                                                       PalmIndexMap[14], PalmIndexMap[16]}));
}

TEST(BufferSink, EmptyDestinationsReadNoPixels) {
  // No pixel bytes at all in the file: any pixel read would be reported.
  for (auto [w, h, layout] : {std::tuple{uint16_t{0}, uint16_t{5}, Scale(1, 1)},
                              std::tuple{uint16_t{5}, uint16_t{0}, Scale(1, 1)},
                              std::tuple{uint16_t{5}, uint16_t{5}, Scale(0, 1)},
                              std::tuple{uint16_t{5}, uint16_t{5}, Scale(0.1f, 0.1f)}}) {
    Rendered r = Render(BitmapImage(w, h, 0x0001, {}), layout);
    ASSERT_TRUE(r.pixels);
    EXPECT_TRUE(r.pixels->values.empty());
    EXPECT_TRUE(r.messages.empty());
  }
}

TEST(BufferSink, CompressedBitmapsAreZeroAndWarnedAbout) {
  Rendered r = Render(BitmapImage(3, 2, 0x8001, {}));
  ASSERT_TRUE(r.pixels);
  EXPECT_EQ(r.pixels->values, std::vector<uint8_t>(6, 0));
  EXPECT_EQ(r.pixels->header.flags, 0x8001);
  EXPECT_EQ(r.messages, std::vector{kCompressed});
}

TEST(BufferSink, BitmapZeroRendersNothing) {
  CcfImage image = BitmapImage(1, 1, 0, {0});
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  CompressedBitmapNote note;
  EXPECT_FALSE(RenderCcfBitmap(reader, 0, Scale(1, 1), note).has_value());
  EXPECT_TRUE(messages.entries().empty());
}

TEST(BufferSink, AbsurdSizesAbandonWithTheMemoryMessage) {
  Rendered r = Render(BitmapImage(65535, 65535, 0x0001, {}), Scale(8, 8));
  EXPECT_FALSE(r.pixels.has_value());
  EXPECT_EQ(r.messages, (std::vector<common::RecordedMessages::Entry>{
                            {"Not enough memory for this bitmap", "File error", false}}));
}

TEST(BufferSink, TruncatedPixelsReadAsZeroWithOneReport) {
  Rendered r = Render(BitmapImage(4, 4, 0x0001, {215, 215}));
  ASSERT_TRUE(r.pixels);
  EXPECT_EQ(r.pixels->values[0], 0);
  EXPECT_EQ(r.pixels->values[1], 0);
  EXPECT_EQ(r.pixels->values[2], 230);
  EXPECT_EQ(r.messages, std::vector{kReadPastEnd});
}

struct Drawn {
  Canvas canvas;
  std::vector<common::RecordedMessages::Entry> messages;
};

Drawn Draw(const CcfImage& image, uint16_t x, uint16_t y, LayoutTransform layout, int32_t ox = 0,
           int32_t oy = 0) {
  Drawn d{Canvas(16, 8), {}};
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  CompressedBitmapNote note;
  DrawCcfBitmap(reader, kBitmap, x, y, d.canvas, layout, ox, oy, note);
  d.messages = messages.entries();
  return d;
}

TEST(CanvasSink, PixelsTakeThePaletteColoursAtTheScaledOrigin) {
  Drawn one = Draw(BitmapImage(8, 1, 0, {0x80}), 3, 2, Scale(1, 1), -1, 4);
  EXPECT_EQ(one.canvas.Pixel(2, 6), kWhite);
  EXPECT_EQ(one.canvas.Pixel(3, 6), kBlack);
  EXPECT_EQ(one.canvas.Pixel(9, 6), kBlack);
  EXPECT_EQ(one.canvas.Pixel(10, 6), kWhite);  // background
  EXPECT_EQ(one.canvas.Pixel(2, 5), kWhite);

  Drawn grey = Draw(BitmapImage(4, 1, 0x0100, {0x1B, 0}), 0, 0, Scale(1, 1));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(grey.canvas.Pixel(i, 0), GreyPalette[i]);

  Drawn colour = Draw(BitmapImage(2, 1, 0x0001, {5, 227}), 1, 1, Scale(2, 2));
  EXPECT_EQ(colour.canvas.Pixel(2, 2), ColourPalette[5]);
  EXPECT_EQ(colour.canvas.Pixel(3, 3), ColourPalette[5]);
  EXPECT_EQ(colour.canvas.Pixel(5, 3), ColourPalette[227]);
  EXPECT_EQ(colour.canvas.Pixel(6, 2), kWhite);
  EXPECT_EQ(colour.canvas.Pixel(2, 4), kWhite);
}

TEST(CanvasSink, DrawingIsClippedToTheCanvas) {
  Drawn d = Draw(BitmapImage(4, 1, 0x0001, {5, 30, 180, 215}), 0, 0, Scale(1, 1), -2, 7);
  EXPECT_EQ(d.canvas.Pixel(0, 7), ColourPalette[180]);
  EXPECT_EQ(d.canvas.Pixel(1, 7), ColourPalette[215]);
  EXPECT_TRUE(d.messages.empty());
}

TEST(CanvasSink, AHugeDamagedBitmapDrawsQuicklyWithOneReport) {
  Drawn d = Draw(BitmapImage(65535, 65535, 0x0001, {}), 0, 0, Scale(8, 8));
  EXPECT_EQ(d.messages, std::vector{kReadPastEnd});
  EXPECT_EQ(d.canvas.Pixel(15, 7), ColourPalette[0]);  // zeros drawn
}

TEST(CanvasSink, CompressedBitmapsAreARedHatchOverTheirRectangle) {
  Drawn d = Draw(BitmapImage(6, 4, 0x8100, {}), 1, 1, Scale(2, 1));
  Rgb red{255, 0, 0};
  EXPECT_EQ(d.messages, std::vector{kCompressed});
  EXPECT_EQ(d.canvas.Pixel(3, 3), red);  // x - y == 0
  EXPECT_EQ(d.canvas.Pixel(4, 4), red);
  EXPECT_EQ(d.canvas.Pixel(3, 4), kWhite);  // between the lines
  EXPECT_EQ(d.canvas.Pixel(1, 1), kWhite);  // outside: x spans 2 to 13, y 1 to 4
  EXPECT_EQ(d.canvas.Pixel(14, 2), kWhite);
  EXPECT_EQ(d.canvas.Pixel(11, 3), red);  // x - y == 8
  EXPECT_EQ(d.canvas.Pixel(12, 4), red);  // x + y == 16
  EXPECT_EQ(d.canvas.Pixel(13, 4), kWhite);
  EXPECT_EQ(d.canvas.Pixel(5, 5), kWhite);  // on a line, but the bottom edge is excluded
}

TEST(CompressedNote, WarnsOnceUntilCleared) {
  CcfImage image = BitmapImage(2, 2, 0x8000, {});
  common::RecordedMessages messages;
  CompressedBitmapNote note;
  Canvas canvas(4, 4);
  for (int redraw = 0; redraw < 2; ++redraw) {
    CcfReader reader(image, messages);
    DrawCcfBitmap(reader, kBitmap, 0, 0, canvas, Scale(1, 1), 0, 0, note);
    DrawCcfBitmap(reader, kBitmap, 2, 2, canvas, Scale(1, 1), 0, 0, note);
  }
  EXPECT_EQ(messages.entries(), std::vector{kCompressed});
  note.Clear();
  CcfReader reader(image, messages);
  RenderCcfBitmap(reader, kBitmap, Scale(1, 1), note);
  EXPECT_EQ(messages.entries(), (std::vector{kCompressed, kCompressed}));
}

TEST(CanvasSink, BitmapZeroDoesNothing) {
  CcfImage image = BitmapImage(1, 1, 0, {0});
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  CompressedBitmapNote note;
  Canvas canvas(2, 2);
  DrawCcfBitmap(reader, 0, 0, 0, canvas, Scale(1, 1), 0, 0, note);
  EXPECT_EQ(Pixels(canvas), std::vector<Rgb>(4, kWhite));
}

TEST(Canvas, ResetRefillsAndWholeRowBandsFill) {
  Canvas canvas(3, 3, kBlack);
  canvas.FillRect(-1, 1, 9, 3, Rgb{1, 2, 3});  // rows 1 and 2 whole
  std::vector<Rgb> expected(9, Rgb{1, 2, 3});
  expected[0] = expected[1] = expected[2] = kBlack;
  EXPECT_EQ(Pixels(canvas), expected);
  canvas.Reset(5, 7, Rgb{4, 5, 6});
  EXPECT_EQ(Pixels(canvas), std::vector<Rgb>(35, Rgb{4, 5, 6}));
  canvas.Reset(2, 2);
  EXPECT_EQ(Pixels(canvas), std::vector<Rgb>(4, kWhite));
  canvas.Reset(4, 4, kBlack);  // grows again within the kept storage
  EXPECT_EQ(Pixels(canvas), std::vector<Rgb>(16, kBlack));
}

TEST(Canvas, WritesAreClipped) {
  Canvas canvas(4, 3);
  canvas.SetPixel(-1, 0, kBlack);
  canvas.SetPixel(4, 0, kBlack);
  canvas.SetPixel(0, 3, kBlack);
  EXPECT_EQ(Pixels(canvas), std::vector<Rgb>(12, kWhite));
  canvas.FillRect(-100, -100, 2, 2, kBlack);
  canvas.FillRect(3, 2, 1000, 1000, Rgb{1, 2, 3});
  std::vector<Rgb> expected(12, kWhite);
  expected[0] = expected[1] = expected[4] = expected[5] = kBlack;
  expected[11] = Rgb{1, 2, 3};
  EXPECT_EQ(Pixels(canvas), expected);
  canvas.FillRect(2, 0, 2, 3, kBlack);  // empty: right edge excluded
  EXPECT_EQ(Pixels(canvas), expected);
  EXPECT_EQ(canvas.Pixel(-5, 0), kBlack);
  const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
  const std::vector<Rgb> row = {red, green, blue};
  canvas.PutRow(-2, 1, row);  // blue at 0
  canvas.PutRow(2, 1, row);   // red at 2, green at 3
  canvas.PutRow(4, 1, row);
  canvas.PutRow(-3, 1, row);
  canvas.PutRow(0, -1, row);
  canvas.PutRow(0, 3, row);
  expected[4] = blue;
  expected[6] = red;
  expected[7] = green;
  EXPECT_EQ(Pixels(canvas), expected);
}

TEST(Canvas, HatchPaintsOnlyTheDiagonalLines) {
  Canvas canvas(16, 16);
  canvas.HatchRect(0, 0, 16, 16, kBlack);
  int painted = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      bool line = (x + y) % 8 == 0 || (x - y + 16) % 8 == 0;
      EXPECT_EQ(canvas.Pixel(x, y) == kBlack, line) << x << "," << y;
      painted += line;
    }
  }
  EXPECT_GT(painted, 0);
}

}  // namespace
}  // namespace velmora
