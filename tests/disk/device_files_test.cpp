// The disk layer in device-file mode against the simulated kernel.
#include <gtest/gtest.h>

#include <cstring>

#include "disk_test_support.h"
#include "fake_kernel.h"
#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/disk_layer.h"

namespace sectoredit::testing {
namespace {

const std::string kDriveC = "\\\\.\\C:";
const std::string kDriveD = "\\\\.\\D:";

// A disk that reports its size but holds none of its bytes, so a large one
// fits in a 32-bit test process.
FakeDisk DiskReportingSectors(uint32_t sectors) {
  FakeDisk disk;
  disk.partition_length = int64_t{sectors} * 512;
  return disk;
}

FakeDisk DiskOfSectors(uint32_t sectors) {
  FakeDisk disk = DiskReportingSectors(sectors);
  disk.data = PatternSectors(sectors);
  return disk;
}

class DeviceFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { layer.DetectDiskAccessMode(); }

  void OpenD(FakeDisk disk) {
    kernel.disks[kDriveD] = std::move(disk);
    ASSERT_TRUE(layer.OpenSelectedDisk("Logical D:"));
  }

  FakeKernel kernel;
  common::RecordedMessages messages;
  DiskLayer layer{kernel, messages};
};

TEST(DetectDiskAccessMode, NtFamilyUsesDeviceFilesAndOpensNothing) {
  for (uint32_t platform : {0u, 2u, 3u}) {
    FakeKernel kernel;
    kernel.version = {platform, 5000};
    common::RecordedMessages messages;
    DiskLayer layer(kernel, messages);
    layer.DetectDiskAccessMode();
    EXPECT_EQ(layer.disk_access_mode(), DiskAccessMode::kDeviceFiles);
    EXPECT_EQ(static_cast<int>(layer.disk_access_mode()), 32);
    EXPECT_FALSE(layer.extended_disk_services());
    EXPECT_TRUE(kernel.opens.empty());
    EXPECT_EQ(layer.disk_ref(), kInvalidHandle);
  }
}

TEST(DetectDiskAccessMode, FailedVersionQueryFallsBackToDeviceFiles) {
  FakeKernel kernel;
  kernel.version_fails = true;
  common::RecordedMessages messages;
  DiskLayer layer(kernel, messages);
  layer.DetectDiskAccessMode();
  EXPECT_EQ(layer.disk_access_mode(), DiskAccessMode::kDeviceFiles);
}

TEST_F(DeviceFilesTest, ListsLogicalThenPhysicalDrivesThatDeliverASector) {
  kernel.disks["\\\\.\\Z:"] = DiskOfSectors(4);
  kernel.disks[kDriveC] = DiskOfSectors(4);
  kernel.disks["\\\\.\\PHYSICALDRIVE9"] = DiskOfSectors(4);
  kernel.disks["\\\\.\\PHYSICALDRIVE0"] = DiskOfSectors(4);
  kernel.disks[kDriveD].data.resize(511);  // opens, but cannot deliver 512 bytes
  kernel.disks["\\\\.\\E:"] = DiskOfSectors(4);
  kernel.disks["\\\\.\\E:"].read_fails = true;
  kernel.disks["\\\\.\\F:"] = DiskOfSectors(4);
  kernel.disks["\\\\.\\F:"].open_fails = true;

  const std::vector<std::string> expected = {"Logical C:", "Logical Z:", "Physical 0",
                                             "Physical 9"};
  EXPECT_EQ(layer.ListDisks(), expected);

  ASSERT_EQ(kernel.opens.size(), 36u);
  EXPECT_EQ(kernel.opens[0], (OpenCall{"\\\\.\\A:", 0xC0000000, 2, 3, 0}));
  EXPECT_EQ(kernel.opens[25].path, "\\\\.\\Z:");
  EXPECT_EQ(kernel.opens[26], (OpenCall{"\\\\.\\PHYSICALDRIVE0", 0xC0000000, 2, 3, 0}));
  EXPECT_EQ(kernel.opens[35].path, "\\\\.\\PHYSICALDRIVE9");
  EXPECT_EQ(kernel.OpenHandleCount(), 0u) << "every probe closes its handle";
}

TEST_F(DeviceFilesTest, ProbeNeedsExactlyOneSector) {
  kernel.disks[kDriveC].data.resize(512);
  EXPECT_TRUE(layer.ProbeDisk(kDriveC));
  kernel.disks[kDriveC].data.resize(511);
  EXPECT_FALSE(layer.ProbeDisk(kDriveC));
  EXPECT_FALSE(layer.ProbeDisk("\\\\.\\Q:"));
}

TEST_F(DeviceFilesTest, OpensLogicalAndPhysicalEntriesUnbuffered) {
  kernel.disks[kDriveD] = DiskOfSectors(1000);
  kernel.disks["\\\\.\\PHYSICALDRIVE3"] = DiskReportingSectors(2000001);

  ASSERT_TRUE(layer.OpenSelectedDisk("Logical D:"));
  EXPECT_EQ(kernel.opens.back(), (OpenCall{kDriveD, 0xC0000000, 2, 3, 0x20000000}));
  EXPECT_EQ(layer.LastSector(), 999u);
  const KernelHandle first = layer.disk_ref();

  ASSERT_TRUE(layer.OpenSelectedDisk("Physical 3"));
  EXPECT_EQ(kernel.opens.back(), (OpenCall{"\\\\.\\PHYSICALDRIVE3", 0xC0000000, 2, 3, 0x20000000}));
  EXPECT_EQ(layer.LastSector(), 1999999u);
  EXPECT_EQ(kernel.closes, std::vector<KernelHandle>{first}) << "the previous disk is closed first";
  EXPECT_EQ(kernel.OpenHandleCount(), 1u);
}

TEST_F(DeviceFilesTest, EntryWithoutAValidLetterOrDigitIsAFailedOpen) {
  kernel.disks[kDriveD] = DiskOfSectors(8);
  ASSERT_TRUE(layer.OpenSelectedDisk("Logical D:"));
  const size_t opens = kernel.opens.size();
  for (const char* entry : {"", "L", "Logical", "Logical ", "Logical d:", "Logical 1:", "Physical",
                            "Physical ", "Physical A", "Physical -", "Lxxxxxxx\xC4:"}) {
    EXPECT_FALSE(layer.OpenSelectedDisk(entry)) << entry;
    EXPECT_EQ(layer.disk_ref(), kInvalidHandle) << entry;
    EXPECT_EQ(layer.LastSector(), 0u) << entry;
  }
  EXPECT_EQ(kernel.opens.size(), opens);
  EXPECT_EQ(kernel.OpenHandleCount(), 0u) << "the old disk is closed even then";
}

TEST_F(DeviceFilesTest, TypedEntryUsesTheNinthCharacterAfterL) {
  kernel.disks[kDriveD] = DiskOfSectors(8);
  EXPECT_TRUE(layer.OpenSelectedDisk("Lxxxxxx D"));
  EXPECT_EQ(kernel.opens.back().path, kDriveD);
}

TEST_F(DeviceFilesTest, FailedOpenLeavesNoDiskAndReadsReportTheSeek) {
  EXPECT_FALSE(layer.OpenSelectedDisk("Logical D:"));
  EXPECT_EQ(layer.LastSector(), 0u);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{"Error: Error reading disk"});
}

