// What the editor and its tools need of an open disk: whole-sector transfers
// and the index of the last sector. The disk layer implements it for real
// disks and images; tests use an in-memory disk.
#pragma once

#include <cstdint>

namespace sectoredit {

inline constexpr uint32_t kSectorSize = 512;
inline constexpr uint32_t kMaxTransferSectors = 128;

class SectorDevice {
 public:
  virtual ~SectorDevice() = default;

  // Transfers `count` (1..128) whole sectors starting at `first`; returns the
  // number of bytes transferred, count * 512 on success and less on failure.
  // ReadDiskSectors reports a failed seek with "Error reading disk"; the direct
  // form (used by Goto and Select Disk) reads without that box.
  virtual uint32_t ReadDiskSectors(uint32_t first, uint32_t count, uint8_t* buffer) = 0;
  virtual uint32_t ReadDiskSectorsDirect(uint32_t first, uint32_t count, uint8_t* buffer) = 0;
  virtual uint32_t WriteDiskSectors(uint32_t first, uint32_t count, const uint8_t* buffer) = 0;

  // Index of the last sector of the open disk.
  virtual uint32_t LastSector() const = 0;
};

}  // namespace sectoredit
