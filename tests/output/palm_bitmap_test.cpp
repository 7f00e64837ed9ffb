#include "converter/output/palm_bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/palettes.h"
#include "tests/output/output_test_util.h"

namespace velmora {
namespace {

using testing::Slice;

// The 25-byte record header of a bitmap record, as the generator writes it.
Bytes RecordHeaderFor(const std::string& name) {
  Bytes out = {0x00, 0x50, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00};
  PutFixedText(out, name, 16);
  out.push_back(6);
  return out;
}

const Bytes kFixedBlock = {0x00, 0x01, 0x00, 0x04, 0x00, 0x0F, 0x00, 0x40, 0x00,
                           0x00, 0x00, 's',  't',  'd',  'F',  'o',  'n',  't',
                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

class BitmapRecordTest : public ::testing::Test {
 protected:
  bool over_64k = false;
  common::RecordedMessages messages;
  BitmapWarnings warnings{over_64k, messages};

  // A whole record: header, then the body.
  Bytes Record(const PalmBitmapSource& source, const std::string& name = "00000100") {
    Bytes record = RecordHeaderFor(name);
    AppendBitmapRecordBody(record, source, warnings);
    return record;
  }
};

Bytes PalmHeader(std::uint16_t w, std::uint16_t h, std::uint16_t row_bytes, std::uint8_t depth) {
  Bytes out;
  PutU16(out, w);
  PutU16(out, h);
  PutU16(out, row_bytes);
  PutU16(out, 0);
  const std::uint8_t rest[] = {depth, 2, 0, 0, 0, 0xFF, 0, 0};
  out.insert(out.end(), std::begin(rest), std::end(rest));
  return out;
}

TEST(PalmDepth, FollowsTheCcfFlags) {
  EXPECT_EQ(PalmPixelSize(0x0000), 1);
  EXPECT_EQ(PalmPixelSize(0x0100), 2);
  EXPECT_EQ(PalmPixelSize(0x0001), 8);
  EXPECT_EQ(PalmPixelSize(0x0101), 8);
  EXPECT_EQ(PalmPixelSize(0x8001), 8);  // compressed 8-bit: still an 8-bit part
  EXPECT_EQ(PalmPixelSize(0x8000), 0);
  EXPECT_EQ(PalmPixelSize(0x8100), 0);
  EXPECT_EQ(PalmPixelSize(0x7EFE), 1);  // only bits 0, 8 and 15 count
}

TEST(PalmDepth, RowBytesAreEven) {
  EXPECT_EQ(PalmRowBytes(1, 10), 2u);
  EXPECT_EQ(PalmRowBytes(1, 17), 4u);
  EXPECT_EQ(PalmRowBytes(2, 5), 2u);
  EXPECT_EQ(PalmRowBytes(2, 9), 4u);
  EXPECT_EQ(PalmRowBytes(8, 3), 4u);
  EXPECT_EQ(PalmRowBytes(8, 300), 300u);
  EXPECT_EQ(PalmRowBytes(8, 0), 0u);
}

TEST(BitmapNames, PressedBitmapsCarryTheUnselectedDigitsAndDn) {
  EXPECT_EQ(BitmapRecordName("0000ABCD"), "0000ABCD");
  EXPECT_EQ(BitmapRecordName("0000ABCD00001234"), "00001234Dn");
}

TEST_F(BitmapRecordTest, OneBit10x2IsInvertedAndPadded) {
  // Row 0: white, black, then alternating; row 1: all black.
  std::vector<std::uint8_t> pixels = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Bytes record = Record({1, 10, 2, pixels});
  ASSERT_EQ(record.size(), 136u);
  Bytes expected = RecordHeaderFor("00000100");
  expected.insert(expected.end(), kFixedBlock.begin(), kFixedBlock.end());
  PutU32(expected, 20);
  Bytes header = PalmHeader(10, 2, 2, 1);
  expected.insert(expected.end(), header.begin(), header.end());
  expected.insert(expected.end(), {0x55, 0x40, 0xFF, 0xC0});
  PutZeros(expected, 60);
  EXPECT_EQ(record, expected);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(BitmapRecordTest, TwoBit5x3GivesTwoZeroBytesAfterTheRows) {
  std::vector<std::uint8_t> pixels = {0, 1, 2, 3, 0, 3, 3, 3, 3, 3, 1, 1, 1, 1, 1};
  Bytes bitmap;
  AppendPalmBitmap(bitmap, {2, 5, 3, pixels});
  Bytes expected = PalmHeader(5, 3, 2, 2);
  // Palm level = 3 - grey level: 3 2 1 0 | 3 -> 0xE4 0xC0.
  expected.insert(expected.end(), {0xE4, 0xC0, 0x00, 0x00, 0xAA, 0x80, 0x00, 0x00});
  EXPECT_EQ(bitmap, expected);
  EXPECT_EQ(Record({2, 5, 3, pixels}).size(), 25u + 27 + 4 + 16 + 8 + 60);
}

TEST_F(BitmapRecordTest, EightBit3x3PadsEachRowToEven) {
  std::vector<std::uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  Bytes record = Record({8, 3, 3, pixels});
  ASSERT_EQ(record.size(), 25u + 27 + 4 + 16 + 12 + 60);
  EXPECT_EQ(Slice(record, 52, 4), (Bytes{0, 0, 0, 28}));
  EXPECT_EQ(Slice(record, 56, 16), PalmHeader(3, 3, 4, 8));
  EXPECT_EQ(Slice(record, 72, 12), (Bytes{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}));
  EXPECT_EQ(Slice(record, 84, 60), Bytes(60, 0));
}

TEST_F(BitmapRecordTest, CompressedOneAndTwoBitBitmapsHaveNoBitmapPart) {
  Bytes record = Record({0, 4, 4, {}});
  Bytes expected = RecordHeaderFor("00000100");
  expected.insert(expected.end(), kFixedBlock.begin(), kFixedBlock.end());
  PutZeros(expected, 60);
  EXPECT_EQ(record, expected);
  EXPECT_EQ(record.size(), 112u);
}

TEST_F(BitmapRecordTest, OverSixtyFourKIsWarnedOnceAndWrittenWhole) {
  std::vector<std::uint8_t> pixels(300 * 220, 7);
  Bytes first = Record({8, 300, 220, pixels});
  Bytes second = Record({8, 300, 220, pixels});
  ASSERT_EQ(first.size(), 25u + 27 + 4 + 16 + 66000 + 60);
  EXPECT_EQ(Slice(first, 52, 4), (Bytes{0x00, 0x01, 0x01, 0xE0}));  // 66016
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[72 + 65999], 7);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{
                                  "Record exceeds 64K: This panel contains a bitmap which is too "
                                  "large, the PDB file generated will be invalid."});
}

TEST_F(BitmapRecordTest, SizesBeyondSixteenBitsAreLeftOutAfterTheWarning) {
  Bytes record = Record({1, 70000, 1, {}});
  EXPECT_EQ(record.size(), 112u);
  EXPECT_EQ(messages.entries().size(), 1u);
}

TEST_F(BitmapRecordTest, ShortPixelBuffersReadAsZero) {
  std::vector<std::uint8_t> pixels = {5};
  Bytes bitmap;
  AppendPalmBitmap(bitmap, {8, 2, 2, pixels});
  EXPECT_EQ(Slice(bitmap, 16, 4), (Bytes{5, 0, 0, 0}));
}

// A CCF image holding one bitmap at offset 4.
CcfImage ImageWithBitmap(std::uint16_t w, std::uint16_t h, std::uint16_t flags, const Bytes& data) {
  Bytes bytes = {0, 0, 0, 0, 0, 0};
  PutU16(bytes, w);
  PutU16(bytes, h);
  PutU16(bytes, flags);
  bytes.insert(bytes.end(), data.begin(), data.end());
  return CcfImage(bytes, "bitmap.ccf");
}

class RenderedBitmapTest : public BitmapRecordTest {
 protected:
  CompressedBitmapNote note;

