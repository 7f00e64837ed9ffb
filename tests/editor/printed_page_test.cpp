#include "sectoredit/editor/printed_page.h"

#include <gtest/gtest.h>

#include "memory_disk.h"

namespace sectoredit::testing {
namespace {

TEST(PrintedPage, HeadingBlankLineAndRowsOfOffsetHexDashAndRawBytes) {
  SectorArray sector = DefaultSector(0x41);
  sector[0x1F0] = 0x0A;
  sector[0x1FF] = 0x00;
  const std::vector<std::string> lines = PrintedPageLines(6442450943u, sector);
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[0], "Sector Number 6442450943");
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

// Records each call as one line: "start", "y=N TEXT" or "end"; refuses to
// end page number `refused_end` (counted from 1).
class RecordedSurface : public PageSurface {
 public:
  bool StartPage() override {
    calls.push_back("start");
    return true;
  }
  void DrawLine(int y, std::string_view text) override {
    calls.push_back("y=" + std::to_string(y) + " " + std::string(text));
  }
  bool EndPage() override {
    calls.push_back("end");
    return ++pages != refused_end;
  }
  std::vector<std::string> calls;
  int pages = 0;
  int refused_end = 0;
};

TEST(PrintedPage, EachCopyIsOneIdenticalPageFromTheTopUntilAPageIsRefused) {
  const SectorArray sector = DefaultSector(7);
  const std::vector<std::string> lines = PrintedPageLines(7, sector);
  RecordedSurface surface;
  surface.refused_end = 2;
  EXPECT_FALSE(PrintSectorPages(surface, 7, sector, 3, 13)) << "the second page was refused";
  std::vector<std::string> page = {"start", "y=0 Sector Number 7"};
  for (int row = 0; row < 32; ++row) {
    page.push_back("y=" + std::to_string(13 * (row + 2)) + " " + lines[2 + row]);
  }
  page.push_back("end");
  std::vector<std::string> two_pages = page;
  two_pages.insert(two_pages.end(), page.begin(), page.end());
  EXPECT_EQ(surface.calls, two_pages);
}

}  // namespace
}  // namespace sectoredit::testing
