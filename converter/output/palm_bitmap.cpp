#include "converter/output/palm_bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace velmora {
namespace {

constexpr char k64KText[] =
    "This panel contains a bitmap which is too large, the PDB file generated will be invalid.";
constexpr char k64KCaption[] = "Record exceeds 64K";
constexpr std::array<std::uint8_t, kBitmapFixedBlockSize> kFixedBlock = {
    0x00, 0x01, 0x00, 0x04, 0x00, 0x0F, 0x00, 0x40, 0x00, 0x00, 0x00, 's',  't', 'd',
    'F',  'o',  'n',  't',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr std::uint8_t kPalmBitmapVersion = 2;
constexpr std::uint64_t kMaxRecordField = 0xFFFF;

std::uint64_t RoundUpToEven(std::uint64_t n) { return (n + 1) & ~std::uint64_t{1}; }

std::uint64_t PixelDataSize(std::uint64_t row_bytes, std::uint32_t height) {
  return (row_bytes * height + 3) & ~std::uint64_t{3};
}

std::uint8_t PixelAt(const PalmBitmapSource& source, std::uint64_t at) {
  return at < source.pixels.size() ? source.pixels[at] : 0;
}

// Packs row `y` into `row`, which holds zeros; 1- and 2-bit values are
// inverted (black is all ones). Pixels missing from the buffer count as 0.
void PackRow(const PalmBitmapSource& source, std::uint32_t y, std::uint8_t* row) {
  std::uint64_t first = std::uint64_t{y} * source.width;
  if (source.pixel_size == 8) {
    if (first < source.pixels.size()) {
      std::memcpy(row, source.pixels.data() + first,
                  static_cast<std::size_t>(
                      std::min<std::uint64_t>(source.width, source.pixels.size() - first)));
    }
    return;
  }
  for (std::uint32_t x = 0; x < source.width; ++x) {
    std::uint8_t value = PixelAt(source, first + x);
    if (source.pixel_size == 1) {
      if (value == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    } else {
      std::uint8_t level = static_cast<std::uint8_t>(3 - (value & 3));
      row[x / 4] |= static_cast<std::uint8_t>(level << (6 - 2 * (x % 4)));
    }
  }
}

bool FitsRecordFields(const PalmBitmapSource& source) {
  return source.width <= kMaxRecordField && source.height <= kMaxRecordField &&
         PalmRowBytes(source.pixel_size, source.width) <= kMaxRecordField;
}

}  // namespace

int PalmPixelSize(std::uint16_t ccf_flags) {
  if (ccf_flags & 0x0001) return 8;
  switch (ccf_flags & 0x8101) {
    case 0x0000:
      return 1;
    case 0x0100:
      return 2;
    default:
      return 0;
  }
}

std::uint64_t PalmRowBytes(int pixel_size, std::uint32_t width) {
  if (pixel_size != 1 && pixel_size != 2 && pixel_size != 8) return 0;
  std::uint64_t pixels_per_byte = 8 / static_cast<std::uint64_t>(pixel_size);
  return RoundUpToEven((std::uint64_t{width} + pixels_per_byte - 1) / pixels_per_byte);
}

std::string BitmapRecordName(std::string_view icon_key) {
  if (icon_key.size() >= 16) return std::string(icon_key.substr(8, 8)) + "Dn";
  return std::string(icon_key.substr(0, 8));
}

PalmBitmapSource PalmBitmapSourceOf(const CcfBitmapPixels& rendered) {
  return {PalmPixelSize(rendered.header.flags), rendered.width, rendered.height, rendered.values};
}

void AppendPalmBitmap(Bytes& out, const PalmBitmapSource& source) {
  std::uint64_t row_bytes = PalmRowBytes(source.pixel_size, source.width);
  std::uint64_t data_size = PixelDataSize(row_bytes, source.height);
  out.reserve(out.size() + kPalmBitmapHeaderSize + data_size + kBitmapTrailerSize);
  PutU16(out, static_cast<std::uint16_t>(source.width));
  PutU16(out, static_cast<std::uint16_t>(source.height));
  PutU16(out, static_cast<std::uint16_t>(row_bytes));
  PutU16(out, 0);  // flags
  PutU8(out, static_cast<std::uint8_t>(source.pixel_size));
  PutU8(out, kPalmBitmapVersion);
  PutU16(out, 0);  // nextDepthOffset
  PutU8(out, 0);   // transparentIndex
  PutU8(out, kPalmNoCompression);
  PutU16(out, 0);  // reserved
  // Rows are packed in place over zeros, which also give the padding.
  std::size_t pixels_start = out.size();
  out.resize(pixels_start + static_cast<std::size_t>(data_size), 0);
  for (std::uint32_t y = 0; y < source.height; ++y) {
    PackRow(source, y, out.data() + pixels_start + static_cast<std::size_t>(y * row_bytes));
  }
}

void AppendBitmapRecordBody(Bytes& out, const PalmBitmapSource& source,
                            const BitmapWarnings& warnings) {
  out.insert(out.end(), kFixedBlock.begin(), kFixedBlock.end());
  if (source.pixel_size != 0) {
    std::uint64_t data_size =
        PixelDataSize(PalmRowBytes(source.pixel_size, source.width), source.height);
    std::uint64_t bitmap_size = kPalmBitmapHeaderSize + data_size;
    bool fits = FitsRecordFields(source);
    if ((bitmap_size > 0xFFFF || !fits) && !warnings.over_64k_shown) {
      warnings.messages.Show(k64KText, k64KCaption);
      warnings.over_64k_shown = true;
    }
    if (fits) {
      PutU32(out, static_cast<std::uint32_t>(bitmap_size));
      AppendPalmBitmap(out, source);
    }
  }
  PutZeros(out, kBitmapTrailerSize);
}

}  // namespace velmora
