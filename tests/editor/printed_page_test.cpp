#include "sectoredit/editor/printed_page.h"

#include <gtest/gtest.h>

#include "memory_disk.h"

namespace sectoredit::testing {
namespace {

TEST(PrintedPage, HeadingBlankLineAndRowsOfOffsetHexDashAndRawBytes) {
  SectorArray sector = DefaultSector(0x41);
  sector[0x1F0] = 0x0A;
  sector[0x1FF] = 0x00;
  const std::vector<std::string> lines = PrintedPageLines(4000000000u, sector);
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[0], "Sector Number 4000000000");
  EXPECT_EQ(lines[1], "");
  const std::string expected_first =
      std::string("000: 41 00 00 00 45 46 47 48 - 49 4A 4B 4C 4D 4E 4F 50 ") +
      std::string("A\0\0\0EFGHIJKLMNOP", 16);
  EXPECT_EQ(lines[2], expected_first) << "the character columns keep the raw bytes";
  EXPECT_EQ(lines[33].substr(0, 34), "1F0: 0A 32 33 34 35 36 37 38 - 39 ");
  EXPECT_EQ(lines[33][55], '\n');
  EXPECT_EQ(lines[33][70], '\0');
  for (size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), kPageRowLength) << i;
}

}  // namespace
}  // namespace sectoredit::testing
