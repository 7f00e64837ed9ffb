// The window's handlers on the form state: the two list editors, the layout
// handlers with the hard-key offset rule and the check-box chaining, and the
// panel click that fills ButtonList through the listing walk.
#include "converter/ui/form_handlers.h"

#include <gtest/gtest.h>

#include "converter/output/panel_walk.h"
#include "converter/ui/load.h"
#include "converter/ui/preview.h"
#include "tests/support/ccf_builder.h"

namespace velmora {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::FrameItem;
using ccf_builder::ListEntry;
using Lines = std::vector<std::string>;

// Image1 has no picture until the first redraw, which gives it Image1's size.
bool Redrawn(const FormState& form) { return form.image1Canvas.width() > 0; }

void Fill(ListBoxState& list, const std::vector<std::string>& items) {
  list.Clear();
  for (const std::string& item : items) list.Add(item);
}

std::string Panel(int i) {
  return ListEntry(0x100 + static_cast<uint32_t>(i), "P" + std::to_string(i));
}

TEST(CategoryList, AddsSelectedPanelsInListOrderSkippingHeadingsAndCopies) {
  FormState form;
  common::RecordedMessages messages;
  Fill(form.panelList, {"-- Home --", Panel(1), "-- Devices --", Panel(2), Panel(3)});
  Fill(form.categoryList, {Panel(3)});
  for (size_t i : {0, 1, 2, 4, 3}) form.panelList.Select(i);
  AddPanelBtnClick(form, messages);
  EXPECT_EQ(form.categoryList.items(), (std::vector<std::string>{Panel(3), Panel(1), Panel(2)}));
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(form.panelList.selection().size(), 5u);
}

TEST(CategoryList, SixteenthCategoryShowsTheMessageAndStopsTheClick) {
  FormState form;
  common::RecordedMessages messages;
  std::vector<std::string> panels;
  for (int i = 0; i < 17; ++i) panels.push_back(Panel(i));
  Fill(form.panelList, panels);
  for (int i = 0; i < 14; ++i) form.categoryList.Add(Panel(i));
  for (size_t i : {14, 15, 16}) form.panelList.Select(i);
  AddPanelBtnClick(form, messages);
  ASSERT_EQ(form.categoryList.size(), 15u);
  EXPECT_EQ(form.categoryList[14], Panel(14));
  EXPECT_EQ(messages.Lines(),
            std::vector<std::string>{"Too many categories: Only 15 categories are allowed per Palm "
                                     "database.  Either delete one or start a new database."});
}

TEST(CategoryList, DuplicateOfAFullListAddsNothingAndSaysNothing) {
  FormState form;
  common::RecordedMessages messages;
  std::vector<std::string> panels;
  for (int i = 0; i < 15; ++i) panels.push_back(Panel(i));
  Fill(form.panelList, panels);
  Fill(form.categoryList, panels);
  form.panelList.Select(3);
  AddPanelBtnClick(form, messages);
  EXPECT_EQ(form.categoryList.size(), 15u);
  EXPECT_TRUE(messages.entries().empty());
}

TEST(CategoryList, SameNameInTwoDevicesIsAcceptedTwice) {
  FormState form;
  common::RecordedMessages messages;
  Fill(form.panelList, {ListEntry(0x100, "Main"), ListEntry(0x200, "Main")});
  form.panelList.Select(0);
  form.panelList.Select(1);
  AddPanelBtnClick(form, messages);
  EXPECT_EQ(form.categoryList.size(), 2u);
}

TEST(CategoryList, NothingSelectedChangesNothing) {
  FormState form;
  common::RecordedMessages messages;
  Fill(form.panelList, {Panel(1)});
  Fill(form.buttonList, {Panel(2)});
  AddPanelBtnClick(form, messages);
  ButtonAddBtnClick(form);
  EXPECT_EQ(form.categoryList.size(), 0u);
  EXPECT_EQ(form.unfiledList.size(), 0u);
}

TEST(CategoryList, RemovingScatteredSelectionKeepsTheOrderOfTheRest) {
  FormState form;
  Fill(form.categoryList, {Panel(0), Panel(1), Panel(2), Panel(3), Panel(4), Panel(5)});
  for (size_t i : {0, 2, 5}) form.categoryList.Select(i);
  DelPanelBtnClick(form);
  EXPECT_EQ(form.categoryList.items(), (std::vector<std::string>{Panel(1), Panel(3), Panel(4)}));
  EXPECT_TRUE(form.categoryList.selection().empty());
}

TEST(UnfiledList, AcceptsMoreThanFifteenAndRemovesSelected) {
  FormState form;
  std::vector<std::string> buttons;
  for (int i = 0; i < 20; ++i) buttons.push_back(Panel(i));
  Fill(form.buttonList, buttons);
  for (size_t i = 0; i < 20; ++i) form.buttonList.Select(i);
  ButtonAddBtnClick(form);
  ButtonAddBtnClick(form);
  EXPECT_EQ(form.unfiledList.items(), buttons);
  form.unfiledList.Select(1);
  form.unfiledList.Select(19);
  ButtonDelBtnClick(form);
  EXPECT_EQ(form.unfiledList.size(), 18u);
  EXPECT_EQ(form.unfiledList[1], Panel(2));
}

class LayoutHandlers : public ::testing::Test {
 protected:
  FormState form_;
  common::RecordedMessages messages_;
};

TEST_F(LayoutHandlers, SmallScreenModeSetsTextsAndPreviewAndKeepsOffsetX) {
  ScaleComboChange(form_, 1, messages_);
  EXPECT_EQ(form_.layoutEdits, (LayoutEdits{"0.660000026226044", "0.670000016689301", "1", "2"}));
  EXPECT_EQ(form_.previewComboIndex, 0);
  EXPECT_EQ(form_.image1, (ImagePlacement{88, 88, 160, 147}));
  EXPECT_FLOAT_EQ(form_.layout.scaleX, 0.66f);
  EXPECT_EQ(form_.layout.offsetY, 2);
  EXPECT_EQ(form_.image1Canvas.width(), 160);
  EXPECT_EQ(form_.image1Canvas.height(), 147);
}

TEST_F(LayoutHandlers, HardKeysZeroOffsetXOnTheWidePreviewOnly) {
  ScaleComboChange(form_, 4, messages_);
  EXPECT_EQ(form_.layoutEdits.offsetX, "0");
  EXPECT_EQ(form_.layoutEdits.offsetY, "44");
  form_.hkCheck = false;
  ScaleComboChange(form_, 4, messages_);
  EXPECT_EQ(form_.layoutEdits.offsetX, "40");
  ScaleComboChange(form_, 0, messages_);
  EXPECT_EQ(form_.previewComboIndex, 2);
  EXPECT_EQ(form_.image1.width, 320);
}

TEST_F(LayoutHandlers, PreviewChoiceKeepsTypedFieldsExceptTheHardKeyRule) {
  form_.layoutEdits = {"2", "3", "17", "5"};
  PreviewComboChange(form_, 1, messages_);
  EXPECT_EQ(form_.layoutEdits, (LayoutEdits{"2", "3", "17", "5"}));
  EXPECT_EQ(form_.image1, (ImagePlacement{48, 8, 240, 307}));
  PreviewComboChange(form_, 2, messages_);
  EXPECT_EQ(form_.layoutEdits, (LayoutEdits{"2", "3", "0", "5"}));
  EXPECT_EQ(form_.layout.scaleX, 2.0f);
  PreviewComboChange(form_, 3, messages_);
  EXPECT_EQ(form_.image1, (ImagePlacement{48, 58, 240, 219}));
  PreviewComboChange(form_, -1, messages_);
  EXPECT_EQ(form_.image1, (ImagePlacement{48, 58, 240, 219}));
}

TEST_F(LayoutHandlers, UncheckingIrUnchecksHardKeysAndReappliesTheMode) {
  form_.layoutEdits = {"2", "3", "17", "5"};
  SetIncludeIRCheck(form_, false, messages_);
  EXPECT_FALSE(form_.includeIrCheck);
  EXPECT_FALSE(form_.hkCheck);
  EXPECT_EQ(form_.layoutEdits, (LayoutEdits{"1", "1", "40", "44"}));
  EXPECT_TRUE(Redrawn(form_));
}

TEST_F(LayoutHandlers, CheckingHardKeysChecksIrWhoseHandlerDoesNothing) {
  form_.includeIrCheck = false;
  form_.hkCheck = false;
  SetHKCheck(form_, true, messages_);
  EXPECT_TRUE(form_.hkCheck);
  EXPECT_TRUE(form_.includeIrCheck);
  EXPECT_EQ(form_.layoutEdits.offsetX, "0");
  EXPECT_TRUE(Redrawn(form_));
}

TEST_F(LayoutHandlers, SettingAStateItAlreadyHasRunsNoHandler) {
  form_.layoutEdits = {"2", "3", "17", "5"};
  SetHKCheck(form_, true, messages_);
  SetIncludeIRCheck(form_, true, messages_);
  EXPECT_EQ(form_.layoutEdits, (LayoutEdits{"2", "3", "17", "5"}));
  EXPECT_FALSE(Redrawn(form_));
}

TEST_F(LayoutHandlers, FieldWithoutNumberEndsTheRefreshBeforeTheRedraw) {
  form_.layoutEdits.offsetY = "x";
  RefreshBtnClick(form_, messages_);
  EXPECT_FALSE(Redrawn(form_));
  EXPECT_EQ(messages_.Lines(),
            std::vector<std::string>{"Velmora: 'x' is not a valid integer value"});
}

class PanelClick : public ::testing::Test {
 protected:
  void SetUp() override {
    uint32_t a = b_.AddButton({.label = "Alpha"});
    uint32_t nameless = b_.AddButton({.label = "", .secondName = "Second"});
    uint32_t deep = b_.AddButton({.label = "Deep"});
    uint32_t inner = b_.AddFrame({.children = {ButtonItem(1, 1, deep)}});
    uint32_t outer = b_.AddFrame({.children = {FrameItem(1, 1, inner), ButtonItem(0, 0, a)}});
    uint32_t other = b_.AddButton({.label = "Other"});
    first_ = b_.AddPanel(
        {"First", {ButtonItem(0, 0, a), FrameItem(0, 0, outer), ButtonItem(0, 0, nameless)}});
    second_ = b_.AddPanel({"Second", {ButtonItem(0, 0, other)}});
    uint32_t device = b_.AddDevice({.name = "D", .panels = {first_, second_}});
    b_.SetChain(ccf_builder::Chain::kDevices, {device});
    ASSERT_TRUE(LoadCcfImage(form_, CcfImage(b_.bytes(), "t.ccf"), messages_));
    expected_ = {ListEntry(a, "Alpha"), ListEntry(deep, "Deep"), ListEntry(a, "Alpha"),
                 ListEntry(nameless, "Second")};
    otherEntry_ = ListEntry(other, "Other");
  }

