#include "memory_disk.h"

#include <algorithm>
#include <cstring>

namespace sectoredit::testing {

uint8_t DefaultByte(uint64_t sector, uint32_t i) {
  if (i < 4) return static_cast<uint8_t>(sector >> (8 * i));
  return static_cast<uint8_t>(sector + i);
}

SectorArray DefaultSector(uint64_t sector) {
  SectorArray bytes;
  for (uint32_t i = 0; i < kSectorSize; ++i) bytes[i] = DefaultByte(sector, i);
  return bytes;
}

SectorArray MemoryDisk::Sector(uint64_t sector) const {
  const auto found = written_.find(sector);
  return found == written_.end() ? DefaultSector(sector) : found->second;
}

void MemoryDisk::SetBytes(uint64_t sector, uint32_t offset, const std::vector<uint8_t>& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint64_t at = uint64_t{offset} + i;
    SectorArray content = Sector(sector + at / kSectorSize);
    content[at % kSectorSize] = bytes[i];
    SetSector(sector + at / kSectorSize, content);
  }
}

bool MemoryDisk::Touches(const std::vector<Range>& ranges, uint64_t first, uint32_t count) {
  for (const Range& range : ranges) {
    if (first <= range.last && first + count > range.first) return true;
  }
  return false;
}

uint32_t MemoryDisk::Read(char kind, SectorNumber first, uint32_t count, uint8_t* buffer) {
  transfers_.push_back({kind, first, count});
  if (count > size_ - std::min(first, size_) || Touches(failing_reads_, first, count) ||
      (kind == 'r' && Touches(failing_reported_reads_, first, count))) {
    std::memset(buffer, 0xEE, size_t{count} * kSectorSize);
    return 0;
  }
  uint32_t delivered = 0;
  while (delivered < count && !Touches(short_reads_, first + delivered, 1)) {
    const SectorArray bytes = Sector(first + delivered);
    std::memcpy(buffer + size_t{delivered} * kSectorSize, bytes.data(), kSectorSize);
    ++delivered;
  }
  if (delivered < count) buffer[size_t{delivered} * kSectorSize] = 0xEE;  // a stale byte
  return delivered * kSectorSize;
}

uint32_t MemoryDisk::ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) {
  return Read('r', first, count, buffer);
}

uint32_t MemoryDisk::ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) {
  return Read('d', first, count, buffer);
}

uint32_t MemoryDisk::WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) {
  transfers_.push_back({'w', first, count});
  if (count > size_ - std::min(first, size_) || Touches(failing_writes_, first, count)) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    SectorArray bytes;
    std::memcpy(bytes.data(), buffer + size_t{i} * kSectorSize, kSectorSize);
    SetSector(first + i, bytes);
  }
  return count * kSectorSize;
}

}  // namespace sectoredit::testing
