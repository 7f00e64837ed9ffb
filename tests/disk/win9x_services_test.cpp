// The disk layer through the VWIN32 device against the simulated kernel.
#include <gtest/gtest.h>

#include <cstring>

#include "disk_test_support.h"
#include "fake_kernel.h"
#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/disk_layer.h"
#include "sectoredit/editor/sector_tools.h"

namespace sectoredit::testing {
namespace {

constexpr uint32_t kDriveC = 3;

FakeDrive DriveOfSectors(uint32_t sectors) {
  FakeDrive drive;
  drive.data = PatternSectors(sectors);
  drive.total_sectors16 = static_cast<uint16_t>(sectors);
  return drive;
}

DiocRegisters Registers(uint32_t eax, uint32_t ebx, uint32_t ecx, uint32_t edx, uint32_t esi,
                        uint32_t flags) {
  DiocRegisters registers;
  registers.eax = eax;
  registers.ebx = ebx;
  registers.ecx = ecx;
  registers.edx = edx;
  registers.esi = esi;
  registers.flags = flags;
  return registers;
}

// The register block of a call with its address fields cleared, for
// comparison with the summary values.
DiocRegisters WithoutAddresses(DiocRegisters registers, bool ebx_address, bool edx_address) {
  if (ebx_address) registers.ebx = 0;
  if (edx_address) registers.edx = 0;
  return registers;
}

class Win9xTest : public ::testing::Test {
 protected:
  void Start(uint32_t build) {
    kernel.version = {1, build};
    layer.DetectDiskAccessMode();
  }
  void StartOld() { Start(950); }
  void StartExtended() { Start(2222); }
  void OpenC(FakeDrive drive) {
    kernel.drives[kDriveC] = std::move(drive);
    ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
    kernel.vwin_calls.clear();
  }

