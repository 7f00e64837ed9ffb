#include "converter/ccf/ccf_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_format.h"
#include "tests/support/ccf_builder.h"

namespace velmora {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::FrameItem;

CcfImage ImageOf(const CcfBuilder& builder) { return CcfImage(builder.bytes(), "walk.ccf"); }

struct Visit {
  uint16_t x, y;
  uint32_t object;
  bool isButton;
  int depth;
  bool operator==(const Visit&) const = default;
};

std::vector<Visit> WalkAll(const CcfBuilder& builder, uint32_t panel,
                           common::RecordedMessages& messages) {
  CcfImage image = ImageOf(builder);
  CcfReader reader(image, messages);
  std::vector<Visit> visits;
  CcfFormat format{builder.layout().colourFormat, builder.layout().longIrHeader};
  size_t count = WalkPanelItems(reader, panel, format, [&](const PanelItemVisit& item) {
    visits.push_back({item.x, item.y, item.object, item.isButton, item.depth});
  });
  EXPECT_EQ(count, visits.size());
  return visits;
}

class PanelWalkInBothLayouts : public ::testing::TestWithParam<bool> {};

TEST_P(PanelWalkInBothLayouts, VisitsFramesBeforeTheirChildrenWithSummedPositions) {
  CcfBuilder b({.colourFormat = GetParam()});
  uint32_t inner = b.AddButton({.width = 5, .height = 5, .label = "Inner"});
  uint32_t first = b.AddButton({.width = 5, .height = 5, .label = "First"});
  uint32_t last = b.AddButton({.width = 5, .height = 5, .label = "Last"});
  uint32_t innerFrame =
      b.AddFrame({.width = 50, .height = 50, .children = {ButtonItem(3, 4, inner)}});
  uint32_t outerFrame =
      b.AddFrame({.width = 90, .height = 90, .children = {FrameItem(20, 30, innerFrame)}});
  uint32_t panel = b.AddPanel(
      {"P", {ButtonItem(1, 2, first), FrameItem(100, 10, outerFrame), ButtonItem(7, 8, last)}});
  common::RecordedMessages messages;
  std::vector<Visit> expected = {{1, 2, first, true, 0},
                                 {100, 10, outerFrame, false, 0},
                                 {120, 40, innerFrame, false, 1},
                                 {123, 44, inner, true, 2},
                                 {7, 8, last, true, 0}};
  EXPECT_EQ(WalkAll(b, panel, messages), expected);
  EXPECT_TRUE(messages.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, PanelWalkInBothLayouts, ::testing::Bool());

TEST(PanelWalk, PositionsAreSummedAsSixteenBitValues) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 1, .height = 1});
  uint32_t frame = b.AddFrame({.children = {ButtonItem(0x0010, 0xFFFF, button)}});
  uint32_t panel = b.AddPanel({"P", {FrameItem(0xFFF8, 2, frame)}});
  common::RecordedMessages messages;
  std::vector<Visit> visits = WalkAll(b, panel, messages);
  ASSERT_EQ(visits.size(), 2u);
  EXPECT_EQ(visits[1].x, 0x0008);
  EXPECT_EQ(visits[1].y, 0x0001);
}

TEST(PanelWalk, AnyNonZeroKindIsAButton) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 1, .height = 1});
  uint32_t panel = b.AddPanel({"P", {{0, 0, button, 2}, {0, 0, button, 0xFF}}});
  common::RecordedMessages messages;
  std::vector<Visit> visits = WalkAll(b, panel, messages);
  ASSERT_EQ(visits.size(), 2u);
  EXPECT_TRUE(visits[0].isButton);
  EXPECT_TRUE(visits[1].isButton);
}

TEST(PanelWalk, AFramePlacedTwiceShowsItsChildrenBothTimes) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 1, .height = 1});
  uint32_t frame = b.AddFrame({.children = {ButtonItem(1, 1, button)}});
  uint32_t panel = b.AddPanel({"P", {FrameItem(0, 0, frame), FrameItem(10, 10, frame)}});
  common::RecordedMessages messages;
  std::vector<Visit> expected = {{0, 0, frame, false, 0},
                                 {1, 1, button, true, 1},
                                 {10, 10, frame, false, 0},
                                 {11, 11, button, true, 1}};
  EXPECT_EQ(WalkAll(b, panel, messages), expected);
}

