// Damaged inputs and a full disk: a run either writes a complete database
// whose record list has exactly the announced records, or it writes nothing
// and leaves the previous database as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "converter/ccf/ccf_bitmap.h"
#include "converter/output/panel_walk.h"
#include "tests/generation/generation_fixture.h"
#include "project_paths.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velmora::gentest {
namespace {

namespace fs = std::filesystem;

// Every panel (at most 15) as a category, and every button they list as an
// unfiled button: the widest run a user could ask for.
void ChooseEverything(FormState& form, common::Messages& messages) {
  for (size_t i = 0; i < form.panelList.size(); ++i) {
    form.panelList.Select(i);
  }
  AddPanelBtnClick(form, messages);
  CcfReader reader(*form.ccfImage, messages);
  for (const std::string& panel : form.categoryList.items()) {
    for (const std::string& button : ListPanelButtons(reader, HexToOffset(panel), form.format)) {
      if (!form.unfiledList.Contains(button)) form.unfiledList.Add(button);
    }
  }
}

bool Contains(const std::vector<std::string>& lines, std::string_view text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(text) != line.npos; });
}

void ExpectCompleteDatabase(const Database& db) {
  ASSERT_EQ(db.records.size(), db.count);
  size_t end = 78 + 8 * size_t{db.count} + 276;
  for (size_t i = 0; i < db.records.size(); ++i) {
    EXPECT_EQ(db.records[i].uniqueId, 0x1000u + i);
    EXPECT_GE(db.records[i].offset, end) << "record " << i << " was never begun";
    EXPECT_FALSE(db.records[i].bytes.empty()) << "record " << i;
    end = db.records[i].offset;
  }
}

class MalformedInputs : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedInputs, GenerationBeginsExactlyTheAnnouncedRecords) {
  ScratchDir dir;
  common::RecordedMessages messages;
  FormState form;
  fs::path input = fs::path(PROJECT_SOURCE_DIR) / "tests/data/malformed" / GetParam();
  ASSERT_TRUE(LoadCcfFile(form, input.string(), messages));
  ChooseEverything(form, messages);
  messages.Clear();
  std::string out = dir.File("Halvestone.PDB");
  std::optional<Database> db = Generate(form, out, messages);
  std::vector<std::string> lines = messages.Lines();
  EXPECT_FALSE(Contains(lines, "Unable to write to file")) << ::testing::PrintToString(lines);
  if (db) {
    ExpectCompleteDatabase(*db);
  } else {
    // The only reason a damaged file may stop a run: a bitmap too large to render.
    EXPECT_TRUE(Contains(lines, kBitmapMemoryText)) << ::testing::PrintToString(lines);
    EXPECT_TRUE(fs::is_empty(dir.path()));
  }
}

std::vector<std::string> MalformedFiles() {
  std::vector<std::string> names;
  fs::path folder = fs::path(PROJECT_SOURCE_DIR) / "tests/data/malformed";
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    // Files the loader rejects never reach a generation.
    if (entry.path().extension() == ".ccf" && name.rfind("rejected_", 0) != 0) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedInputs, ::testing::ValuesIn(MalformedFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = fs::path(info.param).stem().string();
                           std::replace_if(
                               name.begin(), name.end(), [](char c) { return !std::isalnum(c); },
                               '_');
                           return name;
                         });

TEST(GenerationRobustness, FrameLoopCountsAndWritesTheSameItems) {
  ScratchDir dir;
  common::RecordedMessages messages;
  ccf_builder::CcfBuilder b;
  uint32_t button = b.AddButton({.width = 5, .height = 5});
  uint32_t frame = b.AddFrame(
      {.children = {ccf_builder::ButtonItem(1, 1, button), ccf_builder::FrameItem(0, 0, 0)}});
  b.Patch32(b.FrameChildField(frame, 1) + ccf_builder::CcfBuilder::kItemObjectField, frame);
  uint32_t panel = b.AddPanel({"Loop", {ccf_builder::FrameItem(0, 0, frame)}});
  uint32_t device = b.AddDevice({.name = "D", .panels = {panel}});
  b.SetChain(ccf_builder::Chain::kDevices, {device});
  FormState form = LoadedForm(b, messages);
  form.categoryList.Add(ccf_builder::ListEntry(panel, "Loop"));
  std::optional<Database> db = Generate(form, dir.File("Halvestone.PDB"), messages);
  ASSERT_TRUE(db.has_value());
  ExpectCompleteDatabase(*db);
  CcfReader reader(*form.ccfImage, messages);
  IconList icons;
  uint32_t items = CountPanelItems(reader, panel, form.format, {}, icons);
  EXPECT_EQ(db->count, 1 + 2 * items + 7);
}

#ifndef _WIN32
// Runs `body` in a child process whose files may not grow beyond `limit`
// bytes; returns the child's exit code.
template <typename Body>
int RunWithFileSizeLimit(rlim_t limit, Body body) {
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    rlimit rl{limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}
#endif

TEST(GenerationRobustness, FullDiskStopsTheRunAndKeepsThePreviousDatabase) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and a file size limit";
#else
  ScratchDir dir;
  common::RecordedMessages loadMessages;
  ccf_builder::CcfBuilder b;
  std::vector<ccf_builder::PanelItem> items;
  for (uint8_t i = 0; i < 4; ++i) {
    uint32_t bitmap = b.AddBitmap(
        {.width = 64, .height = 64, .depth = 8, .pixels = std::vector<uint8_t>(64 * 64, i)});
    items.push_back(ccf_builder::ButtonItem(0, 0, b.AddButton({.bitmaps = {0, 0, bitmap, 0}})));
  }
  uint32_t panel = b.AddPanel({"Pictures", items});
  uint32_t device = b.AddDevice({.name = "D", .panels = {panel}});
  b.SetChain(ccf_builder::Chain::kDevices, {device});
  FormState form = LoadedForm(b, loadMessages);
  form.categoryList.Add(ccf_builder::ListEntry(panel, "Pictures"));

  std::string out = dir.File("Halvestone.PDB");
  const Bytes previous = TextBytes("the previous database");
  {
    std::ofstream(out, std::ios::binary)
        .write(reinterpret_cast<const char*>(previous.data()),
               static_cast<std::streamsize>(previous.size()));
  }
  int code = RunWithFileSizeLimit(6000, [&] {
    common::RecordedMessages messages;
    FixedPathDialog dialog(out);
    bool written = GoBtnClick(form, dialog, messages);
    bool reported =
        messages.Lines() == std::vector<std::string>{"File error: Unable to write to file"};
    return written ? 1 : reported ? 0 : 2;
  });
  EXPECT_EQ(code, 0) << "1: reported as written; 2: not reported exactly once";
  EXPECT_EQ(ReadFileBytes(out), previous);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "a partial file was left behind";

  // Without the limit the same run writes the whole database.
  common::RecordedMessages messages;
  std::optional<Database> db = Generate(form, out, messages);
  ASSERT_TRUE(db.has_value());
  EXPECT_GT(db->file.size(), 6000u);
#endif
}

}  // namespace
}  // namespace velmora::gentest
