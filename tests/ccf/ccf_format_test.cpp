#include "converter/ccf/ccf_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "tests/support/ccf_builder.h"

namespace velmora {
namespace {

using ccf_builder::AliasAction;
using ccf_builder::CcfBuilder;
using ccf_builder::IrAction;

uint32_t FindIn(const CcfBuilder& b, uint32_t actions, bool includeIr = true) {
  CcfImage image(b.bytes(), "ir.ccf");
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  uint32_t code = FindIrCode(reader, actions, includeIr);
  EXPECT_TRUE(messages.entries().empty());
  return code;
}

TEST(FormatFlags, AttributeBitsSetTheFlagsIndependently) {
  EXPECT_EQ(FormatFromAttributes(0), (CcfFormat{false, false}));
  EXPECT_EQ(FormatFromAttributes(0x00000100), (CcfFormat{true, false}));
  EXPECT_EQ(FormatFromAttributes(0x00040000), (CcfFormat{false, true}));
  EXPECT_EQ(FormatFromAttributes(0xFFFFFFFF), (CcfFormat{true, true}));
  EXPECT_EQ(FormatFromAttributes(0xFFFBFEFF), (CcfFormat{false, false}));
}

TEST(FormatFields, OffsetsFollowTheColourLayout) {
  CcfFormat plain{false, true}, colour{true, false};
  EXPECT_EQ(DeviceFirstPanelField(plain), 60u);
  EXPECT_EQ(DeviceFirstPanelField(colour), 76u);
  EXPECT_EQ(HardKeyCount(plain), 7);
  EXPECT_EQ(HardKeyCount(colour), 9);
  EXPECT_EQ(FrameChildCountField(plain), 19u);
  EXPECT_EQ(FrameChildCountField(colour), 22u);
  EXPECT_EQ(FrameChildrenField(plain), 20u);
  EXPECT_EQ(FrameChildrenField(colour), 23u);
  EXPECT_EQ(ButtonBitmapField(false, false), 18u);
  EXPECT_EQ(ButtonBitmapField(false, true), 22u);
  EXPECT_EQ(ButtonBitmapField(true, false), 26u);
  EXPECT_EQ(ButtonBitmapField(true, true), 30u);
  EXPECT_EQ(ButtonColourField(false, plain), 34u);
  EXPECT_EQ(ButtonColourField(true, plain), 36u);
  EXPECT_EQ(ButtonColourField(false, colour), 34u);
  EXPECT_EQ(ButtonColourField(true, colour), 42u);
  EXPECT_EQ(IrCodeWordsField(plain), 12u);  // the IR header follows its own flag
  EXPECT_EQ(IrCodeWordsField(colour), 6u);
}

TEST(FormatFields, ColourValuesAreOneByteOrFour) {
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour});
    uint32_t button = b.AddButton({.colours = {0x11223344, 0xAABBCCDD}});
    uint32_t frame = b.AddFrame({.colour = 0x01020304});
    CcfImage image(b.bytes(), "c.ccf");
    common::RecordedMessages messages;
    CcfReader reader(image, messages);
    CcfFormat format{colour, false};
    EXPECT_EQ(ReadButtonColour(reader, button, false, format), colour ? 0x11223344u : 0x44u);
    EXPECT_EQ(ReadButtonColour(reader, button, true, format), colour ? 0xAABBCCDDu : 0xDDu);
    EXPECT_EQ(ReadFrameColour(reader, frame, format), colour ? 0x01020304u : 0x04u);
  }
}

TEST(ButtonListName, LabelOrSecondNameCutTo244) {
  CcfBuilder b;
  std::string longLabel(250, 'L');
  uint32_t labelled = b.AddButton({.label = longLabel, .secondName = "Second"});
  uint32_t unlabelled = b.AddButton({.label = "", .secondName = "Second"});
  uint32_t nameless = b.AddButton({});
  CcfImage image(b.bytes(), "b.ccf");
  common::RecordedMessages messages;
  CcfReader reader(image, messages);
  EXPECT_EQ(ReadButtonListName(reader, labelled), std::string(244, 'L'));
  EXPECT_EQ(ReadButtonListName(reader, unlabelled), "Second");
  EXPECT_EQ(ReadButtonListName(reader, nameless), "");
}

