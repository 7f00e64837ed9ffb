#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ui/layout_fields.h"

namespace velmora {
namespace {

TEST(ScaleModes, FieldTextsAreFifteenSignificantDigitsOfTheSinglePrecisionValue) {
  EXPECT_EQ(ScaleModeEdits(0, '.'), (LayoutEdits{"1", "1", "0", "0"}));
  EXPECT_EQ(ScaleModeEdits(1, '.'),
            (LayoutEdits{"0.660000026226044", "0.670000016689301", "1", "2"}));
  EXPECT_EQ(ScaleModeEdits(2, '.'),
            (LayoutEdits{"0.660000026226044", "0.670000016689301", "1", "0"}));
  EXPECT_EQ(ScaleModeEdits(3, '.'),
            (LayoutEdits{"0.670000016689301", "0.670000016689301", "1", "3"}));
  EXPECT_EQ(ScaleModeEdits(4, '.'), (LayoutEdits{"1", "1", "40", "44"}));
  EXPECT_EQ(ScaleModeEdits(6, '.'), (LayoutEdits{"1", "1", "40", "88"}));
  EXPECT_EQ(ScaleModeEdits(7, '.'),
            (LayoutEdits{"1.33000004291534", "1.33000004291534", "0", "8"}));
  EXPECT_EQ(ScaleModeEdits(9, '.'),
            (LayoutEdits{"1.33000004291534", "1.33000004291534", "0", "16"}));
  EXPECT_EQ(ScaleModeEdits(10, '.'),
            (LayoutEdits{"1.33000004291534", "1.39999997615814", "0", "0"}));
  EXPECT_EQ(ScaleModeEdits(1, ',').scaleX, "0,660000026226044");
}

TEST(ScaleModes, ItemsAndPreviewSizesInComboOrder) {
  EXPECT_STREQ(ScaleModeTable[0].item, "Don't modify original");
  EXPECT_STREQ(ScaleModeTable[4].item, "Center on 320x320 screen and don't scale");
  EXPECT_STREQ(ScaleModeTable[10].item, "Scale to fit 320x320 screen (don't preserve aspect)");
  for (size_t i = 0; i < ScaleModeTable.size(); ++i) {
    EXPECT_EQ(ScaleModeTable[i].previewIndex, i >= 1 && i <= 3 ? 0 : 2) << i;
  }
  EXPECT_STREQ(PreviewSizes[0].item, "160x160 screen (160x147)");
  EXPECT_STREQ(PreviewSizes[3].item, "Original Pronto screen (240x219)");
  const int places[4][4] = {
      {88, 88, 160, 147}, {48, 8, 240, 307}, {8, 8, 320, 307}, {48, 58, 240, 219}};
  for (size_t i = 0; i < 4; ++i) {
    const PreviewSize& s = PreviewSizes[i];
    EXPECT_EQ((std::vector{s.left, s.top, s.width, s.height}),
              (std::vector{places[i][0], places[i][1], places[i][2], places[i][3]}));
  }
}

struct ReadResult {
  bool ok;
  LayoutEdits edits;
  LayoutTransform layout;
  std::vector<std::string> messages;
};

ReadResult Read(LayoutEdits edits, char separator = '.') {
  common::RecordedMessages messages;
  LayoutTransform layout{9, 9, 9, 9};
  bool ok = ReadLayoutEdits(edits, layout, separator, messages);
  return {ok, edits, layout, messages.Lines()};
}

TEST(ReadLayoutEdits, LimitsAreInclusiveAndOutOfRangeFieldsAreReset) {
  ReadResult edge = Read({"8", "0", "640", "-640"});
  EXPECT_TRUE(edge.ok);
  EXPECT_EQ(edge.edits, (LayoutEdits{"8", "0", "640", "-640"}));
  EXPECT_EQ(edge.layout.scaleX, 8.0f);
  EXPECT_EQ(edge.layout.scaleY, 0.0f);
  EXPECT_EQ(edge.layout.offsetX, 640);
  EXPECT_EQ(edge.layout.offsetY, -640);

  ReadResult beyond = Read({"8.5", "1.4", "641", "-641"});
  EXPECT_TRUE(beyond.ok);
  EXPECT_EQ(beyond.edits, (LayoutEdits{"1", "1.4", "0", "0"}));
  EXPECT_EQ(beyond.layout.scaleX, 1.0f);
  EXPECT_EQ(beyond.layout.scaleY, 1.4f);
  EXPECT_EQ(beyond.layout.offsetX, 0);
  EXPECT_EQ(beyond.layout.offsetY, 0);
  EXPECT_TRUE(beyond.messages.empty());
}

TEST(ReadLayoutEdits, NegativeAndNonFiniteScalesAreResetLikeLargeOnes) {
  for (const char* text : {"-1", "-0.001", "nan", "inf", "-inf", "1e999"}) {
    ReadResult r = Read({text, text, "0", "0"});
    EXPECT_TRUE(r.ok) << text;
    EXPECT_EQ(r.edits.scaleX, "1") << text;
    EXPECT_EQ(r.edits.scaleY, "1") << text;
    EXPECT_EQ(r.layout.scaleX, 1.0f) << text;
  }
}

TEST(ReadLayoutEdits, ABadScaleStopsBeforeAnythingIsLoaded) {
  ReadResult r = Read({"abc", "1", "0", "0"});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.messages,
            std::vector<std::string>{"Velmora: 'abc' is not a valid floating point value"});
  EXPECT_EQ(r.layout.scaleX, 9.0f);
  ReadResult y = Read({"2", "", "0", "0"});
  EXPECT_EQ(y.messages,
            std::vector<std::string>{"Velmora: '' is not a valid floating point value"});
  EXPECT_EQ(y.layout.scaleX, 9.0f);
}

TEST(ReadLayoutEdits, ABadOffsetKeepsTheScalesAlreadyLoaded) {
  ReadResult x = Read({"2", "3", "1.5", "0"});
  EXPECT_FALSE(x.ok);
  EXPECT_EQ(x.messages, std::vector<std::string>{"Velmora: '1.5' is not a valid integer value"});
  EXPECT_EQ(x.layout.scaleX, 2.0f);
  EXPECT_EQ(x.layout.scaleY, 3.0f);
  EXPECT_EQ(x.layout.offsetX, 9);
  ReadResult y = Read({"2", "3", "700", "x"});
  EXPECT_FALSE(y.ok);
  EXPECT_EQ(y.edits.offsetX, "0");  // reset before the bad field was met
  EXPECT_EQ(y.layout.offsetX, 9);
  EXPECT_EQ(y.layout.offsetY, 9);
}

TEST(ReadLayoutEdits, TheDecimalSeparatorIsAParameter) {
  ReadResult comma = Read({"0,5", "1", "0", "0"}, ',');
  EXPECT_TRUE(comma.ok);
  EXPECT_EQ(comma.layout.scaleX, 0.5f);
  EXPECT_FALSE(Read({"0.5", "1", "0", "0"}, ',').ok);
}

TEST(NumberTexts, WhatTheFieldsAccept) {
  double v = 0;
  EXPECT_TRUE(ParseFloatText(" 1.25 ", '.', v));
  EXPECT_EQ(v, 1.25);
  EXPECT_TRUE(ParseFloatText("+2e1", '.', v));
  EXPECT_EQ(v, 20);
  EXPECT_FALSE(ParseFloatText("1.2.3", '.', v));
  EXPECT_FALSE(ParseFloatText("++1", '.', v));
  EXPECT_FALSE(ParseFloatText("0x10", '.', v));
  int32_t i = 0;
  EXPECT_TRUE(ParseIntegerText(" -44 ", i));
  EXPECT_EQ(i, -44);
  EXPECT_TRUE(ParseIntegerText("+7", i));
  EXPECT_EQ(i, 7);
  EXPECT_FALSE(ParseIntegerText("99999999999", i));
  EXPECT_FALSE(ParseIntegerText("", i));
  EXPECT_FALSE(ParseIntegerText("-", i));
  EXPECT_FALSE(ParseIntegerText("1e3", i));
}

TEST(MapPoint, WorkedValues) {
  LayoutTransform fit{1.33f, 1.4f, 0, 0};
  EXPECT_EQ(MapSize(fit, 10, 5).height, 6);  // 6.9999998 truncated
  EXPECT_EQ(MapPoint(fit, 0, 5, MapTarget::kOutput).y, 19);
  EXPECT_EQ(MapPoint(fit, 0, 5, MapTarget::kPreview).y, 6);
  LayoutTransform small{0.66f, 0.67f, 1, 2};
  EXPECT_EQ(MapPoint(small, 100, 0, MapTarget::kOutput).x, 67);
  EXPECT_EQ(MapSize(small, 50, 0).width, 33);
  EXPECT_EQ(MapPoint(small, 10, 0, MapTarget::kPreview).x, 7);
  EXPECT_EQ(MapPoint(small, 30, 0, MapTarget::kPreview).x, 20);
  EXPECT_EQ(MapSize(LayoutTransform{0, 0, 5, 5}, 100, 100), (TargetSize{0, 0}));
}

TEST(MapPoint, OutputTakesPositionsAsSignedAndOffsetsAsUnsignedSixteenBits) {
  LayoutTransform half{0.5f, 1, -5, 0};
  EXPECT_EQ(MapPoint(half, 5, 0, MapTarget::kPreview).x, -2);  // trunc(-2.5)
  EXPECT_EQ(MapPoint(half, 5, 0, MapTarget::kOutput).x, -3);   // the next lower integer
  EXPECT_EQ(MapPoint(half, 20, 0, MapTarget::kOutput).x, 5);
  LayoutTransform one{1, 1, 0, 0};
  EXPECT_EQ(MapPoint(one, 0xFFFF, 0xFFF0, MapTarget::kOutput), (TargetPoint{-1, -3}));
  EXPECT_EQ(MapPoint(one, 0xFFFF, 0, MapTarget::kPreview).x, 0xFFFF);
}

struct HardKeyRow {
  int width, height, kw, kh, left;
  std::vector<int16_t> previewTops, outputTops;
};

TEST(HardKeyColumn, WorkedTableForThePreviewSizes) {
  std::vector<int16_t> tall = {19, 47, 75, 103, 131, 159, 187, 215, 243};
  std::vector<int16_t> tallOut = {30, 58, 86, 114, 142, 170, 198, 226, 254};
  std::vector<HardKeyRow> rows = {{160,
                                   147,
                                   30,
                                   9,
                                   125,
                                   {9, 22, 35, 48, 61, 74, 87, 100, 113},
                                   {20, 33, 46, 59, 72, 85, 98, 111, 124}},
                                  {240, 307, 45, 19, 188, tall, tallOut},
                                  {320, 307, 60, 19, 250, tall, tallOut},
                                  {240,
                                   219,
                                   45,
                                   13,
                                   188,
                                   {13, 32, 51, 70, 89, 108, 127, 146, 165},
                                   {24, 43, 62, 81, 100, 119, 138, 157, 176}}};
  for (const HardKeyRow& row : rows) {
    for (bool colour : {false, true}) {
      for (MapTarget target : {MapTarget::kPreview, MapTarget::kOutput}) {
        HardKeyGeometry g = HardKeyColumn(row.width, row.height, colour, target);
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
        EXPECT_EQ(g.count, colour ? 9 : 7);
        EXPECT_EQ(g.width, row.kw);
        EXPECT_EQ(g.height, row.kh);
        EXPECT_EQ(g.left, row.left);
        const std::vector<int16_t>& tops =
            target == MapTarget::kPreview ? row.previewTops : row.outputTops;
        EXPECT_EQ(std::vector<int16_t>(g.tops.begin(), g.tops.begin() + g.count),
                  std::vector<int16_t>(tops.begin(), tops.begin() + g.count));
        EXPECT_LT(g.left + g.width, 320);
      }
    }
  }
  EXPECT_STREQ(kHardKeyNames[2], "Vol -");
  EXPECT_STREQ(kHardKeyNames[8], "F-Right");
}

TEST(TruncToInt64, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(TruncToInt64(2.9), 2);
  EXPECT_EQ(TruncToInt64(-2.9), -2);
  EXPECT_EQ(TruncToInt64(1e300), int64_t{1} << 53);
  EXPECT_EQ(TruncToInt64(-1e300), -(int64_t{1} << 53));
  EXPECT_EQ(TruncToInt64(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace velmora
