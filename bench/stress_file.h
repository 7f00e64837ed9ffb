// Stress CCF files for the benchmarks: panels of frames, each frame holding
// buttons, every frame and button with its own 8-bit bitmaps, every button
// with a learned IR code of about 1000 bits and a pressed bitmap. All panels
// belong to one device whose hard keys send an IR code.
#pragma once

#include <cstdint>
#include <string>

namespace stress {

struct StressShape {
  int panels = 15;
  int framesPerPanel = 51;
  int buttonsPerFrame = 4;  // 51 frames + 204 buttons = 255 items, a panel's most
  uint16_t bitmapWidth = 120;
  uint16_t bitmapHeight = 60;
  // Buttons of one further panel "Extras", placed directly on it (0: none).
  int extraButtons = 0;
};

// Builds the file in memory and writes it; false (after perror) when it
// cannot be written.
bool WriteStressFile(const StressShape& shape, const std::string& path);

}  // namespace stress