  Bytes RenderRecord(const CcfImage& image, float sx, float sy) {
    CcfReader reader(image, messages);
    LayoutTransform layout;
    layout.scaleX = sx;
    layout.scaleY = sy;
    std::optional<CcfBitmapPixels> rendered = RenderCcfBitmap(reader, 4, layout, note);
    EXPECT_TRUE(rendered.has_value());
    if (!rendered) return {};
    return Record(PalmBitmapSourceOf(*rendered));
  }
};

TEST_F(RenderedBitmapTest, HalfScaleSamplesEveryOtherColumn) {
  // 8-bit, 9 x 1: colour indexes 0..8; columns 0, 2, 4, 6 are kept.
  CcfImage image = ImageWithBitmap(9, 1, 0x0001, {0, 1, 2, 3, 4, 5, 6, 7, 8});
  Bytes record = RenderRecord(image, 0.5f, 1.0f);
  EXPECT_EQ(Slice(record, 56, 16), PalmHeader(4, 1, 4, 8));
  EXPECT_EQ(Slice(record, 72, 4),
            (Bytes{PalmIndexMap[0], PalmIndexMap[2], PalmIndexMap[4], PalmIndexMap[6]}));
}

TEST_F(RenderedBitmapTest, DoubleScaleRepeatsEachPixelAsABlock) {
  // 1-bit, 2 x 1: white, black -> Palm rows 0011 0000 twice.
  CcfImage image = ImageWithBitmap(2, 1, 0x0000, {0x80});
  Bytes record = RenderRecord(image, 2.0f, 2.0f);
  EXPECT_EQ(Slice(record, 56, 16), PalmHeader(4, 2, 2, 1));
  EXPECT_EQ(Slice(record, 72, 4), (Bytes{0x30, 0x00, 0x30, 0x00}));
}

TEST_F(RenderedBitmapTest, TwoBitScalesDifferentlyAcrossAndDown) {
  // 2-bit, 3 x 2, rows of 2 bytes: row 0 holds levels 0, 1, 2. Scale 1.5 x 0.5
  // gives 4 x 1 sampling source columns 0, 0, 1, 2 of row 0.
  CcfImage image = ImageWithBitmap(3, 2, 0x0100, {0x1B, 0x00, 0xFF, 0x00});
  Bytes record = RenderRecord(image, 1.5f, 0.5f);
  EXPECT_EQ(Slice(record, 56, 16), PalmHeader(4, 1, 2, 2));
  EXPECT_EQ(Slice(record, 72, 4), (Bytes{0xF9, 0x00, 0x00, 0x00}));
  EXPECT_EQ(record.size(), 25u + 27 + 4 + 16 + 4 + 60);
}

TEST_F(RenderedBitmapTest, CompressedEightBitBitmapsBecomeIndexZero) {
  CcfImage image = ImageWithBitmap(3, 1, 0x8001, {9, 9, 9});
  Bytes record = RenderRecord(image, 1.0f, 1.0f);
  EXPECT_EQ(Slice(record, 56, 16), PalmHeader(3, 1, 4, 8));
  EXPECT_EQ(Slice(record, 72, 4), Bytes(4, 0));
  EXPECT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0].caption, "Unsupported feature");
}

