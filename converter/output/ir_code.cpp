#include "converter/output/ir_code.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "converter/output/rc6_code.h"

namespace velmora {
namespace {

constexpr std::uint16_t kLearnedForm = 0x0000;
constexpr std::uint16_t kRc5Form = 0x5000;
constexpr std::uint16_t kRc5xForm = 0x5001;
constexpr std::uint16_t kRc5FrequencyWord = 0x73;
constexpr int kHalfBit = 32;  // carrier cycles of one RC5 half-bit
constexpr int kRc5FinalSpace = 3232;
constexpr int kRc5xFinalSpace = 2720;
constexpr int kRc5xGap = 128;
constexpr std::uint32_t kFirstPairWord = 4;
// Zero bytes after the stream of an RC5 variant: its area is trunc(b / 8) + 6 long.
constexpr std::size_t kVariantPadding = 5;

constexpr char kUntestedText[] =
    "This CCF file contains IR codes which begin with 5001.  This program can convert them, but "
    "this feature is untested.  If you determine that these IR codes do or do not work, please "
    "notify support at: ";
constexpr char kUntestedCaption[] = "Untested IR conversion";
constexpr char kUnknownCaption[] = "Unknown IR code";
constexpr char kZeroRateText[] =
    "This CCF file contains IR codes with a sample rate of zero.  These codes will be skipped.";
constexpr char kTooLongText[] =
    "Tessaly does not support IR which is longer than one second.  Some codes are being truncated "
    "(but may work anyway).";
constexpr char kTooLongCaption[] = "IR code too long";

std::string UnknownCodeText(std::uint16_t form) {
  char digits[5];
  std::snprintf(digits, sizeof digits, "%04X", form);
  return std::string(
             "This CCF file contains IR codes which are not understood by this program.  "
             "They begin with ") +
         digits +
         " Only codes beginning with 0000, 5000 or 5001 are supported.  These codes will be "
         "skipped.";
}

void WarnOnce(bool& shown, std::string_view text, std::string_view caption,
              common::Messages& messages) {
  if (shown) return;
  messages.Show(text, caption);
  shown = true;
}

// Packs bits from bit 7 of the first byte down; stops when `cap` bits are held.
class BitSampler {
 public:
  // The stream is sized for the cap at once, so that setting bits never grows it.
  explicit BitSampler(std::uint32_t cap) : cap_(cap), stream_(cap / 8 + 1) {}

  // Adds trunc(cycles / 5) bits of one value; false once the cap is reached.
  bool Add(std::uint16_t cycles, bool on) {
    std::uint32_t count = cycles / kCyclesPerBit;
    bool capped = count >= cap_ - bits_;
    if (capped) count = cap_ - bits_;
    if (on) SetBits(count);
    bits_ += count;
    return !capped;
  }

  // Samples the burst pairs from word 4 on, up to the first word past
  // `word_count` (all later ones are 0); false once the cap is reached.
  template <typename WordAt>
  bool AddPairs(const WordAt& word, std::uint32_t pair_count, std::uint32_t word_count) {
    for (std::uint32_t pair = 0; pair < pair_count; ++pair) {
      std::uint32_t at = kFirstPairWord + 2 * pair;
      if (at > word_count) break;
      if (!Add(word(at), true) || !Add(word(at + 1), false)) return false;
    }
    return true;
  }

  std::uint32_t bits() const { return bits_; }

  // The stream with its final byte: trunc(b / 8) + 1 bytes, unused bits zero.
  Bytes TakeStream() {
    stream_.resize(bits_ / 8 + 1);
    return std::move(stream_);
  }

 private:
  // Sets `count` bits from bits_ on, a byte at a time (a partial byte by a
  // mask): a learned code's bursts run to thousands of bits.
  void SetBits(std::uint32_t count) {
    if (count == 0) return;
    const std::uint32_t last_bit = bits_ + count - 1;
    const std::uint32_t first = bits_ / 8, last = last_bit / 8;
    const auto head = static_cast<std::uint8_t>(0xFF >> (bits_ % 8));
    const auto tail = static_cast<std::uint8_t>(0xFF << (7 - last_bit % 8));
    if (first == last) {
      stream_[first] |= head & tail;
      return;
    }
    stream_[first] |= head;
    for (std::uint32_t byte = first + 1; byte < last; ++byte) stream_[byte] = 0xFF;
    stream_[last] |= tail;
  }

