#include "common/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/output/output_test_util.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using velmora::testing::ReadWholeFile;
using velmora::testing::ScratchDir;
using velmora::testing::WriteWholeFile;

// "\x80" is a letter of the Windows code pages (the euro sign in 1252) but a
// control character to a Latin-1 reading of the name: the rename must read
// the names as fopen wrote them.
TEST(RenameReplacing, ReplacesTheTargetAndFailsWithoutTouchingIt) {
  ScratchDir dir;
  const std::string from = dir.File("new \x80.tmp");
  const std::string to = dir.File("old \x80.pdb");
  WriteWholeFile(from, Bytes{1, 2});
  WriteWholeFile(to, Bytes(100, 9));
  ASSERT_TRUE(common::RenameReplacing(from, to));
  EXPECT_EQ(ReadWholeFile(to), (Bytes{1, 2}));
  EXPECT_EQ(std::fopen(from.c_str(), "rb"), nullptr);

  EXPECT_FALSE(common::RenameReplacing(dir.File("missing"), to));
  EXPECT_EQ(ReadWholeFile(to), (Bytes{1, 2}));
}

TEST(FileLength, MeasuresAnOpenFileWithoutMovingIt) {
  ScratchDir dir;
  const std::string path = dir.File("length");
  WriteWholeFile(path, Bytes(70000, 1));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fgetc(file);
  EXPECT_EQ(common::FileLength(file), 70000u);
  EXPECT_EQ(std::ftell(file), 1);
  std::fclose(file);
}

}  // namespace