  FakeKernel kernel;
  common::RecordedMessages messages;
  DiskLayer layer{kernel, messages};
};

TEST_F(Win9xTest, BuildAbove1000SelectsTheExtendedServices) {
  for (auto [build, extended] : {std::pair<uint32_t, bool>{1000, false},
                                 {1001, true},
                                 {950, false},
                                 {0x040A03E8, false},
                                 {0x040A03E9, true}}) {
    FakeKernel kernel;
    kernel.version = {1, build};
    common::RecordedMessages messages;
    DiskLayer layer(kernel, messages);
    layer.DetectDiskAccessMode();
    EXPECT_EQ(static_cast<int>(layer.disk_access_mode()), 16);
    EXPECT_EQ(layer.extended_disk_services(), extended) << std::hex << build;
  }
}

TEST_F(Win9xTest, OpensTheVwin32DeviceOnceAndCloseDiskLayerClosesIt) {
  StartOld();
  ASSERT_EQ(kernel.opens.size(), 1u);
  EXPECT_EQ(kernel.opens[0], (OpenCall{"\\\\.\\vwin32", 0, 0, 0, 0x04000000}));
  const KernelHandle vwin = layer.vwin_handle();
  EXPECT_NE(vwin, kInvalidHandle);
  layer.CloseDiskLayer();
  EXPECT_EQ(kernel.closes, std::vector<KernelHandle>{vwin});
  EXPECT_EQ(layer.vwin_handle(), kInvalidHandle);
}

TEST_F(Win9xTest, MissingVwin32DeviceMakesEveryCallFailQuietly) {
  kernel.vwin32_available = false;
  kernel.drives[kDriveC] = DriveOfSectors(8);
  StartOld();
  EXPECT_TRUE(layer.ListDisks().empty());
  ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
  EXPECT_EQ(layer.LastSector(), 0u);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(Win9xTest, ListsDrivesAToYButNeverZAndNoPhysicalDrives) {
  for (uint32_t drive = 1; drive <= 26; ++drive) kernel.drives[drive] = DriveOfSectors(2);
  StartOld();
  const std::vector<std::string> entries = layer.ListDisks();
  ASSERT_EQ(entries.size(), 25u);
  EXPECT_EQ(entries.front(), "Logical A:");
  EXPECT_EQ(entries.back(), "Logical Y:");
  ASSERT_EQ(kernel.vwin_calls.size(), 25u);
  EXPECT_EQ(kernel.vwin_calls.back().in.eax, 24u) << "Y: is drive 25, passed as 24";
  EXPECT_EQ(kernel.opens.size(), 1u) << "only the VWIN32 device is opened";
}

TEST_F(Win9xTest, OldProbeReadsSectorZeroInTheRegisterForm) {
  kernel.drives[kDriveC] = DriveOfSectors(2);
  StartOld();
  EXPECT_EQ(layer.ListDisks(), std::vector<std::string>{"Logical C:"});
  const VwinCall& probe = kernel.vwin_calls[2];
  EXPECT_EQ(probe.code, 2u);
  EXPECT_EQ(WithoutAddresses(probe.in, true, false), Registers(2, 0, 1, 0, 0, 1));
  EXPECT_NE(probe.in.ebx, 0u);
  EXPECT_FALSE(probe.packet.has_value());
}

TEST_F(Win9xTest, ExtendedProbeReadsSectorOneThroughAPacket) {
  kernel.drives[kDriveC] = DriveOfSectors(2);
  StartExtended();
  EXPECT_EQ(layer.ListDisks(), std::vector<std::string>{"Logical C:"});
  const VwinCall& probe = kernel.vwin_calls[2];
  EXPECT_EQ(probe.code, 6u);
  EXPECT_EQ(WithoutAddresses(probe.in, true, false), Registers(0x7305, 0, 0xFFFFFFFF, 3, 0, 0));
  ASSERT_TRUE(probe.packet.has_value());
  const DiskIoPacket packet = ParsePacket(probe.packet->data());
  EXPECT_EQ(packet.first_sector, 1u);
  EXPECT_EQ(packet.count, 1u);
  EXPECT_NE(packet.buffer, 0u);
}

TEST_F(Win9xTest, ExtendedProbeFailsOnADriveOfOneSector) {
  kernel.drives[kDriveC] = DriveOfSectors(1);
  StartExtended();
  EXPECT_TRUE(layer.ListDisks().empty());
}

TEST_F(Win9xTest, OpeningAnEntryTakesTheDriveNumberAndQueriesTheParameters) {
  StartOld();
  kernel.drives[kDriveC] = DriveOfSectors(2000);
  ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
  EXPECT_EQ(layer.disk_ref(), kDriveC);
  EXPECT_EQ(layer.LastSector(), 1999u);
  EXPECT_EQ(kernel.opens.size(), 1u) << "nothing is opened for a drive";
  ASSERT_EQ(kernel.vwin_calls.size(), 1u);
  const VwinCall& query = kernel.vwin_calls[0];
  EXPECT_EQ(query.code, 1u);
  EXPECT_EQ(WithoutAddresses(query.in, false, true), Registers(0x440D, 3, 0x0860, 0, 0, 1));
  EXPECT_EQ(query.param_block_byte0, std::optional<uint8_t>{1});
}

TEST_F(Win9xTest, EntryWithoutALetterIsAFailedOpen) {
  StartOld();
  for (const char* entry : {"", "Logical", "Logical c:", "Logical 1:"}) {
    EXPECT_FALSE(layer.OpenSelectedDisk(entry)) << entry;
    EXPECT_EQ(layer.disk_ref(), kInvalidHandle);
  }
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_TRUE(kernel.vwin_calls.empty());
}

TEST_F(Win9xTest, LastSectorFromTheSixteenOrThirtyTwoBitTotal) {
  StartOld();
  struct Case {
    uint16_t s16;
    uint32_t s32;
    uint32_t last;
  };
  for (const Case& c : {Case{2000, 7, 1999}, Case{0, 3000000, 2999999}, Case{1, 3000000, 2999999},
                        Case{2, 9, 1}, Case{0xFFFC, 9, 0xFFFB}, Case{0xFFFD, 70000, 69999},
                        Case{0xFFFF, 70000, 69999}, Case{0, 0, 0}}) {
    FakeDrive drive;
    drive.total_sectors16 = c.s16;
    drive.total_sectors32 = c.s32;
    OpenC(drive);
    EXPECT_EQ(layer.LastSector(), c.last) << c.s16 << " " << c.s32;
  }
}

TEST_F(Win9xTest, DeviceParametersAreAskedTwiceBeforeGivingZero) {
  StartOld();
  int failures_left = 1;
  kernel.vwin_fails = [&](const VwinCall&) { return failures_left-- > 0; };
  kernel.drives[kDriveC] = DriveOfSectors(500);
  ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
  EXPECT_EQ(layer.LastSector(), 499u);
  ASSERT_EQ(kernel.vwin_calls.size(), 2u);
  EXPECT_EQ(kernel.vwin_calls[1].in.ecx, 0x0860u);

  kernel.vwin_calls.clear();
  kernel.vwin_fails = [](const VwinCall&) { return true; };
  ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
  EXPECT_EQ(layer.LastSector(), 0u);
  EXPECT_EQ(kernel.vwin_calls.size(), 2u);
}

TEST_F(Win9xTest, OldReadUsesTheInt25PacketForm) {
  StartOld();
  OpenC(DriveOfSectors(200));
  AlignedSectorBuffer buffer(128);
  ASSERT_EQ(layer.ReadDiskSectors(70, 128, buffer.data()), 128u * 512);
  EXPECT_EQ(0, std::memcmp(buffer.data(), PatternSectors(200).data() + 70 * 512, 128 * 512));
  ASSERT_EQ(kernel.vwin_calls.size(), 1u);
  const VwinCall& read = kernel.vwin_calls[0];
  EXPECT_EQ(read.code, 2u);
  EXPECT_EQ(WithoutAddresses(read.in, true, false), Registers(2, 0, 0xFFFF, 0, 0, 0));
  ASSERT_TRUE(read.packet.has_value());
  const std::array<uint8_t, 6> head = {70, 0, 0, 0, 128, 0};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), read.packet->begin()));
}

