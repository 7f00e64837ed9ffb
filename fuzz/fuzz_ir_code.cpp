// libFuzzer target: the input is the words of one Pronto code (big-endian),
// placed in an IR code record of a CCF file after the short and after the long
// header, and converted to an IR block. Both placements must give the same
// block. A learned code must give exactly the block sampled here from the
// words; the two toggle variants of an RC5 or RC5x code are decoded back from
// their bit streams and must carry the code's system, command and data.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "converter/output/ir_code.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr uint32_t kRecordAt = 40;  // after a CCF header
constexpr uint32_t kHalfBitCycles = 32;

// The code's words as the checked reader gives them: a word not wholly in the
// input is 0, and reading one is remembered.
class Words {
 public:
  Words(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint16_t operator()(uint32_t i) {
    if (2 * uint64_t{i} + 2 > size_) {
      outside = true;
      return 0;
    }
    return static_cast<uint16_t>(data_[2 * i] << 8 | data_[2 * i + 1]);
  }
  // The words wholly in the input.
  uint32_t count() const { return static_cast<uint32_t>(size_ / 2); }
  bool outside = false;

 private:
  const uint8_t* data_;
  size_t size_;
};

velmora::Bytes BlockFromCcf(const uint8_t* data, size_t size, bool longHeader,
                            common::RecordedMessages& messages) {
  const velmora::CcfFormat format{.colourFormat = false, .longIrHeader = longHeader};
  std::vector<uint8_t> file(kRecordAt + velmora::IrCodeWordsField(format), 0);
  file[kRecordAt + 1] = 1;  // a record whose first word is 0 holds no code
  file.insert(file.end(), data, data + size);
  const velmora::CcfImage image(std::move(file), "ir.ccf");
  velmora::CcfReader reader(image, messages);
  velmora::IrWarningFlags flags;
  return velmora::ConvertIrCode(reader, format, kRecordAt, {flags, messages});
}

// The learned block sampled straight from the words: one bit per 5 cycles,
// cut after 8192 bits; nullopt for a frequency word of 0.
std::optional<velmora::Bytes> ExpectedLearned(Words& word, bool& cut) {
  const uint16_t frequency = word(1);
  if (frequency == 0) return std::nullopt;
  const uint32_t pairs = uint32_t{word(2)} + word(3);
  std::vector<bool> bits;
  // Past the first missing word every word is 0 and adds no bit.
  for (uint32_t pair = 0; pair < pairs && !cut && 4 + 2 * pair <= word.count(); ++pair) {
    for (int half = 0; half < 2 && !cut; ++half) {
      for (uint32_t n = word(4 + 2 * pair + half) / 5; n > 0 && !cut; --n) {
        bits.push_back(half == 0);
        cut = bits.size() > velmora::kLearnedBitLimit;
      }
    }
  }
  velmora::Bytes block;
  velmora::PutU8(block, word(3) != 0 ? 5 : 1);
  velmora::PutU32(block, 2 * static_cast<uint32_t>(
                                 (1000000.0L / (frequency * static_cast<long double>(0.241246)))));
  velmora::PutZeros(block, bits.size() / 8 + 1);
  for (size_t b = 0; b < bits.size(); ++b) {
    if (bits[b]) block[5 + b / 8] |= static_cast<uint8_t>(0x80 >> (b % 8));
  }
  return block;
}

// The half-bits of a variant's stream, +1 for a mark and -1 for a space, from
// the runs of equal bits (a half-bit is 32 cycles, 6.4 bits), with the
// leading space that the conversion drops put back.
std::vector<int> HalfBits(std::span<const uint8_t> area) {
  std::vector<int> half = {-1};
  size_t bit = 0, total = area.size() * 8;
  auto at = [&area](size_t b) { return (area[b / 8] >> (7 - b % 8)) & 1; };
  while (bit < total) {
    const int value = at(bit);
    size_t run = 0;
    for (; bit < total && at(bit) == value; ++bit) ++run;
    const size_t count = (run * velmora::kCyclesPerBit + kHalfBitCycles / 2) / kHalfBitCycles;
    half.insert(half.end(), count, value ? 1 : -1);
  }
  return half;
}

// Reads `count` Manchester bits from half-bit `at` (1 is space then mark).
uint32_t ReadBits(const std::vector<int>& half, size_t& at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i, at += 2) {
    FUZZ_CHECK(at + 1 < half.size() && half[at] == -half[at + 1]);
    value = value << 1 | (half[at] < 0 ? 1u : 0u);
  }
  return value;
}

