// libFuzzer target: the input is a compressed bitmap object (size word, width,
// height, flags, then its stream) placed in a CCF file and decoded. A decoded
// bitmap has exactly w x h pixels, 2-bit values within 0..3 and the flags
// without bit 15; its pixels, written again as plain literals of the same form,
// decode to the same pixels.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_compressed.h"
#include "fuzz/fuzz_check.h"

namespace {

using Pixels = std::vector<uint8_t>;

// Three pixels per literal byte.
Pixels TwoBitLiterals(const Pixels& pixels) {
  Pixels stream;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    auto at = [&](size_t k) { return i + k < pixels.size() ? pixels[i + k] : 0; };
    stream.push_back(static_cast<uint8_t>(at(0) << 4 | at(1) << 2 | at(2)));
  }
  return stream;
}

// Long literals (FF n) of up to 254 pairs, an odd last pixel as 80 81.
Pixels EightBitLiterals(const Pixels& pixels) {
  Pixels stream;
  size_t i = 0;
  for (; pixels.size() - i >= 2;) {
    size_t pairs = std::min<size_t>((pixels.size() - i) / 2, 254);
    stream.insert(stream.end(), {0xFF, static_cast<uint8_t>(pairs + 1)});
    stream.insert(stream.end(), pixels.begin() + i, pixels.begin() + i + 2 * pairs);
    i += 2 * pairs;
  }
  if (i < pixels.size()) stream.insert(stream.end(), {0x80, 0x81, pixels[i]});
  stream.insert(stream.end(), {0, 0});
  return stream;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr uint32_t kAt = 4;
  std::vector<uint8_t> file(kAt, 0);
  file.insert(file.end(), data, data + size);
  const velmora::CcfImage image(std::move(file), "compressed.ccf");
  common::RecordedMessages messages;
  velmora::CcfReader reader(image, messages);
  const velmora::CcfBitmapHeader header = velmora::ReadCcfBitmapHeader(reader, kAt);
  const uint64_t count = uint64_t{header.width} * header.height;
  std::optional<velmora::DecodedBitmap> decoded =
      velmora::DecodeCompressedBitmap(image, kAt, header);
  if (!decoded) return 0;
  FUZZ_CHECK(decoded->pixels.size() == count);
  FUZZ_CHECK(decoded->flags == (header.flags & 0x7FFF));
  if (header.flags & 1) {
    FUZZ_CHECK(velmora::DecodeEightBitSegments(EightBitLiterals(decoded->pixels), count) ==
               decoded->pixels);
  } else {
    for (uint8_t value : decoded->pixels) FUZZ_CHECK(value <= 3);
    FUZZ_CHECK(velmora::DecodeTwoBitRuns(TwoBitLiterals(decoded->pixels), count) ==
               decoded->pixels);
  }
  return 0;
}
