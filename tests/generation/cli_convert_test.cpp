// velmora-cli convert and buttons, run in-process on built CCF files: the
// options act through the window's handlers, in their fixed order.
#include <gtest/gtest.h>

#include <sstream>

#include "converter/cli/cli_commands.h"
#include "project_paths.h"
#include "tests/generation/generation_fixture.h"

namespace velmora::gentest {
namespace {

using ccf_builder::ButtonItem;
using ccf_builder::CcfBuilder;
using ccf_builder::ListEntry;

// "P" and the number, appended: GCC 12's -Wrestrict misreads a prepend.
std::string PanelName(int i) {
  std::string name = "P";
  name += std::to_string(i);
  return name;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CcfBuilder b;
    power_ = b.AddButton({.width = 40, .height = 20, .label = "Power", .fontSize = 8});
    mute_ = b.AddButton({.width = 40, .height = 20, .label = "Mute", .fontSize = 8});
    main_ = b.AddPanel({"Main", {ButtonItem(2, 4, power_), ButtonItem(50, 4, mute_)}});
    extra_ = b.AddPanel({"Extra", {ButtonItem(0, 0, mute_)}});
    uint32_t device = b.AddDevice({.name = "TV", .panels = {main_, extra_}});
    b.SetChain(ccf_builder::Chain::kDevices, {device});
    input_ = dir_.File("in.ccf");
    ASSERT_TRUE(b.WriteFile(input_));
    builder_ = b;
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    messages_.Clear();
    cli::CommandContext context{std::move(args), out_, messages_};
    std::string command = context.args.front();
    context.args.erase(context.args.begin());
    return command == "convert" ? cli::RunConvert(context) : cli::RunButtons(context);
  }

  Database Written() { return SplitDatabase(ReadFileBytes(Out())); }
  std::string Out() const { return dir_.File("Halvestone.PDB"); }

