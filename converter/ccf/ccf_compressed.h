// Decoding compressed CCF bitmaps (flags bit 15) to plain pixel values, on
// request. Two stream forms are known; both fill w x h pixels row after row
// with no row padding, and both decode only what lies within the stream:
//
// 2-bit runs (flags bit 8, bit 0 clear): a byte with bit 7 set repeats the
// value b & 3 ((b >> 2) & 0x1F) + 4 times; any other byte is three pixels,
// (b >> 4) & 3, (b >> 2) & 3, b & 3. A last byte may reach past w x h.
//
// 8-bit segments (flags bit 0): each segment starts with two control bytes
// c1 c2, each naming one part, the parts' data following in order. A control
// below 0x80 is a run: the next two bytes (a pixel pair) repeated c times
// (none for 0). 0x80 + n is a literal: the next 2n bytes as they are. Besides:
// 00 00 ends the stream; FF n is one literal of 2 (n - 1) bytes; a literal
// control followed by 81 is that literal and one single byte more. Any other
// pair of controls is a form we do not know.
//
// A stream that ends (or stops) before w x h pixels, whose size word points
// past the file, or whose form is unknown does not decode: the caller keeps
// its handling of compressed bitmaps that are not decoded.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/ccf_image.h"

namespace velmora {

// The w x h values of a 2-bit run stream (0..3).
std::optional<std::vector<uint8_t>> DecodeTwoBitRuns(std::span<const uint8_t> stream,
                                                     uint64_t pixelCount);
// The w x h values of an 8-bit segment stream (ColourPalette indexes).
std::optional<std::vector<uint8_t>> DecodeEightBitSegments(std::span<const uint8_t> stream,
                                                           uint64_t pixelCount);

// The w x h pixels of the compressed bitmap at `bitmap`, whose stream runs
// from +8 up to its size word (+0, header included), and the flags of the
// plain bitmap they make (bit 15 cleared). Reads silently: a bitmap that does
// not decode reports nothing here. At most kMaxBitmapBufferPixels pixels.
struct DecodedBitmap {
  uint16_t flags = 0;
  std::vector<uint8_t> pixels;
};
std::optional<DecodedBitmap> DecodeCompressedBitmap(const CcfImage& image, uint32_t bitmap,
                                                    const CcfBitmapHeader& header);

}  // namespace velmora
