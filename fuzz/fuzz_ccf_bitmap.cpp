// libFuzzer target: the input is one CCF bitmap object, placed in a CCF file
// and decoded at several scales into a canvas and into the buffer sink. Both
// are compared pixel by pixel with a direct reading of the input bytes, and the
// Palm bitmap built from the buffer is unpacked again. The first two bytes of
// the object are never read by the decoder; the target takes the bitmap's
// position and offsets from them.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "converter/ccf/ccf_bitmap.h"
#include "converter/ccf/palettes.h"
#include "converter/output/palm_bitmap.h"
#include "fuzz/fuzz_check.h"

namespace {

using velmora::BitmapFormat;
using velmora::LayoutTransform;

constexpr uint32_t kBitmapAt = 40;  // after a CCF header
constexpr int kCanvasSide = 40;
constexpr uint64_t kMaxDestinationPixels = 1u << 12;
constexpr std::array<LayoutTransform, 4> kScales = {
    LayoutTransform{1.0f, 1.0f}, LayoutTransform{0.5f, 0.75f}, LayoutTransform{2.0f, 1.5f},
    LayoutTransform{0.66f, 0.66f}};

// The object as the decoder must see it, read straight from the input: a
// byte past its end reads as 0 and is remembered.
class Reference {
 public:
  Reference(const uint8_t* data, size_t size) : data_(data), size_(size) {
    width = Word(2);
    height = Word(4);
    format = velmora::FormatOfFlags(Word(6));
  }

  uint8_t Raw(uint64_t column, uint64_t row) {
    uint64_t rowStart = 8 + row * RowBytes();
    switch (format) {
      case BitmapFormat::kOneBit:
        return (Byte(rowStart + column / 8) >> (7 - column % 8)) & 1;
      case BitmapFormat::kTwoBit:
        return (Byte(rowStart + column / 4) >> (6 - 2 * (column % 4))) & 3;
      case BitmapFormat::kEightBit:
        return Byte(rowStart + column);
      case BitmapFormat::kCompressed:
        break;
    }
    return 0;
  }

  velmora::Rgb Colour(uint8_t raw) const {
    if (format == BitmapFormat::kOneBit) return velmora::MonoPalette[raw];
    if (format == BitmapFormat::kTwoBit) return velmora::GreyPalette[raw];
    return velmora::ColourPalette[raw];
  }

  uint64_t RowBytes() const {
    if (format == BitmapFormat::kOneBit) return (width + 7) / 8;
    if (format == BitmapFormat::kTwoBit) return ((width + 3) / 4 + 1) / 2 * 2;
    return width;
  }

  // Restarts the record of reads past the end (one per decoding operation).
  bool TakeOutside() { return std::exchange(outside_, size_ < 8); }

  uint64_t width = 0, height = 0;
  BitmapFormat format;

 private:
  uint8_t Byte(uint64_t at) {
    if (at < size_) return data_[at];
    outside_ = true;
    return 0;
  }
  // A word not wholly in the input reads as 0, as the checked reader gives it.
  uint16_t Word(uint64_t at) {
    if (at + 2 > size_) {
      outside_ = true;
      return 0;
    }
    return static_cast<uint16_t>(data_[at] << 8 | data_[at + 1]);
  }