  ScratchDir dir_;
  CcfBuilder builder_;
  std::string input_;
  std::ostringstream out_;
  common::RecordedMessages messages_;
  uint32_t power_ = 0, mute_ = 0, main_ = 0, extra_ = 0;
};

TEST_F(CliTest, ButtonsPrintsTheButtonListOfANamedOrNumberedPanel) {
  EXPECT_EQ(Run({"buttons", input_, "Main"}), 0);
  EXPECT_EQ(out_.str(), ListEntry(power_, "Power") + "\n" + ListEntry(mute_, "Mute") + "\n");
  EXPECT_EQ(Run({"buttons", input_, OffsetToHex(extra_)}), 0);
  EXPECT_EQ(out_.str(), ListEntry(mute_, "Mute") + "\n");
  EXPECT_EQ(Run({"buttons", input_, "Nowhere"}), cli::kExitUsage);
}

TEST_F(CliTest, WithoutOptionsTheStartUpStateIsUsed) {
  ASSERT_EQ(Run({"convert", input_, "-o", Out(), "--category", "Main"}), 0);
  Bytes fromCli = ReadFileBytes(Out());
  FormState form = LoadedForm(builder_, messages_);
  form.categoryList.Add(ListEntry(main_, "Main"));
  std::optional<Database> db = Generate(form, Out(), messages_);
  ASSERT_TRUE(db.has_value());
  EXPECT_EQ(fromCli, db->file);
  EXPECT_EQ(db->count, 1 + 4 + 7);
  EXPECT_EQ(DecodeControl(db->records[1].bytes).x, 2);  // hard keys: OffsetX "0"
  EXPECT_EQ(DecodeControl(db->records[1].bytes).y, 4 + 44 + 13);
}

TEST_F(CliTest, TypedFieldsApplyAfterTheModeAndNoIrDropsHardKeys) {
  ASSERT_EQ(Run({"convert", "--offset", "5,6", input_, "--scale-mode", "1", "--no-ir", "-o", Out(),
                 "--category", OffsetToHex(main_), "--scale", "2,1.5"}),
            0);
  Database db = Written();
  ASSERT_EQ(db.count, 1 + 4);
  Control power = DecodeControl(db.records[1].bytes);
  EXPECT_EQ(power.x, 2 * 2 + 5);
  EXPECT_EQ(power.y, 6 + 6 + 13);
  EXPECT_EQ(power.width, 80);
}

TEST_F(CliTest, UnfiledButtonsByPanelLabelAndByOffset) {
  ASSERT_EQ(Run({"convert", input_, "-o", Out(), "--unfiled", "Main/Mute", "--unfiled",
                 OffsetToHex(power_), "--unfiled", "Extra/Mute", "--no-hard-keys"}),
            0);
  Database db = Written();
  ASSERT_EQ(db.count, 1 + 4);  // the second Mute is the same entry
  EXPECT_EQ(DecodeControl(db.records[1].bytes).label, "Mute");
  EXPECT_EQ(DecodeControl(db.records[3].bytes).label, "Power");
  EXPECT_EQ(Run({"convert", input_, "-o", Out(), "--unfiled", "Main/Nothing"}), cli::kExitUsage);
}

TEST_F(CliTest, UnfiledRunsAddWhatSingleClicksWouldAdd) {
  CcfBuilder b;
  std::vector<uint32_t> buttons;
  std::vector<ccf_builder::PanelItem> items;
  for (const char* label : {"A", "B", "C", "D"}) {
    buttons.push_back(b.AddButton({.width = 10, .height = 10, .label = label, .fontSize = 8}));
    items.push_back(ButtonItem(0, 0, buttons.back()));
  }
  items.push_back(ButtonItem(0, 0, buttons[1]));  // B placed twice
  uint32_t keys = b.AddPanel({"Keys", items});
  uint32_t other =
      b.AddPanel({"Other", {ButtonItem(0, 0, buttons[3]), ButtonItem(0, 0, buttons[0])}});
  b.SetChain(ccf_builder::Chain::kDevices, {b.AddDevice({.name = "TV", .panels = {keys, other}})});
  ASSERT_TRUE(b.WriteFile(input_));
  // Forward, then back (C before B), repeated, across panels and by offset.
  ASSERT_EQ(Run({"convert", input_, "-o", Out(), "--no-hard-keys", "--unfiled", "Keys/A",
                 "--unfiled", "Keys/C", "--unfiled", "Keys/B", "--unfiled", "Other/A", "--unfiled",
                 OffsetToHex(buttons[3]), "--unfiled", "Keys/B", "--unfiled", "Other/D"}),
            0);
  Database db = Written();
  ASSERT_EQ(db.count, 1 + 2 * 4);
  std::string labels;
  for (int r = 1; r < db.count; r += 2) labels += DecodeControl(db.records[r].bytes).label;
  EXPECT_EQ(labels, "ACBD");
}

TEST_F(CliTest, SixteenthCategoryIsReportedAndTheRestIsWritten) {
  std::vector<std::string> args = {"convert", input_, "-o", Out()};
  CcfBuilder b;
  std::vector<uint32_t> panels;
  for (int i = 0; i < 16; ++i) panels.push_back(b.AddPanel({PanelName(i), {}}));
  uint32_t device = b.AddDevice({.name = "Many", .panels = panels});
  b.SetChain(ccf_builder::Chain::kDevices, {device});
  ASSERT_TRUE(b.WriteFile(input_));
  for (int i = 0; i < 16; ++i) {
    args.push_back("--category");
    args.push_back(PanelName(i));
  }
  ASSERT_EQ(Run(args), 0);
  std::string line = "Too many categories: ";
  line += kTooManyCategoriesText;
  EXPECT_EQ(messages_.Lines(), std::vector<std::string>{line});
  EXPECT_EQ(Written().count, 1 + 15 * 7);
}

// Finding the unfiled button lists its panel without drawing it: the
// compressed bitmaps are reported once, by the conversion.
TEST_F(CliTest, CompressedIconsAndRc6CodesConvertOnlyOnRequest) {
  std::string sound = PROJECT_SOURCE_DIR "/tests/data/malformed/sound_compressed_rc6.ccf";
  std::vector<std::string> args = {"convert",   sound,        "-o",
                                   Out(),       "--category", "Icons",
                                   "--unfiled", "Icons/Play", "--no-hard-keys"};
  ASSERT_EQ(Run(args), 0);
  std::vector<std::string> captions;
  for (const auto& entry : messages_.entries()) captions.push_back(entry.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"Unsupported feature", "Unknown IR code"}));
  args.insert(args.end(), {"--decode-compressed", "--convert-rc6"});
  ASSERT_EQ(Run(args), 0);
  EXPECT_TRUE(messages_.Lines().empty());
  Database db = Written();
  ASSERT_EQ(db.count, 1 + 2 + 2 + 4);
  // The 32 x 16 2-bit icon: rows of value 0 (level 3), then of value 1 (level 2).
  EXPECT_EQ(
      Bytes(db.records[1].bytes.begin() + 56, db.records[1].bytes.begin() + 88),
      Join(
          {{0, 32, 0, 16, 0, 8, 0, 0, 2, 2, 0, 0, 0, 0xFF, 0, 0}, Bytes(8, 0xFF), Bytes(8, 0xAA)}));
  // The button's learned code: type 5 (the frame repeats), carrier word 0x73.
  EXPECT_EQ(Bytes(db.records[3].bytes.begin() + 24, db.records[3].bytes.begin() + 29),
            (Bytes{5, 0x00, 0x01, 0x19, 0x98}));
}

TEST_F(CliTest, FailuresGiveNonZeroExitCodes) {
  std::string nowhere = dir_.File("missing/Out.PDB");
  EXPECT_EQ(Run({"convert", input_, "-o", nowhere}), 3);
  EXPECT_EQ(messages_.Lines(),
            std::vector<std::string>{"File error: Failed to open output file " + nowhere});
  EXPECT_EQ(Run({"convert", input_, "-o", Out(), "--scale", "x,1"}), 3);
  EXPECT_EQ(messages_.Lines(),
            std::vector<std::string>{"Velmora: 'x' is not a valid floating point value"});
  EXPECT_EQ(Run({"convert", dir_.File("absent.ccf"), "-o", Out()}), cli::kExitRejected);
  EXPECT_EQ(Run({"convert", input_}), cli::kExitUsage);
  EXPECT_EQ(Run({"convert", input_, "-o", Out(), "--scale-mode", "11"}), cli::kExitUsage);
  EXPECT_EQ(Run({"convert", input_, "-o", Out(), "--preview"}), cli::kExitUsage);
  EXPECT_EQ(Run({"convert", input_, "-o", Out(), "--category", "Nowhere"}), cli::kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(Out()));
  EXPECT_EQ(Run({"convert", "--help"}), 0);
  EXPECT_NE(out_.str().find("--no-hard-keys"), std::string::npos);
}

}  // namespace
}  // namespace velmora::gentest