#ifndef _WIN32
// The Palm bitmap (record bytes 56 on) decoded by netpbm's palmtopnm.
struct Pnm {
  std::string magic;
  int width = 0, height = 0, maxval = 1;
  Bytes data;
};

Pnm DecodeWithPalmtopnm(const Bytes& record) {
  testing::ScratchDir dir;
  std::string palm = dir.File("bitmap.palm"), pnm = dir.File("bitmap.pnm");
  testing::WriteWholeFile(palm, Bytes(record.begin() + kPalmBitmapOffsetInRecord, record.end()));
  std::string command = "palmtopnm '" + palm + "' > '" + pnm + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  Bytes file = testing::ReadWholeFile(pnm);
  Pnm out;
  std::string text(file.begin(), file.end());
  std::istringstream in(text);
  in >> out.magic >> out.width >> out.height;
  if (out.magic != "P4") in >> out.maxval;
  std::size_t start = static_cast<std::size_t>(in.tellg()) + 1;  // one whitespace byte
  out.data.assign(file.begin() + static_cast<std::ptrdiff_t>(std::min(start, file.size())),
                  file.end());
  return out;
}

TEST_F(BitmapRecordTest, PalmtopnmReadsOneBitRecordsAsTheCcfPixels) {
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < 13 * 3; ++i) pixels.push_back((i * 7 % 3) == 0 ? 1 : 0);
  Pnm pnm = DecodeWithPalmtopnm(Record({1, 13, 3, pixels}));
  ASSERT_EQ(pnm.magic, "P4");
  ASSERT_EQ(pnm.width, 13);
  ASSERT_EQ(pnm.height, 3);
  ASSERT_EQ(pnm.data.size(), 2u * 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 13; ++x) {
      bool black = (pnm.data[2 * y + x / 8] >> (7 - x % 8)) & 1;
      EXPECT_EQ(black, pixels[13 * y + x] == 0) << x << "," << y;
    }
  }
}

