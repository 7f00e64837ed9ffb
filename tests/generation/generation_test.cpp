// Whole generation runs on built CCF files: record order, counts, unique IDs,
// every record layout, the style and label rules, hard keys and failures.
#include "converter/output/generation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "converter/ccf/palettes.h"
#include "tests/generation/generation_fixture.h"

namespace velmora::gentest {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::Chain;
using ccf_builder::FrameItem;
using ccf_builder::IrAction;
using ccf_builder::ListEntry;
using Lines = std::vector<std::string>;

// Plain colour bytes: background level in bits 2-3, foreground in bits 0-1.
constexpr uint32_t kWhiteOnBlack = 0x00;      // background 0 (black), foreground 0
constexpr uint32_t kBlackOnWhite = 0x0C;      // background 3 (white), foreground 0 (black)
constexpr uint32_t kWhiteTextOnWhite = 0x0F;  // background 3, foreground 3

class GenerationTest : public ::testing::Test {
 protected:
  std::string Out() const { return dir_.File("Halvestone.PDB"); }

  // One device with one panel holding `items`, loaded into the form; the
  // panel becomes category 1 unless `asCategory` is false.
  FormState OnePanel(CcfBuilder& b, const std::vector<ccf_builder::PanelItem>& items,
                     bool asCategory = true, std::vector<uint32_t> hardKeys = {}) {
    panel_ = b.AddPanel({"Main", items});
    device_ = b.AddDevice({.name = "TV", .hardKeys = std::move(hardKeys), .panels = {panel_}});
    b.SetChain(Chain::kDevices, {device_});
    FormState form = LoadedForm(b, messages_);
    if (asCategory) form.categoryList.Add(ListEntry(panel_, "Main"));
    return form;
  }

  Database MustGenerate(FormState& form) {
    std::optional<Database> db = Generate(form, Out(), messages_);
    EXPECT_TRUE(db.has_value()) << ::testing::PrintToString(messages_.Lines());
    return db.value_or(Database{});
  }

  ScratchDir dir_;
  common::RecordedMessages messages_;
  uint32_t panel_ = 0;
  uint32_t device_ = 0;
};

TEST_F(GenerationTest, NoCategoriesNoButtonsGivesOnlyTheDatabaseInfoRecord) {
  CcfBuilder b;
  FormState form = OnePanel(b, {}, false);
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 1);
  EXPECT_EQ(db.file.size(), 354u + 8 + 81);
  EXPECT_EQ(db.records[0].offset, 362u);
  EXPECT_EQ(db.records[0].uniqueId, 0x1000u);
  EXPECT_EQ(db.records[0].category, 0);
  EXPECT_EQ(db.records[0].bytes[24], 10);
  EXPECT_TRUE(messages_.entries().empty());
}

// A plain unfiled button 40 x 20 without bitmap or IR: the whole database
// after the category block, byte for byte.
TEST_F(GenerationTest, UnfiledButtonRecordsByteExact) {
  CcfBuilder b;
  uint32_t power = b.AddButton({.width = 40,
                                .height = 20,
                                .label = "Power",
                                .fontSize = 8,
                                .colours = {kWhiteOnBlack, kBlackOnWhite}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, power)}, false);
  form.unfiledList.Add(ListEntry(power, "Power"));
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 3);
  EXPECT_EQ(db.records[0].offset, 378u);
  EXPECT_EQ(db.records[1].offset, 459u);
  EXPECT_EQ(db.records[2].offset, 488u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(db.records[i].uniqueId, 0x1000u + i);
    EXPECT_EQ(db.records[i].category, 0);
  }
  Bytes control = Join({{0x00, 0x0A, 0x00, 0x17, 0x00, 0x28, 0x00, 0x14},
                        TextBytes("Power"),
                        Bytes(10, 0),
                        {0x00},
                        kNoIrButtonMarker});
  EXPECT_EQ(db.records[1].bytes, control);
  Bytes style = Join({{0x00, 0x50, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00},
                      Bytes(16, 0),
                      {0x07},
                      {0x00, 0x00, 0x10, 0x01},
                      {0x00, 0x00},
                      TextBytes("stdFont"),
                      Bytes(9, 0),
                      {0xFF, 0xFF},
                      TextBytes("00000000"),
                      Bytes(8, 0),
                      {0xFF, 0xFF},
                      Bytes(16, 0),
                      {0xFF, 0xFF},
                      {0xFF, 0xFF},
                      {0x00, 0x02, 0x00, 0x00},
                      {0x04},
                      {0x00, 0x06},
                      TextBytes("Power"),
                      {0x00}});
  EXPECT_EQ(db.records[2].bytes, style);
  EXPECT_EQ(db.file.size(), 588u);
}

