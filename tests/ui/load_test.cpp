#include "converter/ui/load.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ui/form_state.h"
#include "tests/support/ccf_builder.h"
#include "project_paths.h"

namespace velmora {
namespace {

using ccf_builder::CcfBuilder;
using ccf_builder::ListEntry;
using Lines = std::vector<std::string>;

bool Load(FormState& form, std::vector<uint8_t> bytes, common::RecordedMessages& messages) {
  return LoadCcfImage(form, CcfImage(std::move(bytes), "t.ccf"), messages);
}

std::vector<uint8_t> HeaderWithMagic(size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  for (size_t at : {size_t{13}, size_t{32}}) {
    for (size_t i = 0; i < 3 && at + i < size; ++i) bytes[at + i] = "CCF"[i];
  }
  return bytes;
}

TEST(LoadCcf, StartUpStateOfTheForm) {
  FormState form;
  EXPECT_EQ(form.layoutEdits, (LayoutEdits{"1", "1", "0", "44"}));
  EXPECT_EQ(form.scaleComboIndex, 4);
  EXPECT_EQ(form.previewComboIndex, 2);
  EXPECT_EQ(form.image1, (ImagePlacement{8, 8, 320, 307}));
  EXPECT_TRUE(form.activeButtonsCheck && form.clickedButtonsCheck && form.hkCheck &&
              form.includeTextCheck && form.includeIrCheck);
  EXPECT_TRUE(form.readFileBtnEnabled);
  EXPECT_TRUE(form.readFileBtnDefault);
  EXPECT_FALSE(form.goBtnDefault);
  EXPECT_FALSE(form.ccfImage.has_value());
  EXPECT_EQ(form.panelList.size(), 0u);
  // The start fields are row 4 of the scale modes with the hard-key offset rule applied.
  LayoutEdits row4 = ScaleModeEdits(form.scaleComboIndex, '.');
  row4.offsetX = "0";
  EXPECT_EQ(form.layoutEdits, row4);
}

TEST(LoadCcf, ShortFilesFailOnlyTheMagicChecks) {
  for (size_t size : {size_t{0}, size_t{15}}) {
    FormState form;
    common::RecordedMessages messages;
    EXPECT_FALSE(Load(form, HeaderWithMagic(size), messages));
    EXPECT_EQ(messages.Lines(), Lines{"Not CCF file: Missing 'CCF' at byte 13"}) << size;
    EXPECT_TRUE(form.readFileBtnEnabled);
  }
  for (size_t size : {size_t{16}, size_t{34}}) {
    FormState form;
    common::RecordedMessages messages;
    EXPECT_FALSE(Load(form, HeaderWithMagic(size), messages));
    EXPECT_EQ(messages.Lines(), Lines{"Not CCF file: Missing 'CCF' at byte 32"}) << size;
  }
}

TEST(LoadCcf, EmptyChainsGiveTheThreeHeadings) {
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, HeaderWithMagic(60), messages));
  EXPECT_EQ(form.panelList.items(), (Lines{"-- Home --", "-- Devices --", "-- Macros --"}));
  EXPECT_TRUE(form.panelToDeviceList.empty());
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_FALSE(form.readFileBtnDefault);
  EXPECT_TRUE(form.goBtnDefault);
  EXPECT_TRUE(form.readFileBtnEnabled);
}

TEST(LoadCcf, AHeaderCutBeforeTheChainsLoadsWithOneReport) {
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, HeaderWithMagic(40), messages));
  EXPECT_EQ(form.panelList.items(), (Lines{"-- Home --", "-- Devices --", "-- Macros --"}));
  EXPECT_EQ(messages.Lines(), Lines{"File error: Read past end of file"});
}

struct SampleFile {
  CcfBuilder builder;
  uint32_t home, homePanel, tv, tvMain, tvMore, dvd, dvdMain, macros, macroPanel;
};