  CcfBuilder b_;
  FormState form_;
  common::RecordedMessages messages_;
  uint32_t first_ = 0;
  uint32_t second_ = 0;
  std::vector<std::string> expected_;
  std::string otherEntry_;
};

TEST_F(PanelClick, ListsTheFirstSelectedPanelsButtonsDepthFirst) {
  // PanelList: "-- Home --", "-- Devices --", First, Second, "-- Macros --".
  form_.panelList.Select(3);
  form_.panelList.Select(2);
  PanelListClick(form_, messages_);
  EXPECT_EQ(form_.buttonList.items(), expected_);
  EXPECT_TRUE(messages_.entries().empty());
}

TEST_F(PanelClick, HeadingClearsTheListAndStillDraws) {
  form_.panelList.Select(2);
  PanelListClick(form_, messages_);
  form_.panelList.Select(2, false);
  form_.panelList.Select(1);
  PanelListClick(form_, messages_);
  EXPECT_EQ(form_.buttonList.size(), 0u);
  EXPECT_EQ(form_.image1Canvas.Pixel(0, 0), kWhite);
  EXPECT_EQ(form_.image1Canvas.Pixel(250, 19), kHardKeyMarkerGrey);
}

TEST_F(PanelClick, UnfiledButtonsOfSeveralPanelsSurviveTheNextPreview) {
  form_.panelList.Select(2);
  PanelListClick(form_, messages_);
  form_.buttonList.Select(1);
  ButtonAddBtnClick(form_);
  form_.panelList.Select(2, false);
  form_.panelList.Select(3);
  PanelListClick(form_, messages_);
  form_.buttonList.Select(0);
  ButtonAddBtnClick(form_);
  form_.panelList.Select(3, false);
  PanelListClick(form_, messages_);
  EXPECT_EQ(form_.unfiledList.items(), (std::vector<std::string>{expected_[1], otherEntry_}));
}

TEST_F(PanelClick, LoadingAgainEmptiesTheChoices) {
  form_.categoryList.Add(ListEntry(first_, "First"));
  form_.unfiledList.Add(otherEntry_);
  ASSERT_TRUE(LoadCcfImage(form_, CcfImage(b_.bytes(), "t.ccf"), messages_));
  EXPECT_EQ(form_.categoryList.size(), 0u);
  EXPECT_EQ(form_.unfiledList.size(), 0u);
}

TEST(IconList, RegisterIconKeysAndLookUps) {
  IconList icons;
  icons.Register(0, 0x20);
  EXPECT_TRUE(icons.empty());
  icons.Register(0xAB, 0);
  icons.Register(0x10, 0x20);
  icons.Register(0x10, 0x20);
  icons.Register(0x10, 0x30);
  icons.Register(0xAB, 0);
  icons.Register(0x40, 0x30);
  EXPECT_EQ(icons.keys(),
            (Lines{"000000AB", "0000001000000020", "0000001000000030", "0000004000000030"}));
  EXPECT_EQ(icons.FindRef(0xAB), 5);
  EXPECT_EQ(icons.FindRef(0x10), 6);  // the first key that begins so
  EXPECT_EQ(icons.FindRef(0x20), 0xFFFF);
  EXPECT_EQ(icons.FindPressedRef(0x30), 7);       // the first key that ends so
  EXPECT_EQ(icons.FindPressedRef(0xAB), 0xFFFF);  // 8-digit keys never match
  EXPECT_EQ(icons.FindPressedRef(0), 0xFFFF);
  icons.Clear();
  icons.Register(0x10, 0x30);
  EXPECT_EQ(icons.keys(), Lines{"0000001000000030"});
  EXPECT_EQ(icons.FindRef(0xAB), 0xFFFF);
  EXPECT_EQ(icons.FindPressedRef(0x30), 5);
}

TEST(IconList, PositionsFromReference0xFFFEOnAreNotFound) {
  IconList icons;
  for (uint32_t bitmap = 1; bitmap <= 0xFFFE - kIconRefBase + 1; ++bitmap)
    icons.Register(bitmap, 0);
  EXPECT_EQ(icons.FindRef(0xFFFE - kIconRefBase), 0xFFFD);
  EXPECT_EQ(icons.FindRef(0xFFFE - kIconRefBase + 1), 0xFFFF);
}

TEST(IconList, CountingRegistersFramesAndButtonsInWalkOrder) {
  CcfBuilder b;
  uint32_t bitmaps[5];
  for (uint32_t& bitmap : bitmaps) bitmap = b.AddBitmap({.width = 1, .height = 1, .pixels = {1}});
  uint32_t button = b.AddButton({.bitmaps = {bitmaps[0], bitmaps[1], bitmaps[2], bitmaps[3]}});
  uint32_t frame = b.AddFrame({.bitmap = bitmaps[4], .children = {ButtonItem(0, 0, button)}});
  uint32_t panel = b.AddPanel({"P", {FrameItem(0, 0, frame), ButtonItem(0, 0, button)}});
  common::RecordedMessages messages;
  CcfImage image(b.bytes(), "t.ccf");
  CcfReader reader(image, messages);
  IconList icons;
  EXPECT_EQ(CountPanelItems(reader, panel, {}, {.active = true, .pressed = true}, icons), 3u);
  EXPECT_EQ(icons.keys(), (Lines{OffsetToHex(bitmaps[4]), OffsetToHex(bitmaps[2]),
                                 OffsetToHex(bitmaps[3]) + OffsetToHex(bitmaps[2])}));
  icons.Clear();
  EXPECT_EQ(CountPanelItems(reader, panel, {}, {.active = false, .pressed = false}, icons), 3u);
  EXPECT_EQ(icons.keys(), (Lines{OffsetToHex(bitmaps[4]), OffsetToHex(bitmaps[0])}));
  EXPECT_EQ(CountPanelItems(reader, 0, {}, {}, icons), 0u);
}

}  // namespace
}  // namespace velmora
