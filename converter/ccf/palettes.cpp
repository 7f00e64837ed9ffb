#include "converter/ccf/palettes.h"

namespace velmora {

namespace {

constexpr Rgb FromHex(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
          static_cast<uint8_t>(rgb)};
}

constexpr Rgb Grey(unsigned level) {
  uint8_t v = static_cast<uint8_t>(level);
  return {v, v, v};
}

// The blues and purples between the colour cube and the greys.
constexpr uint32_t kColourBlues[24] = {0xC0D0F0, 0x90B0F0, 0x7090D0, 0x5070D0, 0x3060E0, 0x4050E0,
                                       0x2040C0, 0x2030B0, 0xA0A0D0, 0x7070A0, 0x505090, 0x304090,
                                       0x303080, 0x202070, 0x101070, 0x101050, 0xD0B0D0, 0xB090B0,
                                       0x908090, 0xA080A0, 0x908090, 0x907090, 0x807080, 0x806080};

constexpr Palette256 MakeColourPalette() {
  Palette256 palette{};
  for (unsigned i = 0; i < 216; ++i) {
    palette[i] = {static_cast<uint8_t>(i % 6 * 0x33), static_cast<uint8_t>(i / 6 % 6 * 0x33),
                  static_cast<uint8_t>(i / 36 * 0x33)};
  }
  for (unsigned i = 0; i < 24; ++i) palette[216 + i] = FromHex(kColourBlues[i]);
  for (unsigned i = 240; i < 256; ++i) {
    unsigned level = 16 * (256 - i);
    palette[i] = Grey(level > 255 ? 255 : level);
  }
  return palette;
}

constexpr uint32_t kPalmGreysAndColours[15] = {0x111111, 0x222222, 0x444444, 0x555555, 0x777777,
                                               0x888888, 0xAAAAAA, 0xBBBBBB, 0xDDDDDD, 0xEEEEEE,
                                               0xC0C0C0, 0x800000, 0x800080, 0x008000, 0x008080};

constexpr Palette256 MakePalmPalette() {
  Palette256 palette{};  // 230 to 255 stay black
  for (unsigned i = 0; i < 215; ++i) {
    unsigned h = i / 108;
    unsigned j = i % 108;
    palette[i] = {static_cast<uint8_t>(0xFF - 0x33 * (j / 18)),
                  static_cast<uint8_t>(0xFF - 0x33 * (j % 6)),
                  static_cast<uint8_t>(0xFF - 0x33 * (3 * h + j % 18 / 6))};
  }
  for (unsigned i = 0; i < 15; ++i) palette[215 + i] = FromHex(kPalmGreysAndColours[i]);
  return palette;
}

constexpr int Square(int v) { return v * v; }

constexpr int Distance(Rgb a, Rgb b) {
  return Square(a.r - b.r) + Square(a.g - b.g) + Square(a.b - b.b);
}

constexpr std::array<uint8_t, 256> MakePalmIndexMap(const Palette256& from, const Palette256& to) {
  std::array<uint8_t, 256> map{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned best = 0;
    for (unsigned j = 1; j < 256; ++j) {
      if (Distance(from[i], to[j]) < Distance(from[i], to[best])) best = j;
    }
    map[i] = static_cast<uint8_t>(best);
  }
  return map;
}

}  // namespace

const std::array<Rgb, 2> MonoPalette = {kBlack, kWhite};
const std::array<Rgb, 4> GreyPalette = {Grey(0x00), Grey(0x55), Grey(0xAA), Grey(0xFF)};
constinit const Palette256 ColourPalette = MakeColourPalette();
constinit const Palette256 PalmPalette = MakePalmPalette();
constinit const std::array<uint8_t, 256> PalmIndexMap =
    MakePalmIndexMap(MakeColourPalette(), MakePalmPalette());

Rgb CcfColourToRgb(uint32_t colourValue, bool colourFormat) {
  if (colourFormat) return ColourPalette[colourValue & 0xFF];
  return GreyPalette[(colourValue >> 2) & 3];
}

}  // namespace velmora
