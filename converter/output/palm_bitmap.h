// Palm bitmap records: the pixel buffer of one rendered CCF bitmap (t x v bytes,
// row after row: the raw 1-bit or 2-bit value, or the Palm palette index for
// 8-bit bitmaps) becomes the body of a `BitmapRecord`, a Palm OS version 2
// uncompressed bitmap of the same depth.
//
// A whole record is the 25-byte record header (name, kind 6) followed by
// AppendBitmapRecordBody():
//   +0   27 fixed bytes (…, "stdFont", …)
//   +27  S = 16 + P (u32)
//   +31  `PalmBitmapHeader` (16 bytes)
//   +47  v rows of r bytes, then zeros up to P (a multiple of 4)
//   then 60 zero bytes.
// Bitmaps without a bitmap part (compressed 1- and 2-bit ones) are the 27 fixed
// bytes and the 60 zero bytes only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/messages.h"
#include "converter/ccf/ccf_bitmap.h"
#include "converter/output/byte_buffer.h"

namespace velmora {

inline constexpr std::size_t kPalmBitmapHeaderSize = 16;
inline constexpr std::size_t kBitmapFixedBlockSize = 27;
inline constexpr std::size_t kBitmapTrailerSize = 60;
// Offset of the Palm bitmap (its header) within a whole bitmap record.
inline constexpr std::size_t kPalmBitmapOffsetInRecord = 56;
inline constexpr std::uint8_t kPalmNoCompression = 0xFF;

// The bits per pixel of the Palm bitmap for CCF bitmap flags: 8 when bit 0 is
// set (even when compressed), 1 for flags & 0x8101 == 0, 2 for == 0x0100, and 0
// (no bitmap part) for compressed 1- and 2-bit bitmaps.
int PalmPixelSize(std::uint16_t ccf_flags);

// Bytes per row: even, from the pixels per byte of the depth.
std::uint64_t PalmRowBytes(int pixel_size, std::uint32_t width);

// The record name of an `IconList` key: its 8 digits, or for a 16-digit key
// (selected bitmap, then unselected) the unselected bitmap's digits and "Dn".
std::string BitmapRecordName(std::string_view icon_key);

// The pixels of one rendered bitmap.
struct PalmBitmapSource {
  int pixel_size = 0;                    // PalmPixelSize of the CCF flags
  std::uint32_t width = 0;               // t
  std::uint32_t height = 0;              // v
  std::span<const std::uint8_t> pixels;  // width x height values, row after row
};

// The source for a bitmap rendered by the buffer sink (RenderCcfBitmap).
PalmBitmapSource PalmBitmapSourceOf(const CcfBitmapPixels& rendered);

// The once-only warning of bitmap records, owned by the generation run.
struct BitmapWarnings {
  bool& over_64k_shown;
  common::Messages& messages;
};

// The 16-byte header and the packed, padded pixel data (1 bit: 1 for buffer
// value 0; 2 bits: 3 minus the value; 8 bits: the value).
void AppendPalmBitmap(Bytes& out, const PalmBitmapSource& source);

// Appends everything of the record after its record header. A bitmap part over
// 65535 bytes shows "Record exceeds 64K" once and is written in full all the
// same; one whose width, height or row size cannot be stated in 16 bits is left
// out after that warning.
void AppendBitmapRecordBody(Bytes& out, const PalmBitmapSource& source,
                            const BitmapWarnings& warnings);

}  // namespace velmora
