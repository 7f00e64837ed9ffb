// The records exchanged with the VWIN32 device and the MS-DOS disk services,
// assembled byte by byte in little-endian order (never a struct cast).
#pragma once

#include <array>
#include <cstdint>

namespace sectoredit {

// VWIN32 control codes.
namespace vwin32 {
inline constexpr uint32_t kDosIoctl = 1;      // Int 21h 44xxh
inline constexpr uint32_t kDosInt25 = 2;      // absolute read
inline constexpr uint32_t kDosInt26 = 3;      // absolute write
inline constexpr uint32_t kDosDriveInfo = 6;  // Int 21h 7305h
inline constexpr uint32_t kCarryFlag = 1;
}  // namespace vwin32

// The register block of every VWIN32 call: seven 32-bit fields.
struct DiocRegisters {
  uint32_t ebx = 0;
  uint32_t edx = 0;
  uint32_t ecx = 0;
  uint32_t eax = 0;
  uint32_t edi = 0;
  uint32_t esi = 0;
  uint32_t flags = 0;
  bool operator==(const DiocRegisters&) const = default;
};
inline constexpr uint32_t kDiocRegistersSize = 28;
std::array<uint8_t, kDiocRegistersSize> SerializeRegisters(const DiocRegisters& registers);
DiocRegisters ParseRegisters(const uint8_t* bytes);

// The absolute disk read/write packet (10 bytes, packed).
struct DiskIoPacket {
  uint32_t first_sector = 0;
  uint16_t count = 0;
  uint32_t buffer = 0;  // address of the transfer buffer
  bool operator==(const DiskIoPacket&) const = default;
};
inline constexpr uint32_t kDiskIoPacketSize = 10;
std::array<uint8_t, kDiskIoPacketSize> SerializePacket(const DiskIoPacket& packet);
DiskIoPacket ParsePacket(const uint8_t* bytes);

// The Get Device Parameters block: byte 0 asks for the BPB of the medium now
// in the drive; only the BPB's two total-sector fields are read back. The
// block is larger than any variant of the call fills.
inline constexpr uint32_t kDeviceParamBlockSize = 256;
inline constexpr uint32_t kParamTotalSectors16 = 15;
inline constexpr uint32_t kParamTotalSectors32 = 28;
using DeviceParamBlock = std::array<uint8_t, kDeviceParamBlockSize>;
DeviceParamBlock NewDeviceParamBlock();
uint16_t TotalSectors16(const DeviceParamBlock& block);
uint32_t TotalSectors32(const DeviceParamBlock& block);

// Little-endian field access shared by the blocks above.
void PutLe16(uint8_t* bytes, uint16_t value);
void PutLe32(uint8_t* bytes, uint32_t value);
uint16_t GetLe16(const uint8_t* bytes);
uint32_t GetLe32(const uint8_t* bytes);

}  // namespace sectoredit
