// Writes a stress CCF file for the conversion benchmark.
//
//   stress_ccf OUT.ccf PANELS WIDTH HEIGHT
//
// PANELS panels of 51 frames with 4 buttons each (255 items), all bitmaps
// distinct, 8 bits per pixel, WIDTH x HEIGHT pixels.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/stress_file.h"

namespace {

// A whole number in [1, limit], or 0.
long Count(const char* text, long limit) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  return (*text != '\0' && *end == '\0' && value >= 1 && value <= limit) ? value : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: stress_ccf OUT.ccf PANELS WIDTH HEIGHT\n");
    return 2;
  }
  long panels = Count(argv[2], 1000), width = Count(argv[3], 4096), height = Count(argv[4], 4096);
  if (panels == 0 || width == 0 || height == 0) {
    std::fprintf(stderr, "stress_ccf: PANELS 1-1000, WIDTH and HEIGHT 1-4096\n");
    return 2;
  }
  stress::StressShape shape;
  shape.panels = static_cast<int>(panels);
  shape.bitmapWidth = static_cast<uint16_t>(width);
  shape.bitmapHeight = static_cast<uint16_t>(height);
  return stress::WriteStressFile(shape, argv[1]) ? 0 : 1;
}
