// Decoding CCF bitmaps (1, 2 and 8 bits per pixel; compressed ones only when
// asked to, see ccf_compressed.h) into one of two sinks: the canvas of the
// preview, or a byte buffer from which the Palm bitmap record is built.
//
// Both sinks sample the same way: the destination is trunc(w * scaleX) by
// trunc(h * scaleY) pixels, and destination pixel (i, r) shows source pixel
// (trunc(i / scaleX), trunc(r / scaleY)), read with one ReadU8 per pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/canvas.h"
#include "converter/ccf/ccf_image.h"
#include "converter/ccf/layout_transform.h"

namespace velmora {

inline constexpr char kCompressedBitmapText[] =
    "This panel contains compressed bitmaps which are not understood by this program and will "
    "be ignored.";
inline constexpr char kUnsupportedFeatureCaption[] = "Unsupported feature";
inline constexpr char kBitmapMemoryText[] = "Not enough memory for this bitmap";
// The largest buffer-sink bitmap, in pixels, that is allocated.
inline constexpr uint64_t kMaxBitmapBufferPixels = uint64_t{1} << 24;

enum class BitmapFormat { kOneBit, kTwoBit, kCompressed, kEightBit };
// Tested in this order: 2 bits (flags & 0x8101 == 0x0100), 1 bit (== 0),
// compressed (bit 15), 8 bits (bit 0).
BitmapFormat FormatOfFlags(uint16_t flags);
// The stored row size: (w + 7) / 8; ((w + 3) / 4) rounded up to even; w.
uint64_t CcfRowBytes(BitmapFormat format, uint16_t width);

struct CcfBitmapHeader {
  uint16_t width = 0;   // +2
  uint16_t height = 0;  // +4
  uint16_t flags = 0;   // +6; pixels from +8
  BitmapFormat format() const { return FormatOfFlags(flags); }
};
CcfBitmapHeader ReadCcfBitmapHeader(CcfReader& reader, uint32_t bitmap);

// How one form handles compressed bitmaps: whether they are decoded (the
// "Decode compressed bitmaps" option, off by default; a bitmap that does not
// decode is handled as when it is off), and the note that the
// compressed-bitmap message has been shown. The preview never clears the
// note; a generation run clears it when it starts.
class CompressedBitmapNote {
 public:
  bool decode = false;

  // Shows the message unless it has been shown since the last Clear.
  void WarnOnce(common::Messages& messages);
  void Clear() { shown_ = false; }
  bool shown() const { return shown_; }

 private:
  bool shown_ = false;
};

// Canvas sink: draws the bitmap with its top left corner at
// (trunc(x * scaleX + offsetX), trunc(y * scaleY + offsetY)), pixels from the
// MonoPalette, GreyPalette or ColourPalette. A compressed bitmap that is not
// decoded is shown as a red diagonal-cross hatch over its destination
// rectangle, after the note's message. A bitmap of 0 does nothing. Destination
// pixels that fall outside the canvas are neither read nor drawn.
void DrawCcfBitmap(CcfReader& reader, uint32_t bitmap, uint16_t x, uint16_t y, Canvas& canvas,
                   const LayoutTransform& layout, int32_t offsetX, int32_t offsetY,
                   CompressedBitmapNote& note);

// Buffer sink: one byte per destination pixel, row after row.
struct CcfBitmapPixels {
  // The source's size and flags (flags give the depth; those of a decoded
  // compressed bitmap have bit 15 cleared, as its pixels are now plain).
  CcfBitmapHeader header;
  uint32_t width = 0;   // t = trunc(w * scaleX)
  uint32_t height = 0;  // v = trunc(h * scaleY)
  // width * height values: the raw 0/1 or 0..3 pixel of 1- and 2-bit
  // bitmaps, the PalmIndexMap entry of 8-bit ones; all 0 when compressed and
  // not decoded.
  std::vector<uint8_t> values;
};
// Renders the bitmap at scale for the Palm record. nullopt for a bitmap of 0
// (nothing to write, nothing reported) and when the buffer is larger than
// kMaxBitmapBufferPixels or cannot be allocated: then "Not enough memory for
// this bitmap" (caption "File error") has been shown and the caller abandons
// its operation.
std::optional<CcfBitmapPixels> RenderCcfBitmap(CcfReader& reader, uint32_t bitmap,
                                               const LayoutTransform& layout,
                                               CompressedBitmapNote& note);

}  // namespace velmora
