// The POSIX backend on image files, a simulated block-device tree and, when
// the machine allows it, a loop device.
#include "sectoredit/disk/posix_disk.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "disk_test_support.h"
#include "sectoredit/disk/aligned_buffer.h"

namespace sectoredit::testing {
namespace {

namespace fs = std::filesystem;

class PosixDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("posix_disk_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string WriteImage(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::vector<uint8_t> ReadImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path dir;
  common::RecordedMessages messages;
};

TEST_F(PosixDiskTest, LastSectorOfImageFilesFollowsTheEvenRule) {
  for (auto [sectors, last] :
       {std::pair<uint32_t, uint32_t>{1000, 999}, {1001, 999}, {2, 1}, {1, 0}, {0, 0}}) {
    PosixDisk disk(messages);
    ASSERT_TRUE(disk.Open(WriteImage("sized.img", std::vector<uint8_t>(sectors * 512))));
    EXPECT_EQ(disk.LastSector(), last) << sectors;
  }
}

TEST_F(PosixDiskTest, LargeSparseImageSizesByLength) {
  const std::string path = (dir / "sparse.img").string();
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, uint64_t{2000001} * 512);
  PosixDisk disk(messages);
  ASSERT_TRUE(disk.Open(path));
  EXPECT_EQ(disk.LastSector(), 1999999u);
}

TEST_F(PosixDiskTest, ReadsAndWritesWholeSectorsInPlace) {
  const std::vector<uint8_t> image = PatternSectors(10);
  const std::string path = WriteImage("rw.img", image);
  {
    PosixDisk disk(messages);
    ASSERT_TRUE(disk.Open(path));
    AlignedSectorBuffer buffer(3);
    ASSERT_EQ(disk.ReadDiskSectors(4, 3, buffer.data()), 3u * 512);
    EXPECT_EQ(0, std::memcmp(buffer.data(), image.data() + 4 * 512, 3 * 512));
    std::memset(buffer.data(), 0xC3, 1024);
    ASSERT_EQ(disk.WriteDiskSectors(8, 2, buffer.data()), 1024u);
  }
  std::vector<uint8_t> expected = image;
  std::memset(expected.data() + 8 * 512, 0xC3, 1024);
  EXPECT_EQ(ReadImage(path), expected);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(PosixDiskTest, ReadPastTheEndIsShortAndCountsAreBounded) {
  PosixDisk disk(messages);
  ASSERT_TRUE(disk.Open(WriteImage("short.img", PatternSectors(3))));
  AlignedSectorBuffer buffer(129);
  EXPECT_EQ(disk.ReadDiskSectors(2, 2, buffer.data()), 512u);
  EXPECT_EQ(disk.ReadDiskSectors(3, 1, buffer.data()), 0u);
  EXPECT_EQ(disk.ReadDiskSectors(0, 0, buffer.data()), 0u);
  EXPECT_EQ(disk.ReadDiskSectors(0, 129, buffer.data()), 0u);
  EXPECT_EQ(disk.WriteDiskSectors(0, 129, buffer.data()), 0u);
}

TEST_F(PosixDiskTest, ReadOnlyImageOpensForReadingAndRefusesWrites) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write to read-only files";
  const std::string path = WriteImage("ro.img", PatternSectors(2));
  fs::permissions(path, fs::perms::owner_read);
  PosixDisk disk(messages);
  ASSERT_TRUE(disk.Open(path));
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(disk.ReadDiskSectors(1, 1, buffer.data()), 512u);
  EXPECT_EQ(disk.WriteDiskSectors(1, 1, buffer.data()), 0u);
}

TEST_F(PosixDiskTest, NoDiskOpenFailsAndOnlyTheReportingReadSaysSo) {
  PosixDisk disk(messages);
  EXPECT_FALSE(disk.Open((dir / "missing.img").string()));
  EXPECT_EQ(disk.LastSector(), 0u);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(disk.ReadDiskSectorsDirect(0, 1, buffer.data()), 0u);
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(disk.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{"Error: Error reading disk"});
  EXPECT_EQ(disk.WriteDiskSectors(0, 1, buffer.data()), 0u);
}

TEST_F(PosixDiskTest, DirectoryIsNotADisk) {
  PosixDisk disk(messages);
  EXPECT_FALSE(ProbeDiskPath(dir.string()));
  if (disk.Open(dir.string())) {
    EXPECT_EQ(disk.LastSector(), 0u);
  }
}

TEST_F(PosixDiskTest, ListsReadablePartitionsThenWholeDisksByName) {
  const fs::path sys = dir / "sys";
  const fs::path dev = dir / "dev";
  fs::create_directories(dev);
  for (const char* disk : {"sdb", "sda", "nvme0n1", "loop0", "sr0", "dm-0"}) {
    fs::create_directories(sys / disk);
  }
  for (const char* partition : {"sda2", "sda1", "mmcblk0p1"}) {
    fs::create_directories(sys / partition);
    std::ofstream(sys / partition / "partition") << "1\n";
  }
  for (const char* name : {"sda", "sdb", "sda1", "sda2", "nvme0n1", "mmcblk0p1", "sr0", "dm-0"}) {
    WriteImage("dev/" + std::string(name), PatternSectors(1));
  }
  WriteImage("dev/loop0", {});                       // an unattached loop device reads nothing
  WriteImage("dev/sdb", std::vector<uint8_t>(511));  // less than one sector
  const std::string d = dev.string();
  const std::vector<std::string> expected = {
      "Logical " + d + "/mmcblk0p1", "Logical " + d + "/sda1", "Logical " + d + "/sda2",
      "Physical " + d + "/nvme0n1", "Physical " + d + "/sda"};
  EXPECT_EQ(ListBlockDevices(sys.string(), d), expected);
  EXPECT_TRUE(ListBlockDevices((dir / "none").string(), d).empty());
}

TEST(DiskPathFromEntry, TakesThePathAfterTheFirstSpaceOfListEntries) {
  EXPECT_EQ(DiskPathFromEntry("Logical /dev/sdb1"), "/dev/sdb1");
  EXPECT_EQ(DiskPathFromEntry("Physical /dev/sdb"), "/dev/sdb");
  EXPECT_EQ(DiskPathFromEntry("Physical /tmp/my disk.img"), "/tmp/my disk.img");
  EXPECT_EQ(DiskPathFromEntry("/tmp/my disk.img"), "/tmp/my disk.img");
  EXPECT_EQ(DiskPathFromEntry("Logicalx"), "Logicalx");
}

// A loop device backed by an image: the block-device size query and transfers.
TEST_F(PosixDiskTest, LoopDeviceSizesByTheBlockDeviceQuery) {
  const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
  if (control < 0) GTEST_SKIP() << "/dev/loop-control is not usable here: " << std::strerror(errno);
  ::close(control);
  const std::string image = WriteImage("loop.img", PatternSectors(2001));
  const std::string attach =
      "losetup --find --show '" + image + "' > '" + (dir / "loop").string() + "' 2>/dev/null";
  if (std::system(attach.c_str()) != 0) GTEST_SKIP() << "losetup cannot attach an image here";
  std::string loop;
  std::ifstream(dir / "loop") >> loop;
  bool opened = false;
  uint32_t last = 0;
  uint32_t read = 0;
  AlignedSectorBuffer buffer(2);
  {
    PosixDisk disk(messages);
    opened = disk.Open(loop);
    last = disk.LastSector();
    read = disk.ReadDiskSectors(1999, 2, buffer.data());
  }
  std::system(("losetup -d '" + loop + "'").c_str());
  ASSERT_TRUE(opened) << loop;
  EXPECT_EQ(last, 1999u);
  EXPECT_EQ(read, 1024u);
  EXPECT_EQ(0, std::memcmp(buffer.data(), PatternSectors(2001).data() + 1999 * 512, 1024));
}

}  // namespace
}  // namespace sectoredit::testing