TEST_F(Win9xTest, ExtendedReadUses7305) {
  StartExtended();
  OpenC(DriveOfSectors(20));
  AlignedSectorBuffer buffer(2);
  ASSERT_EQ(layer.ReadDiskSectorsDirect(18, 2, buffer.data()), 2u * 512);
  EXPECT_EQ(0, std::memcmp(buffer.data(), PatternSectors(20).data() + 18 * 512, 2 * 512));
  const VwinCall& read = kernel.vwin_calls[0];
  EXPECT_EQ(read.code, 6u);
  EXPECT_EQ(WithoutAddresses(read.in, true, false), Registers(0x7305, 0, 0xFFFFFFFF, 3, 0, 0));
  EXPECT_EQ(ParsePacket(read.packet->data()).first_sector, 18u);
  EXPECT_EQ(ParsePacket(read.packet->data()).count, 2u);
}

TEST_F(Win9xTest, FailedReadGivesZeroWithoutAMessage) {
  StartOld();
  OpenC(DriveOfSectors(4));
  AlignedSectorBuffer buffer(2);
  EXPECT_EQ(layer.ReadDiskSectors(3, 2, buffer.data()), 0u);
  EXPECT_TRUE(messages.entries().empty());
}

// The services address 32-bit sectors: a run reaching past them is refused
// before any call, so it never lands on the start of the drive.
TEST_F(Win9xTest, SectorsBeyondThirtyTwoBitsAreRefusedNotWrapped) {
  StartExtended();
  OpenC(DriveOfSectors(16));
  constexpr SectorNumber kBeyond = SectorNumber{1} << 32;
  AlignedSectorBuffer buffer(2);
  EXPECT_EQ(layer.ReadDiskSectors(kBeyond + 3, 1, buffer.data()), 0u);
  EXPECT_EQ(layer.WriteDiskSectors(kBeyond - 1, 2, buffer.data()), 0u);
  EXPECT_TRUE(kernel.vwin_calls.empty());
  layer.ReadDiskSectors(kBeyond - 1, 1, buffer.data());
  ASSERT_EQ(kernel.vwin_calls.size(), 1u);
  EXPECT_EQ(ParsePacket(kernel.vwin_calls[0].packet->data()).first_sector, 0xFFFFFFFFu);

  // A command asked for such a sector shows its box; the drive is untouched.
  SectorSession session(messages);
  session.SetDevice(&layer);
  PresetFileDialogs files("");
  PresetCountDialog counts(std::nullopt);
  SectorTools(session, files, counts).CopyBlock(kBeyond + 3, 1);
  EXPECT_EQ(messages.Lines(), std::vector<std::string>{"Data Error: Error accessing contents of sector"});
  EXPECT_EQ(kernel.drives[kDriveC].data, PatternSectors(16));
}

TEST_F(Win9xTest, OldWriteLocksWritesThroughInt26AndUnlocks) {
  StartOld();
  OpenC(DriveOfSectors(10));
  AlignedSectorBuffer buffer(1);
  std::memset(buffer.data(), 0x5A, 512);
  ASSERT_EQ(layer.WriteDiskSectors(9, 1, buffer.data()), 512u);
  EXPECT_EQ(kernel.drives[kDriveC].data[9 * 512 + 100], 0x5A);
  ASSERT_EQ(kernel.vwin_calls.size(), 3u);
  EXPECT_EQ(kernel.vwin_calls[0].code, 1u);
  EXPECT_EQ(kernel.vwin_calls[0].in, Registers(0x440D, 0x103, 0x084A, 1, 0, 1));
  EXPECT_EQ(kernel.vwin_calls[1].code, 3u);
  EXPECT_EQ(WithoutAddresses(kernel.vwin_calls[1].in, true, false),
            Registers(2, 0, 0xFFFF, 0, 0, 0));
  EXPECT_EQ(ParsePacket(kernel.vwin_calls[1].packet->data()).first_sector, 9u);
  EXPECT_EQ(kernel.vwin_calls[2].code, 1u);
  EXPECT_EQ(kernel.vwin_calls[2].in, Registers(0x440D, 3, 0x086A, 0, 0, 1));
}

