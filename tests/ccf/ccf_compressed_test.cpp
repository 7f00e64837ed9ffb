#include "converter/ccf/ccf_compressed.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Pixels = std::vector<uint8_t>;

TEST(CompressedStreams, TwoBitRunsAndLiteralsFillRowsWithoutPadding) {
  // 5 x 2: literal 1 2 3, a run of four 2s across the row end, literal 0 1 3.
  EXPECT_EQ(DecodeTwoBitRuns(Pixels{0x1B, 0x82, 0x07}, 10), (Pixels{1, 2, 3, 2, 2, 2, 2, 0, 1, 3}));
  EXPECT_EQ(DecodeTwoBitRuns(Pixels{0xFD}, 35), Pixels(35, 1));  // the longest run
  // Past the pixel count: a literal's last two pixels, a run's tail, padding.
  EXPECT_EQ(DecodeTwoBitRuns(Pixels{0x1B, 0x00}, 1), Pixels{1});
  EXPECT_EQ(DecodeTwoBitRuns(Pixels{0x1B, 0xFE, 0xFC}, 5), (Pixels{1, 2, 3, 2, 2}));
  EXPECT_FALSE(DecodeTwoBitRuns(Pixels{0x1B, 0x82}, 8));                  // ends early
  EXPECT_FALSE(DecodeTwoBitRuns(Pixels{0x80}, uint64_t{65535} * 65535));  // nothing allocated
}

TEST(CompressedStreams, EightBitSegmentsInEveryPairing) {
  // Runs of 2 pairs then 1 pair, across the row end of a 3-wide bitmap.
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0x02, 0x01, 7, 8, 9, 10, 0, 0}, 6),
            (Pixels{7, 8, 7, 8, 9, 10}));
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0x81, 0x02, 1, 2, 3, 4}, 6), (Pixels{1, 2, 3, 4, 3, 4}));
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0x00, 0x81, 1, 2}, 2), (Pixels{1, 2}));
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0xFF, 0x03, 1, 2, 3, 4}, 4), (Pixels{1, 2, 3, 4}));
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0x81, 0x81, 1, 2, 3}, 3), (Pixels{1, 2, 3}));  // odd
  EXPECT_EQ(DecodeEightBitSegments(Pixels{0x7F, 0x00, 5, 6}, 3), (Pixels{5, 6, 5}));     // past
  EXPECT_FALSE(DecodeEightBitSegments(Pixels{0x01, 0x00, 5, 6, 0, 0}, 4));  // ends early
  EXPECT_FALSE(DecodeEightBitSegments(Pixels{0x01, 0x00, 5, 6}, 4));        // stream ends
  EXPECT_FALSE(DecodeEightBitSegments(Pixels{0x83, 0x00, 1, 2}, 2));        // data cut short
  EXPECT_FALSE(DecodeEightBitSegments(Pixels{0x82, 0x82, 1, 2, 3, 4, 5, 6, 7, 8}, 8));
  EXPECT_FALSE(DecodeEightBitSegments(Pixels{0x80, 0x01, 1, 2}, 2));
}

// A CCF image with one bitmap at 4: size word (header included), w, h, flags.
CcfImage Compressed(uint16_t w, uint16_t h, uint16_t flags, Pixels stream, int sizeDelta = 0) {
  Pixels bytes(4, 0);
  for (int v : {8 + static_cast<int>(stream.size()) + sizeDelta, int{w}, int{h}, int{flags}}) {
    bytes.insert(bytes.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
  }
  bytes.insert(bytes.end(), stream.begin(), stream.end());
  bytes.push_back(0xFF);  // beyond the size word
  return CcfImage(bytes, "c.ccf");
}

TEST(CompressedBitmap, TheSizeWordBoundsTheStreamAndOnlyKnownFormsDecode) {
  std::optional<DecodedBitmap> grey =
      DecodeCompressedBitmap(Compressed(2, 2, 0x8100, {0x1B, 0x00}), 4, {2, 2, 0x8100});
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->flags, 0x0100);
  EXPECT_EQ(grey->pixels, (Pixels{1, 2, 3, 0}));
  // The byte after FF 01 would be a literal, but lies past the size word.
  EXPECT_FALSE(DecodeCompressedBitmap(Compressed(1, 1, 0x8001, {0xFF, 0x01}), 4, {1, 1, 0x8001}));
  EXPECT_FALSE(DecodeCompressedBitmap(Compressed(2, 2, 0x8100, {0x1B}, 2), 4, {2, 2, 0x8100}));
  EXPECT_FALSE(DecodeCompressedBitmap(Compressed(2, 2, 0x8000, {0x1B}), 4, {2, 2, 0x8000}));
}

}  // namespace
}  // namespace velmora
