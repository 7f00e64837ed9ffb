#include "sectoredit/disk/last_sector.h"

namespace sectoredit {

SectorNumber LastSectorFromSectorCount(uint64_t sectors) {
  const uint64_t even = sectors & ~uint64_t{1};
  return even == 0 ? 0 : even - 1;
}

SectorNumber LastSectorFromByteLength(int64_t bytes) {
  if (bytes < 0) return 0;
  return LastSectorFromSectorCount(static_cast<uint64_t>(bytes) / kSectorSize);
}

}  // namespace sectoredit