TEST_F(BitmapRecordTest, PalmtopnmReadsTwoBitRecordsAsTheGreyLevels) {
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < 7 * 2; ++i) pixels.push_back(static_cast<std::uint8_t>(i % 4));
  Pnm pnm = DecodeWithPalmtopnm(Record({2, 7, 2, pixels}));
  ASSERT_EQ(pnm.magic, "P5");
  ASSERT_EQ(pnm.maxval, 3);
  ASSERT_EQ(pnm.width, 7);
  ASSERT_EQ(pnm.height, 2);
  EXPECT_EQ(pnm.data, Bytes(pixels.begin(), pixels.end()));
}

TEST_F(BitmapRecordTest, PalmtopnmReadsEightBitRecordsInThePalmPalette) {
  std::vector<std::uint8_t> pixels;
  // Every CCF colour through the index map (palmtopnm knows the 232 Palm colours it uses).
  for (int i = 0; i < 17 * 16; ++i) pixels.push_back(PalmIndexMap[i * 37 % 256]);
  Pnm pnm = DecodeWithPalmtopnm(Record({8, 17, 16, pixels}));
  ASSERT_EQ(pnm.magic, "P6");
  ASSERT_EQ(pnm.width, 17);
  ASSERT_EQ(pnm.height, 16);
  ASSERT_EQ(pnm.data.size(), pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    Rgb expected = PalmPalette[pixels[i]];
    EXPECT_EQ((Rgb{pnm.data[3 * i], pnm.data[3 * i + 1], pnm.data[3 * i + 2]}), expected)
        << "pixel " << i << " index " << int{pixels[i]};
  }
}
TEST_F(RenderedBitmapTest, PalmtopnmReadsADecodedCompressedBitmapAsItsGreyLevels) {
  // Size 13, 7 x 2, flags 0x8100: literal 1 2 3, five 0s, literal 3 2 1, literal 0 1 2, padding.
  const Bytes bytes = {0, 0, 0, 0, 0, 13, 0, 7, 0, 2, 0x81, 0x00, 0x1B, 0x84, 0x39, 0x06, 0x00};
  note.decode = true;
  Pnm pnm = DecodeWithPalmtopnm(RenderRecord(CcfImage(bytes, "c.ccf"), 1.0f, 1.0f));
  ASSERT_EQ(pnm.magic, "P5");
  ASSERT_EQ(pnm.width, 7);
  ASSERT_EQ(pnm.height, 2);
  EXPECT_EQ(pnm.data, (Bytes{1, 2, 3, 0, 0, 0, 0, 0, 3, 2, 1, 0, 1, 2}));
  EXPECT_TRUE(messages.entries().empty());
}
#else
TEST(PalmtopnmDecoding, NeedsTheNativeBuild) {
  GTEST_SKIP() << "palmtopnm runs only in the native build";
}
#endif

}  // namespace
}  // namespace velmora
