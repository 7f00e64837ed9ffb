// Shared helpers of the disk tests.
#pragma once

#include <cstdint>
#include <vector>

namespace sectoredit::testing {

// `sectors` sectors whose bytes differ from sector to sector and within one.
inline std::vector<uint8_t> PatternSectors(uint32_t sectors) {
  std::vector<uint8_t> data(size_t{sectors} * 512);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 512);
  return data;
}

}  // namespace sectoredit::testing
