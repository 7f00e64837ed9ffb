// The fixed colour tables: the three CCF palettes, the Palm OS 8-bit system
// palette, and the map from CCF colour indexes to the nearest Palm colour.
// None of them is read from a file.
#pragma once

#include <array>
#include <cstdint>

#include "converter/ccf/canvas.h"

namespace velmora {

using Palette256 = std::array<Rgb, 256>;

// 1-bit pixels: 0 black, 1 white.
extern const std::array<Rgb, 2> MonoPalette;
// 2-bit pixels and plain grey levels: 0 black, 0x555555, 0xAAAAAA, 3 white.
extern const std::array<Rgb, 4> GreyPalette;
// 8-bit pixels and colour-format colour values: a 6x6x6 cube (red fastest),
// 24 blues and purples, 16 greys from white down to 0x101010.
extern const Palette256 ColourPalette;
// The Palm OS 8-bit system palette that 8-bit Palm bitmaps index.
extern const Palette256 PalmPalette;
// For each ColourPalette index, the PalmPalette index of smallest squared RGB
// distance, the lowest index on ties.
extern const std::array<uint8_t, 256> PalmIndexMap;

// The background colour of a frame or button colour value: plain layout, the
// GreyPalette entry of bits 2-3; colour format, the ColourPalette entry of the
// least significant byte.
Rgb CcfColourToRgb(uint32_t colourValue, bool colourFormat);

}  // namespace velmora