TEST_F(GenerationTest, ButtonStyleValuesFollowBitmapIrAndBackground) {
  CcfBuilder b;
  uint32_t ir = b.AddIrCode({ccf_builder::LearnedCode(0x6D, {{0x10, 0x20}, {0x30, 0x40}})});
  uint32_t actions = b.AddActionList({IrAction(ir)});
  uint32_t up = b.AddBitmap({.width = 2, .height = 1, .depth = 1, .pixels = {1, 0}});
  uint32_t down = b.AddBitmap({.width = 2, .height = 1, .depth = 1, .pixels = {0, 1}});
  uint32_t plainWhite = b.AddButton({.width = 10, .height = 10, .colours = {0, kBlackOnWhite}});
  uint32_t plainDark = b.AddButton({.width = 10, .height = 10, .colours = {0, kWhiteOnBlack}});
  uint32_t irWhite =
      b.AddButton({.width = 10, .height = 10, .actions = actions, .colours = {0, kBlackOnWhite}});
  uint32_t pictured = b.AddButton(
      {.width = 2, .height = 1, .bitmaps = {0, 0, up, down}, .colours = {0, kBlackOnWhite}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, plainWhite), ButtonItem(0, 0, plainDark),
                                ButtonItem(0, 0, irWhite), ButtonItem(0, 0, pictured)});
  form.hkCheck = false;
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 2 + 2 * 4 + 1);
  EXPECT_EQ(form.iconList.keys(), (Lines{OffsetToHex(up), OffsetToHex(down) + OffsetToHex(up)}));

  Style white = DecodeStyle(db.records[4].bytes);
  EXPECT_EQ(white.bitmapRef, 0xFFFF);
  EXPECT_EQ(white.style, 4);
  Style dark = DecodeStyle(db.records[6].bytes);
  EXPECT_EQ(dark.bitmapRef, 3);
  EXPECT_EQ(dark.style, 2);
  EXPECT_EQ(dark.colourWord, 0x00020000u);  // plain layout: no background byte
  Style withIr = DecodeStyle(db.records[8].bytes);
  EXPECT_EQ(withIr.bitmapRef, 0);
  EXPECT_EQ(withIr.style, 2);
  EXPECT_EQ(DecodeControl(db.records[7].bytes).ir,
            (Bytes{0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x00}));
  Style picture = DecodeStyle(db.records[10].bytes);
  EXPECT_EQ(picture.bitmapRef, 5);
  EXPECT_EQ(picture.pressedRef, 6);
  EXPECT_EQ(picture.style, 3);
  EXPECT_EQ(picture.digits, OffsetToHex(up));
}

TEST_F(GenerationTest, BitmapRecordsFollowIconListAndNamePressedBitmapsAfterTheirButton) {
  CcfBuilder b;
  uint32_t up =
      b.AddBitmap({.width = 10, .height = 2, .depth = 1, .pixels = std::vector<uint8_t>(20, 1)});
  uint32_t down =
      b.AddBitmap({.width = 10, .height = 2, .depth = 1, .pixels = std::vector<uint8_t>(20, 0)});
  uint32_t button = b.AddButton({.width = 10, .height = 2, .bitmaps = {0, 0, up, down}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, button)});
  form.hkCheck = false;
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 2 + 2 + 1);
  for (size_t i : {1, 2}) {
    ASSERT_EQ(db.records[i].bytes.size(), 136u);
    EXPECT_EQ(db.records[i].bytes[24], 6);
    EXPECT_EQ(db.records[i].category, 0);
  }
  auto name = [&](size_t i) {
    return std::string(reinterpret_cast<const char*>(db.records[i].bytes.data() + 8));
  };
  EXPECT_EQ(name(1), OffsetToHex(up));
  EXPECT_EQ(name(2), OffsetToHex(up) + "Dn");
  // The white unselected bitmap is all Palm 0 bits, the black pressed one all 1 bits.
  EXPECT_EQ(db.records[1].bytes[72], 0x00);
  EXPECT_EQ(db.records[2].bytes[72], 0xFF);
}

