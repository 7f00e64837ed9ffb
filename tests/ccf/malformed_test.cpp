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
    EXPECT_TRUE(std::any_of(names.begin(), names.end(),
                            [&](const std::string& n) { return n.rfind(prefix, 0) == 0; }))
        << prefix;
  }
}

}  // namespace
