// IconList: the distinct bitmaps of one generation run, in the order of first
// registration. A key is 8 hexadecimal digits (one bitmap) or 16 (a selected
// bitmap followed by the unselected bitmap of the same button). A key's
// position + 5 is the bitmap reference that style records carry, so the order
// is the output's; an index beside the list makes registering and looking up
// cost the same for the first bitmap and the ten-thousandth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace velmora {

// Distance between an IconList position and its bitmap reference.
inline constexpr uint16_t kIconRefBase = 5;

class IconList {
 public:
  // Adds the key of `bitmap` (paired with `unselected` when that is not 0)
  // unless an equal key is there already. A bitmap of 0 adds nothing.
  void Register(uint32_t bitmap, uint32_t unselected);

  // Position + 5 of the first key whose first 8 digits are `bitmap`, or 0xFFFF.
  uint16_t FindRef(uint32_t bitmap) const;
  // The same over digits 9 to 16: only 16-digit keys can match.
  uint16_t FindPressedRef(uint32_t unselected) const;

  void Clear();
  size_t size() const { return keys_.size(); }
  bool empty() const { return keys_.empty(); }
  const std::vector<std::string>& keys() const { return keys_; }
  auto begin() const { return keys_.begin(); }
  auto end() const { return keys_.end(); }

 private:
  std::vector<std::string> keys_;
  std::unordered_set<uint64_t> registered_;               // bitmap << 32 | unselected
  std::unordered_map<uint32_t, size_t> firstBitmap_;      // first 8 digits -> first position
  std::unordered_map<uint32_t, size_t> firstUnselected_;  // digits 9 to 16 -> first position
};

}  // namespace velmora