TEST_F(GenerationTest, LabelsGlyphsAndTexts) {
  CcfBuilder b;
  uint32_t play = b.AddButton({.label = "A\x87", .fontSize = 8});
  uint32_t power = b.AddButton({.label = "Power", .fontSize = 8});
  uint32_t silent = b.AddButton({.label = "x\x87", .fontSize = 0});
  uint32_t longer = b.AddButton({.label = "ABCDEFGHIJKLMNOPQRST", .fontSize = 8});
  uint32_t frame = b.AddFrame({.name = "\xA9 rec", .fontSize = 0});
  FormState form =
      OnePanel(b, {ButtonItem(0, 0, play), ButtonItem(0, 0, power), ButtonItem(0, 0, silent),
                   ButtonItem(0, 0, longer), FrameItem(0, 0, frame)});
  form.hkCheck = false;
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 11);
  struct Expected {
    std::string label;
    uint8_t glyph;
    std::string text;
  };
  const Expected expected[] = {{"/Play", 0x0B, ""},
                               {"Power", 0, "Power"},
                               {"/Play", 0, ""},
                               {"ABCDEFGHIJKLMN", 0, "ABCDEFGHIJKLMN"},
                               {"/Record", 0x0D, ""}};
  for (size_t i = 0; i < 5; ++i) {
    Control control = DecodeControl(db.records[1 + 2 * i].bytes);
    EXPECT_EQ(control.label, expected[i].label) << i;
    EXPECT_EQ(control.glyph, expected[i].glyph) << i;
    EXPECT_EQ(DecodeStyle(db.records[2 + 2 * i].bytes).text, expected[i].text) << i;
  }
}

TEST_F(GenerationTest, WithoutButtonTextEveryLabelIsAReference) {
  CcfBuilder b;
  uint32_t play = b.AddButton({.label = "A\x87", .fontSize = 8});
  uint32_t longer = b.AddButton({.label = "ABCDEFGHIJKLMNOPQRST", .fontSize = 8});
  uint32_t frame = b.AddFrame({.name = "\xA9", .fontSize = 8});
  FormState form =
      OnePanel(b, {ButtonItem(0, 0, play), ButtonItem(0, 0, longer), FrameItem(0, 0, frame)});
  form.hkCheck = false;
  form.includeTextCheck = false;
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 7);
  const std::string labels[] = {"/Play", "/ABCDEFGHIJKLM", "/Record"};
  for (size_t i = 0; i < 3; ++i) {
    Control control = DecodeControl(db.records[1 + 2 * i].bytes);
    EXPECT_EQ(control.label, labels[i]);
    EXPECT_EQ(control.glyph, 0);
    Style style = DecodeStyle(db.records[2 + 2 * i].bytes);
    EXPECT_EQ(style.text, "");
  }
}

TEST_F(GenerationTest, PositionsSumThroughFramesAndFollowTheLayout) {
  CcfBuilder b;
  uint32_t inner = b.AddButton({.width = 50, .height = 5});
  uint32_t innerFrame =
      b.AddFrame({.width = 60, .height = 20, .children = {ButtonItem(30, 1, inner)}});
  uint32_t outerFrame =
      b.AddFrame({.width = 100, .height = 40, .children = {FrameItem(20, 2, innerFrame)}});
  FormState form = OnePanel(b, {FrameItem(50, 2, outerFrame)});
  form.hkCheck = false;
  form.layoutEdits = {"0.66", "1.4", "1", "0"};
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 7);
  Control outer = DecodeControl(db.records[1].bytes);
  EXPECT_EQ(outer.x, 34);  // trunc(50 x 0.66 + 1)
  EXPECT_EQ(outer.width, 66);
  EXPECT_EQ(outer.ir, kNoIrFrameMarker);
  Control button = DecodeControl(db.records[5].bytes);
  EXPECT_EQ(button.x, 67);      // (50 + 20 + 30) x 0.66 + 1
  EXPECT_EQ(button.y, 19);      // trunc(5 x 1.39999997615814 + 13)
  EXPECT_EQ(button.width, 33);  // trunc(50 x 0.66)
  EXPECT_EQ(button.height, 6);  // 6.9999998 truncated
}

