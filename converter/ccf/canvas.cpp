#include "converter/ccf/canvas.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

int ClampSide(int side) { return std::clamp(side, 0, Canvas::kMaxSide); }

// Whether (x, y) lies on a line of the 8-pixel diagonal-cross pattern.
bool OnDiagonalCross(int64_t x, int64_t y) { return ((x + y) & 7) == 0 || ((x - y) & 7) == 0; }

// Sets `count` pixels from `first` to `colour`: one pixel, then copies of the
// part already filled, doubling each time, so a fill costs a few block copies
// rather than one small copy per pixel.
void FillPixels(Rgb* first, size_t count, Rgb colour) {
  if (count == 0) return;
  first[0] = colour;
  for (size_t done = 1; done < count;) {
    const size_t step = std::min(done, count - done);
    std::memcpy(first + done, first, step * sizeof(Rgb));
    done += step;
  }
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb fill) { Reset(width, height, fill); }

void Canvas::Reset(int width, int height, Rgb fill) {
  width_ = ClampSide(width);
  height_ = ClampSide(height);
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  if (pixels_.size() < count) pixels_.resize(count);
  FillPixels(pixels_.data(), count, fill);
}

void Canvas::SetPixel(int64_t x, int64_t y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = colour;
}

void Canvas::PutRow(int64_t x, int64_t y, std::span<const Rgb> colours) {
  if (y < 0 || y >= height_) return;
  auto count = static_cast<int64_t>(colours.size());
  int64_t first = std::clamp<int64_t>(-x, 0, count);
  int64_t end = std::clamp<int64_t>(width_ - x, first, count);
  if (first == end) return;
  std::copy(colours.begin() + first, colours.begin() + end,
            pixels_.begin() + y * width_ + x + first);
}

Rgb Canvas::Pixel(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Canvas::FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom, Rgb colour) {
  int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, width_);
  int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, height_);
  if (x0 >= x1 || y0 >= y1) return;
  Rgb* topLeft = pixels_.data() + y0 * width_ + x0;
  if (x1 - x0 == width_) {  // whole rows lie next to each other: one fill
    FillPixels(topLeft, static_cast<size_t>((y1 - y0) * width_), colour);
    return;
  }
  for (int64_t y = y0; y < y1; ++y, topLeft += width_) {
    FillPixels(topLeft, static_cast<size_t>(x1 - x0), colour);
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
