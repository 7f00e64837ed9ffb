// The Tessaly record formats: the bytes of the database-info, control and
// style records, the label glyph table and the colour word. Every builder
// appends to a byte vector; all multi-byte values are big-endian.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "converter/output/byte_buffer.h"

namespace velmora {

// Kinds written at the end of the 25-byte record header.
inline constexpr uint8_t kKindDatabaseInfo = 10;
inline constexpr uint8_t kKindBitmap = 6;
inline constexpr uint8_t kKindStyle = 7;

inline constexpr size_t kRecordHeaderSize = 25;
inline constexpr size_t kDatabaseInfoRecordSize = 81;
// The fixed part of a control record: position, size, label, glyph code.
inline constexpr size_t kControlFixedSize = 24;
inline constexpr size_t kLabelFieldSize = 15;
inline constexpr size_t kStyleFixedSize = 94;

// The value after the 01 byte of a control without IR code.
inline constexpr uint32_t kNoIrButton = 80001;
inline constexpr uint32_t kNoIrFrame = 80000;

// Bitmap reference meaning "none"; 0, 3 and 0xFFFE are the other style values.
inline constexpr uint16_t kNoBitmapRef = 0xFFFF;

// 00 50 00 06 00 00 00 00, the name in 16 zero-filled bytes, the kind.
void AppendRecordHeader(Bytes& out, std::string_view name, uint8_t kind);

// Record 0 of every database.
void AppendDatabaseInfoRecord(Bytes& out);

struct ControlRecord {
  int16_t x = 0;
  int16_t y = 0;
  int16_t width = 0;
  int16_t height = 0;
  std::string label;  // at most 14 characters are kept
  uint8_t glyph = 0;
};

// The 24 fixed bytes, then `irBlock` when it is not empty, otherwise 01 and
// `noIrMarker` (kNoIrButton or kNoIrFrame).
void AppendControlRecord(Bytes& out, const ControlRecord& control, std::span<const uint8_t> irBlock,
                         uint32_t noIrMarker);

struct StyleRecord {
  uint32_t controlUniqueId = 0;  // the control record written just before
  uint16_t bitmapRef = kNoBitmapRef;
  uint32_t bitmapOffset = 0;  // written as 8 hex digits ("00000000" for none)
  uint16_t pressedRef = kNoBitmapRef;
  uint32_t colourWord = 0;
  uint8_t style = 2;
  std::string text;  // empty: length 1, a single zero byte
};

void AppendStyleRecord(Bytes& out, const StyleRecord& style);

// Pronto labels carry media symbols as single bytes above 0x7F; the Tessaly
// record carries a word instead and a glyph code.
struct SpecialGlyph {
  uint8_t ccfByte;
  std::string_view word;
  uint8_t code;
};
extern const std::array<SpecialGlyph, 20> SpecialGlyphTable;

// The first table row (in table order) whose byte occurs in the label's first
// 15 characters replaces the whole label by its word; returns the row's code
// when `includeText`, else 0. No match: label unchanged, 0.
uint8_t MapSpecialGlyph(std::string& label, bool includeText);

// Class 0..3 of a control's foreground colour by the brightness R + G + B.
uint8_t TextColourClass(uint32_t colour, bool colourFormat);
// Palm palette index of the background colour (colour layout), or 3 minus the
// background grey level (plain layout).
uint8_t BackgroundPalmColour(uint32_t colour, bool colourFormat);

}  // namespace velmora
