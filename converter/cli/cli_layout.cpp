#include "converter/cli/cli_layout.h"

#include "converter/ui/form_handlers.h"

namespace velmora::cli {
namespace {

std::optional<int> IndexArgument(const std::string& text, int count) {
  if (text.empty() || text.size() > 2 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  int index = std::stoi(text);
  if (index >= count) return std::nullopt;
  return index;
}

std::optional<TextPair> PairArgument(const std::string& text) {
  size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  return TextPair{text.substr(0, comma), text.substr(comma + 1)};
}

void ApplyCheckBox(FormState& form, const std::string& flag, common::Messages& messages) {
  if (flag == "--no-active") form.activeButtonsCheck = false;
  if (flag == "--no-pressed") form.clickedButtonsCheck = false;
  if (flag == "--no-text") form.includeTextCheck = false;
  if (flag == "--no-ir") SetIncludeIRCheck(form, false, messages);
  if (flag == "--no-hard-keys") SetHKCheck(form, false, messages);
  if (flag == "--decode-compressed") form.compressedNote.decode = true;
  if (flag == "--convert-rc6") form.convertRc6 = true;
}

}  // namespace

bool IsCheckBoxFlag(const std::string& arg) {
  return arg == "--no-active" || arg == "--no-pressed" || arg == "--no-text" || arg == "--no-ir" ||
         arg == "--no-hard-keys" || arg == "--decode-compressed" || arg == "--convert-rc6";
}

std::optional<std::string> ParseLayoutOption(const std::string& arg, const std::string& value,
                                             LayoutOptions& options, bool& known) {
  known = true;
  if (arg == "--scale-mode") {
    options.scaleMode = IndexArgument(value, static_cast<int>(ScaleModeTable.size()));
    if (!options.scaleMode) return "--scale-mode takes 0 to 10";
  } else if (arg == "--preview") {
    options.preview = IndexArgument(value, static_cast<int>(PreviewSizes.size()));
    if (!options.preview) return "--preview takes 0 to 3";
  } else if (arg == "--scale") {
    options.scale = PairArgument(value);
    if (!options.scale) return "--scale takes SX,SY";
  } else if (arg == "--offset") {
    options.offset = PairArgument(value);
    if (!options.offset) return "--offset takes OX,OY";
  } else {
    known = false;
  }
  return std::nullopt;
}

void ApplyLayoutOptions(FormState& form, const LayoutOptions& options, common::Messages& messages) {
  for (const std::string& flag : options.checkBoxes) ApplyCheckBox(form, flag, messages);
  if (options.scaleMode) ScaleComboChange(form, *options.scaleMode, messages);
  if (options.preview) PreviewComboChange(form, *options.preview, messages);
  if (options.scale) {
    form.layoutEdits.scaleX = options.scale->first;
    form.layoutEdits.scaleY = options.scale->second;
  }
  if (options.offset) {
    form.layoutEdits.offsetX = options.offset->first;
    form.layoutEdits.offsetY = options.offset->second;
  }
}

}  // namespace velmora::cli
