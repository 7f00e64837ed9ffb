// Transfer buffers for devices opened without buffering, which may demand
// sector-aligned memory.
#pragma once

#include <cstdint>
#include <memory>

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

// Aligned by hand within a larger block: the aligned operator new would import
// the C runtime's aligned allocation, which the older Windows runtimes lack.
class AlignedSectorBuffer {
 public:
  explicit AlignedSectorBuffer(uint32_t sectors)
      : size_(sectors * kSectorSize), storage_(new uint8_t[size_ + kSectorSize]()) {
    const auto misalignment = reinterpret_cast<uintptr_t>(storage_.get()) % kSectorSize;
    data_ = storage_.get() + (misalignment ? kSectorSize - misalignment : 0);
  }
  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  uint32_t size() const { return size_; }

 private:
  uint32_t size_;
  std::unique_ptr<uint8_t[]> storage_;
  uint8_t* data_;
};

inline bool IsSectorAligned(const void* memory) {
  return reinterpret_cast<uintptr_t>(memory) % kSectorSize == 0;
}

}  // namespace sectoredit
