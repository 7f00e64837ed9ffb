#include "converter/output/icon_list.h"

#include "converter/ccf/ccf_image.h"

namespace velmora {
namespace {

uint16_t RefAt(const std::unordered_map<uint32_t, size_t>& firstPositions, uint32_t offset) {
  auto found = firstPositions.find(offset);
  if (found == firstPositions.end()) return 0xFFFF;
  // References from 0xFFFE up are style values, so later positions never match.
  if (found->second + kIconRefBase >= 0xFFFE) return 0xFFFF;
  return static_cast<uint16_t>(found->second + kIconRefBase);
}

}  // namespace

void IconList::Register(uint32_t bitmap, uint32_t unselected) {
  if (bitmap == 0) return;
  if (!registered_.insert(uint64_t{bitmap} << 32 | unselected).second) return;
  size_t position = keys_.size();
  firstBitmap_.try_emplace(bitmap, position);
  std::string key = OffsetToHex(bitmap);
  if (unselected != 0) {
    firstUnselected_.try_emplace(unselected, position);
    key += OffsetToHex(unselected);
  }
  keys_.push_back(std::move(key));
}

uint16_t IconList::FindRef(uint32_t bitmap) const { return RefAt(firstBitmap_, bitmap); }

uint16_t IconList::FindPressedRef(uint32_t unselected) const {
  return RefAt(firstUnselected_, unselected);
}

void IconList::Clear() {
  keys_.clear();
  registered_.clear();
  firstBitmap_.clear();
  firstUnselected_.clear();
}

}  // namespace velmora
