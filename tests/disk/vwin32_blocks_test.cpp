#include "sectoredit/disk/vwin32_blocks.h"

#include <gtest/gtest.h>

#include "sectoredit/disk/last_sector.h"

namespace sectoredit {
namespace {

TEST(Vwin32Blocks, RegistersAreSevenLittleEndianFieldsInVwin32Order) {
  const DiocRegisters registers{0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00,
                                0x01020304, 0x05060708, 0x00000001};
  const auto bytes = SerializeRegisters(registers);
  const std::array<uint8_t, 28> expected = {
      0x44, 0x33, 0x22, 0x11,  // EBX
      0x88, 0x77, 0x66, 0x55,  // EDX
      0xCC, 0xBB, 0xAA, 0x99,  // ECX
      0x00, 0xFF, 0xEE, 0xDD,  // EAX
      0x04, 0x03, 0x02, 0x01,  // EDI
      0x08, 0x07, 0x06, 0x05,  // ESI
      0x01, 0x00, 0x00, 0x00,  // Flags
  };
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(ParseRegisters(bytes.data()), registers);
}

TEST(Vwin32Blocks, DiskIoPacketIsTenPackedBytes) {
  const DiskIoPacket packet{0x12345678, 0x0080, 0xAABBCCDD};
  const auto bytes = SerializePacket(packet);
  const std::array<uint8_t, 10> expected = {0x78, 0x56, 0x34, 0x12, 0x80,
                                            0x00, 0xDD, 0xCC, 0xBB, 0xAA};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(ParsePacket(bytes.data()), packet);
}

TEST(Vwin32Blocks, DeviceParamBlockAsksForTheCurrentMediumAndReadsBothTotals) {
  DeviceParamBlock block = NewDeviceParamBlock();
  EXPECT_EQ(block[0], 1);
  EXPECT_EQ(std::count(block.begin() + 1, block.end(), 0), kDeviceParamBlockSize - 1);
  block[15] = 0xD0;
  block[16] = 0x07;
  block[28] = 0xC0;
  block[29] = 0xC6;
  block[30] = 0x2D;
  block[31] = 0x00;
  EXPECT_EQ(TotalSectors16(block), 2000);
  EXPECT_EQ(TotalSectors32(block), 3000000u);
}

TEST(LastSectorRule, OddCountsLoseTheirLastSector) {
  EXPECT_EQ(LastSectorFromSectorCount(1000), 999u);
  EXPECT_EQ(LastSectorFromSectorCount(1001), 999u);
  EXPECT_EQ(LastSectorFromSectorCount(2000000), 1999999u);
  EXPECT_EQ(LastSectorFromSectorCount(2000001), 1999999u);
  EXPECT_EQ(LastSectorFromSectorCount(2), 1u);
  EXPECT_EQ(LastSectorFromSectorCount(3), 1u);
}

TEST(LastSectorRule, TinyAndUnknownSizesGiveZero) {
  EXPECT_EQ(LastSectorFromSectorCount(0), 0u);
  EXPECT_EQ(LastSectorFromSectorCount(1), 0u);
  EXPECT_EQ(LastSectorFromByteLength(-512), 0u);
  EXPECT_EQ(LastSectorFromByteLength(511), 0u);
  EXPECT_EQ(LastSectorFromByteLength(1001 * 512 + 511), 999u);
}

TEST(LastSectorRule, DisksBeyondTwoTebibytesKeepEverySector) {
  const uint64_t two_tib_sectors = uint64_t{1} << 32;
  EXPECT_EQ(LastSectorFromSectorCount(two_tib_sectors + 1), 0xFFFFFFFFu);
  EXPECT_EQ(LastSectorFromSectorCount(two_tib_sectors + 2), 0x100000001u);
  EXPECT_EQ(LastSectorFromByteLength(int64_t{3} << 40), 6442450943u);
  EXPECT_EQ(LastSectorFromByteLength(INT64_MAX), (uint64_t{1} << 54) - 3);
}

}  // namespace
}  // namespace sectoredit
