// IR code conversion: a Pronto code (learned 0000, RC5 5000, RC5x 5001, and on
// request RC6 6000, see rc6_code.h) becomes
// the `IrBlock` that ends a control record, a bit stream sampled at one bit per
// 5 carrier cycles with its sampling rate.
//
// Learned block:   type (5 with a repeat part, else 1), rate R (u32), stream of
//                  trunc(b / 8) + 1 bytes for b bits.
// RC5/RC5x block:  type 1, R | 0x80000000, L1 (u16), then two areas of L1 and L2
//                  bytes (toggle 0, then toggle 1); each area is its stream from
//                  its first byte followed by zeros up to trunc(b / 8) + 6 bytes.
// An empty block means "no IR": the caller writes the no-IR marker instead.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "converter/ccf/ccf_format.h"
#include "converter/ccf/ccf_image.h"
#include "converter/output/byte_buffer.h"

namespace velmora {

using IrBlock = Bytes;

// A learned code is cut after this many bits: the stream then holds one bit
// more (8193) and the block is 1030 bytes long.
inline constexpr std::uint32_t kLearnedBitLimit = 8192;
// A variant of an RC5/RC5x code that reaches this many bits produces no stream.
inline constexpr std::uint32_t kVariantBitCap = 8184;
inline constexpr std::uint32_t kCyclesPerBit = 5;
// Bit 31 of the rate marks a block holding two toggle variants.
inline constexpr std::uint32_t kToggleVariantsBit = 0x80000000;
inline constexpr std::string_view kSupportAddress = "support@velmora.example";

// The once-only warnings of IR conversion; the generation run owns one set,
// cleared when the run starts, and each warning is shown while its flag is clear.
struct IrWarningFlags {
  bool untested_5001 = false;
  bool unknown_code = false;
  bool too_long = false;
  bool zero_rate = false;
};

// Where a conversion shows its warnings.
struct IrWarnings {
  IrWarningFlags& flags;
  common::Messages& messages;
};

// Word i of a Pronto code (word 0 is the form word). A source backed by the CCF
// file reads with the checked readers, so words past its end are 0.
using ProntoWordSource = std::function<std::uint16_t(std::uint32_t index)>;

// R = 2 x trunc(1 000 000 / (F x 0.241246)) in extended precision; F must not be 0.
std::uint32_t SamplingRate(std::uint16_t frequency_word);

// Turns half-bits (+n cycles on, -n off) into learned-form words at carrier
// word 0x73: 0000 0073 pairs 0000. A leading space is dropped, then each run
// of marks and the run of spaces after it make a pair.
std::vector<std::uint16_t> HalfBitsToWords(const std::vector<int>& half_bits);

// The RC5 code of system and command (low byte of each used) as learned-form
// words: 0000 0073 pairs 0000, then the burst pairs.
std::vector<std::uint16_t> BuildRc5Code(std::uint8_t system, std::uint8_t command, int toggle);
std::vector<std::uint16_t> BuildRc5xCode(std::uint8_t system, std::uint8_t command,
                                         std::uint8_t data, int toggle);

// Samples learned-form words (form word 0) into `area`: the stream, then zeros
// up to the returned length trunc(b / 8) + 6. Returns 0 (area empty) when the
// form word is not 0, the frequency word is 0, or the stream reaches 8184 bits.
std::size_t PulsesToBits(std::span<const std::uint16_t> words, Bytes& area, std::uint8_t& type,
                         std::uint32_t& rate);

// Whether RC6 codes are converted (the "Convert RC6 codes" option) or skipped
// as unknown codes.
enum class Rc6Codes { kSkip, kConvert };

// Converts the Pronto code given by `word` (word 0 = the form word). Only the
// first `word_count` words exist; the rest read as 0 and add no bits, so the
// burst pairs are sampled only until the first of them has been read (a file
// source reports that read): a pair count far beyond the end of a damaged file
// costs no more than the file's own words.
IrBlock ConvertProntoCode(const ProntoWordSource& word, const IrWarnings& warnings,
                          Rc6Codes rc6 = Rc6Codes::kSkip, std::uint32_t word_count = UINT32_MAX);

// Converts the `IrCodeRecord` at `ir_code` (0: none; a record whose first word
// is 0 holds no code). Its Pronto code starts after the 6- or 12-byte header.
IrBlock ConvertIrCode(CcfReader& reader, const CcfFormat& format, std::uint32_t ir_code,
                      const IrWarnings& warnings, Rc6Codes rc6 = Rc6Codes::kSkip);

}  // namespace velmora
