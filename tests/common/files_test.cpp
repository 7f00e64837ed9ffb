// Replacing files is shown through the database writer (pdb_writer_test).
#include "common/files.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/output/output_test_util.h"

namespace {

TEST(FileLength, MeasuresAnOpenFileWithoutMovingIt) {
  velmora::testing::ScratchDir dir;
  const std::string path = dir.File("length");
  velmora::testing::WriteWholeFile(path, std::vector<std::uint8_t>(70000, 1));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fgetc(file);
  EXPECT_EQ(common::FileLength(file), 70000u);
  EXPECT_EQ(std::ftell(file), 1);
  std::fclose(file);
}

}  // namespace
