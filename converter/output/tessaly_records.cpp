#include "converter/output/tessaly_records.h"

#include <algorithm>

#include "converter/ccf/ccf_image.h"
#include "converter/ccf/palettes.h"

namespace velmora {
namespace {

void PutNoIrMarker(Bytes& out, uint32_t marker) {
  PutU8(out, 1);
  PutU32(out, marker);
}

}  // namespace

const std::array<SpecialGlyph, 20> SpecialGlyphTable = {{
    {0x85, "Pause", 0x0E}, {0x86, "Stop", 0x0C},   {0x87, "Play", 0x0B},  {0x89, "Rev", 0x13},
    {0xB3, "FF", 0x0F},    {0xA0, "Rew", 0x10},    {0x99, "Play", 0x0B},  {0x9B, "Rev", 0x13},
    {0xAB, "Eject", 0x14}, {0xA9, "Record", 0x0D}, {0xAE, "FSkip", 0x11}, {0xB6, "RSkip", 0x12},
    {0xBA, "FSkip", 0x11}, {0xAA, "RSkip", 0x12},  {0xA2, "FSkip", 0x11}, {0xBE, "RSkip", 0x12},
    {0xAC, "Up", 0x15},    {0xA7, "Down", 0x16},   {0x97, "Right", 0x17}, {0x95, "Left", 0x18},
}};

void AppendRecordHeader(Bytes& out, std::string_view name, uint8_t kind) {
  static constexpr uint8_t kFixed[8] = {0x00, 0x50, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00};
  out.insert(out.end(), std::begin(kFixed), std::end(kFixed));
  PutFixedText(out, name, 16);
  out.push_back(kind);
}

void AppendDatabaseInfoRecord(Bytes& out) {
  static constexpr uint8_t kInfo[8] = {0x00, 0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x02};
  AppendRecordHeader(out, "", kKindDatabaseInfo);
  out.insert(out.end(), std::begin(kInfo), std::end(kInfo));
  PutZeros(out, 48);
}

void AppendControlRecord(Bytes& out, const ControlRecord& control, std::span<const uint8_t> irBlock,
                         uint32_t noIrMarker) {
  PutU16(out, static_cast<uint16_t>(control.x));
  PutU16(out, static_cast<uint16_t>(control.y));
  PutU16(out, static_cast<uint16_t>(control.width));
  PutU16(out, static_cast<uint16_t>(control.height));
  PutFixedText(out, control.label, kLabelFieldSize);
  out.push_back(control.glyph);
  if (irBlock.empty()) {
    PutNoIrMarker(out, noIrMarker);
  } else {
    out.insert(out.end(), irBlock.begin(), irBlock.end());
  }
}

void AppendStyleRecord(Bytes& out, const StyleRecord& style) {
  AppendRecordHeader(out, "", kKindStyle);
  PutU32(out, style.controlUniqueId);
  PutU16(out, 0);
  PutFixedText(out, "stdFont", 16);
  PutU16(out, style.bitmapRef);
  PutFixedText(out, OffsetToHex(style.bitmapOffset), 16);
  PutU16(out, 0xFFFF);
  PutZeros(out, 16);
  PutU16(out, style.pressedRef);
  PutU16(out, 0xFFFF);
  PutU32(out, style.colourWord);
  out.push_back(style.style);
  PutU16(out, static_cast<uint16_t>(style.text.size() + 1));
  PutText(out, style.text);
  out.push_back(0);
}

uint8_t MapSpecialGlyph(std::string& label, bool includeText) {
  std::string_view searched = std::string_view(label).substr(0, 15);
  searched = searched.substr(0, searched.find('\0'));
  // Every table byte is above 0x7F: a plain label needs no search per row.
  auto plain = [](char c) { return static_cast<uint8_t>(c) <= 0x7F; };
  if (std::all_of(searched.begin(), searched.end(), plain)) return 0;
  for (const SpecialGlyph& row : SpecialGlyphTable) {
    if (searched.find(static_cast<char>(row.ccfByte)) == std::string_view::npos) continue;
    label = std::string(row.word);
    return includeText ? row.code : 0;
  }
  return 0;
}

uint8_t TextColourClass(uint32_t colour, bool colourFormat) {
  Rgb rgb = colourFormat ? ColourPalette[colour >> 24] : GreyPalette[colour & 3];
  int sum = rgb.r + rgb.g + rgb.b;
  if (sum <= 192) return 2;
  if (sum <= 384) return 0;
  if (sum < 576) return 1;
  return 3;
}

uint8_t BackgroundPalmColour(uint32_t colour, bool colourFormat) {
  if (colourFormat) return PalmIndexMap[colour & 0xFF];
  return static_cast<uint8_t>(3 - ((colour >> 2) & 3));
}

}  // namespace velmora