TEST_F(Win9xTest, ExtendedWriteTriesExtendedLockAndUnlockFirst) {
  StartExtended();
  OpenC(DriveOfSectors(10));
  AlignedSectorBuffer buffer(2);
  ASSERT_EQ(layer.WriteDiskSectors(0, 2, buffer.data()), 1024u);
  ASSERT_EQ(kernel.vwin_calls.size(), 3u);
  EXPECT_EQ(kernel.vwin_calls[0].in, Registers(0x440D, 0x103, 0x484A, 1, 0, 1));
  EXPECT_EQ(kernel.vwin_calls[1].code, 6u);
  EXPECT_EQ(WithoutAddresses(kernel.vwin_calls[1].in, true, false),
            Registers(0x7305, 0, 0xFFFFFFFF, 3, 0x6001, 0));
  EXPECT_EQ(ParsePacket(kernel.vwin_calls[1].packet->data()).count, 2u);
  EXPECT_EQ(kernel.vwin_calls[2].in, Registers(0x440D, 3, 0x486A, 0, 0, 1));
}

TEST_F(Win9xTest, FailedExtendedLockAndUnlockFallBackToTheOldCodes) {
  StartExtended();
  OpenC(DriveOfSectors(10));
  kernel.vwin_fails = [](const VwinCall& call) {
    return call.in.ecx == 0x484A || call.in.ecx == 0x486A;
  };
  AlignedSectorBuffer buffer(1);
  ASSERT_EQ(layer.WriteDiskSectors(1, 1, buffer.data()), 512u);
  std::vector<uint32_t> ecx;
  for (const VwinCall& call : kernel.vwin_calls) ecx.push_back(call.in.ecx);
  EXPECT_EQ(ecx, (std::vector<uint32_t>{0x484A, 0x084A, 0xFFFFFFFF, 0x486A, 0x086A}));
}

TEST_F(Win9xTest, WriteGoesAheadWhenEveryLockFails) {
  for (bool extended : {false, true}) {
    FakeKernel kernel;
    kernel.version = {1, extended ? 2222u : 950u};
    kernel.drives[kDriveC] = DriveOfSectors(4);
    kernel.vwin_fails = [](const VwinCall& call) { return (call.in.ecx & 0xFF) == 0x4A; };
    common::RecordedMessages messages;
    DiskLayer layer(kernel, messages);
    layer.DetectDiskAccessMode();
    ASSERT_TRUE(layer.OpenSelectedDisk("Logical C:"));
    AlignedSectorBuffer buffer(1);
    std::memset(buffer.data(), 0x77, 512);
    EXPECT_EQ(layer.WriteDiskSectors(2, 1, buffer.data()), 512u);
    EXPECT_EQ(kernel.drives[kDriveC].data[2 * 512], 0x77);
  }
}

TEST_F(Win9xTest, FailedWriteGivesZeroAndStillUnlocks) {
  StartOld();
  OpenC(DriveOfSectors(4));
  kernel.vwin_fails = [](const VwinCall& call) { return call.code == 3; };
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.WriteDiskSectors(0, 1, buffer.data()), 0u);
  ASSERT_EQ(kernel.vwin_calls.size(), 3u);
  EXPECT_EQ(kernel.vwin_calls[2].in.ecx, 0x086Au);
  EXPECT_TRUE(messages.entries().empty());
}

TEST_F(Win9xTest, CarrySetAfterASuccessfulCallIsAFailure) {
  StartOld();
  OpenC(DriveOfSectors(4));
  // A drive the device does not know: the call returns with the carry set.
  kernel.drives.erase(kDriveC);
  AlignedSectorBuffer buffer(1);
  EXPECT_EQ(layer.ReadDiskSectors(0, 1, buffer.data()), 0u);
  EXPECT_FALSE(layer.ProbeDrive(kDriveC));
}

}  // namespace
}  // namespace sectoredit::testing
