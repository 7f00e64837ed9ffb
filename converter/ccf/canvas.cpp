#include "converter/ccf/canvas.h"

#include <algorithm>

namespace velmora {

namespace {

int ClampSide(int side) { return std::clamp(side, 0, Canvas::kMaxSide); }

// Whether (x, y) lies on a line of the 8-pixel diagonal-cross pattern.
bool OnDiagonalCross(int64_t x, int64_t y) { return ((x + y) & 7) == 0 || ((x - y) & 7) == 0; }

}  // namespace

Canvas::Canvas(int width, int height, Rgb fill) { Reset(width, height, fill); }

void Canvas::Reset(int width, int height, Rgb fill) {
  width_ = ClampSide(width);
  height_ = ClampSide(height);
  pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
}

void Canvas::SetPixel(int64_t x, int64_t y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = colour;
}

Rgb Canvas::Pixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Canvas::FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom, Rgb colour) {
  int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, width_);
  int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, height_);
  for (int64_t y = y0; y < y1; ++y) {
    for (int64_t x = x0; x < x1; ++x) SetPixel(x, y, colour);
  }
}

void Canvas::HatchRect(int64_t left, int64_t top, int64_t right, int64_t bottom, Rgb colour) {
  int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, width_);
  int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, height_);
  for (int64_t y = y0; y < y1; ++y) {
    for (int64_t x = x0; x < x1; ++x) {
      if (OnDiagonalCross(x, y)) SetPixel(x, y, colour);
    }
  }
}

}  // namespace velmora
