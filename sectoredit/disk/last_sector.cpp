#include "sectoredit/disk/last_sector.h"

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

uint32_t LastSectorFromSectorCount(uint64_t sectors) {
  const uint64_t even = sectors & ~uint64_t{1};
  if (even == 0) return 0;
  const uint64_t last = even - 1;
  return last > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(last);
}

uint32_t LastSectorFromByteLength(int64_t bytes) {
  if (bytes < 0) return 0;
  return LastSectorFromSectorCount(static_cast<uint64_t>(bytes) / kSectorSize);
}

}  // namespace sectoredit
