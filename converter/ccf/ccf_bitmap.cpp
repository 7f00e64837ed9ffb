#include "converter/ccf/ccf_bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>

#include "converter/ccf/ccf_compressed.h"
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
  std::optional<std::vector<uint8_t>> decoded;  // w x h values of a decoded compressed bitmap
};

SourceBitmap ReadSource(CcfReader& reader, uint32_t bitmap, const CompressedBitmapNote& note) {
  CcfBitmapHeader header = ReadCcfBitmapHeader(reader, bitmap);
  std::optional<std::vector<uint8_t>> decoded;
  if (header.format() == BitmapFormat::kCompressed && note.decode) {
    if (std::optional<DecodedBitmap> plain =
            DecodeCompressedBitmap(reader.image(), bitmap, header)) {
      header.flags = plain->flags;
      decoded = std::move(plain->pixels);
    }
  }
  return {bitmap, header, header.format(), CcfRowBytes(header.format(), header.width),
          std::move(decoded)};
}

// The source coordinate that destination index `i` samples: trunc(i / scale),
// kept within 16 bits so the byte address cannot overflow.
uint64_t SourceIndex(int64_t i, double scale) {
  return static_cast<uint64_t>(std::clamp<int64_t>(TruncToInt64(i / scale), 0, 0xFFFF));
}

// The raw pixel value: 0/1, 0..3 or a ColourPalette index.
uint8_t ReadSourcePixel(CcfReader& reader, const SourceBitmap& s, uint64_t column, uint64_t row) {
  if (s.decoded) {
    uint64_t at = row * s.header.width + column;
    return at < s.decoded->size() ? (*s.decoded)[at] : 0;
  }
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

// The byte of a row that holds column `column`.
uint64_t ByteOfColumn(const SourceBitmap& s, uint64_t column) {
  if (s.decoded) return column;
  switch (s.format) {
    case BitmapFormat::kOneBit:
      return column / 8;
    case BitmapFormat::kTwoBit:
      return column / 4;
    default:
      return column;
  }
}

// Decodes destination rows of one bitmap into raw pixel values. The source
// column of every destination column is computed once per bitmap, with the
// arithmetic of single reads; each source row is checked against the end of
// the data once and then read directly. A row that runs past the end is read
// pixel by pixel, so its missing bytes read as 0 after the one report, as
// single reads give them.
class RowDecoder {
 public:
  // Destination columns [firstColumn, endColumn); the range must not be empty.
  RowDecoder(CcfReader& reader, const SourceBitmap& source, double scaleX, double scaleY,
             int64_t firstColumn, int64_t endColumn)
      : reader_(reader), source_(source), scaleY_(scaleY) {
    columns_.reserve(static_cast<size_t>(endColumn - firstColumn));
    for (int64_t i = firstColumn; i < endColumn; ++i) columns_.push_back(SourceIndex(i, scaleX));
    uint64_t widest = *std::max_element(columns_.begin(), columns_.end());
    bytesNeeded_ = ByteOfColumn(source, widest) + 1;
    contiguous_ = true;
    for (size_t k = 1; k < columns_.size(); ++k) contiguous_ &= columns_[k] == columns_[0] + k;
  }

  // Writes the values of destination row `row`, one per column, to `out`.
  void Decode(int64_t row, uint8_t* out) {
    uint64_t sourceRow = SourceIndex(row, scaleY_);
    const uint8_t* bytes = RowBytes(sourceRow);
    if (bytes == nullptr) {
      for (uint64_t column : columns_)
        *out++ = ReadSourcePixel(reader_, source_, column, sourceRow);
      return;
    }
    if (source_.decoded || source_.format == BitmapFormat::kEightBit) {
      if (contiguous_) {  // scale 1: a plain copy
        std::memcpy(out, bytes + columns_.front(), columns_.size());
        return;
      }
      for (uint64_t column : columns_) *out++ = bytes[column];
    } else if (source_.format == BitmapFormat::kOneBit) {
      for (uint64_t column : columns_) *out++ = (bytes[column / 8] >> (7 - column % 8)) & 1;
    } else {
      for (uint64_t column : columns_) *out++ = (bytes[column / 4] >> (6 - 2 * (column % 4))) & 3;
    }
  }

 private:
  // The start of source row `sourceRow` when the bytes its columns need are
  // all there; nullptr otherwise.
  const uint8_t* RowBytes(uint64_t sourceRow) const {
    std::span<const uint8_t> data =
        source_.decoded ? std::span<const uint8_t>(*source_.decoded) : reader_.image().bytes();
    uint64_t start = source_.decoded
                         ? sourceRow * source_.header.width
                         : uint64_t{source_.offset} + kPixelsField + sourceRow * source_.rowBytes;
    if (start > data.size() || bytesNeeded_ > data.size() - start) return nullptr;
    return data.data() + start;
  }

  CcfReader& reader_;
  const SourceBitmap& source_;
  double scaleY_;
  std::vector<uint64_t> columns_;  // the source column of each destination column
  uint64_t bytesNeeded_ = 0;       // of a source row, up to the widest sampled column
  bool contiguous_ = false;        // columns_ are consecutive
};

// The palette that gives the pixel values of `format` their colours.
const Rgb* CanvasPalette(BitmapFormat format) {
  switch (format) {
    case BitmapFormat::kOneBit:
      return MonoPalette.data();
    case BitmapFormat::kTwoBit:
      return GreyPalette.data();
    default:
      return ColourPalette.data();
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

// Replaces each 8-bit value in [first, last) by its PalmIndexMap entry. Every
// pixel of an 8-bit bitmap passes here; unrolled, the loop costs little more
// than its loads and stores.
void MapToPalmIndices(uint8_t* first, uint8_t* last) {
#pragma GCC unroll 8
  for (uint8_t* value = first; value != last; ++value) *value = PalmIndexMap[*value];
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
  SourceBitmap source = ReadSource(reader, bitmap, note);
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
  if (firstColumn >= endColumn || firstRow >= endRow) return;
  RowDecoder rows(reader, source, sx, sy, firstColumn, endColumn);
  const Rgb* palette = CanvasPalette(source.format);
  std::vector<uint8_t> values(static_cast<size_t>(endColumn - firstColumn));
  std::vector<Rgb> colours(values.size());
  for (int64_t r = firstRow; r < endRow; ++r) {
    rows.Decode(r, values.data());
    for (size_t k = 0; k < values.size(); ++k) colours[k] = palette[values[k]];
    canvas.PutRow(left + firstColumn, top + r, colours);
  }
}

std::optional<CcfBitmapPixels> RenderCcfBitmap(CcfReader& reader, uint32_t bitmap,
                                               const LayoutTransform& layout,
                                               CompressedBitmapNote& note) {
  if (bitmap == 0) return std::nullopt;
  SourceBitmap source = ReadSource(reader, bitmap, note);
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
  if (pixels.values.empty()) return pixels;
  RowDecoder rows(reader, source, sx, sy, 0, width);
  for (int64_t r = 0; r < height; ++r) {
    uint8_t* row = pixels.values.data() + r * width;
    rows.Decode(r, row);
    if (source.format == BitmapFormat::kEightBit) MapToPalmIndices(row, row + width);
  }
  return pixels;
}

}  // namespace velmora