TEST_F(GenerationTest, NegativeOffsetsEnterAsTheirLow16Bits) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 4, .height = 4});
  FormState form = OnePanel(b, {ButtonItem(3, 0, button)});
  form.hkCheck = false;
  form.layoutEdits = {"0.5", "1", "-5", "-20"};
  Database db = MustGenerate(form);
  Control control = DecodeControl(db.records[1].bytes);
  EXPECT_EQ(control.x, -4);  // 65531 + 1.5 truncated is 65532, not trunc(-3.5)
  EXPECT_EQ(control.y, -7);
  EXPECT_EQ(control.width, 2);
}

TEST_F(GenerationTest, UnfiledButtonsAtTenTenWithoutOffsets) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 40, .height = 20});
  FormState form = OnePanel(b, {ButtonItem(100, 100, button)}, false);
  form.unfiledList.Add(ListEntry(button, ""));
  form.layoutEdits = {"2", "0.5", "40", "44"};
  Database db = MustGenerate(form);
  Control control = DecodeControl(db.records[1].bytes);
  EXPECT_EQ(control.x, 20);
  EXPECT_EQ(control.y, 18);
  EXPECT_EQ(control.width, 80);
  EXPECT_EQ(control.height, 10);
}

TEST_F(GenerationTest, FrameStyleUsesItsBitmapAndForegroundClassOnly) {
  CcfBuilder b({.colourFormat = true});
  uint32_t bitmap = b.AddBitmap({.width = 1, .height = 1, .depth = 8, .pixels = {5}});
  // Foreground index 215 (white: class 3), background index 5 (red).
  uint32_t pictured = b.AddFrame({.width = 1, .height = 1, .bitmap = bitmap, .colour = 0xD7000005});
  uint32_t bare = b.AddFrame({.colour = 0x00000005});
  FormState form = OnePanel(b, {FrameItem(0, 0, pictured), FrameItem(0, 0, bare)});
  form.hkCheck = false;
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 1 + 1 + 4);
  Style withBitmap = DecodeStyle(db.records[3].bytes);
  EXPECT_EQ(withBitmap.bitmapRef, 5);
  EXPECT_EQ(withBitmap.pressedRef, 0xFFFF);
  EXPECT_EQ(withBitmap.colourWord, 0x00030000u);
  EXPECT_EQ(withBitmap.style, 2);
  Style without = DecodeStyle(db.records[5].bytes);
  EXPECT_EQ(without.bitmapRef, 0xFFFF);  // no replacement for frames
  EXPECT_EQ(without.colourWord, 0x00020000u);
  EXPECT_EQ(without.style, 4);
  EXPECT_EQ(without.digits, "00000000");
}

TEST_F(GenerationTest, ColourFormatButtonCarriesBackgroundAndUsesFFFE) {
  CcfBuilder b({.colourFormat = true});
  uint32_t red = b.AddButton({.colours = {0, 0x00000005}});
  uint32_t white = b.AddButton({.colours = {0, 0xD70000D7}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, red), ButtonItem(0, 0, white)});
  form.hkCheck = false;
  Database db = MustGenerate(form);
  Style redStyle = DecodeStyle(db.records[2].bytes);
  EXPECT_EQ(redStyle.colourWord, 0x00020000u | uint32_t{PalmIndexMap[5]} << 8);
  EXPECT_EQ(redStyle.bitmapRef, 0xFFFE);
  EXPECT_EQ(redStyle.style, 2);
  Style whiteStyle = DecodeStyle(db.records[4].bytes);
  EXPECT_EQ(PalmIndexMap[0xD7], 0);
  EXPECT_EQ(whiteStyle.colourWord, 0x00030000u);
  EXPECT_EQ(whiteStyle.bitmapRef, 0xFFFF);
  EXPECT_EQ(whiteStyle.style, 4);
}

