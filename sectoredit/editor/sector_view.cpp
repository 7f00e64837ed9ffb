#include "sectoredit/editor/sector_view.h"

#include <algorithm>
#include <string>

#include "sectoredit/editor/resource.h"

namespace sectoredit {

namespace {

constexpr uint32_t kRows = kSectorSize / 16;

char DisplayChar(uint8_t byte) {
  return (byte == 0x00 || byte == 0x09 || byte == 0x0A || byte == 0x0D) ? ' '
                                                                        : static_cast<char>(byte);
}

}  // namespace

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string FormatHexPane(SectorBytes sector) {
  std::string text;
  text.reserve(kHexPaneLength);
  for (uint32_t row = 0; row < kRows; ++row) {
    for (uint32_t col = 0; col < 16; ++col) text += HexByte(sector[16 * row + col]) + ' ';
    if (row + 1 < kRows) text += "\r\n";
  }
  return text;
}

std::string FormatCharPane(SectorBytes sector) {
  std::string text;
  text.reserve(kCharPaneLength);
  for (uint32_t row = 0; row < kRows; ++row) {
    for (uint32_t col = 0; col < 16; ++col) text += DisplayChar(sector[16 * row + col]);
    if (row + 1 < kRows) text += "\r\n";
  }
  return text;
}

std::string FormatStatus(SectorNumber current_sector, SectorNumber last_sector) {
  const auto padded = [](SectorNumber number) {
    constexpr size_t kDigits = 10;
    const std::string digits = std::to_string(number);
    return std::string(kDigits - std::min(kDigits, digits.size()), '0') + digits;
  };
  return padded(current_sector) + " of " + padded(last_sector);
}

uint32_t SnapHexPosition(uint32_t p) {
  const uint32_t col = p % kHexRowStride;
  if (col % 3 != 2 && col <= 47) return p;  // already on a digit
  if (col < 47) return p + 1;               // separator -> next byte's high digit
  if (p >= kHexLastRowStart) return p;      // nowhere to go on the last row
  // Column 47 is the row's last separator: p + 3 is the next row's start. From
  // the line break itself (48, 49) p + 3 would land mid-cell, so go to the start.
  return p - col + kHexRowStride;
}

uint32_t HexCaretRight(uint32_t p) {
  if (p >= kHexPaneLength - 2) return p;
  return SnapHexPosition(p + 1);
}

uint32_t HexCaretLeft(uint32_t p) {
  if (p == 0) return p;
  const uint32_t col = p % kHexRowStride;
  if (col % 3 != 0 && col <= 47) return p - 1;
  if (col != 0) return p - 2;  // high digit -> previous byte's low digit
  return p - 4;                // row start -> last low digit of the row above
}

uint32_t HexCaretDown(uint32_t p) { return p >= kHexLastRowStart ? p : p + kHexRowStride; }

uint32_t HexCaretUp(uint32_t p) { return p < kHexRowStride ? p : p - kHexRowStride; }

std::optional<HexDigit> HexDigitOf(uint32_t command) {
  switch (command) {
    case IDM_HEX_A:
      return HexDigit{10, 'A'};
    case IDM_HEX_B:
      return HexDigit{11, 'B'};
    case IDM_HEX_D:
      return HexDigit{13, 'D'};
    case IDM_HEX_C:
      return HexDigit{12, 'C'};
    case IDM_HEX_E:
      return HexDigit{14, 'E'};
    case IDM_HEX_F:
      return HexDigit{15, 'F'};
    case IDM_HEX_0:
      return HexDigit{0, '0'};
    default:
      break;
  }
  if (command >= IDM_HEX_1 && command <= IDM_HEX_9) {
    const auto value = static_cast<uint8_t>(command - IDM_HEX_1 + 1);
    return HexDigit{value, static_cast<char>('0' + value)};
  }
  if (command >= IDM_HEX_LOWER_A && command <= IDM_HEX_LOWER_F) {
    const auto offset = static_cast<uint8_t>(command - IDM_HEX_LOWER_A);
    return HexDigit{static_cast<uint8_t>(10 + offset), static_cast<char>('a' + offset)};
  }
  return std::nullopt;
}

}  // namespace sectoredit
