#include "converter/output/rc6_code.h"

#include <iterator>
#include <utility>

namespace velmora {
namespace {

constexpr int kUnit = 16;  // carrier cycles
// 107 ms in carrier cycles of word 0x73 (115 x 0.241246 us), rounded.
constexpr int kFrameCycles = 3857;
constexpr std::uint16_t kShortFormHeader[] = {kRc6Form, 0x0000, 0x0000, 0x0001};
constexpr std::uint32_t kAddressWord = 4;
constexpr std::uint32_t kCommandWord = 5;

// One bi-phase bit of `units` units per half: a 1 is on then off.
void PutBit(std::vector<int>& half_bits, bool one, int units) {
  half_bits.push_back(one ? units * kUnit : -units * kUnit);
  half_bits.push_back(one ? -units * kUnit : units * kUnit);
}

void PutByte(std::vector<int>& half_bits, std::uint8_t value) {
  for (int bit = 7; bit >= 0; --bit) PutBit(half_bits, (value >> bit) & 1, 1);
}

int Duration(const std::vector<int>& half_bits) {
  int cycles = 0;
  for (int half : half_bits) cycles += half < 0 ? -half : half;
  return cycles;
}

}  // namespace

std::vector<std::uint16_t> BuildRc6Code(std::uint8_t address, std::uint8_t command) {
  std::vector<int> half_bits = {6 * kUnit, -2 * kUnit};
  PutBit(half_bits, true, 1);  // start
  for (int mode = 0; mode < 3; ++mode) PutBit(half_bits, false, 1);
  PutBit(half_bits, false, 2);  // trailer (toggle)
  PutByte(half_bits, address);
  PutByte(half_bits, command);
  half_bits.push_back(-(kFrameCycles - Duration(half_bits)));
  std::vector<std::uint16_t> words = HalfBitsToWords(half_bits);
  std::swap(words[2], words[3]);  // the frame is the repeat part
  return words;
}

std::optional<std::vector<std::uint16_t>> Rc6ToLearnedCode(const ProntoWordSource& word) {
  for (std::uint32_t i = 0; i < std::size(kShortFormHeader); ++i) {
    if (word(i) != kShortFormHeader[i]) return std::nullopt;
  }
  std::uint16_t address = word(kAddressWord), command = word(kCommandWord);
  if (address > 0xFF || command > 0xFF) return std::nullopt;
  return BuildRc6Code(static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(command));
}

}  // namespace velmora
