#include "converter/ccf/palettes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace velmora {
namespace {

Rgb Hex(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
          static_cast<uint8_t>(rgb)};
}

TEST(Palettes, MonoAndGreyLevels) {
  EXPECT_EQ(MonoPalette[0], Hex(0x000000));
  EXPECT_EQ(MonoPalette[1], Hex(0xFFFFFF));
  EXPECT_EQ(GreyPalette[0], Hex(0x000000));
  EXPECT_EQ(GreyPalette[1], Hex(0x555555));
  EXPECT_EQ(GreyPalette[2], Hex(0xAAAAAA));
  EXPECT_EQ(GreyPalette[3], Hex(0xFFFFFF));
}

TEST(Palettes, ColourPaletteCubeBluesAndGreys) {
  EXPECT_EQ(ColourPalette[0], Hex(0x000000));
  EXPECT_EQ(ColourPalette[5], Hex(0xFF0000));
  EXPECT_EQ(ColourPalette[30], Hex(0x00FF00));
  EXPECT_EQ(ColourPalette[180], Hex(0x0000FF));
  EXPECT_EQ(ColourPalette[215], Hex(0xFFFFFF));
  EXPECT_EQ(ColourPalette[1 + 6 * 2 + 36 * 3], Hex(0x336699));
  EXPECT_EQ(ColourPalette[216], Hex(0xC0D0F0));
  EXPECT_EQ(ColourPalette[227], Hex(0x304090));
  EXPECT_EQ(ColourPalette[236], Hex(0x908090));
  EXPECT_EQ(ColourPalette[239], Hex(0x806080));
  EXPECT_EQ(ColourPalette[240], Hex(0xFFFFFF));
  EXPECT_EQ(ColourPalette[241], Hex(0xF0F0F0));
  EXPECT_EQ(ColourPalette[254], Hex(0x202020));
  EXPECT_EQ(ColourPalette[255], Hex(0x101010));  // not black
}

TEST(Palettes, PalmPaletteListedEntries) {
  EXPECT_EQ(PalmPalette[0], Hex(0xFFFFFF));
  EXPECT_EQ(PalmPalette[1], Hex(0xFFCCFF));
  EXPECT_EQ(PalmPalette[6], Hex(0xFFFFCC));
  EXPECT_EQ(PalmPalette[18], Hex(0xCCFFFF));
  EXPECT_EQ(PalmPalette[108], Hex(0xFFFF66));
  EXPECT_EQ(PalmPalette[214], Hex(0x003300));
  EXPECT_EQ(PalmPalette[215], Hex(0x111111));
  EXPECT_EQ(PalmPalette[224], Hex(0xEEEEEE));
  EXPECT_EQ(PalmPalette[225], Hex(0xC0C0C0));
  EXPECT_EQ(PalmPalette[229], Hex(0x008080));
  for (int i = 230; i < 256; ++i) EXPECT_EQ(PalmPalette[i], Hex(0)) << i;
}

// The Palm cube built another way: two halves of blue, then red, blue and
// green components stepping down from 0xFF.
std::vector<Rgb> PalmCubeByLoops() {
  std::vector<Rgb> cube;
  for (int half = 0; half < 2; ++half) {
    for (int red = 0; red < 6; ++red) {
      for (int blue = 0; blue < 3; ++blue) {
        for (int green = 0; green < 6; ++green) {
          cube.push_back({static_cast<uint8_t>(255 - 51 * red),
                          static_cast<uint8_t>(255 - 51 * green),
                          static_cast<uint8_t>(255 - 51 * (3 * half + blue))});
        }
      }
    }
  }
  cube.resize(215);
  return cube;
}

TEST(Palettes, PalmCubeMatchesAnIndependentConstruction) {
  std::vector<Rgb> cube = PalmCubeByLoops();
  for (size_t i = 0; i < cube.size(); ++i) EXPECT_EQ(PalmPalette[i], cube[i]) << i;
}

TEST(PalmIndexMap, IsTheNearestPalmColourWithTheLowestIndexOnTies) {
  for (int c = 0; c < 256; ++c) {
    const Rgb& want = ColourPalette[c];
    long best = -1;
    int bestIndex = -1;
    for (int p = 255; p >= 0; --p) {  // scanning down, <= keeps the lowest index
      long dr = long{want.r} - PalmPalette[p].r, dg = long{want.g} - PalmPalette[p].g,
           db = long{want.b} - PalmPalette[p].b;
      long distance = dr * dr + dg * dg + db * db;
      if (best < 0 || distance <= best) {
        best = distance;
        bestIndex = p;
      }
    }
    EXPECT_EQ(PalmIndexMap[c], bestIndex) << "colour index " << c;
  }
}

TEST(PalmIndexMap, BlackAndWhiteEntries) {
  EXPECT_EQ(PalmIndexMap[0], 230);
  EXPECT_EQ(PalmIndexMap[215], 0);
  EXPECT_EQ(PalmIndexMap[240], 0);
}

TEST(CcfColourToRgb, PlainUsesBitsTwoAndThreeColourUsesTheLowByte) {
  EXPECT_EQ(CcfColourToRgb(0x00, false), GreyPalette[0]);
  EXPECT_EQ(CcfColourToRgb(0x04, false), GreyPalette[1]);
  EXPECT_EQ(CcfColourToRgb(0xF3, false), GreyPalette[0]);  // foreground bits and high bits ignored
  EXPECT_EQ(CcfColourToRgb(0x0B, false), GreyPalette[2]);
  EXPECT_EQ(CcfColourToRgb(0x0C, false), GreyPalette[3]);
  EXPECT_EQ(CcfColourToRgb(0xFF000005, true), ColourPalette[5]);
  EXPECT_EQ(CcfColourToRgb(0x00FFFFB4, true), ColourPalette[180]);
}

}  // namespace
}  // namespace velmora