SampleFile MakeSample(bool colour) {
  SampleFile f{CcfBuilder({.colourFormat = colour}), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  CcfBuilder& b = f.builder;
  f.homePanel = b.AddPanel({"Home", {}});
  f.tvMain = b.AddPanel({"TV Main", {}, true});
  f.tvMore = b.AddPanel({"More", {}});
  f.dvdMain = b.AddPanel({"More", {}});  // same name, another device
  f.macroPanel = b.AddPanel({std::nullopt, {}});
  f.home = b.AddDevice({.name = "Home", .panels = {f.homePanel}});
  f.tv = b.AddDevice({.name = "TV", .panels = {f.tvMain, f.tvMore}});
  f.dvd = b.AddDevice({.name = "DVD", .panels = {f.dvdMain}});
  f.macros = b.AddDevice({.name = "Macros", .panels = {f.macroPanel}});
  b.SetChain(ccf_builder::Chain::kHome, {f.home});
  b.SetChain(ccf_builder::Chain::kDevices, {f.tv, f.dvd});
  b.SetChain(ccf_builder::Chain::kMacros, {f.macros});
  return f;
}

class LoadBothLayouts : public ::testing::TestWithParam<bool> {};

TEST_P(LoadBothLayouts, ListsEveryChainUnderItsHeading) {
  SampleFile f = MakeSample(GetParam());
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, f.builder.bytes(), messages));
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(form.panelList.items(),
            (Lines{"-- Home --", ListEntry(f.homePanel, "Home"), "-- Devices --",
                   ListEntry(f.tvMain, "TV Main"), ListEntry(f.tvMore, "More"),
                   ListEntry(f.dvdMain, "More"), "-- Macros --", ListEntry(f.macroPanel, "")}));
  auto pair = [](uint32_t panel, uint32_t device) {
    return OffsetToHex(panel) + " - " + OffsetToHex(device);
  };
  EXPECT_EQ(form.panelToDeviceList,
            (Lines{pair(f.homePanel, f.home), pair(f.tvMain, f.tv), pair(f.tvMore, f.tv),
                   pair(f.dvdMain, f.dvd), pair(f.macroPanel, f.macros)}));
  EXPECT_EQ(form.format.colourFormat, GetParam());
  EXPECT_EQ(DeviceOfPanel(form.panelToDeviceList, f.dvdMain), f.dvd);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LoadBothLayouts, ::testing::Bool());

TEST(LoadCcf, TheLongIrHeaderBitAloneKeepsThePlainLayout) {
  CcfBuilder b({.longIrHeader = true});
  uint32_t panel = b.AddPanel({"P", {}});
  b.SetChain(ccf_builder::Chain::kDevices, {b.AddDevice({.name = "D", .panels = {panel}})});
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, b.bytes(), messages));
  EXPECT_EQ(form.format, (CcfFormat{false, true}));
  EXPECT_EQ(form.panelList[2], ListEntry(panel, "P"));  // first panel read at +60
}

TEST(LoadCcf, ANewFileEmptiesTheChoicesOfTheLastOne) {
  SampleFile f = MakeSample(false);
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, f.builder.bytes(), messages));
  form.panelList.Select(1);
  form.categoryList.Add(form.panelList[1]);
  form.unfiledList.Add("00000010 - Button");
  form.buttonList.Add("00000010 - Button");
  form.iconList.Register(0x20, 0);
  ASSERT_TRUE(Load(form, HeaderWithMagic(60), messages));
  EXPECT_EQ(form.panelList.size(), 3u);
  EXPECT_TRUE(form.panelList.selection().empty());
  EXPECT_EQ(form.categoryList.size(), 0u);
  EXPECT_EQ(form.unfiledList.size(), 0u);
  EXPECT_EQ(form.buttonList.size(), 0u);
  EXPECT_TRUE(form.iconList.empty());
  EXPECT_TRUE(form.panelToDeviceList.empty());
}

