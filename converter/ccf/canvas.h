// A portable RGB drawing surface: the preview image and the button image are
// drawn here and the window only copies the pixels to the screen. Every write
// is clipped to the surface, so callers may pass any coordinates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

class Canvas {
 public:
  // Surfaces larger than kMaxSide in either direction are cut to it.
  static constexpr int kMaxSide = 4096;

  Canvas() = default;
  Canvas(int width, int height, Rgb fill = kWhite);

  int width() const { return width_; }
  int height() const { return height_; }
  // Resizes and clears to `fill`. The storage only grows, so redrawing at a
  // size the canvas has had before costs one fill and no allocation.
  void Reset(int width, int height, Rgb fill = kWhite);

  void SetPixel(int64_t x, int64_t y, Rgb colour);
  // Pixels (x, y), (x + 1, y), ... take `colours` in turn.
  void PutRow(int64_t x, int64_t y, std::span<const Rgb> colours);
  // The colour at (x, y); black outside the surface.
  Rgb Pixel(int64_t x, int64_t y) const;

  // Rectangles cover left <= x < right, top <= y < bottom.
  void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom, Rgb colour);
  // A diagonal-cross hatch: lines of `colour` at 45 degrees both ways, every
  // 8 pixels, aligned to the surface origin; the pixels between the lines keep
  // their colour.
  void HatchRect(int64_t left, int64_t top, int64_t right, int64_t bottom, Rgb colour);

  // Row after row, width() * height() entries.
  std::span<const Rgb> pixels() const {
    return {pixels_.data(), static_cast<size_t>(width_) * static_cast<size_t>(height_)};
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace velmora
