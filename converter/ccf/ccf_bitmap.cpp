#include "converter/ccf/ccf_bitmap.h"

#include <algorithm>
#include <new>

#include "converter/ccf/palettes.h"

namespace velmora {

namespace {

inline constexpr uint64_t kPixelsField = 8;
inline constexpr Rgb kCompressedHatch{255, 0, 0};

// One source bitmap and how to find its pixels.
struct SourceBitmap {
  uint32_t offset;
  CcfBitmapHeader header;
  BitmapFormat format;
  uint64_t rowBytes;
};

SourceBitmap ReadSource(CcfReader& reader, uint32_t bitmap) {
  CcfBitmapHeader header = ReadCcfBitmapHeader(reader, bitmap);
  return {bitmap, header, header.format(), CcfRowBytes(header.format(), header.width)};
}

// The source coordinate that destination index `i` samples: trunc(i / scale),
// kept within 16 bits so the byte address cannot overflow.
uint64_t SourceIndex(int64_t i, double scale) {
  return static_cast<uint64_t>(std::clamp<int64_t>(TruncToInt64(i / scale), 0, 0xFFFF));
}

// The raw pixel value: 0/1, 0..3 or a ColourPalette index.
uint8_t ReadSourcePixel(CcfReader& reader, const SourceBitmap& s, uint64_t column, uint64_t row) {
  uint64_t rowStart = uint64_t{s.offset} + kPixelsField + row * s.rowBytes;
  switch (s.format) {
    case BitmapFormat::kOneBit:
      return (reader.ReadU8(rowStart + column / 8) >> (7 - column % 8)) & 1;
    case BitmapFormat::kTwoBit:
      return (reader.ReadU8(rowStart + column / 4) >> (6 - 2 * (column % 4))) & 3;
    case BitmapFormat::kEightBit:
      return reader.ReadU8(rowStart + column);
    case BitmapFormat::kCompressed:
      break;
  }
  return 0;
}

Rgb CanvasColour(BitmapFormat format, uint8_t value) {
  switch (format) {
    case BitmapFormat::kOneBit:
      return MonoPalette[value];
    case BitmapFormat::kTwoBit:
      return GreyPalette[value];
    default:
      return ColourPalette[value];
  }
}

int64_t Scaled(int64_t coordinate, double scale, int64_t offset) {
  return TruncToInt64(static_cast<double>(coordinate) * scale + static_cast<double>(offset));
}

// The destination index range [first, last) whose pixels land on [0, side).
std::pair<int64_t, int64_t> VisibleRange(int64_t origin, int64_t count, int side) {
  return {std::clamp<int64_t>(-origin, 0, std::max<int64_t>(count, 0)),
          std::clamp<int64_t>(side - origin, 0, std::max<int64_t>(count, 0))};
}

void ShowMemoryFailure(common::Messages& messages) {
  messages.Show(kBitmapMemoryText, kFileErrorCaption);
}

}  // namespace

BitmapFormat FormatOfFlags(uint16_t flags) {
  if ((flags & 0x8101) == 0x0100) return BitmapFormat::kTwoBit;
  if ((flags & 0x8101) == 0) return BitmapFormat::kOneBit;
  if (flags & 0x8000) return BitmapFormat::kCompressed;
  return BitmapFormat::kEightBit;
}

uint64_t CcfRowBytes(BitmapFormat format, uint16_t width) {
  switch (format) {
    case BitmapFormat::kOneBit:
      return (uint64_t{width} + 7) / 8;
    case BitmapFormat::kTwoBit:
      return ((uint64_t{width} + 3) / 4 + 1) & ~uint64_t{1};
    case BitmapFormat::kEightBit:
      return width;
    case BitmapFormat::kCompressed:
      break;
  }
  return 0;
}

CcfBitmapHeader ReadCcfBitmapHeader(CcfReader& reader, uint32_t bitmap) {
  CcfBitmapHeader header;
  header.width = reader.ReadU16(uint64_t{bitmap} + 2);
  header.height = reader.ReadU16(uint64_t{bitmap} + 4);
  header.flags = reader.ReadU16(uint64_t{bitmap} + 6);
  return header;
}

void CompressedBitmapNote::WarnOnce(common::Messages& messages) {
  if (shown_) return;
  messages.Show(kCompressedBitmapText, kUnsupportedFeatureCaption);
  shown_ = true;
}

void DrawCcfBitmap(CcfReader& reader, uint32_t bitmap, uint16_t x, uint16_t y, Canvas& canvas,
                   const LayoutTransform& layout, int32_t offsetX, int32_t offsetY,
                   CompressedBitmapNote& note) {
  if (bitmap == 0) return;
  SourceBitmap source = ReadSource(reader, bitmap);
  double sx = layout.scaleX, sy = layout.scaleY;
  int64_t left = Scaled(x, sx, offsetX), top = Scaled(y, sy, offsetY);
  if (source.format == BitmapFormat::kCompressed) {
    note.WarnOnce(reader.messages());
    canvas.HatchRect(left, top, Scaled(int64_t{x} + source.header.width, sx, offsetX),
                     Scaled(int64_t{y} + source.header.height, sy, offsetY), kCompressedHatch);
    return;
  }
  auto [firstColumn, endColumn] =
      VisibleRange(left, Scaled(source.header.width, sx, 0), canvas.width());
  auto [firstRow, endRow] = VisibleRange(top, Scaled(source.header.height, sy, 0), canvas.height());
  for (int64_t r = firstRow; r < endRow; ++r) {
    uint64_t sourceRow = SourceIndex(r, sy);
    for (int64_t i = firstColumn; i < endColumn; ++i) {
      uint8_t value = ReadSourcePixel(reader, source, SourceIndex(i, sx), sourceRow);
      canvas.SetPixel(left + i, top + r, CanvasColour(source.format, value));
    }
  }
}

std::optional<CcfBitmapPixels> RenderCcfBitmap(CcfReader& reader, uint32_t bitmap,
                                               const LayoutTransform& layout,
                                               CompressedBitmapNote& note) {
  if (bitmap == 0) return std::nullopt;
  SourceBitmap source = ReadSource(reader, bitmap);
  double sx = layout.scaleX, sy = layout.scaleY;
  CcfBitmapPixels pixels;
  pixels.header = source.header;
  int64_t width = std::max<int64_t>(Scaled(source.header.width, sx, 0), 0);
  int64_t height = std::max<int64_t>(Scaled(source.header.height, sy, 0), 0);
  if (width > 0 && height > static_cast<int64_t>(kMaxBitmapBufferPixels) / width) {
    ShowMemoryFailure(reader.messages());
    return std::nullopt;
  }
  pixels.width = static_cast<uint32_t>(width);
  pixels.height = static_cast<uint32_t>(height);
  try {
    pixels.values.assign(static_cast<size_t>(width * height), 0);
  } catch (const std::bad_alloc&) {
    ShowMemoryFailure(reader.messages());
    return std::nullopt;
  }
  if (source.format == BitmapFormat::kCompressed) {
    note.WarnOnce(reader.messages());
    return pixels;
  }
  for (int64_t r = 0; r < height; ++r) {
    uint64_t sourceRow = SourceIndex(r, sy);
    for (int64_t i = 0; i < width; ++i) {
      uint8_t value = ReadSourcePixel(reader, source, SourceIndex(i, sx), sourceRow);
      if (source.format == BitmapFormat::kEightBit) value = PalmIndexMap[value];
      pixels.values[static_cast<size_t>(r * width + i)] = value;
    }
  }
  return pixels;
}

}  // namespace velmora
