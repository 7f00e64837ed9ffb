// velmora-cli convert and buttons, run in-process on built CCF files: the
// options act through the window's handlers, in their fixed order.
#include <gtest/gtest.h>

#include <sstream>

#include "converter/cli/cli_commands.h"
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