TEST(PanelWalk, AFrameThatContainsItselfIsVisitedButNotEnteredAgain) {
  CcfBuilder b;
  uint32_t frame = b.AddFrame({.children = {FrameItem(1, 1, 0)}});
  b.Patch32(b.FrameChildField(frame, 0) + CcfBuilder::kItemObjectField, frame);
  uint32_t panel = b.AddPanel({"P", {FrameItem(0, 0, frame)}});
  common::RecordedMessages messages;
  std::vector<Visit> expected = {{0, 0, frame, false, 0}, {1, 1, frame, false, 1}};
  EXPECT_EQ(WalkAll(b, panel, messages), expected);
}

TEST(PanelWalk, DeepDistinctFramesStopAtTheDepthCap) {
  CcfBuilder b;
  uint32_t child = b.AddButton({.width = 1, .height = 1});
  uint32_t item = child;
  bool isButton = true;
  for (int i = 0; i < 40; ++i) {
    ccf_builder::PanelItem entry{0, 0, item, static_cast<uint8_t>(isButton ? 1 : 0)};
    item = b.AddFrame({.children = {entry}});
    isButton = false;
  }
  uint32_t panel = b.AddPanel({"P", {FrameItem(0, 0, item)}});
  common::RecordedMessages messages;
  std::vector<Visit> visits = WalkAll(b, panel, messages);
  ASSERT_EQ(visits.size(), static_cast<size_t>(kMaxFrameDepth) + 1);
  EXPECT_EQ(visits.back().depth, kMaxFrameDepth);
  EXPECT_FALSE(visits.back().isButton);
}

TEST(PanelWalk, AFanOutOfFramesStopsAtTheItemBudget) {
  // Each level holds the next level 255 times: 255^8 items without a budget.
  CcfBuilder b;
  uint32_t level = b.AddButton({.width = 1, .height = 1});
  uint8_t kind = 1;
  for (int depth = 0; depth < 8; ++depth) {
    std::vector<ccf_builder::PanelItem> children(255, {0, 0, level, kind});
    level = b.AddFrame({.children = children});
    kind = 0;
  }
  uint32_t panel = b.AddPanel({"P", {FrameItem(0, 0, level)}});
  common::RecordedMessages messages;
  EXPECT_EQ(WalkAll(b, panel, messages).size(), kMaxPanelWalkItems);
}

TEST(PanelWalk, PanelZeroVisitsNothing) {
  CcfBuilder b;
  common::RecordedMessages messages;
  EXPECT_TRUE(WalkAll(b, 0, messages).empty());
  EXPECT_TRUE(messages.entries().empty());
}

TEST(PanelWalk, CountsPastTheEndEndWithOneReport) {
  CcfBuilder b;
  uint32_t button = b.AddButton({.width = 1, .height = 1});
  uint32_t panel = b.AddPanel({"P", {ButtonItem(0, 0, button)}});
  b.Patch8(panel + 9, 200);  // 200 items claimed, 1 present
  common::RecordedMessages messages;
  std::vector<Visit> visits = WalkAll(b, panel, messages);
  EXPECT_EQ(visits.size(), 200u);
  EXPECT_EQ(visits[0].object, button);
  EXPECT_EQ(visits[199].object, 0u);
  EXPECT_EQ(messages.entries().size(), 1u);
}

TEST(VisitGuard, EndsAtARepeatOrAtTheCap) {
  VisitGuard guard(3);
  EXPECT_TRUE(guard.FirstVisit(10));
  EXPECT_FALSE(guard.FirstVisit(10));
  EXPECT_TRUE(guard.FirstVisit(20));
  EXPECT_TRUE(guard.FirstVisit(30));
  EXPECT_FALSE(guard.FirstVisit(40));
}