  std::uint32_t cap_;
  std::uint32_t bits_ = 0;
  Bytes stream_;
};

// Word i of `words`, 0 past their end; the source refers to `words`.
auto WordsSource(std::span<const std::uint16_t> words) {
  return [words](std::uint32_t i) -> std::uint16_t { return i < words.size() ? words[i] : 0; };
}

// The words of a code in the CCF file. Those wholly inside the file are
// decoded in place, checked once for the whole run instead of per word; a word
// past them is read through the checked reader, which reports it.
class FileWords {
 public:
  FileWords(CcfReader& reader, std::uint64_t first_word) : reader_(reader), first_(first_word) {
    const std::uint64_t size = reader.image().size();
    const std::uint64_t words = size > first_word ? (size - first_word) / 2 : 0;
    count_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(words, UINT32_MAX));
    bytes_ = reader.image().BytesAt(first_word, 2 * std::size_t{count_});
  }

  std::uint16_t operator()(std::uint32_t i) const {
    if (i < count_) return static_cast<std::uint16_t>(bytes_[2 * i] << 8 | bytes_[2 * i + 1]);
    return reader_.ReadU16(first_ + 2 * std::uint64_t{i});
  }

  // The words wholly inside the file.
  std::uint32_t count() const { return count_; }

 private:
  CcfReader& reader_;
  std::uint64_t first_;
  std::uint32_t count_ = 0;
  const std::uint8_t* bytes_ = nullptr;
};

std::uint8_t TypeOfRepeat(std::uint16_t repeat_pairs) { return repeat_pairs != 0 ? 5 : 1; }

// One bit as two half-bits: 1 is space then mark, 0 is mark then space.
void PutBit(std::vector<int>& half_bits, bool one) {
  half_bits.push_back(one ? -kHalfBit : kHalfBit);
  half_bits.push_back(one ? kHalfBit : -kHalfBit);
}

void PutBits(std::vector<int>& half_bits, std::uint8_t value, int count) {
  for (int bit = count - 1; bit >= 0; --bit) PutBit(half_bits, (value >> bit) & 1);
}

// Start, field (the inverse of command bit 6), toggle and the 5 system bits.
std::vector<int> Rc5Head(std::uint8_t system, std::uint8_t command, int toggle) {
  std::vector<int> half_bits;
  PutBit(half_bits, true);
  PutBit(half_bits, (command & 0x40) == 0);
  PutBit(half_bits, toggle != 0);
  PutBits(half_bits, system, 5);
  return half_bits;
}

// The area of one variant: its stream, then zeros up to trunc(b / 8) + 6 bytes.
Bytes VariantArea(std::span<const std::uint16_t> words, std::uint8_t& type, std::uint32_t& rate) {
  Bytes area;
  PulsesToBits(words, area, type, rate);
  return area;
}

// The two-variant block of a 5000 or 5001 code.
template <typename WordAt>
IrBlock Rc5Block(const WordAt& word) {
  auto build = [&word](int toggle) {
    std::uint8_t system = static_cast<std::uint8_t>(word(4));
    std::uint8_t command = static_cast<std::uint8_t>(word(5));
    return word(0) == kRc5xForm
               ? BuildRc5xCode(system, command, static_cast<std::uint8_t>(word(6)), toggle)
               : BuildRc5Code(system, command, toggle);
  };
  std::uint8_t type = 1;
  std::uint32_t rate = 0;
  Bytes first = VariantArea(build(0), type, rate);
  std::uint8_t second_type = 1;
  std::uint32_t second_rate = 0;
  Bytes second = VariantArea(build(1), second_type, second_rate);
  IrBlock block;
  block.reserve(7 + first.size() + second.size());
  PutU8(block, type);
  PutU32(block, rate | kToggleVariantsBit);
  PutU16(block, static_cast<std::uint16_t>(first.size()));
  block.insert(block.end(), first.begin(), first.end());
  block.insert(block.end(), second.begin(), second.end());
  return block;
}

// ConvertProntoCode for any word source: the file's words are read without a
// call through std::function per word.
template <typename WordAt>
IrBlock ConvertCode(const WordAt& word, const IrWarnings& warnings, Rc6Codes rc6,
                    std::uint32_t word_count) {
  std::uint16_t form = word(0);
  if (form == kRc6Form && rc6 == Rc6Codes::kConvert) {
    if (std::optional<std::vector<std::uint16_t>> learned = Rc6ToLearnedCode(word)) {
      return ConvertCode(WordsSource(*learned), warnings, Rc6Codes::kSkip, UINT32_MAX);
    }
  }
  if (form == kRc5xForm) {
    WarnOnce(warnings.flags.untested_5001,
             std::string(kUntestedText) + std::string(kSupportAddress), kUntestedCaption,
             warnings.messages);
  }
  if (form == kRc5Form || form == kRc5xForm) return Rc5Block(word);
  if (form != kLearnedForm) {
    WarnOnce(warnings.flags.unknown_code, UnknownCodeText(form), kUnknownCaption,
             warnings.messages);
    return {};
  }
  std::uint16_t frequency = word(1);
  if (frequency == 0) {
    WarnOnce(warnings.flags.zero_rate, kZeroRateText, kUnknownCaption, warnings.messages);
    return {};
  }
  std::uint16_t repeat_pairs = word(3);
  BitSampler sampler(kLearnedBitLimit + 1);
  if (!sampler.AddPairs(word, std::uint32_t{word(2)} + repeat_pairs, word_count)) {
    WarnOnce(warnings.flags.too_long, kTooLongText, kTooLongCaption, warnings.messages);
  }
  Bytes stream = sampler.TakeStream();
  IrBlock block;
  block.reserve(5 + stream.size());
  PutU8(block, TypeOfRepeat(repeat_pairs));
  PutU32(block, SamplingRate(frequency));
  block.insert(block.end(), stream.begin(), stream.end());
  return block;
}

}  // namespace