TEST(FindIrCode, FirstIrActionWithZeroFirstParameterWins) {
  CcfBuilder b;
  uint32_t code1 = b.AddIrCode({ccf_builder::Rc5Code(0, 1)});
  uint32_t code2 = b.AddIrCode({ccf_builder::Rc5Code(0, 2)});
  uint32_t list = b.AddActionList({{1, 7, code1}, {9, 0, code1}, IrAction(code2), IrAction(code1)});
  EXPECT_EQ(FindIn(b, list), code2);
  EXPECT_EQ(FindIn(b, list, false), 0u);
  EXPECT_EQ(FindIn(b, 0), 0u);
}

TEST(FindIrCode, AliasToAButtonWithACodeReturnsThatCode) {
  CcfBuilder b;
  uint32_t code = b.AddIrCode({ccf_builder::Rc5Code(0, 1)});
  uint32_t target = b.AddButton({.actions = b.AddActionList({IrAction(code)})});
  uint32_t empty = b.AddButton({.actions = b.AddActionList({})});
  uint32_t list = b.AddActionList({AliasAction(empty), AliasAction(target)});
  EXPECT_EQ(FindIn(b, list), code);
  EXPECT_EQ(FindIn(b, b.AddActionList({AliasAction(empty)})), 0u);
}

TEST(FindIrCode, AliasLoopsEndWithoutACode) {
  CcfBuilder b;
  uint32_t selfButton = b.AddButton({});
  uint32_t selfList = b.AddActionList({AliasAction(selfButton)});
  b.Patch32(selfButton + CcfBuilder::kButtonActionsField, selfList);
  EXPECT_EQ(FindIn(b, selfList), 0u);

  uint32_t a = b.AddButton({}), c = b.AddButton({});
  uint32_t code = b.AddIrCode({ccf_builder::Rc5Code(0, 3)});
  uint32_t listA = b.AddActionList({AliasAction(c)});
  uint32_t listC = b.AddActionList({AliasAction(a), IrAction(code)});
  b.Patch32(a + CcfBuilder::kButtonActionsField, listA);
  b.Patch32(c + CcfBuilder::kButtonActionsField, listC);
  EXPECT_EQ(FindIn(b, listA), code);  // the loop branch gives 0, the search goes on
}

TEST(FindIrCode, ADeepAliasChainStopsAtTheDepthCap) {
  CcfBuilder b;
  uint32_t code = b.AddIrCode({ccf_builder::Rc5Code(0, 1)});
  uint32_t list = b.AddActionList({IrAction(code)});
  for (int i = 0; i < kMaxAliasDepth; ++i) {
    list = b.AddActionList({AliasAction(b.AddButton({.actions = list}))});
  }
  EXPECT_EQ(FindIn(b, list), code);  // kMaxAliasDepth aliases still reach the code
  list = b.AddActionList({AliasAction(b.AddButton({.actions = list}))});
  EXPECT_EQ(FindIn(b, list), 0u);
}

TEST(FindIrCode, AFanOutOfAliasesIsSearchedOnce) {
  // 20 levels of 255 aliases each to the next level: 255^20 searches unguarded.
  CcfBuilder b;
  uint32_t list = b.AddActionList({});
  for (int level = 0; level < 20; ++level) {
    uint32_t button = b.AddButton({.actions = list});
    list = b.AddActionList(std::vector<ccf_builder::Action>(255, AliasAction(button)));
  }
  EXPECT_EQ(FindIn(b, list), 0u);
}

TEST(DeviceOfPanel, FindsTheFirstEntryOfThePanel) {
  std::vector<std::string> table = {"00000100 - 00000010", "00000200 - 00000020",
                                    "00000200 - 00000030"};
  EXPECT_EQ(DeviceOfPanel(table, 0x100), 0x10u);
  EXPECT_EQ(DeviceOfPanel(table, 0x200), 0x20u);
  EXPECT_EQ(DeviceOfPanel(table, 0x300), 0u);
  EXPECT_EQ(DeviceOfPanel({"00000100"}, 0x100), 0u);
}

}  // namespace
}  // namespace velmora