TEST(PathGuard, RefusesOffsetsOnThePathAndBeyondTheDepth) {
  PathGuard guard(2);
  EXPECT_TRUE(guard.Enter(1));
  EXPECT_FALSE(guard.Enter(1));
  EXPECT_TRUE(guard.Enter(2));
  EXPECT_FALSE(guard.Enter(3));
  guard.Leave();
  EXPECT_TRUE(guard.Enter(3));
  guard.Leave();
  guard.Leave();
  EXPECT_EQ(guard.depth(), 0);
  EXPECT_TRUE(guard.Enter(1));
}

struct ChainLists {
  std::vector<std::string> panels, devices;
};

ChainLists WalkChain(const CcfBuilder& b, uint32_t device, common::RecordedMessages& messages) {
  CcfImage image = ImageOf(b);
  CcfReader reader(image, messages);
  ChainLists lists;
  VisitGuard devices, panels;
  WalkDeviceChain(reader, device, {b.layout().colourFormat, false}, devices, panels, lists.panels,
                  lists.devices);
  return lists;
}

TEST(DeviceChain, ListsPanelsDeviceAfterDeviceInBothLayouts) {
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour});
    uint32_t p1 = b.AddPanel({"One", {}});
    uint32_t p2 = b.AddPanel({"Two", {}, true});
    uint32_t p3 = b.AddPanel({std::nullopt, {}});
    uint32_t d1 = b.AddDevice({.name = "A", .panels = {p1, p2}});
    uint32_t d2 = b.AddDevice({.name = "B", .panels = {p3}});
    b.SetChain(ccf_builder::Chain::kDevices, {d1, d2});
    common::RecordedMessages messages;
    ChainLists lists = WalkChain(b, d1, messages);
    std::vector<std::string> panels = {ccf_builder::ListEntry(p1, "One"),
                                       ccf_builder::ListEntry(p2, "Two"),
                                       ccf_builder::ListEntry(p3, "")};
    EXPECT_EQ(lists.panels, panels);
    EXPECT_EQ(lists.panels[2], OffsetToHex(p3) + " - ");
    EXPECT_EQ(lists.devices, (std::vector<std::string>{OffsetToHex(p1) + " - " + OffsetToHex(d1),
                                                       OffsetToHex(p2) + " - " + OffsetToHex(d1),
                                                       OffsetToHex(p3) + " - " + OffsetToHex(d2)}));
    EXPECT_TRUE(messages.entries().empty());
  }
}

TEST(DeviceChain, LoopingDeviceAndPanelChainsEnd) {
  CcfBuilder b;
  uint32_t p1 = b.AddPanel({"One", {}});
  uint32_t p2 = b.AddPanel({"Two", {}});
  uint32_t d1 = b.AddDevice({.name = "A", .panels = {p1, p2}});
  uint32_t d2 = b.AddDevice({.name = "B", .panels = {}});
  b.SetChain(ccf_builder::Chain::kDevices, {d1, d2});
  b.Patch32(p2 + CcfBuilder::kNextField, p1);  // panel chain loops back
  b.Patch32(d2 + CcfBuilder::kNextField, d1);  // device chain loops back
  common::RecordedMessages messages;
  ChainLists lists = WalkChain(b, d1, messages);
  EXPECT_EQ(lists.panels, (std::vector<std::string>{ccf_builder::ListEntry(p1, "One"),
                                                    ccf_builder::ListEntry(p2, "Two")}));
}

TEST(DeviceChain, ASelfLinkedRecordEndsAtOnce) {
  CcfBuilder b;
  uint32_t p = b.AddPanel({"Me", {}});
  uint32_t d = b.AddDevice({.name = "A", .panels = {p}});
  b.Patch32(p + CcfBuilder::kNextField, p);
  b.Patch32(d + CcfBuilder::kNextField, d);
  common::RecordedMessages messages;
  EXPECT_EQ(WalkChain(b, d, messages).panels.size(), 1u);
}

}  // namespace
}  // namespace velmora