std::uint32_t SamplingRate(std::uint16_t frequency_word) {
  long double frequency =
      1000000.0L / (static_cast<long double>(frequency_word) * static_cast<long double>(0.241246));
  return 2 * static_cast<std::uint32_t>(std::trunc(frequency));
}

std::vector<std::uint16_t> HalfBitsToWords(const std::vector<int>& half_bits) {
  std::vector<std::uint16_t> words = {kLearnedForm, kRc5FrequencyWord, 0, 0};
  std::size_t i = !half_bits.empty() && half_bits[0] < 0 ? 1 : 0;
  while (i < half_bits.size()) {
    int on = 0, off = 0;
    for (; i < half_bits.size() && half_bits[i] > 0; ++i) on += half_bits[i];
    for (; i < half_bits.size() && half_bits[i] < 0; ++i) off -= half_bits[i];
    words.push_back(static_cast<std::uint16_t>(on));
    words.push_back(static_cast<std::uint16_t>(off));
  }
  words[2] = static_cast<std::uint16_t>((words.size() - kFirstPairWord) / 2);
  return words;
}

std::vector<std::uint16_t> BuildRc5Code(std::uint8_t system, std::uint8_t command, int toggle) {
  std::vector<int> half_bits = Rc5Head(system, command, toggle);
  PutBits(half_bits, command, 6);
  half_bits.push_back(-kRc5FinalSpace);
  return HalfBitsToWords(half_bits);
}

std::vector<std::uint16_t> BuildRc5xCode(std::uint8_t system, std::uint8_t command,
                                         std::uint8_t data, int toggle) {
  std::vector<int> half_bits = Rc5Head(system, command, toggle);
  half_bits.push_back(-kRc5xGap);
  PutBits(half_bits, command, 6);
  PutBits(half_bits, data, 6);
  half_bits.push_back(-kRc5xFinalSpace);
  return HalfBitsToWords(half_bits);
}

std::size_t PulsesToBits(std::span<const std::uint16_t> words, Bytes& area, std::uint8_t& type,
                         std::uint32_t& rate) {
  area.clear();
  if (words.size() < kFirstPairWord || words[0] != kLearnedForm || words[1] == 0) return 0;
  rate = SamplingRate(words[1]);
  type = TypeOfRepeat(words[3]);
  auto word = WordsSource(words);
  BitSampler sampler(kVariantBitCap);
  const auto word_count = static_cast<std::uint32_t>(words.size());
  if (!sampler.AddPairs(word, std::uint32_t{words[2]} + words[3], word_count)) return 0;
  area = sampler.TakeStream();
  PutZeros(area, kVariantPadding);
  return area.size();
}

IrBlock ConvertProntoCode(const ProntoWordSource& word, const IrWarnings& warnings, Rc6Codes rc6,
                          std::uint32_t word_count) {
  return ConvertCode(word, warnings, rc6, word_count);
}

IrBlock ConvertIrCode(CcfReader& reader, const CcfFormat& format, std::uint32_t ir_code,
                      const IrWarnings& warnings, Rc6Codes rc6) {
  if (ir_code == 0 || reader.ReadU16(ir_code) == 0) return {};
  const FileWords words(reader, std::uint64_t{ir_code} + IrCodeWordsField(format));
  return ConvertCode(words, warnings, rc6, words.count());
}

}  // namespace velmora