TEST_F(GenerationTest, InactiveSetAndNoPressedBitmaps) {
  CcfBuilder b;
  uint32_t bitmaps[4];
  for (uint32_t& bitmap : bitmaps)
    bitmap = b.AddBitmap({.width = 1, .height = 1, .depth = 1, .pixels = {1}});
  uint32_t button = b.AddButton({.width = 1,
                                 .height = 1,
                                 .bitmaps = {bitmaps[0], bitmaps[1], bitmaps[2], bitmaps[3]},
                                 .colours = {kWhiteTextOnWhite, kWhiteOnBlack}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, button)});
  form.hkCheck = false;
  form.activeButtonsCheck = false;
  form.clickedButtonsCheck = false;
  Database db = MustGenerate(form);
  EXPECT_EQ(form.iconList.keys(), Lines{OffsetToHex(bitmaps[0])});
  Style style = DecodeStyle(db.records[3].bytes);
  EXPECT_EQ(style.digits, OffsetToHex(bitmaps[0]));
  EXPECT_EQ(style.pressedRef, 0xFFFF);
  EXPECT_EQ(style.style, 2);
  EXPECT_EQ(style.colourWord, 0x00030000u);  // inactive colour: white text
}

TEST_F(GenerationTest, IconListHoldsCategoryBitmapsFirstThenUnfiledWithoutDuplicates) {
  CcfBuilder b;
  uint32_t first = b.AddBitmap({.width = 1, .height = 1, .depth = 1, .pixels = {1}});
  uint32_t second = b.AddBitmap({.width = 1, .height = 1, .depth = 1, .pixels = {0}});
  uint32_t shared = b.AddButton({.bitmaps = {0, 0, first, 0}});
  uint32_t own = b.AddButton({.bitmaps = {0, 0, second, 0}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, shared)});
  form.hkCheck = false;
  form.unfiledList.Add(ListEntry(own, ""));
  form.unfiledList.Add(ListEntry(shared, ""));
  Database db = MustGenerate(form);
  EXPECT_EQ(form.iconList.keys(), (Lines{OffsetToHex(first), OffsetToHex(second)}));
  ASSERT_EQ(db.count, 2 + 2 * 3 + 1);
  // Unfiled records come before the category's, in UnfiledList order.
  EXPECT_EQ(DecodeStyle(db.records[4].bytes).bitmapRef, 6);
  EXPECT_EQ(DecodeStyle(db.records[6].bytes).bitmapRef, 5);
  EXPECT_EQ(db.records[7].category, 1);
  EXPECT_EQ(db.records[5].category, 0);
}

TEST_F(GenerationTest, TwoCategoriesWithHardKeysCountsAndUniqueIds) {
  CcfBuilder b;
  uint32_t bitmap = b.AddBitmap({.width = 1, .height = 1, .depth = 1, .pixels = {1}});
  uint32_t button = b.AddButton({.bitmaps = {0, 0, bitmap, 0}});
  uint32_t frame = b.AddFrame({.children = {ButtonItem(1, 1, button)}});
  uint32_t second = b.AddPanel({"Second", {ButtonItem(0, 0, button)}});
  FormState form = OnePanel(b, {FrameItem(0, 0, frame)});
  (void)second;  // not in the device chain: a category whose device is unknown
  form.categoryList.Add(ListEntry(second, "Second"));
  Database db = MustGenerate(form);
  uint32_t items = 2 + 1;
  ASSERT_EQ(db.count, 1 + 2 * items + 1 + 14);
  for (size_t i = 0; i < db.records.size(); ++i) {
    EXPECT_EQ(db.records[i].uniqueId, 0x1000u + i);
    if (db.records[i].bytes.size() >= 25 && db.records[i].bytes[24] == 7 &&
        db.records[i].bytes.size() > 94) {
      EXPECT_EQ(DecodeStyle(db.records[i].bytes).controlId, db.records[i - 1].uniqueId);
      EXPECT_EQ(db.records[i].category, 0);
    }
  }
  // Category 1: frame, button, 7 keys; category 2: button, 7 keys.
  for (size_t i = 6; i < 13; ++i) EXPECT_EQ(db.records[i].category, 1) << i;
  EXPECT_EQ(db.records[13].category, 2);
  for (size_t i = 15; i < 22; ++i) EXPECT_EQ(db.records[i].category, 2) << i;
  EXPECT_EQ(DecodeControl(db.records[15].bytes).ir, kNoIrButtonMarker);
}

