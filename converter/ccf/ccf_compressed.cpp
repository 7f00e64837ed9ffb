#include "converter/ccf/ccf_compressed.h"

#include <algorithm>
#include <new>

namespace velmora {
namespace {

constexpr uint16_t kCompressedBit = 0x8000;
constexpr uint16_t kEightBitBit = 0x0001;
constexpr uint16_t kTwoBitBit = 0x0100;
constexpr uint32_t kStreamField = 8;
// Upper bounds of the pixels one stream byte can stand for (a 2-bit run byte:
// 35; an 8-bit run of 127 pairs costs at least 3 bytes). A stream too short for
// its pixel count is rejected before anything is allocated.
constexpr uint64_t kTwoBitPixelsPerByte = 35;
constexpr uint64_t kEightBitPixelsPerByte = 128;

// The pixels being decoded: w x h values, further values are dropped.
class PixelFill {
 public:
  explicit PixelFill(uint64_t count) : count_(count) {
    pixels_.reserve(static_cast<size_t>(count));
  }
  bool full() const { return pixels_.size() == count_; }
  void Put(uint8_t value) {
    if (!full()) pixels_.push_back(value);
  }
  void Repeat(uint8_t value, uint64_t times) {
    uint64_t room = count_ - pixels_.size();
    pixels_.insert(pixels_.end(), static_cast<size_t>(std::min(times, room)), value);
  }
  // nullopt when the stream stopped short of w x h pixels.
  std::optional<std::vector<uint8_t>> Result() {
    if (!full()) return std::nullopt;
    return std::move(pixels_);
  }

 private:
  uint64_t count_;
  std::vector<uint8_t> pixels_;
};

bool Decodable(std::span<const uint8_t> stream, uint64_t pixelCount, uint64_t pixelsPerByte) {
  return pixelCount <= kMaxBitmapBufferPixels && pixelCount <= stream.size() * pixelsPerByte;
}

// One part of an 8-bit segment: a pixel pair repeated `count` times (none for
// 0), or `count` bytes as they are.
struct SegmentPart {
  bool run = true;
  size_t count = 0;
};
struct Segment {
  bool end = false;
  SegmentPart first, second;
};

SegmentPart Literal(size_t bytes) { return {false, bytes}; }

SegmentPart PartOf(uint8_t control) {
  if (control < 0x80) return {true, control};
  return Literal(2u * (control - 0x80u));
}

std::optional<Segment> SegmentOf(uint8_t c1, uint8_t c2) {
  if (c1 == 0 && c2 == 0) return Segment{true, {}, {}};
  if (c1 == 0xFF && c2 > 0) return Segment{false, Literal(2u * (c2 - 1u)), {}};
  if (c1 >= 0x80 && c2 == 0x81) return Segment{false, PartOf(c1), Literal(1)};
  if (c1 == 0x80 || c2 == 0x80 || (c1 > 0x80 && c2 > 0x80)) return std::nullopt;
  return Segment{false, PartOf(c1), PartOf(c2)};
}

// The stream's bytes, taken in order; every take is checked.
class StreamCursor {
 public:
  explicit StreamCursor(std::span<const uint8_t> stream) : rest_(stream) {}
  std::optional<std::span<const uint8_t>> Take(size_t count) {
    if (count > rest_.size()) return std::nullopt;
    std::span<const uint8_t> taken = rest_.first(count);
    rest_ = rest_.subspan(count);
    return taken;
  }

 private:
  std::span<const uint8_t> rest_;
};

// False when the part's data runs past the stream.
bool ApplyPart(const SegmentPart& part, StreamCursor& cursor, PixelFill& fill) {
  if (part.run && part.count == 0) return true;
  std::optional<std::span<const uint8_t>> data = cursor.Take(part.run ? 2 : part.count);
  if (!data) return false;
  for (size_t i = 0; i < (part.run ? part.count : 1) && !fill.full(); ++i) {
    for (uint8_t value : *data) fill.Put(value);
  }
  return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> DecodeTwoBitRuns(std::span<const uint8_t> stream,
                                                     uint64_t pixelCount) {
  if (!Decodable(stream, pixelCount, kTwoBitPixelsPerByte)) return std::nullopt;
  PixelFill fill(pixelCount);
  for (size_t i = 0; i < stream.size() && !fill.full(); ++i) {
    uint8_t b = stream[i];
    if (b & 0x80) {
      fill.Repeat(b & 3, ((b >> 2) & 0x1F) + 4u);
    } else {
      fill.Put((b >> 4) & 3);
      fill.Put((b >> 2) & 3);
      fill.Put(b & 3);
    }
  }
  return fill.Result();
}

std::optional<std::vector<uint8_t>> DecodeEightBitSegments(std::span<const uint8_t> stream,
                                                           uint64_t pixelCount) {
  if (!Decodable(stream, pixelCount, kEightBitPixelsPerByte)) return std::nullopt;
  PixelFill fill(pixelCount);
  StreamCursor cursor(stream);
  while (!fill.full()) {
    std::optional<std::span<const uint8_t>> controls = cursor.Take(2);
    if (!controls) break;
    std::optional<Segment> segment = SegmentOf((*controls)[0], (*controls)[1]);
    if (!segment) return std::nullopt;
    if (segment->end) break;
    if (!ApplyPart(segment->first, cursor, fill) || !ApplyPart(segment->second, cursor, fill)) {
      return std::nullopt;
    }
  }
  return fill.Result();
}

std::optional<DecodedBitmap> DecodeCompressedBitmap(const CcfImage& image, uint32_t bitmap,
                                                    const CcfBitmapHeader& header) {
  uint8_t sizeBytes[2];
  if (!image.TryRead(bitmap, sizeof sizeBytes, sizeBytes)) return std::nullopt;
  uint32_t size = uint32_t{sizeBytes[0]} << 8 | sizeBytes[1];
  uint64_t end = uint64_t{bitmap} + size;
  if (size < kStreamField || end > image.size()) return std::nullopt;
  // Within the file, so the offset fits size_t.
  std::span<const uint8_t> stream = image.bytes().subspan(
      static_cast<size_t>(uint64_t{bitmap} + kStreamField), size - kStreamField);
  uint64_t pixelCount = uint64_t{header.width} * header.height;
  std::optional<std::vector<uint8_t>> pixels;
  try {
    if (header.flags & kEightBitBit) {
      pixels = DecodeEightBitSegments(stream, pixelCount);
    } else if (header.flags & kTwoBitBit) {
      pixels = DecodeTwoBitRuns(stream, pixelCount);
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // handled as a bitmap that does not decode
  }
  if (!pixels) return std::nullopt;
  return DecodedBitmap{static_cast<uint16_t>(header.flags & ~kCompressedBit), std::move(*pixels)};
}

}  // namespace velmora
