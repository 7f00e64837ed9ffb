#include "converter/ccf/layout_transform.h"

namespace velmora {

namespace {

inline constexpr double kHardKeyWidthFactor = 0.1875;
inline constexpr double kHardKeyStepFactor = 1.5;
inline constexpr int kOutputTopRows = 13;

// The low 16 bits of a value, as the signed number that a 16-bit field holds.
int32_t Low16Signed(int64_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFF));
}

int64_t ScaledSum(int64_t coordinate, float scale, double addend) {
  return TruncToInt64(static_cast<double>(coordinate) * static_cast<double>(scale) + addend);
}

}  // namespace

TargetPoint MapPoint(const LayoutTransform& layout, int32_t x, int32_t y, MapTarget target) {
  if (target == MapTarget::kPreview) {
    return {static_cast<int32_t>(ScaledSum(x, layout.scaleX, layout.offsetX)),
            static_cast<int32_t>(ScaledSum(y, layout.scaleY, layout.offsetY))};
  }
  double offsetX = static_cast<uint16_t>(layout.offsetX);
  double offsetY = static_cast<uint16_t>(layout.offsetY);
  return {Low16Signed(ScaledSum(static_cast<int16_t>(x), layout.scaleX, offsetX)),
          Low16Signed(ScaledSum(static_cast<int16_t>(y), layout.scaleY, offsetY + kOutputTopRows))};
}

TargetSize MapSize(const LayoutTransform& layout, uint32_t w, uint32_t h) {
  return {static_cast<int32_t>(ScaledSum(w, layout.scaleX, 0)),
          static_cast<int32_t>(ScaledSum(h, layout.scaleY, 0))};
}

HardKeyGeometry HardKeyColumn(int imageWidth, int imageHeight, bool colourFormat,
                              MapTarget target) {
  HardKeyGeometry column;
  column.count = colourFormat ? 9 : 7;
  column.width = static_cast<int16_t>(TruncToInt64(imageWidth * kHardKeyWidthFactor));
  column.height = static_cast<int16_t>(imageHeight / 16);
  column.left = static_cast<int16_t>(imageWidth - imageWidth / 32 - column.width);
  int16_t top = target == MapTarget::kPreview ? column.height
                                              : static_cast<int16_t>(2 * (column.height / 2) + 12);
  for (int i = 0; i < column.count; ++i) {
    column.tops[static_cast<size_t>(i)] = top;
    top = static_cast<int16_t>(TruncToInt64(top + kHardKeyStepFactor * column.height));
  }
  return column;
}

}  // namespace velmora