TEST_F(GenerationTest, PanelWithoutKnownDeviceGetsHardKeysWithoutIr) {
  CcfBuilder b;
  uint32_t ir = b.AddIrCode({ccf_builder::LearnedCode(0x6D, {{0x10, 0x20}})});
  uint32_t actions = b.AddActionList({IrAction(ir)});
  // Offset 0 + 20 is where the hard-key list of "device 0" would be read.
  b.Patch32(20, actions);
  uint32_t orphan = b.AddPanel({"Orphan", {}});
  FormState form = OnePanel(b, {}, false);
  form.categoryList.Add(ListEntry(orphan, "Orphan"));
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 1 + 7);
  for (size_t i = 1; i < 8; ++i)
    EXPECT_EQ(DecodeControl(db.records[i].bytes).ir, kNoIrButtonMarker);
}

TEST_F(GenerationTest, HardKeysOfTheSmallPreviewAndTheirIr) {
  CcfBuilder b;
  uint32_t ir = b.AddIrCode({ccf_builder::LearnedCode(0x6D, {{0x10, 0x20}, {0x30, 0x40}})});
  uint32_t left = b.AddActionList({IrAction(ir)});
  FormState form = OnePanel(b, {}, true, {left});
  PreviewComboChange(form, 0, messages_);
  ASSERT_EQ(form.image1.width, 160);
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 1 + 7);
  const int16_t tops[] = {20, 33, 46, 59, 72, 85, 98};
  const char* names[] = {"Left", "Right", "Vol -", "Vol +", "Ch +", "Ch -", "Mute"};
  for (size_t i = 0; i < 7; ++i) {
    const Record& record = db.records[1 + i];
    Control key = DecodeControl(record.bytes);
    EXPECT_EQ(record.category, 1);
    EXPECT_EQ(key.x, 125);
    EXPECT_EQ(key.y, tops[i]);
    EXPECT_EQ(key.width, 30);
    EXPECT_EQ(key.height, 9);
    EXPECT_EQ(key.label, names[i]);
    EXPECT_EQ(key.glyph, 0);
    const Bytes learned = {0x01, 0x00, 0x01, 0x29, 0x18, 0xE0, 0x7F, 0xC0, 0x00};
    EXPECT_EQ(key.ir, i == 0 ? learned : kNoIrButtonMarker);
  }
}

struct HardKeyCase {
  int preview;
  bool colourFormat;
  int16_t x, width, height;
  std::vector<int16_t> tops;
};

class HardKeyColumnTest : public GenerationTest,
                          public ::testing::WithParamInterface<HardKeyCase> {};

