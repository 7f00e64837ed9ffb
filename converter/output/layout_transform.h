// How CCF positions and sizes become positions and sizes on the Palm screen
// and in the preview: two single-precision scales and two whole-pixel offsets,
// read from the four layout edit fields before every preview and generation.
//
// Every product is formed in double precision from the integer coordinate and
// the single-precision scale, the offset and constant are added, and the
// result is truncated toward zero.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/messages.h"

namespace velmora {

// The application's title: the caption of its standard error box.
inline constexpr char kApplicationTitle[] = "Velmora";

struct LayoutTransform {
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int32_t offsetX = 0;
  int32_t offsetY = 0;
};

// The texts of ScaleXEdit, ScaleYEdit, OffsetXEdit and OffsetYEdit.
struct LayoutEdits {
  std::string scaleX = "1";
  std::string scaleY = "1";
  std::string offsetX = "0";
  std::string offsetY = "44";
  bool operator==(const LayoutEdits&) const = default;
};

inline constexpr double kMaxScale = 8.0;
inline constexpr int32_t kMaxOffset = 640;

// Resets a scale above 8, negative or not finite to "1" and an offset beyond
// +-640 to "0", then loads `layout` from the fields. A field that holds no
// number stops the read there, as the platform's conversion error does: its
// text "'%s' is not a valid floating point value" (scales) or "'%s' is not a
// valid integer value" (offsets) is shown with caption "Velmora", `layout`
// keeps what was loaded before the failing field, and false is returned.
bool ReadLayoutEdits(LayoutEdits& edits, LayoutTransform& layout, char decimalSeparator,
                     common::Messages& messages);

// Number texts as the edit fields read them: surrounding blanks allowed, an
// optional sign, `decimalSeparator` as the decimal point, an exponent, "nan"
// and "inf". A number too large for a double reads as infinity.
bool ParseFloatText(std::string_view text, char decimalSeparator, double& value);
// Decimal integers of 32 bits, surrounding blanks and a sign allowed.
bool ParseIntegerText(std::string_view text, int32_t& value);
// A scale as the fields show it: up to 15 significant digits, general format
// (0.66f gives "0.660000026226044").
std::string FormatScaleText(float scale, char decimalSeparator);

// The items of ScaleCombo and the field values they preset.
struct ScaleMode {
  const char* item;
  float scaleX;
  float scaleY;
  int32_t offsetX;
  int32_t offsetY;
  int previewIndex;  // PreviewSizes index chosen with the mode
};
extern const std::array<ScaleMode, 11> ScaleModeTable;
// Row `index` of ScaleModeTable as the four field texts.
LayoutEdits ScaleModeEdits(int index, char decimalSeparator);

// The items of PreviewCombo and the place of Image1 inside Panel1.
struct PreviewSize {
  const char* item;
  int left;
  int top;
  int width;
  int height;
};
extern const std::array<PreviewSize, 4> PreviewSizes;

enum class MapTarget { kPreview, kOutput };

struct TargetPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TargetPoint&) const = default;
};
// Preview: (trunc(x * scaleX + offsetX), trunc(y * scaleY + offsetY)).
// Output: x and y taken as signed 16-bit values, the offsets as their low 16
// bits without sign, 13 added to y, and each result reduced to its low 16 bits
// as a signed value, which is what the records store.
TargetPoint MapPoint(const LayoutTransform& layout, int32_t x, int32_t y, MapTarget target);

struct TargetSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const TargetSize&) const = default;
};
// (trunc(w * scaleX), trunc(h * scaleY)); offsets do not apply.
TargetSize MapSize(const LayoutTransform& layout, uint32_t w, uint32_t h);

// trunc(value) toward zero, saturated to +-2^53 (0 for NaN), so that no scale
// can make a conversion undefined.
int64_t TruncToInt64(double value);

inline constexpr std::array<const char*, 9> kHardKeyNames = {
    "Left", "Right", "Vol -", "Vol +", "Ch +", "Ch -", "Mute", "F-Left", "F-Right"};

// The column of hard-key buttons at the right edge of an image of W x H.
struct HardKeyGeometry {
  int count = 0;                  // 7, or 9 with colourFormat
  int16_t left = 0;               // W - W / 32 - width
  int16_t width = 0;              // trunc(W * 0.1875)
  int16_t height = 0;             // H / 16
  std::array<int16_t, 9> tops{};  // the first `count` are used
};
HardKeyGeometry HardKeyColumn(int imageWidth, int imageHeight, bool colourFormat, MapTarget target);

}  // namespace velmora
