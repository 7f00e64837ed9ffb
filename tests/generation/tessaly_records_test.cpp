#include "converter/output/tessaly_records.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

Bytes Zeros(size_t n) { return Bytes(n, 0); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(TessalyRecords, DatabaseInfoRecordBytes) {
  Bytes out;
  AppendDatabaseInfoRecord(out);
  Bytes expected = Concat({{0x00, 0x50, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00},
                           Zeros(16),
                           {0x0A},
                           {0x00, 0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x02},
                           Zeros(48)});
  EXPECT_EQ(out.size(), kDatabaseInfoRecordSize);
  EXPECT_EQ(out, expected);
}

TEST(TessalyRecords, RecordHeaderNameIsCutToFifteenCharacters) {
  Bytes out;
  AppendRecordHeader(out, "0123456789ABCDEFGH", kKindBitmap);
  ASSERT_EQ(out.size(), kRecordHeaderSize);
  EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 24), Concat({Text("0123456789ABCDE"), {0}}));
  EXPECT_EQ(out[24], kKindBitmap);
}

TEST(TessalyRecords, ControlRecordWithoutIrEndsWithMarker) {
  Bytes out;
  ControlRecord control{
      .x = -2, .y = 23, .width = 40, .height = 20, .label = "/Power", .glyph = 0x0B};
  AppendControlRecord(out, control, {}, kNoIrButton);
  Bytes expected = Concat({{0xFF, 0xFE, 0x00, 0x17, 0x00, 0x28, 0x00, 0x14},
                           Text("/Power"),
                           Zeros(9),
                           {0x0B},
                           {0x01, 0x00, 0x01, 0x38, 0x81}});
  EXPECT_EQ(out, expected);

  Bytes frame;
  AppendControlRecord(frame, control, {}, kNoIrFrame);
  EXPECT_EQ(frame.size(), 29u);
  EXPECT_EQ(frame.back(), 0x80);
}

TEST(TessalyRecords, ControlRecordCarriesIrBlockAndKeepsFourteenLabelCharacters) {
  Bytes out;
  const Bytes ir = {0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x00};
  AppendControlRecord(out, {.label = "ABCDEFGHIJKLMNOPQ"}, ir, kNoIrButton);
  ASSERT_EQ(out.size(), kControlFixedSize + ir.size());
  EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 23), Concat({Text("ABCDEFGHIJKLMN"), {0}}));
  EXPECT_EQ(Bytes(out.begin() + 24, out.end()), ir);
}

TEST(TessalyRecords, StyleRecordLayout) {
  Bytes out;
  StyleRecord style{.controlUniqueId = 0x1003,
                    .bitmapRef = 7,
                    .bitmapOffset = 0x00ABCDEF,
                    .pressedRef = 8,
                    .colourWord = 0x00031500,
                    .style = 3,
                    .text = "Power"};
  AppendStyleRecord(out, style);
  Bytes header;
  AppendRecordHeader(header, "", kKindStyle);
  Bytes expected = Concat({header,
                           {0x00, 0x00, 0x10, 0x03},
                           {0x00, 0x00},
                           Text("stdFont"),
                           Zeros(9),
                           {0x00, 0x07},
                           Text("00ABCDEF"),
                           Zeros(8),
                           {0xFF, 0xFF},
                           Zeros(16),
                           {0x00, 0x08},
                           {0xFF, 0xFF},
                           {0x00, 0x03, 0x15, 0x00},
                           {0x03},
                           {0x00, 0x06},
                           Text("Power"),
                           {0x00}});
  EXPECT_EQ(out, expected);
  EXPECT_EQ(out.size(), kStyleFixedSize + 6);
}

TEST(TessalyRecords, StyleRecordWithoutTextOrBitmap) {
  Bytes out;
  AppendStyleRecord(out, {.controlUniqueId = 0x1000, .style = 4});
  ASSERT_EQ(out.size(), kStyleFixedSize + 1);
  EXPECT_EQ(Bytes(out.begin() + 49, out.begin() + 65), Concat({Text("00000000"), Zeros(8)}));
  EXPECT_EQ(out[47], 0xFF);
  EXPECT_EQ(out[48], 0xFF);
  EXPECT_EQ(Bytes(out.end() - 3, out.end()), (Bytes{0x00, 0x01, 0x00}));
}

TEST(SpecialGlyphs, EachRowMapsItsByteToWordAndCode) {
  for (const SpecialGlyph& row : SpecialGlyphTable) {
    std::string label = std::string("A") + static_cast<char>(row.ccfByte) + "B";
    EXPECT_EQ(MapSpecialGlyph(label, true), row.code) << int(row.ccfByte);
    EXPECT_EQ(label, row.word);
  }
}

TEST(SpecialGlyphs, FirstRowInTableOrderWinsOverPositionInLabel) {
  std::string label = "\x87\x85";  // Play byte first, Pause row first in the table
  EXPECT_EQ(MapSpecialGlyph(label, true), 0x0E);
  EXPECT_EQ(label, "Pause");
}

TEST(SpecialGlyphs, WithoutTextTheWordReplacesTheLabelButTheCodeIsZero) {
  std::string label = "x\xA9";
  EXPECT_EQ(MapSpecialGlyph(label, false), 0);
  EXPECT_EQ(label, "Record");
}

TEST(SpecialGlyphs, OnlyTheFirstFifteenCharactersAreSearched) {
  std::string late = std::string(15, 'a') + "\x87";
  EXPECT_EQ(MapSpecialGlyph(late, true), 0);
  EXPECT_EQ(late, std::string(15, 'a') + "\x87");
  std::string last = std::string(14, 'a') + "\x87";
  EXPECT_EQ(MapSpecialGlyph(last, true), 0x0B);
  std::string plain = "Power";
  EXPECT_EQ(MapSpecialGlyph(plain, true), 0);
  EXPECT_EQ(plain, "Power");
}

}  // namespace
}  // namespace velmora