void CheckVariant(std::span<const uint8_t> area, Words& word, bool rc5x, uint32_t toggle) {
  const std::vector<int> half = HalfBits(area);
  size_t at = 0;
  const uint8_t command = static_cast<uint8_t>(word(5));
  FUZZ_CHECK(ReadBits(half, at, 1) == 1);
  FUZZ_CHECK(ReadBits(half, at, 1) == ((command & 0x40) == 0 ? 1u : 0u));
  FUZZ_CHECK(ReadBits(half, at, 1) == toggle);
  FUZZ_CHECK(ReadBits(half, at, 5) == (word(4) & 0x1Fu));
  if (rc5x) {
    for (int gap = 0; gap < 4; ++gap, ++at) FUZZ_CHECK(at < half.size() && half[at] < 0);
  }
  FUZZ_CHECK(ReadBits(half, at, 6) == (command & 0x3Fu));
  if (rc5x) FUZZ_CHECK(ReadBits(half, at, 6) == (word(6) & 0x3Fu));
}

void CheckRc5Block(const velmora::Bytes& block, Words& word) {
  FUZZ_CHECK(block.size() >= 7 && block[0] == 1);
  FUZZ_CHECK(velmora::GetU32(block, 1) ==
             (velmora::SamplingRate(0x73) | velmora::kToggleVariantsBit));
  const size_t first = velmora::GetU16(block, 5);
  FUZZ_CHECK(first > 0 && block.size() == 7 + 2 * first);
  const std::span<const uint8_t> areas(block.data() + 7, 2 * first);
  const bool rc5x = word(0) == 0x5001;
  CheckVariant(areas.first(first), word, rc5x, 0);
  CheckVariant(areas.last(first), word, rc5x, 1);
}

size_t CountText(const common::RecordedMessages& messages, std::string_view text) {
  size_t count = 0;
  for (const auto& entry : messages.entries()) {
    count += entry.text.find(text) != std::string::npos ? 1 : 0;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  common::RecordedMessages messages, longMessages;
  const velmora::Bytes block = BlockFromCcf(data, size, false, messages);
  FUZZ_CHECK(BlockFromCcf(data, size, true, longMessages) == block);
  FUZZ_CHECK(longMessages.entries() == messages.entries());

  Words word(data, size);
  const uint16_t form = word(0);
  bool cut = false;
  if (form == 0x5000 || form == 0x5001) {
    CheckRc5Block(block, word);
  } else if (form == 0) {
    std::optional<velmora::Bytes> expected = ExpectedLearned(word, cut);
    FUZZ_CHECK(expected ? block == *expected : block.empty());
  } else {
    FUZZ_CHECK(block.empty());
  }
  FUZZ_CHECK(CountText(messages, "IR codes which begin with 5001") == (form == 0x5001 ? 1u : 0u));
  FUZZ_CHECK(CountText(messages, "IR codes which are not understood") ==
             (form != 0 && form != 0x5000 && form != 0x5001 ? 1u : 0u));
  FUZZ_CHECK(CountText(messages, "IR codes with a sample rate of zero") ==
             (form == 0 && word(1) == 0 ? 1u : 0u));
  FUZZ_CHECK(CountText(messages, "Tessaly does not support IR") == (cut ? 1u : 0u));
  FUZZ_CHECK(CountText(messages, velmora::kReadPastEndText) == (word.outside ? 1u : 0u));
  return 0;
}
