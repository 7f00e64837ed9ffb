#include "converter/ui/layout_fields.h"

#include <charconv>
#include <cstdlib>

namespace velmora {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string FieldError(std::string_view text, const char* what) {
  std::string message = "'";
  message += text;
  message += "' is not a valid ";
  message += what;
  return message;
}

// Checks a scale field and resets it to "1" when it is out of range.
bool CheckScaleField(std::string& text, char decimalSeparator, common::Messages& messages) {
  double value = 0;
  if (!ParseFloatText(text, decimalSeparator, value)) {
    messages.ShowStyled(FieldError(text, "floating point value"), kApplicationTitle,
                        kApplicationError);
    return false;
  }
  if (!(value >= 0 && value <= kMaxScale)) text = "1";
  return true;
}

float ScaleOfField(const std::string& text, char decimalSeparator) {
  double value = 1;
  ParseFloatText(text, decimalSeparator, value);
  return static_cast<float>(value);
}

bool ReadOffsetField(const std::string& text, int32_t& value, common::Messages& messages) {
  if (ParseIntegerText(text, value)) return true;
  messages.ShowStyled(FieldError(text, "integer value"), kApplicationTitle, kApplicationError);
  return false;
}

}  // namespace

const std::array<ScaleMode, 11> ScaleModeTable = {{
    {"Don't modify original", 1.0f, 1.0f, 0, 0, 2},
    {"Center and scale to 160x160 screen", 0.66f, 0.67f, 1, 2, 0},
    {"Top justify and scale to 160x160 screen", 0.66f, 0.67f, 1, 0, 0},
    {"Bottom justify and scale to 160x160 screen", 0.67f, 0.67f, 1, 3, 0},
    {"Center on 320x320 screen and don't scale", 1.0f, 1.0f, 40, 44, 2},
    {"Top justify on 320x320 screen and don't scale", 1.0f, 1.0f, 40, 0, 2},
    {"Bottom justify on 320x320 screen and don't scale", 1.0f, 1.0f, 40, 88, 2},
    {"Center and scale to 320x320 screen", 1.33f, 1.33f, 0, 8, 2},
    {"Top justify and scale to 320x320 screen", 1.33f, 1.33f, 0, 0, 2},
    {"Bottom justify and scale to 320x320 screen", 1.33f, 1.33f, 0, 16, 2},
    {"Scale to fit 320x320 screen (don't preserve aspect)", 1.33f, 1.4f, 0, 0, 2},
}};

const std::array<PreviewSize, 4> PreviewSizes = {{
    {"160x160 screen (160x147)", 88, 88, 160, 147},
    {"240x320 screen (240x307)", 48, 8, 240, 307},
    {"320x320 screen (320x307)", 8, 8, 320, 307},
    {"Original Pronto screen (240x219)", 48, 58, 240, 219},
}};

bool ParseFloatText(std::string_view text, char decimalSeparator, double& value) {
  std::string number(TrimBlanks(text));
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  if (number.empty() || number[0] == '+') return false;
  for (char& c : number) {
    if (c == decimalSeparator) {
      c = '.';
    } else if (c == '.') {
      return false;  // a point that is not this locale's separator
    }
  }
  const char* end = number.data() + number.size();
  auto [ptr, error] = std::from_chars(number.data(), end, value, std::chars_format::general);
  if (ptr != end) return false;
  if (error == std::errc::result_out_of_range) {
    value = std::strtod(number.c_str(), nullptr);  // infinity or a value near 0
    return true;
  }
  return error == std::errc{};
}

bool ParseIntegerText(std::string_view text, int32_t& value) {
  std::string_view number = TrimBlanks(text);
  if (!number.empty() && number[0] == '+') number.remove_prefix(1);
  if (number.empty() || number[0] == '+') return false;
  const char* end = number.data() + number.size();
  auto [ptr, error] = std::from_chars(number.data(), end, value);
  return ptr == end && error == std::errc{};
}

std::string FormatScaleText(float scale, char decimalSeparator) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(scale),
                              std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

LayoutEdits ScaleModeEdits(int index, char decimalSeparator) {
  const ScaleMode& mode = ScaleModeTable.at(static_cast<size_t>(index));
  return {FormatScaleText(mode.scaleX, decimalSeparator),
          FormatScaleText(mode.scaleY, decimalSeparator), std::to_string(mode.offsetX),
          std::to_string(mode.offsetY)};
}

bool ReadLayoutEdits(LayoutEdits& edits, LayoutTransform& layout, char decimalSeparator,
                     common::Messages& messages) {
  if (!CheckScaleField(edits.scaleX, decimalSeparator, messages)) return false;
  if (!CheckScaleField(edits.scaleY, decimalSeparator, messages)) return false;
  layout.scaleX = ScaleOfField(edits.scaleX, decimalSeparator);
  layout.scaleY = ScaleOfField(edits.scaleY, decimalSeparator);

  int32_t x = 0, y = 0;
  if (!ReadOffsetField(edits.offsetX, x, messages)) return false;
  if (x > kMaxOffset) edits.offsetX = "0";
  if (!ReadOffsetField(edits.offsetY, y, messages)) return false;
  if (y > kMaxOffset) edits.offsetY = "0";
  if (x < -kMaxOffset) edits.offsetX = "0";
  if (y < -kMaxOffset) edits.offsetY = "0";
  ParseIntegerText(edits.offsetX, layout.offsetX);
  ParseIntegerText(edits.offsetY, layout.offsetY);
  return true;
}

}  // namespace velmora
