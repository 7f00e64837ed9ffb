// The index of a disk's last sector from its size.
#pragma once

#include <cstdint>

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

// The sector count is rounded down to an even number first, so an odd-sized
// disk loses its last sector (1001 sectors give 999). Disks of 0 or 1 sectors
// give 0.
SectorNumber LastSectorFromSectorCount(uint64_t sectors);

// The same from a length in bytes as the kernel reports it (signed, 64-bit);
// a negative length gives 0.
SectorNumber LastSectorFromByteLength(int64_t bytes);

}  // namespace sectoredit