TEST(LoadCcf, ARejectedFileLeavesThePreviousOneCurrent) {
  SampleFile f = MakeSample(true);
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, f.builder.bytes(), messages));
  form.categoryList.Add(form.panelList[1]);
  Lines panels = form.panelList.items();
  std::vector<uint8_t> bad = HeaderWithMagic(60);
  bad[33] = 'X';
  EXPECT_FALSE(Load(form, bad, messages));
  EXPECT_EQ(messages.Lines(), Lines{"Not CCF file: Missing 'CCF' at byte 32"});
  EXPECT_EQ(form.panelList.items(), panels);
  EXPECT_EQ(form.categoryList.size(), 1u);
  ASSERT_TRUE(form.ccfImage.has_value());
  EXPECT_EQ(form.ccfImage->size(), f.builder.size());
  EXPECT_TRUE(form.format.colourFormat);
  EXPECT_TRUE(form.goBtnDefault);
}

TEST(LoadCcf, AFileThatCannotBeOpenedIsReportedByName) {
  SampleFile f = MakeSample(false);
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, f.builder.bytes(), messages));
  std::string path = std::string(PROJECT_BINARY_DIR) + "/no-such-file.ccf";
  EXPECT_FALSE(LoadCcfFile(form, path, messages));
  EXPECT_EQ(messages.Lines(), Lines{"File error: Failed to open input file " + path});
  EXPECT_EQ(form.panelList.size(), 8u);
  EXPECT_TRUE(form.readFileBtnEnabled);
}

TEST(LoadCcf, LoopingChainsAndDanglingReferencesEndWithOneReport) {
  SampleFile f = MakeSample(false);
  CcfBuilder& b = f.builder;
  b.Patch32(f.tvMore + CcfBuilder::kNextField, f.tvMain);    // panel loop
  b.Patch32(f.dvd + CcfBuilder::kNextField, f.tv);           // device loop
  b.Patch32(f.macros + CcfBuilder::kNextField, 0x7FFFFFF0);  // beyond the file
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(Load(form, b.bytes(), messages));
  EXPECT_EQ(form.panelList.size(), 8u);
  EXPECT_EQ(messages.Lines(), Lines{"File error: Read past end of file"});
}

TEST(LoadCcf, LoadsTheSampleFileFromDisk) {
  FormState form;
  common::RecordedMessages messages;
  ASSERT_TRUE(LoadCcfFile(form, std::string(PROJECT_SOURCE_DIR) + "/samples/demo.ccf", messages));
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(form.panelList[0], "-- Home --");
  EXPECT_GT(form.panelToDeviceList.size(), 3u);
}

TEST(ListBoxState, DeletingKeepsTheSelectionOnTheSameEntries) {
  ListBoxState list;
  for (const char* item : {"a", "b", "c", "d", "e"}) list.Add(item);
  list.Select(1);
  list.Select(3);
  list.Select(4);
  list.Select(9);  // no such entry
  EXPECT_EQ(list.FirstSelected(), 1u);
  list.Delete(3);
  EXPECT_EQ(list.items(), (Lines{"a", "b", "c", "e"}));
  EXPECT_EQ(list.selection(), (std::set<size_t>{1, 3}));
  list.Delete(0);
  EXPECT_EQ(list.selection(), (std::set<size_t>{0, 2}));
  EXPECT_TRUE(list.Contains("e"));
  EXPECT_FALSE(list.Contains("a"));
  list.Select(0, false);
  EXPECT_EQ(list.FirstSelected(), 2u);
  list.Add("e");  // twice now
  list.Delete(2);
  EXPECT_TRUE(list.Contains("e"));
  list.Delete(2);
  EXPECT_FALSE(list.Contains("e"));
  list.Select(0);
  list.Assign({"x", "y"});  // the old entries' counts go with them
  EXPECT_FALSE(list.Contains("b"));
  EXPECT_TRUE(list.Contains("y"));
  EXPECT_FALSE(list.FirstSelected().has_value());
  list.Clear();
  EXPECT_FALSE(list.Contains("y"));
}

}  // namespace
}  // namespace velmora
