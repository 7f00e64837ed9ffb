// libFuzzer target: the input is the words of one Pronto code (big-endian)
// converted with RC6 codes on. A code of the short 6000 form becomes a learned
// code of 107 ms whose bi-phase frame reads back as the leader, start bit 1,
// mode 000, trailer 0, then the code's address and command; its IR block is
// that learned code's. Any other 6000 code converts as it does with RC6 codes
// off (other forms do not reach the RC6 conversion).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/messages.h"
#include "converter/output/rc6_code.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr uint16_t kUnit = 16;

// The frame's half-bits, +1 on and -1 off, from the burst pairs (all of them
// whole units); the final silence is left out.
std::vector<int> HalfUnits(const std::vector<uint16_t>& words) {
  std::vector<int> half;
  for (size_t i = 4; i + 1 < words.size(); i += 2) {
    const bool last = i + 2 >= words.size();
    FUZZ_CHECK(words[i] % kUnit == 0 && words[i] > 0 && (last || words[i + 1] % kUnit == 0));
    half.insert(half.end(), words[i] / kUnit, 1);
    if (!last) half.insert(half.end(), words[i + 1] / kUnit, -1);
  }
  return half;
}

// `count` bits of `width` units per half from half-unit `at` (1 is on then off).
uint32_t ReadBits(const std::vector<int>& half, size_t& at, int count, size_t width = 1) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i, at += 2 * width) {
    FUZZ_CHECK(at + 2 * width <= half.size() + 1);  // the last off half is the silence
    FUZZ_CHECK(at + width >= half.size() ? half[at] > 0 : half[at + width] == -half[at]);
    value = value << 1 | (half[at] > 0 ? 1u : 0u);
  }
  return value;
}

void CheckFrame(const std::vector<uint16_t>& learned, uint16_t address, uint16_t command) {
  FUZZ_CHECK(learned.size() >= 6 && learned[0] == 0 && learned[1] == 0x73 && learned[2] == 0);
  FUZZ_CHECK(learned.size() == 4 + 2 * size_t{learned[3]});
  uint32_t total = 0;
  for (size_t i = 4; i < learned.size(); ++i) total += learned[i];
  FUZZ_CHECK(total == 3857);
  std::vector<int> half = HalfUnits(learned);
  FUZZ_CHECK(half.size() >= 8 && std::count(half.begin(), half.begin() + 6, 1) == 6);
  size_t at = 8;
  FUZZ_CHECK(ReadBits(half, at, 1) == 1 && ReadBits(half, at, 3) == 0);
  FUZZ_CHECK(ReadBits(half, at, 1, 2) == 0);
  FUZZ_CHECK(ReadBits(half, at, 8) == address && ReadBits(half, at, 8) == command);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || data[0] != 0x60 || data[1] != 0) return 0;
  std::vector<uint16_t> words(size / 2);
  for (size_t i = 0; i < words.size(); ++i) words[i] = uint16_t(data[2 * i] << 8 | data[2 * i + 1]);
  const velmora::ProntoWordSource word = [&words](uint32_t i) -> uint16_t {
    return i < words.size() ? words[i] : 0;
  };
  velmora::IrWarningFlags flags, offFlags;
  common::RecordedMessages messages, offMessages;
  const velmora::IrBlock block =
      velmora::ConvertProntoCode(word, {flags, messages}, velmora::Rc6Codes::kConvert);
  std::optional<std::vector<uint16_t>> learned = velmora::Rc6ToLearnedCode(word);
  FUZZ_CHECK(learned.has_value() ==
             (word(1) == 0 && word(2) == 0 && word(3) == 1 && word(4) <= 0xFF && word(5) <= 0xFF));
  if (!learned) {
    FUZZ_CHECK(block == velmora::ConvertProntoCode(word, {offFlags, offMessages}));
    FUZZ_CHECK(messages.entries() == offMessages.entries());
    return 0;
  }
  CheckFrame(*learned, word(4), word(5));
  const velmora::ProntoWordSource learnedWord = [&learned](uint32_t i) -> uint16_t {
    return i < learned->size() ? (*learned)[i] : 0;
  };
  FUZZ_CHECK(!block.empty() && block == velmora::ConvertProntoCode(learnedWord, {flags, messages}));
  FUZZ_CHECK(messages.entries().empty());
  return 0;
}