TEST_P(HardKeyColumnTest, KeysFollowThePreviewSize) {
  const HardKeyCase& c = GetParam();
  CcfBuilder b({.colourFormat = c.colourFormat});
  FormState form = OnePanel(b, {});
  PreviewComboChange(form, c.preview, messages_);
  Database db = MustGenerate(form);
  ASSERT_EQ(db.count, 1 + c.tops.size());
  for (size_t i = 0; i < c.tops.size(); ++i) {
    Control key = DecodeControl(db.records[1 + i].bytes);
    EXPECT_EQ(key.x, c.x);
    EXPECT_EQ(key.width, c.width);
    EXPECT_EQ(key.height, c.height);
    EXPECT_EQ(key.y, c.tops[i]) << i;
    EXPECT_EQ(key.label, kHardKeyNames[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PreviewSizes, HardKeyColumnTest,
    ::testing::Values(HardKeyCase{1, false, 188, 45, 19, {30, 58, 86, 114, 142, 170, 198}},
                      HardKeyCase{2, true, 250, 60, 19, {30, 58, 86, 114, 142, 170, 198, 226, 254}},
                      HardKeyCase{3, false, 188, 45, 13, {24, 43, 62, 81, 100, 119, 138}},
                      HardKeyCase{0, true, 125, 30, 9, {20, 33, 46, 59, 72, 85, 98, 111, 124}}),
    [](const ::testing::TestParamInfo<HardKeyCase>& info) {
      return "Preview" + std::to_string(info.param.preview) +
             (info.param.colourFormat ? "NineKeys" : "SevenKeys");
    });

TEST_F(GenerationTest, WithoutIrCodesButtonsGetTheMarker) {
  CcfBuilder b;
  uint32_t ir = b.AddIrCode({ccf_builder::Rc5Code(0, 0)});
  uint32_t button =
      b.AddButton({.actions = b.AddActionList({IrAction(ir)}), .colours = {0, kBlackOnWhite}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, button)});
  form.hkCheck = false;
  Database withIr = MustGenerate(form);
  EXPECT_EQ(withIr.records[1].bytes.size(), 24u + 221);
  form.includeIrCheck = false;
  Database without = MustGenerate(form);
  EXPECT_EQ(DecodeControl(without.records[1].bytes).ir, kNoIrButtonMarker);
  EXPECT_EQ(DecodeStyle(without.records[2].bytes).style, 4);
}

TEST_F(GenerationTest, CompressedNoteIsClearedWhenARunStarts) {
  CcfBuilder b;
  uint32_t packed =
      b.AddBitmap({.width = 4, .height = 4, .depth = 1, .compressed = true, .raw = {1, 2}});
  uint32_t packed2 =
      b.AddBitmap({.width = 4, .height = 4, .depth = 1, .compressed = true, .raw = {3}});
  uint32_t button = b.AddButton({.bitmaps = {0, 0, packed, packed2}});
  FormState form = OnePanel(b, {ButtonItem(0, 0, button)});
  common::RecordedMessages preview;
  form.compressedNote.WarnOnce(preview);
  ASSERT_TRUE(form.compressedNote.shown());
  MustGenerate(form);
  EXPECT_EQ(messages_.Lines(),
            std::vector<std::string>{std::string("Unsupported feature: ") + kCompressedBitmapText});
}

TEST_F(GenerationTest, CancelledSaveDialogWritesNothing) {
  CcfBuilder b;
  FormState form = OnePanel(b, {});
  FixedPathDialog dialog(std::nullopt);
  EXPECT_FALSE(GoBtnClick(form, dialog, messages_));
  EXPECT_EQ(dialog.offered(), "Halvestone.PDB");
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
  EXPECT_TRUE(messages_.entries().empty());
}

TEST_F(GenerationTest, BadLayoutFieldStopsBeforeAnythingIsWritten) {
  CcfBuilder b;
  FormState form = OnePanel(b, {});
  { std::ofstream(Out(), std::ios::binary) << "previous"; }
  form.layoutEdits.scaleY = "abc";
  EXPECT_FALSE(Generate(form, Out(), messages_).has_value());
  EXPECT_EQ(messages_.Lines(),
            std::vector<std::string>{"Velmora: 'abc' is not a valid floating point value"});
  EXPECT_EQ(ReadFileBytes(Out()), TextBytes("previous"));
}

TEST_F(GenerationTest, MoreThan65535RecordsAreRefusedAndTheOldDatabaseStays) {
  CcfBuilder b;
  uint32_t button = b.AddButton({});
  std::vector<ccf_builder::PanelItem> children(255, ButtonItem(0, 0, button));
  uint32_t frame = b.AddFrame({.children = children});
  std::vector<ccf_builder::PanelItem> items(20, FrameItem(0, 0, frame));
  std::vector<uint32_t> panels;
  for (int i = 0; i < 15; ++i) panels.push_back(b.AddPanel({"P" + std::to_string(i), items}));
  uint32_t device = b.AddDevice({.name = "Big", .panels = panels});
  b.SetChain(Chain::kDevices, {device});
  FormState form = LoadedForm(b, messages_);
  for (uint32_t panel : panels) form.categoryList.Add(ListEntry(panel, "P"));
  { std::ofstream(Out(), std::ios::binary) << "previous"; }
  EXPECT_FALSE(Generate(form, Out(), messages_).has_value());
  ASSERT_EQ(messages_.entries().size(), 1u);
  EXPECT_EQ(ReadFileBytes(Out()), TextBytes("previous"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(RecordTotal, CountsInSixtyFourBits) {
  EXPECT_EQ(RecordTotal(0, 0, 0, true, {}), 1u);
  EXPECT_EQ(RecordTotal(3, 5, 2, true, {}), 3u + 10 + 1 + 14);
  EXPECT_EQ(RecordTotal(3, 5, 2, true, {.colourFormat = true}), 3u + 10 + 1 + 18);
  EXPECT_EQ(RecordTotal(3, 5, 2, false, {.colourFormat = true}), 14u);
  EXPECT_EQ(RecordTotal(0, uint64_t{1} << 32, 0, false, {}), (uint64_t{1} << 33) + 1);
}

}  // namespace
}  // namespace velmora::gentest
