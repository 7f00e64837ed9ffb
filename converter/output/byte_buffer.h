// Big-endian building and reading of byte runs for the Palm database: every
// multi-byte value of a PDB file is written and read most significant byte
// first, byte by byte, never through a struct cast.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

using Bytes = std::vector<std::uint8_t>;

inline void PutU8(Bytes& out, std::uint8_t value) { out.push_back(value); }

inline void PutU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

inline void PutU24(Bytes& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

inline void PutU32(Bytes& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
  PutU16(out, static_cast<std::uint16_t>(value));
}

inline void PutZeros(Bytes& out, std::size_t count) { out.insert(out.end(), count, 0); }

inline void PutText(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

// A text field of `width` bytes: at most width - 1 characters, then zero bytes
// up to the width, so the field always holds its terminator.
inline void PutFixedText(Bytes& out, std::string_view text, std::size_t width) {
  if (width == 0) return;
  std::string_view kept = text.substr(0, width - 1);
  std::size_t at = out.size();
  out.resize(at + width);  // zero-filled
  std::copy(kept.begin(), kept.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

inline void SetU32At(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value >> 24);
  out[at + 1] = static_cast<std::uint8_t>(value >> 16);
  out[at + 2] = static_cast<std::uint8_t>(value >> 8);
  out[at + 3] = static_cast<std::uint8_t>(value);
}

// Readers for decoding; callers check `at + width <= data.size()` first.
inline std::uint16_t GetU16(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]);
}

inline std::uint32_t GetU24(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{data[at]} << 16 | std::uint32_t{data[at + 1]} << 8 | data[at + 2];
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{GetU16(data, at)} << 16 | GetU16(data, at + 2);
}

}  // namespace velmora
