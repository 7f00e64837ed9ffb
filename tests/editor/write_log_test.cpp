#include "sectoredit/disk/write_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/editor/editor_fixture.h"

namespace sectoredit::testing {
namespace {

// The log replays onto a copy of the disk: it must hold exactly the opens
// that succeeded and the bytes each write delivered, in order.
TEST(WriteLogTest, RecordsSuccessfulOpensAndDeliveredWritesOnly) {
  MemoryDisk disk(100, 99);
  disk.FailWrites(7, 7);
  const std::string path = ::testing::TempDir() + "write_log_test.log";
  std::remove(path.c_str());
  {
    auto disks = LogWrites(std::make_unique<OneDisk>(disk), path);
    EXPECT_FALSE(disks->Open("Logical E:"));
    ASSERT_TRUE(disks->OpenListEntry("Logical D:"));
    const SectorArray bytes = DefaultSector(42);
    EXPECT_EQ(disks->Disk().WriteDiskSectors(5, 1, bytes.data()), 512u);
    EXPECT_EQ(disks->Disk().WriteDiskSectors(7, 1, bytes.data()), 0u);
    EXPECT_EQ(disk.Sector(5), bytes);
  }
  std::FILE* log = std::fopen(path.c_str(), "rb");
  ASSERT_NE(log, nullptr);
  std::string text(2000, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), log));
  std::fclose(log);
  const SectorArray bytes = DefaultSector(42);
  EXPECT_EQ(text, "O Logical D:\nW 5 512\n" + std::string(bytes.begin(), bytes.end()));
}

}  // namespace
}  // namespace sectoredit::testing
