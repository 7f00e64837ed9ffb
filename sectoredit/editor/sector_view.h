// The two renderings of a sector and the caret arithmetic of their panes.
//
// HexPane: 32 rows of sixteen "%02X " cells (48 characters), rows 0..30
// followed by "\r\n", so position p = 50 * row + col. CharPane: 32 rows of 16
// characters, rows 0..30 followed by "\r\n", so position q = 18 * row + col.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

inline constexpr uint32_t kHexRowStride = 50;
inline constexpr uint32_t kHexPaneLength = 31 * kHexRowStride + 48;  // 1598
inline constexpr uint32_t kHexLastRowStart = 31 * kHexRowStride;     // 1550
inline constexpr uint32_t kCharRowStride = 18;
inline constexpr uint32_t kCharPaneLength = 31 * kCharRowStride + 16;  // 574

using SectorBytes = std::span<const uint8_t, kSectorSize>;

std::string FormatHexPane(SectorBytes sector);
// Bytes 0x00, 0x09, 0x0A and 0x0D show as spaces; the sector is not changed.
std::string FormatCharPane(SectorBytes sector);
// "%010u of %010u": ten digits hold every number up to 9,999,999,999; larger
// ones print whole.
std::string FormatStatus(SectorNumber current_sector, SectorNumber last_sector);

// Where the HexPane caret goes so that it rests on a digit.
uint32_t SnapHexPosition(uint32_t p);
uint32_t HexCaretRight(uint32_t p);
uint32_t HexCaretLeft(uint32_t p);
uint32_t HexCaretDown(uint32_t p);
uint32_t HexCaretUp(uint32_t p);

// The value and character of a hex-digit command, or nothing for other ids.
struct HexDigit {
  uint8_t value;
  char character;
};
std::optional<HexDigit> HexDigitOf(uint32_t command);

// Two upper-case hexadecimal digits.
std::string HexByte(uint8_t value);

}  // namespace sectoredit
