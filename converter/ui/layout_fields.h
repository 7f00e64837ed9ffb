// The form's side of the layout: the texts of the four layout fields, how
// they are checked and read into a LayoutTransform, and the items of
// ScaleCombo and PreviewCombo with the values they preset.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/messages.h"
#include "converter/ccf/layout_transform.h"

namespace velmora {

// The application's title: the caption of its standard error box.
inline constexpr char kApplicationTitle[] = "Velmora";
// The application's standard error box: its title and the error icon.
inline constexpr common::MessageStyle kApplicationError{common::MessageStyle::Owner::kMainWindow,
                                                        common::MessageStyle::Icon::kError};

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

}  // namespace velmora
