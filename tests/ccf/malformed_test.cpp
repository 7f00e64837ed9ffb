// Every file of the malformed corpus is loaded and every listed panel walked
// (items, frames, IR codes, hard keys, bitmaps into the canvas and the buffer
// sink); the transcript of messages, PanelList and walk summaries must equal
// the NAME.expected committed beside NAME.ccf. Each file is its own CTest
// entry with a 5-second bound, so a hang shows as a timeout of that file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ccf_exercise.h"
#include "project_paths.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(PROJECT_SOURCE_DIR) / "tests" / "data" / "malformed";

std::vector<std::string> CorpusNames() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
    if (entry.path().extension() == ".ccf") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class MalformedCorpus : public testing::TestWithParam<std::string> {};

TEST_P(MalformedCorpus, LoadsAndWalksWithTheExpectedMessages) {
  const fs::path ccf = kCorpus / (GetParam() + ".ccf");
  const fs::path expected = kCorpus / (GetParam() + ".expected");
  ASSERT_TRUE(fs::exists(expected)) << expected;
  EXPECT_EQ(ccf_exercise::ExerciseCcf(ReadBytes(ccf), ccf.filename().string()),
            ReadLines(expected));
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedCorpus, testing::ValuesIn(CorpusNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(MalformedCorpusFolder, HoldsEveryKindOfDamage) {
  const std::vector<std::string> names = CorpusNames();
  for (const char* prefix : {"rejected_", "truncated_", "loop_", "count_", "huge_", "sound_"}) {
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return n.rfind(prefix, 0) == 0;
    })) << prefix;
  }
}

// The committed sample loads without a message and every panel walks cleanly;
// the counts follow from samples/make_demo_ccf.cpp (the TV's main panel: a logo
// frame, 4 buttons with faces, a keypad frame of 10 plain buttons; 14 button
// codes and 7 hard keys).
TEST(DemoSample, LoadsAndWalksWithoutMessages) {
  const fs::path demo = fs::path(PROJECT_SOURCE_DIR) / "samples" / "demo.ccf";
  EXPECT_EQ(ccf_exercise::ExerciseCcf(ReadBytes(demo), "demo.ccf"),
            (std::vector<std::string>{
                "[load]", "[PanelList]", "-- Home --", "00001DDB - Home", "-- Devices --",
                "0000130A - TV Main", "000014E8 - TV Picture", "000019D1 - DVD Transport",
                "00001C5E - DVD Menu", "-- Macros --", "00001FC2 - Movie night", "[walk]",
                "00001DDB: 4 items, 2 IR codes, 13 bitmaps",
                "0000130A: 16 items, 21 IR codes, 17 bitmaps",
                "000014E8: 3 items, 10 IR codes, 12 bitmaps",
                "000019D1: 12 items, 14 IR codes, 40 bitmaps",
                "00001C5E: 7 items, 11 IR codes, 28 bitmaps",
                "00001FC2: 2 items, 2 IR codes, 8 bitmaps"}));
}

}  // namespace
