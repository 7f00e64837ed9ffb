// Generates the malformed CCF corpus: for each case NAME.ccf and NAME.expected,
// the transcript that ccf_exercise::ExerciseCcf must produce for it. The
// expectations are stated here case by case from the builder's own offsets,
// independently of the loader.
//
//   make_malformed_ccf OUTPUT_DIR
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ccf_builder.h"

namespace {

using namespace ccf_builder;

const std::string kReadPastEnd = "File error: Read past end of file";
const std::string kNoMemory = "File error: Not enough memory for this bitmap";
const std::string kCompressed =
    "Unsupported feature: This panel contains compressed bitmaps which are not understood by "
    "this program and will be ignored.";
const std::string kHome = "-- Home --", kDevices = "-- Devices --", kMacros = "-- Macros --";

struct Case {
  std::string name;
  std::vector<uint8_t> bytes;
  std::vector<std::string> load;    // messages of the load
  std::vector<std::string> panels;  // PanelList
  std::vector<std::string> walk;    // per panel: its messages, then its summary
};

std::string Summary(uint32_t panel, int items, int irCodes, int bitmaps) {
  return ListEntry(panel, "").substr(0, 8) + ": " + std::to_string(items) + " items, " +
         std::to_string(irCodes) + " IR codes, " + std::to_string(bitmaps) + " bitmaps";
}

// The PanelList of a file whose only panels are `entries`, all in the device chain.
std::vector<std::string> DeviceChainList(const std::vector<std::string>& entries) {
  std::vector<std::string> list = {kHome, kDevices};
  list.insert(list.end(), entries.begin(), entries.end());
  list.push_back(kMacros);
  return list;
}

const std::vector<std::string> kHeadingsOnly = {kHome, kDevices, kMacros};

Case Rejected(std::string name, std::vector<uint8_t> bytes, int magicByte) {
  return {std::move(name),
          std::move(bytes),
          {"Not CCF file: Missing 'CCF' at byte " + std::to_string(magicByte)},
          {},
          {}};
}

// A device in the device chain whose first panel is set later: objects added
// after it can then be the last bytes of the file, to be cut.
struct Skeleton {
  CcfBuilder b;
  uint32_t device;
  explicit Skeleton(Layout layout = {}) : b(layout) {
    device = b.AddDevice({.name = "Dev"});
    b.SetChain(Chain::kDevices, {device});
  }
  uint32_t AddPanel(const Panel& panel) {
    const uint32_t p = b.AddPanel(panel);
    b.Patch32(b.DeviceFirstPanelField(device), p);
    return p;
  }
};

std::vector<Case> RejectedCases() {
  const std::vector<uint8_t> header = CcfBuilder().bytes();
  CcfBuilder no13;
  no13.Patch8(13, 'X');
  CcfBuilder no32;
  no32.Patch8(34, 'G');
  return {
      Rejected("rejected_empty", {}, 13),
      Rejected("rejected_15_bytes", {header.begin(), header.begin() + 15}, 13),
      Rejected("rejected_no_ccf_at_13", no13.bytes(), 13),
      Rejected("rejected_34_bytes", {header.begin(), header.begin() + 34}, 32),
      Rejected("rejected_no_ccf_at_32", no32.bytes(), 32),
  };
}

std::vector<Case> TruncatedRecordCases() {
  std::vector<Case> cases;
  {
    CcfBuilder b;
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev"})});
    b.Truncate(50);  // the home chain reference is cut in half
    cases.push_back({"truncated_header", b.bytes(), {kReadPastEnd}, kHeadingsOnly, {}});
  }
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour});
    const uint32_t panel = b.AddPanel({"Main"});
    const uint32_t device = b.AddDevice({.name = "Dev", .panels = {panel}});
    b.SetChain(Chain::kDevices, {device});
    // Inside the first-panel field: +60 of the plain layout, +76 of the colour
    // layout (where +70 would still hold a whole plain device).
    b.Truncate(device + (colour ? 70 : 62));
    cases.push_back({colour ? "truncated_device_colour" : "truncated_device",
                     b.bytes(),
                     {kReadPastEnd},
                     kHeadingsOnly,
                     {}});
  }
  {
    Skeleton s;
    const uint32_t panel = s.AddPanel({"Main"});
    s.b.Truncate(panel + 9);  // the item count is missing
    cases.push_back({"truncated_panel",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Main")}),
                     {kReadPastEnd, Summary(panel, 0, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t panel = s.AddPanel({});
    const uint32_t name = s.b.AddString("Living room");
    s.b.Patch32(panel + 4, name);
    s.b.Truncate(name + 5);
    cases.push_back({"truncated_panel_name",
                     s.b.bytes(),
                     {kReadPastEnd},
                     DeviceChainList({ListEntry(panel, "")}),
                     {Summary(panel, 0, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t button = s.b.AddButton({.width = 40, .height = 20, .label = "One"});
    const uint32_t panel =
        s.AddPanel({"Items", {ButtonItem(0, 0, button), ButtonItem(50, 0, button)}});
    // The second item keeps x and y; its object reference is cut in half, so
    // it reads as a frame at offset 0.
    s.b.Truncate(s.b.PanelItemField(panel, 1) + 6);
    cases.push_back({"truncated_item",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Items")}),
                     {kReadPastEnd, Summary(panel, 2, 0, 0)}});
  }
  return cases;
}

std::vector<Case> TruncatedContentCases() {
  std::vector<Case> cases;
  {
    Skeleton s;
    const uint32_t button = s.b.AddButton({.width = 40, .height = 20, .label = "In"});
    const uint32_t panel = s.AddPanel({"Framed", {FrameItem(10, 10, 0)}});
    const uint32_t frame = s.b.AddFrame(
        {.width = 100, .height = 50, .name = "Box", .children = {ButtonItem(1, 1, button)}});
    s.b.Patch32(s.b.PanelItemField(panel, 0) + CcfBuilder::kItemObjectField, frame);
    s.b.Truncate(frame + 17);  // colour and child count are missing
    cases.push_back({"truncated_frame",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Framed")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t panel = s.AddPanel({"Buttons", {ButtonItem(0, 0, 0)}});
    const uint32_t button = s.b.AddButton({.width = 40, .height = 20, .label = "Cut"});
    s.b.Patch32(s.b.PanelItemField(panel, 0) + CcfBuilder::kItemObjectField, button);
    s.b.Truncate(button + 20);  // inside the first bitmap reference
    cases.push_back({"truncated_button",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Buttons")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t ir = s.b.AddIrCode({Rc5Code(0, 12)});
    const uint32_t button = s.b.AddButton({.width = 40, .height = 20, .label = "Power"});
    const uint32_t panel = s.AddPanel({"Actions", {ButtonItem(0, 0, button)}});
    const uint32_t list = s.b.AddActionList({{5, 0, 0}, IrAction(ir)});
    s.b.Patch32(button + CcfBuilder::kButtonActionsField, list);
    s.b.Truncate(s.b.ActionField(list, 1) + 5);  // the IR reference is missing
    cases.push_back({"truncated_action_list",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Actions")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 0)}});
  }
  for (bool longHeader : {false, true}) {
    Skeleton s({.longIrHeader = longHeader});
    const uint32_t button = s.b.AddButton({.width = 40, .height = 20, .label = "Learned"});
    const uint32_t panel = s.AddPanel({"IR", {ButtonItem(0, 0, button)}});
    const uint32_t list = s.b.AddActionList({IrAction(0)});
    const BurstPairs pairs(10, {21, 64});
    const uint32_t ir = s.b.AddIrCode({LearnedCode(0x6D, pairs)});
    s.b.Patch32(button + CcfBuilder::kButtonActionsField, list);
    s.b.Patch32(s.b.ActionField(list, 0) + CcfBuilder::kActionSecondField, ir);
    // Plain header: four words and one pair remain. Long header: the header
    // itself is cut after its first word.
    s.b.Truncate(longHeader ? ir + 10 : ir + 6 + 12);
    cases.push_back({longHeader ? "truncated_ir_code_long_header" : "truncated_ir_code",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "IR")}),
                     {kReadPastEnd, Summary(panel, 1, 1, 0)}});
  }
  {
    Skeleton s;
    const uint32_t button = s.b.AddButton({.width = 40, .height = 30});
    const uint32_t panel = s.AddPanel({"Picture", {ButtonItem(0, 0, button)}});
    Bitmap picture{.width = 40, .height = 30, .depth = 8};
    for (int i = 0; i < 40 * 30; ++i) picture.pixels.push_back(static_cast<uint8_t>(i % 216));
    const uint32_t bitmap = s.b.AddBitmap(picture);
    for (int i = 0; i < 4; ++i) s.b.Patch32(button + 18 + 4 * i, bitmap);
    s.b.Truncate(bitmap + 8 + 40 * 10);  // ten of thirty rows remain
    cases.push_back({"truncated_bitmap_rows",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Picture")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 4)}});
  }
  {
    Skeleton s;
    const uint32_t frame = s.b.AddFrame({.width = 40, .height = 30});
    const uint32_t panel = s.AddPanel({"Picture", {FrameItem(0, 0, frame)}});
    const uint32_t bitmap = s.b.AddBitmap({.width = 40, .height = 30, .depth = 1});
    s.b.Patch32(frame + 8, bitmap);
    s.b.Truncate(bitmap + 5);  // the height is cut in half
    cases.push_back({"truncated_bitmap_header",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Picture")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 1)}});
  }
  return cases;
}

std::vector<Case> LoopCases() {
  std::vector<Case> cases;
  {
    CcfBuilder b;
    const uint32_t code = b.AddActionList({IrAction(b.AddIrCode({Rc5Code(0, 12)}))});
    const uint32_t button =
        b.AddButton({.width = 40, .height = 20, .actions = code, .label = "On"});
    const uint32_t panel = b.AddPanel({"One", {ButtonItem(0, 0, button)}});
    const uint32_t device = b.AddDevice({.name = "Dev", .hardKeys = {code}, .panels = {panel}});
    b.SetChain(Chain::kDevices, {device});
    b.Patch32(device + CcfBuilder::kNextField, device);
    cases.push_back({"loop_device_self",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "One")}),
                     {Summary(panel, 1, 2, 0)}});
  }
  {
    CcfBuilder b;
    const uint32_t p1 = b.AddPanel({"One"});
    const uint32_t p2 = b.AddPanel({"Two"});
    const uint32_t d1 = b.AddDevice({.name = "A", .panels = {p1}});
    const uint32_t d2 = b.AddDevice({.name = "B", .panels = {p2}});
    b.SetChain(Chain::kDevices, {d1, d2});
    b.Patch32(d2 + CcfBuilder::kNextField, d1);
    cases.push_back({"loop_device_earlier",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(p1, "One"), ListEntry(p2, "Two")}),
                     {Summary(p1, 0, 0, 0), Summary(p2, 0, 0, 0)}});
  }
  {
    // One device in the home and the device chain: listed once, under home.
    CcfBuilder b;
    const uint32_t panel = b.AddPanel({"Shared"});
    const uint32_t device = b.AddDevice({.name = "Both", .panels = {panel}});
    b.SetChain(Chain::kHome, {device});
    b.SetChain(Chain::kDevices, {device});
    cases.push_back({"loop_device_in_two_chains",
                     b.bytes(),
                     {},
                     {kHome, ListEntry(panel, "Shared"), kDevices, kMacros},
                     {Summary(panel, 0, 0, 0)}});
  }
  {
    CcfBuilder b;
    const uint32_t p1 = b.AddPanel({"One"});
    const uint32_t p2 = b.AddPanel({"Two"});
    const uint32_t p3 = b.AddPanel({"Self"});
    const uint32_t d1 = b.AddDevice({.name = "A", .panels = {p1, p2}});
    const uint32_t d2 = b.AddDevice({.name = "B", .panels = {p3}});
    b.SetChain(Chain::kDevices, {d1, d2});
    b.Patch32(p2 + CcfBuilder::kNextField, p1);
    b.Patch32(p3 + CcfBuilder::kNextField, p3);
    cases.push_back(
        {"loop_panel",
         b.bytes(),
         {},
         DeviceChainList({ListEntry(p1, "One"), ListEntry(p2, "Two"), ListEntry(p3, "Self")}),
         {Summary(p1, 0, 0, 0), Summary(p2, 0, 0, 0), Summary(p3, 0, 0, 0)}});
  }
  {
    // A and B alias each other, S aliases itself; C reaches the loop first and
    // then finds its IR code.
    CcfBuilder b;
    const uint32_t ir = b.AddIrCode({Rc5Code(0, 1)});
    const uint32_t a = b.AddButton({.width = 20, .height = 20, .label = "A"});
    const uint32_t bb = b.AddButton(
        {.width = 20, .height = 20, .actions = b.AddActionList({AliasAction(a)}), .label = "B"});
    b.Patch32(a + CcfBuilder::kButtonActionsField, b.AddActionList({AliasAction(bb)}));
    const uint32_t self = b.AddButton({.width = 20, .height = 20, .label = "S"});
    b.Patch32(self + CcfBuilder::kButtonActionsField, b.AddActionList({AliasAction(self)}));
    const uint32_t c = b.AddButton({.width = 20,
                                    .height = 20,
                                    .actions = b.AddActionList({AliasAction(a), IrAction(ir)}),
                                    .label = "C"});
    const uint32_t panel = b.AddPanel({"Aliases",
                                       {ButtonItem(0, 0, a), ButtonItem(30, 0, bb),
                                        ButtonItem(60, 0, self), ButtonItem(90, 0, c)}});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"loop_alias",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Aliases")}),
                     {Summary(panel, 4, 1, 0)}});
  }
  {
    // F holds a button and itself; G and H hold each other. A frame on the
    // current path is visited but not entered again; F's bitmap is read at
    // both visits.
    CcfBuilder b;
    const uint32_t icon =
        b.AddBitmap({.width = 8, .height = 8, .depth = 1, .pixels = std::vector<uint8_t>(64, 1)});
    const uint32_t button = b.AddButton({.width = 20, .height = 20, .label = "In"});
    const uint32_t f = b.AddFrame({.width = 100,
                                   .height = 100,
                                   .bitmap = icon,
                                   .children = {ButtonItem(5, 5, button), FrameItem(10, 10, 0)}});
    b.Patch32(b.FrameChildField(f, 1) + CcfBuilder::kItemObjectField, f);
    const uint32_t g = b.AddFrame({.width = 50, .height = 50, .children = {FrameItem(1, 1, 0)}});
    const uint32_t h = b.AddFrame({.width = 40, .height = 40, .children = {FrameItem(1, 1, g)}});
    b.Patch32(b.FrameChildField(g, 0) + CcfBuilder::kItemObjectField, h);
    const uint32_t panel = b.AddPanel({"Frames", {FrameItem(0, 0, f), FrameItem(120, 0, g)}});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"loop_frame_contains_itself",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Frames")}),
                     {Summary(panel, 6, 0, 2)}});
  }
  return cases;
}

std::vector<Case> CountAndSizeCases() {
  std::vector<Case> cases;
  {
    // 255 items claimed, one present: the rest read as zeros (frames at 0).
    Skeleton s;
    const uint32_t button = s.b.AddButton({.width = 20, .height = 20, .label = "Only"});
    const uint32_t panel = s.AddPanel({"Count", {ButtonItem(0, 0, button)}});
    s.b.Patch8(panel + 9, 255);
    cases.push_back({"count_past_end_panel_items",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Count")}),
                     {kReadPastEnd, Summary(panel, 255, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t panel = s.AddPanel({"Count", {FrameItem(0, 0, 0)}});
    const uint32_t frame =
        s.b.AddFrame({.width = 100, .height = 100, .children = {FrameItem(0, 0, 0)}});
    s.b.Patch32(s.b.PanelItemField(panel, 0) + CcfBuilder::kItemObjectField, frame);
    s.b.Patch8(s.b.FrameChildCountField(frame), 200);
    cases.push_back({"count_past_end_frame_children",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Count")}),
                     {kReadPastEnd, Summary(panel, 201, 0, 0)}});
  }
  {
    Skeleton s;
    const uint32_t button = s.b.AddButton({.width = 20, .height = 20, .label = "Many"});
    const uint32_t panel = s.AddPanel({"Count", {ButtonItem(0, 0, button)}});
    const uint32_t list = s.b.AddActionList({{5, 0, 0}});
    s.b.Patch32(button + CcfBuilder::kButtonActionsField, list);
    s.b.Patch8(list + 1, 255);
    cases.push_back({"count_past_end_actions",
                     s.b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Count")}),
                     {kReadPastEnd, Summary(panel, 1, 0, 0)}});
  }
  {
    // 255 x 255 x 255 frames through three levels: the walk stops at its cap.
    CcfBuilder b;
    const uint32_t leaf = b.AddFrame({.width = 1, .height = 1});
    const uint32_t middle =
        b.AddFrame({.width = 2, .height = 2, .children = std::vector(255, FrameItem(0, 0, leaf))});
    const uint32_t top = b.AddFrame(
        {.width = 3, .height = 3, .children = std::vector(255, FrameItem(0, 0, middle))});
    const uint32_t panel = b.AddPanel({"Fan", std::vector(255, FrameItem(0, 0, top))});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"count_frame_fan_out",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Fan")}),
                     {Summary(panel, 4096, 0, 0)}});
  }
  {
    // 40 frames nested one in another: frames at depths 0 to 31 are entered,
    // the one at depth 32 is visited without its child.
    CcfBuilder b;
    uint32_t inner = b.AddFrame({.width = 1, .height = 1});
    for (int i = 1; i < 40; ++i) {
      inner = b.AddFrame({.width = 2, .height = 2, .children = {FrameItem(1, 1, inner)}});
    }
    const uint32_t panel = b.AddPanel({"Deep", {FrameItem(0, 0, inner)}});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"count_frame_depth",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Deep")}),
                     {Summary(panel, 33, 0, 0)}});
  }
  {
    // Alias chains of 20 and of 40 buttons ending at an IR code: the short one
    // is followed to its code, the long one passes the alias depth bound.
    CcfBuilder b;
    const uint32_t ir = b.AddActionList({IrAction(b.AddIrCode({Rc5Code(0, 12)}))});
    std::vector<PanelItem> items;
    for (int length : {20, 40}) {
      uint32_t button = b.AddButton({.width = 10, .height = 10, .actions = ir});
      for (int i = 0; i < length; ++i) {
        button = b.AddButton(
            {.width = 10, .height = 10, .actions = b.AddActionList({AliasAction(button)})});
      }
      items.push_back(ButtonItem(0, 0, button));
    }
    const uint32_t panel = b.AddPanel({"Chains", items});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"count_alias_depth",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Chains")}),
                     {Summary(panel, 2, 1, 0)}});
  }
  {
    // 65535 x 65535 with no pixel data: the canvas reads what it can show,
    // the buffer sink refuses the allocation.
    CcfBuilder b;
    const uint32_t eight = b.AddBitmap({.width = 65535, .height = 65535, .depth = 8});
    const uint32_t one = b.AddBitmap({.width = 65535, .height = 65535, .depth = 1});
    const uint32_t two = b.AddBitmap({.width = 65535, .height = 65535, .depth = 2});
    std::vector<PanelItem> items;
    for (uint32_t bitmap : {eight, one, two}) {
      items.push_back(FrameItem(0, 0, b.AddFrame({.width = 240, .height = 219, .bitmap = bitmap})));
    }
    const uint32_t panel = b.AddPanel({"Huge", items});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"huge_bitmaps",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Huge")}),
                     {kReadPastEnd, kNoMemory, kNoMemory, kNoMemory, Summary(panel, 3, 0, 3)}});
  }
  {
    // The compressed-bitmap message is shown once for all panels of a preview.
    CcfBuilder b;
    const uint32_t c8 = b.AddBitmap(
        {.width = 16, .height = 16, .depth = 8, .compressed = true, .raw = {0x12, 0x34, 0x56}});
    const uint32_t c2 = b.AddBitmap({.width = 16, .height = 16, .depth = 2, .compressed = true});
    const uint32_t f1 = b.AddFrame({.width = 16, .height = 16, .bitmap = c8});
    const uint32_t f2 = b.AddFrame({.width = 16, .height = 16, .bitmap = c2});
    const uint32_t p1 = b.AddPanel({"First", {FrameItem(0, 0, f1), FrameItem(20, 0, f2)}});
    const uint32_t p2 = b.AddPanel({"Second", {FrameItem(0, 0, f2)}});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {p1, p2}})});
    cases.push_back({"compressed_bitmaps",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(p1, "First"), ListEntry(p2, "Second")}),
                     {kCompressed, Summary(p1, 2, 0, 2), Summary(p2, 1, 0, 1)}});
  }
  {
    // Sound compressed bitmaps of both forms and an RC6 code, converted only
    // on request: a button of grey 2-bit run stripes, a frame of an 8-bit
    // literal row above rows of colour pair runs.
    CcfBuilder b;
    std::vector<uint8_t> grey, colour = {0xFF, 13};
    for (int row = 0; row < 16; ++row) grey.push_back(static_cast<uint8_t>(0xF0 | row % 4));
    for (int i = 0; i < 24; ++i) colour.push_back(static_cast<uint8_t>(i * 10));
    for (uint8_t c = 25; c < 245; c += 20) colour.insert(colour.end(), {12, 0, c, uint8_t(c + 1)});
    const uint32_t rc6 = b.AddIrCode({{0x6000, 0, 0, 1, 0x30, 0xD1}});
    const uint32_t icon = b.AddBitmap({32, 16, 2, true, {}, grey});
    const uint32_t button = b.AddButton({.width = 32,
                                         .height = 16,
                                         .actions = b.AddActionList({IrAction(rc6)}),
                                         .label = "Play",
                                         .bitmaps = {icon, 0, icon, 0}});
    const uint32_t frame = b.AddFrame(
        {.width = 24, .height = 12, .bitmap = b.AddBitmap({24, 12, 8, true, {}, colour})});
    const uint32_t panel =
        b.AddPanel({"Icons", {ButtonItem(8, 8, button), FrameItem(8, 40, frame)}});
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"sound_compressed_rc6",
                     b.bytes(),
                     {},
                     DeviceChainList({ListEntry(panel, "Icons")}),
                     {kCompressed, Summary(panel, 2, 1, 3)}});
  }
  {
    // References near 4 GiB: 32-bit sums would wrap back into the header.
    CcfBuilder b;
    b.Patch32(static_cast<uint32_t>(Chain::kHome), 0xFFFFFFF0u);
    const uint32_t frame = b.AddFrame({.width = 10, .height = 10, .bitmap = 0xFFFFFFFAu});
    const uint32_t panel = b.AddPanel({"Far", {FrameItem(0, 0, frame)}});
    b.Patch32(panel + 4, 0xFFFFFFFFu);  // masked to 0x7FFFFFFF: past the end
    b.SetChain(Chain::kDevices, {b.AddDevice({.name = "Dev", .panels = {panel}})});
    cases.push_back({"reference_near_4gib",
                     b.bytes(),
                     {kReadPastEnd},
                     {kHome, kDevices, ListEntry(panel, ""), kMacros},
                     {kReadPastEnd, Summary(panel, 1, 0, 1)}});
  }
  return cases;
}