  const uint8_t* data_;
  size_t size_;
  bool outside_ = false;
};

int64_t Trunc(double value) { return static_cast<int64_t>(value); }

uint64_t Source(int64_t index, float scale) {
  return static_cast<uint64_t>(Trunc(static_cast<double>(index) / scale));
}

size_t CountText(const common::RecordedMessages& messages, std::string_view text) {
  return std::count_if(messages.entries().begin(), messages.entries().end(),
                       [text](const auto& entry) { return entry.text == text; });
}

// The messages of one decoding: the read-past-end report exactly when a
// sampled byte lay outside, and at most once; the compressed-bitmap message
// exactly for a compressed bitmap.
void CheckMessages(const common::RecordedMessages& messages, Reference& ref) {
  FUZZ_CHECK(CountText(messages, velmora::kReadPastEndText) == (ref.TakeOutside() ? 1u : 0u));
  FUZZ_CHECK(CountText(messages, velmora::kCompressedBitmapText) ==
             (ref.format == BitmapFormat::kCompressed ? 1u : 0u));
}

// Canvas sink: every visible destination pixel shows its source pixel's
// colour, the rest of the canvas keeps its white.
void CheckCanvasSink(const velmora::CcfImage& image, Reference& ref, const LayoutTransform& layout,
                     uint16_t x, uint16_t y) {
  common::RecordedMessages messages;
  velmora::CcfReader reader(image, messages);
  velmora::CompressedBitmapNote note;
  velmora::Canvas canvas(kCanvasSide, kCanvasSide);
  velmora::DrawCcfBitmap(reader, kBitmapAt, x, y, canvas, layout, layout.offsetX, layout.offsetY,
                         note);
  if (ref.format == BitmapFormat::kCompressed) {
    CheckMessages(messages, ref);
    return;
  }
  int64_t left = Trunc(x * double{layout.scaleX} + layout.offsetX);
  int64_t top = Trunc(y * double{layout.scaleY} + layout.offsetY);
  int64_t width = Trunc(ref.width * double{layout.scaleX});
  int64_t height = Trunc(ref.height * double{layout.scaleY});
  for (int cy = 0; cy < kCanvasSide; ++cy) {
    for (int cx = 0; cx < kCanvasSide; ++cx) {
      int64_t i = cx - left, r = cy - top;
      velmora::Rgb expected = velmora::kWhite;
      if (i >= 0 && i < width && r >= 0 && r < height) {
        expected = ref.Colour(ref.Raw(Source(i, layout.scaleX), Source(r, layout.scaleY)));
      }
      FUZZ_CHECK(canvas.Pixel(cx, cy) == expected);
    }
  }
  CheckMessages(messages, ref);
}

// The bitmap record's body holds the buffer's values: 1 bit set for black (0),
// 2 bits as 3 minus the grey level, 8 bits as they are. A bitmap too large for
// the record's 16-bit fields has no bitmap part.
void CheckBitmapRecord(const velmora::CcfBitmapPixels& pixels) {
  const velmora::PalmBitmapSource source = velmora::PalmBitmapSourceOf(pixels);
  const int depth = source.pixel_size;
  const uint64_t rowBytes = velmora::PalmRowBytes(depth, source.width);
  common::RecordedMessages messages;
  bool shown = false;
  velmora::Bytes out;
  velmora::AppendBitmapRecordBody(out, source, {shown, messages});
  const bool fits = source.width <= 0xFFFF && source.height <= 0xFFFF && rowBytes <= 0xFFFF;
  const uint64_t dataSize = (rowBytes * source.height + 3) / 4 * 4;
  if (depth == 0 || !fits) {
    FUZZ_CHECK(out.size() == velmora::kBitmapFixedBlockSize + velmora::kBitmapTrailerSize);
    return;
  }
  constexpr size_t kAt = velmora::kBitmapFixedBlockSize + 4;  // after the size field
  FUZZ_CHECK(out.size() == kAt + 16 + dataSize + velmora::kBitmapTrailerSize);
  FUZZ_CHECK(velmora::GetU32(out, kAt - 4) == 16 + dataSize);
  FUZZ_CHECK(velmora::GetU16(out, kAt) == source.width &&
             velmora::GetU16(out, kAt + 2) == source.height);
  FUZZ_CHECK(velmora::GetU16(out, kAt + 4) == rowBytes && out[kAt + 8] == depth);
  for (uint32_t r = 0; r < source.height; ++r) {
    for (uint32_t i = 0; i < source.width; ++i) {
      const uint64_t bit = uint64_t{i} * depth;
      const unsigned packed =
          (out[kAt + 16 + r * rowBytes + bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
      const uint8_t value = pixels.values[uint64_t{r} * source.width + i];
      FUZZ_CHECK(packed == (depth == 1 ? (value == 0) : depth == 2 ? 3u - value : value));
    }
  }
}

// Buffer sink: trunc(w * scaleX) x trunc(h * scaleY) values, the raw pixel
// or its Palm index, all 0 for a compressed bitmap.
void CheckBufferSink(const velmora::CcfImage& image, Reference& ref,
                     const LayoutTransform& layout) {
  common::RecordedMessages messages;
  velmora::CcfReader reader(image, messages);
  velmora::CompressedBitmapNote note;
  auto pixels = velmora::RenderCcfBitmap(reader, kBitmapAt, layout, note);
  FUZZ_CHECK(pixels && pixels->width == Trunc(ref.width * double{layout.scaleX}) &&
             pixels->height == Trunc(ref.height * double{layout.scaleY}));
  FUZZ_CHECK(pixels->values.size() == uint64_t{pixels->width} * pixels->height);
  for (uint32_t r = 0; r < pixels->height; ++r) {
    for (uint32_t i = 0; i < pixels->width; ++i) {
      uint8_t raw = ref.Raw(Source(i, layout.scaleX), Source(r, layout.scaleY));
      if (ref.format == BitmapFormat::kEightBit) raw = velmora::PalmIndexMap[raw];
      FUZZ_CHECK(pixels->values[uint64_t{r} * pixels->width + i] == raw);
    }
  }
  CheckMessages(messages, ref);
  CheckBitmapRecord(*pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(kBitmapAt, 0);
  std::copy_n("CCF", 3, file.begin() + 13);
  std::copy_n("CCF", 3, file.begin() + 32);
  file.insert(file.end(), data, data + size);
  const velmora::CcfImage image(std::move(file), "bitmap.ccf");
  Reference ref(data, size);
  const uint16_t x = size > 0 ? data[0] % 32 : 0, y = size > 1 ? data[1] % 32 : 0;
  for (LayoutTransform layout : kScales) {
    if (ref.width * layout.scaleX * ref.height * layout.scaleY > kMaxDestinationPixels) continue;
    layout.offsetX = -(x / 2);
    layout.offsetY = -(y / 2);
    CheckBufferSink(image, ref, layout);
    CheckCanvasSink(image, ref, layout, x, y);
  }
  return 0;
}