TEST_F(DeviceFilesTest, LastSectorFromThePartitionQuery) {
  for (auto [sectors, last] : {std::pair<int64_t, uint32_t>{1000, 999},
                               {1001, 999},
                               {2000000, 1999999},
                               {2000001, 1999999},
                               {1, 0}}) {
    FakeDisk disk;
    disk.partition_length = sectors * 512;
    disk.length_info = 4 * 512;
    disk.file_size = 6 * 512;
    OpenD(disk);
    EXPECT_EQ(layer.LastSector(), last) << sectors;
    EXPECT_EQ(kernel.disk_ioctls.back(), 0x00074004u);
  }
}

// 3 TiB through each query: a partition, a GPT disk (whose partition query
// fails), a volume mapped from a file (only its size is known).
TEST_F(DeviceFilesTest, DiskBeyondTwoTebibytesKeepsItsSizeThroughEachQuery) {
  constexpr int64_t kThreeTib = int64_t{3} << 40;
  FakeDisk by_partition, by_length, by_file_size;
  by_partition.partition_length = by_length.length_info = kThreeTib;
  by_file_size.file_size = kThreeTib;
  for (const FakeDisk& disk : {by_partition, by_length, by_file_size}) {
    OpenD(disk);
    EXPECT_EQ(layer.LastSector(), 6442450943u);
  }
}