// Sound files, so that the corpus also shows what a walk finds when nothing is wrong.
std::vector<Case> SoundCases() {
  std::vector<Case> cases;
  cases.push_back({"sound_no_chains", CcfBuilder().bytes(), {}, kHeadingsOnly, {}});
  for (bool colour : {false, true}) {
    CcfBuilder b({.colourFormat = colour, .longIrHeader = colour});
    const uint32_t learned = b.AddActionList(
        {IrAction(b.AddIrCode({LearnedCode(0x6D, {{16, 32}, {48, 64}}, {{16, 320}})}))});
    const uint32_t rc5 = b.AddActionList({IrAction(b.AddIrCode({Rc5Code(0, 16)}))});
    Bitmap grey{.width = 9, .height = 3, .depth = 2};
    for (int i = 0; i < 27; ++i) grey.pixels.push_back(static_cast<uint8_t>(i % 4));
    Bitmap colourful{
        .width = 5, .height = 2, .depth = 8, .pixels = {0, 5, 30, 180, 215, 240, 255, 1, 2, 3}};
    const uint32_t g = b.AddBitmap(grey);
    const uint32_t c = b.AddBitmap(colourful);
    const uint32_t m =
        b.AddBitmap({.width = 9, .height = 2, .depth = 1, .pixels = std::vector<uint8_t>(18, 1)});
    const uint32_t play = b.AddButton({.width = 30,
                                       .height = 20,
                                       .actions = learned,
                                       .label = "\x87",
                                       .fontSize = 10,
                                       .bitmaps = {g, g, c, c},
                                       .colours = {0x0C, 0x03}});
    const uint32_t alias = b.AddButton({.width = 30,
                                        .height = 20,
                                        .actions = b.AddActionList({AliasAction(play)}),
                                        .secondName = "Again"});
    const uint32_t frame =
        b.AddFrame({.width = 100,
                    .height = 40,
                    .name = "Group",
                    .bitmap = m,
                    .fontSize = 8,
                    .children = {ButtonItem(2, 2, play), ButtonItem(40, 2, alias)}});
    const uint32_t main = b.AddPanel({"Main", {FrameItem(10, 10, frame)}, true});
    const uint32_t second = b.AddPanel({"Second", {ButtonItem(0, 0, alias)}});
    std::vector<uint32_t> keys(colour ? 9 : 7, 0);
    keys[2] = rc5;
    keys.back() = learned;
    const uint32_t device =
        b.AddDevice({.name = "Dev", .hardKeys = keys, .panels = {main, second}});
    const uint32_t homePanel = b.AddPanel({"Home", {ButtonItem(0, 0, alias)}});
    b.SetChain(Chain::kHome, {b.AddDevice({.name = "Home", .panels = {homePanel}})});
    b.SetChain(Chain::kDevices, {device});
    // Main: frame (1 bitmap), play (4 bitmaps, its code), alias (the same
    // code); both hard keys. Second: the alias and the hard keys.
    cases.push_back(
        {colour ? "sound_colour_long_ir" : "sound_plain",
         b.bytes(),
         {},
         {kHome, ListEntry(homePanel, "Home"), kDevices, ListEntry(main, "Main"),
          ListEntry(second, "Second"), kMacros},
         {Summary(homePanel, 1, 1, 0), Summary(main, 3, 4, 5), Summary(second, 1, 3, 0)}});
  }
  return cases;
}

std::string Transcript(const Case& c) {
  std::string text = "[load]\n";
  for (const std::string& line : c.load) text += line + "\n";
  text += "[PanelList]\n";
  for (const std::string& line : c.panels) text += line + "\n";
  text += "[walk]\n";
  for (const std::string& line : c.walk) text += line + "\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_malformed_ccf OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::vector<Case> cases;
  for (auto group : {RejectedCases, TruncatedRecordCases, TruncatedContentCases, LoopCases,
                     CountAndSizeCases, SoundCases}) {
    for (Case& c : group()) cases.push_back(std::move(c));
  }
  for (const Case& c : cases) {
    const std::string text = Transcript(c);
    if (!WriteFileBytes(dir + "/" + c.name + ".ccf", c.bytes) ||
        !WriteFileBytes(dir + "/" + c.name + ".expected", {text.begin(), text.end()})) {
      std::fprintf(stderr, "make_malformed_ccf: cannot write %s in %s\n", c.name.c_str(),
                   dir.c_str());
      return 1;
    }
  }
  return 0;
}
