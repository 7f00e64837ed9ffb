// The layout options that `convert` and `preview` share: the check boxes,
// the two combo boxes and the four layout fields, applied through the same
// handlers as the window's controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/ui/form_state.h"

namespace velmora::cli {

inline constexpr char kLayoutOptionsUsage[] =
    "  --scale-mode N       pick scale mode N (0-10)\n"
    "  --preview N          pick preview size N (0: 160x160, 1: 240x320, 2: 320x320, 3: Pronto)\n"
    "  --scale SX,SY        type the two scale fields\n"
    "  --offset OX,OY       type the two offset fields\n"
    "  --no-active          uncheck \"Use active (associated) buttons\"\n"
    "  --no-pressed         uncheck \"Include selected (pressed) buttons\"\n"
    "  --no-text            uncheck \"Include button text\"\n"
    "  --no-ir              uncheck \"Include IR codes\" (also unchecks hard keys)\n"
    "  --no-hard-keys       uncheck \"Include Pronto hard keys\"\n"
    "  --decode-compressed  check \"Decode compressed bitmaps\" (system menu)\n"
    "  --convert-rc6        check \"Convert RC6 codes\" (system menu)\n";

struct TextPair {
  std::string first;
  std::string second;
};

struct LayoutOptions {
  std::vector<std::string> checkBoxes;  // the flags without a value, in the order given
  std::optional<int> scaleMode;
  std::optional<int> preview;
  std::optional<TextPair> scale;
  std::optional<TextPair> offset;
};

// A check box flag (--no-*, --decode-compressed, --convert-rc6): no value.
bool IsCheckBoxFlag(const std::string& arg);
// Takes `arg` with its `value` when it is a layout option that has one. An
// error text for a bad value; `known` tells whether the option was one.
std::optional<std::string> ParseLayoutOption(const std::string& arg, const std::string& value,
                                             LayoutOptions& options, bool& known);

// First the check boxes in the order given, then --scale-mode, then
// --preview, then the texts of --scale and --offset.
void ApplyLayoutOptions(FormState& form, const LayoutOptions& options, common::Messages& messages);

}  // namespace velmora::cli