TEST_F(DeviceFilesTest, FailedPartitionQueryFallsBackToLengthThenFileSize) {
  FakeDisk disk;
  disk.length_info = int64_t{2001} * 512;
  disk.file_size = 5000 * 512;
  OpenD(disk);
  EXPECT_EQ(layer.LastSector(), 1999u);
  EXPECT_EQ(kernel.disk_ioctls, (std::vector<uint32_t>{0x00070000, 0x00074004, 0x0007405C}));

  disk.length_info.reset();
  OpenD(disk);
  EXPECT_EQ(layer.LastSector(), 4999u);

  disk.file_size.reset();
  OpenD(disk);
  EXPECT_EQ(layer.LastSector(), 0u);
}

TEST_F(DeviceFilesTest, DiskWithoutFiveHundredTwelveByteSectorsIsRefusedByName) {
  FakeDisk disk = DiskOfSectors(8);
  disk.bytes_per_sector = 4096;
  kernel.disks[kDriveD] = disk;
  EXPECT_FALSE(layer.OpenSelectedDisk("Logical D:"));
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{
                                  "Unsupported Disk: This disk has 4096-byte sectors.\n"
                                  "Only disks with 512-byte sectors can be edited."});
  EXPECT_EQ(kernel.OpenHandleCount(), 0u);
  EXPECT_TRUE(layer.open_refused());
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectorsDirect(0, 1, buffer.data()), 0u);

  disk.bytes_per_sector = 512;
  OpenD(disk);
  EXPECT_EQ(layer.LastSector(), 7u);
  EXPECT_FALSE(layer.open_refused());
}

TEST_F(DeviceFilesTest, ZeroLengthPartitionFallsBackToo) {
  FakeDisk disk;
  disk.partition_length = 0;
  disk.file_size = 100 * 512;
  OpenD(disk);
  EXPECT_EQ(layer.LastSector(), 99u);
}

TEST_F(DeviceFilesTest, ReadsAndWritesWholeSectorsAtTheirOffset) {
  OpenD(DiskOfSectors(16));
  const std::vector<uint8_t> image = kernel.disks[kDriveD].data;
  AlignedSectorBuffer buffer(3);
  ASSERT_EQ(layer.ReadDiskSectors(5, 3, buffer.data()), 3u * 512);
  EXPECT_EQ(kernel.seeks.back(), 5u * 512);
  EXPECT_EQ(0, std::memcmp(buffer.data(), image.data() + 5 * 512, 3 * 512));

  std::memset(buffer.data(), 0xA5, buffer.size());
  ASSERT_EQ(layer.WriteDiskSectors(14, 2, buffer.data()), 2u * 512);
  const auto& data = kernel.disks[kDriveD].data;
  EXPECT_EQ(std::count(data.begin() + 14 * 512, data.end(), 0xA5), 2 * 512);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 14 * 512, image.begin()));
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DeviceFilesTest, SeekCarriesTheHighPartOfLargeOffsets) {
  OpenD(DiskOfSectors(1));
  AlignedSectorBuffer buffer(1);
  layer.ReadDiskSectorsDirect(0x00900001, 1, buffer.data());
  EXPECT_EQ(kernel.seeks.back(), uint64_t{0x00900001} * 512);
  layer.ReadDiskSectorsDirect(0xFFFFFFFF, 1, buffer.data());
  EXPECT_EQ(kernel.seeks.back(), uint64_t{0xFFFFFFFF} * 512);
}

TEST_F(DeviceFilesTest, ShortReadAtTheEndIsReportedByItsCount) {
  OpenD(DiskOfSectors(3));
  AlignedSectorBuffer buffer(4);
  EXPECT_EQ(layer.ReadDiskSectors(1, 4, buffer.data()), 2u * 512);
  EXPECT_EQ(layer.ReadDiskSectors(3, 1, buffer.data()), 0u);
}

