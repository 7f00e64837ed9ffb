// What the editor and its tools need of an open disk: whole-sector transfers
// and the index of the last sector. The disk layer implements it for real
// disks and images; tests use an in-memory disk.
#pragma once

#include <cstdint>

namespace sectoredit {

inline constexpr uint32_t kSectorSize = 512;
inline constexpr uint32_t kMaxTransferSectors = 128;

// Sector numbers are 64-bit: disks beyond 2 TiB hold more than 2^32 sectors.
using SectorNumber = uint64_t;

class SectorDevice {
 public:
  virtual ~SectorDevice() = default;

  // Transfers `count` (1..128) whole sectors starting at `first`; returns the
  // number of bytes transferred, count * 512 on success and less on failure.
  // ReadDiskSectors reports a failed seek with "Error reading disk"; the direct
  // form (used by Goto and Select Disk) reads without that box.
  virtual uint32_t ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) = 0;
  virtual uint32_t ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) = 0;
  virtual uint32_t WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) = 0;

  // Index of the last sector of the open disk.
  virtual SectorNumber LastSector() const = 0;
};

}  // namespace sectoredit
