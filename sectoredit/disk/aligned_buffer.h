// Transfer buffers for devices opened without buffering, which may demand
// sector-aligned memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

class AlignedSectorBuffer {
 public:
  explicit AlignedSectorBuffer(uint32_t sectors)
      : size_(sectors * kSectorSize),
        data_(static_cast<uint8_t*>(::operator new (size_, std::align_val_t{kSectorSize}))) {
    std::memset(data_.get(), 0, size_);
  }
  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  uint32_t size() const { return size_; }

 private:
  struct Free {
    void operator()(uint8_t* p) const { ::operator delete (p, std::align_val_t{kSectorSize}); }
  };
  uint32_t size_;
  std::unique_ptr<uint8_t, Free> data_;
};

inline bool IsSectorAligned(const void* memory) {
  return reinterpret_cast<uintptr_t>(memory) % kSectorSize == 0;
}

}  // namespace sectoredit