TEST_F(DeviceFilesTest, FailedSeekOnReadShowsTheBoxOnlyInTheReportingForm) {
  FakeDisk disk = DiskOfSectors(4);
  disk.seek_fails = true;
  OpenD(disk);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectorsDirect(0, 1, buffer.data()), 0u);
  EXPECT_TRUE(messages.entries().empty());
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  ASSERT_EQ(messages.entries().size(), 1u);
  EXPECT_EQ(messages.entries()[0],
            (common::RecordedMessages::Entry{"Error reading disk", "Error"}));
}

TEST_F(DeviceFilesTest, FailedSeekOnWriteWritesNothingSilently) {
  FakeDisk disk = DiskOfSectors(4);
  disk.seek_fails = true;
  OpenD(disk);
  AlignedSectorBuffer buffer(1);
  std::memset(buffer.data(), 0xEE, buffer.size());
  EXPECT_EQ(layer.WriteDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_EQ(kernel.disks[kDriveD].data, PatternSectors(4));
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(DeviceFilesTest, FailedReadOrWriteGivesZero) {
  FakeDisk disk = DiskOfSectors(4);
  disk.read_fails = true;
  disk.write_fails = true;
  OpenD(disk);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_EQ(layer.WriteDiskSectors(0, 1, buffer.data()), 0u);
}

TEST_F(DeviceFilesTest, UnalignedCallerBuffersReachTheDeviceAligned) {
  FakeDisk disk = DiskOfSectors(4);
  disk.needs_aligned_buffers = true;
  OpenD(disk);
  std::vector<uint8_t> storage(3 * 512 + 1);
  uint8_t* unaligned = storage.data() + (IsSectorAligned(storage.data()) ? 1 : 0);
  ASSERT_EQ(layer.ReadDiskSectors(1, 2, unaligned), 2u * 512);
  EXPECT_TRUE(kernel.last_read_aligned);
  EXPECT_EQ(0, std::memcmp(unaligned, PatternSectors(4).data() + 512, 2 * 512));

  std::memset(unaligned, 0x3C, 512);
  ASSERT_EQ(layer.WriteDiskSectors(3, 1, unaligned), 512u);
  EXPECT_EQ(kernel.disks[kDriveD].data[3 * 512], 0x3C);
}

TEST_F(DeviceFilesTest, CountsOutsideOneTo128TransferNothing) {
  OpenD(DiskOfSectors(200));
  AlignedSectorBuffer buffer(129);
  const size_t seeks = kernel.seeks.size();
  EXPECT_EQ(layer.ReadDiskSectors(0, 0, buffer.data()), 0u);
  EXPECT_EQ(layer.ReadDiskSectors(0, 129, buffer.data()), 0u);
  EXPECT_EQ(layer.WriteDiskSectors(0, 129, buffer.data()), 0u);
  EXPECT_EQ(kernel.seeks.size(), seeks);
  EXPECT_EQ(layer.ReadDiskSectors(0, 128, buffer.data()), 128u * 512);
}

TEST(DiskLayerUndetected, TransfersFailBeforeTheModeIsKnown) {
  FakeKernel kernel;
  kernel.disks[kDriveD] = DiskOfSectors(4);
  common::RecordedMessages messages;
  DiskLayer layer(kernel, messages);
  AlignedSectorBuffer buffer(1);
  EXPECT_FALSE(layer.OpenSelectedDisk("Logical D:"));
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_EQ(layer.WriteDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_TRUE(layer.ListDisks().empty());
  EXPECT_TRUE(kernel.opens.empty());
}

TEST(DiskLayerLifetime, DestroyingTheLayerClosesItsDisk) {
  FakeKernel kernel;
  kernel.disks[kDriveD] = DiskOfSectors(4);
  common::RecordedMessages messages;
  {
    DiskLayer layer(kernel, messages);
    layer.DetectDiskAccessMode();
    ASSERT_TRUE(layer.OpenDevicePath(kDriveD));
    EXPECT_EQ(kernel.OpenHandleCount(), 1u);
  }
  EXPECT_EQ(kernel.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace sectoredit::testing
