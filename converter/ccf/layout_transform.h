// How CCF positions and sizes become positions and sizes on the Palm screen
// and in the preview: two single-precision scales and two whole-pixel offsets
// (read from the form's layout fields, layout_fields.h), and the column of
// hard keys at the right edge of the screen. Bitmaps, generation and the
// preview all place things through these rules.
//
// Every product is formed in double precision from the integer coordinate and
// the single-precision scale, the offset and constant are added, and the
// result is truncated toward zero.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace velmora {

struct LayoutTransform {
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
};

enum class MapTarget { kPreview, kOutput };

struct TargetPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TargetPoint&) const = default;
};
// Preview: (trunc(x * scaleX + offsetX), trunc(y * scaleY + offsetY)).
// Output: x and y taken as signed 16-bit values, the offsets as their low 16
// bits without sign, 13 added to y, and each result reduced to its low 16 bits
// as a signed value, which is what the records store.
TargetPoint MapPoint(const LayoutTransform& layout, int32_t x, int32_t y, MapTarget target);

struct TargetSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const TargetSize&) const = default;
};
// (trunc(w * scaleX), trunc(h * scaleY)); offsets do not apply.
TargetSize MapSize(const LayoutTransform& layout, uint32_t w, uint32_t h);

// trunc(value) toward zero, saturated to +-2^53 (0 for NaN), so that no scale
// can make a conversion undefined. Inline: bitmaps scale every row and column.
inline int64_t TruncToInt64(double value) {
  constexpr double kLimit = 9007199254740992.0;  // 2^53
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return static_cast<int64_t>(kLimit);
  if (value <= -kLimit) return -static_cast<int64_t>(kLimit);
  return static_cast<int64_t>(value);
}

inline constexpr std::array<const char*, 9> kHardKeyNames = {
    "Left", "Right", "Vol -", "Vol +", "Ch +", "Ch -", "Mute", "F-Left", "F-Right"};

// The column of hard-key buttons at the right edge of an image of W x H.
struct HardKeyGeometry {
  int count = 0;                  // 7, or 9 with colourFormat
  int16_t left = 0;               // W - W / 32 - width
  int16_t width = 0;              // trunc(W * 0.1875)
  int16_t height = 0;             // H / 16
  std::array<int16_t, 9> tops{};  // the first `count` are used
};
HardKeyGeometry HardKeyColumn(int imageWidth, int imageHeight, bool colourFormat, MapTarget target);

}  // namespace velmora
