// The one buffer of a bulk transfer: 128 sectors (64 KB), allocated per
// operation. A failed allocation gives nullptr, which each tool reports its way.
#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

inline constexpr uint32_t kChunkBytes = kMaxTransferSectors * kSectorSize;

inline std::unique_ptr<uint8_t[]> AllocateChunk() {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[kChunkBytes]);
}

}  // namespace sectoredit
