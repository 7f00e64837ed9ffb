#include "sectoredit/disk/vwin32_blocks.h"

#include <cstddef>

namespace sectoredit {

void PutLe16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(uint8_t* bytes, uint32_t value) {
  PutLe16(bytes, static_cast<uint16_t>(value));
  PutLe16(bytes + 2, static_cast<uint16_t>(value >> 16));
}

uint16_t GetLe16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

uint32_t GetLe32(const uint8_t* bytes) {
  return GetLe16(bytes) | (static_cast<uint32_t>(GetLe16(bytes + 2)) << 16);
}

std::array<uint8_t, kDiocRegistersSize> SerializeRegisters(const DiocRegisters& r) {
  std::array<uint8_t, kDiocRegistersSize> bytes{};
  const uint32_t fields[] = {r.ebx, r.edx, r.ecx, r.eax, r.edi, r.esi, r.flags};
  for (size_t i = 0; i < 7; ++i) PutLe32(bytes.data() + 4 * i, fields[i]);
  return bytes;
}

DiocRegisters ParseRegisters(const uint8_t* bytes) {
  DiocRegisters r;
  uint32_t* fields[] = {&r.ebx, &r.edx, &r.ecx, &r.eax, &r.edi, &r.esi, &r.flags};
  for (size_t i = 0; i < 7; ++i) *fields[i] = GetLe32(bytes + 4 * i);
  return r;
}

std::array<uint8_t, kDiskIoPacketSize> SerializePacket(const DiskIoPacket& packet) {
  std::array<uint8_t, kDiskIoPacketSize> bytes{};
  PutLe32(bytes.data(), packet.first_sector);
  PutLe16(bytes.data() + 4, packet.count);
  PutLe32(bytes.data() + 6, packet.buffer);
  return bytes;
}

DiskIoPacket ParsePacket(const uint8_t* bytes) {
  return DiskIoPacket{GetLe32(bytes), GetLe16(bytes + 4), GetLe32(bytes + 6)};
}

DeviceParamBlock NewDeviceParamBlock() {
  DeviceParamBlock block{};
  block[0] = 1;
  return block;
}

uint16_t TotalSectors16(const DeviceParamBlock& block) {
  return GetLe16(block.data() + kParamTotalSectors16);
}

uint32_t TotalSectors32(const DeviceParamBlock& block) {
  return GetLe32(block.data() + kParamTotalSectors32);
}

}  // namespace sectoredit
