// velmora-cli convert FILE.ccf -o OUT.pdb [options]: the window's workflow
// without the window. The options act through the same handlers as the
// controls: first the check boxes in the order given, then --scale-mode, then
// --preview, then the texts of --scale and --offset; then the categories and
// unfiled buttons are added as the two "->" buttons add them, and the database
// is generated as "Generate PDB file" does.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "converter/cli/cli_commands.h"
#include "converter/cli/cli_selection.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"

namespace velmora::cli {
namespace {

constexpr char kConvertUsage[] =
    "usage: velmora-cli convert FILE.ccf -o OUT.pdb [options]\n"
    "  --category PANEL     add a panel as the next category (repeatable, at most 15)\n"
    "  --unfiled BUTTON     add a button to the Unfiled category (repeatable)\n"
    "  --scale-mode N       pick scale mode N (0-10)\n"
    "  --preview N          pick preview size N (0: 160x160, 1: 240x320, 2: 320x320, 3: Pronto)\n"
    "  --scale SX,SY        type the two scale fields\n"
    "  --offset OX,OY       type the two offset fields\n"
    "  --no-active          uncheck \"Use active (associated) buttons\"\n"
    "  --no-pressed         uncheck \"Include selected (pressed) buttons\"\n"
    "  --no-text            uncheck \"Include button text\"\n"
    "  --no-ir              uncheck \"Include IR codes\" (also unchecks hard keys)\n"
    "  --no-hard-keys       uncheck \"Include Pronto hard keys\"\n"
    "PANEL is an 8-digit offset as `list` prints it or an exact panel name (first match);\n"
    "BUTTON is an 8-digit offset as `buttons` prints it or PANEL/label.\n"
    "Without options the window's start-up settings apply. Messages go to stderr as\n"
    "\"CAPTION: TEXT\"; the exit status is 0 only when the database was written.\n";

constexpr int kExitNotWritten = 3;

struct TextPair {
  std::string first;
  std::string second;
};

struct ConvertOptions {
  std::string input;
  std::string output;
  std::vector<std::string> categories;
  std::vector<std::string> unfiled;
  std::vector<std::string> checkBoxes;  // the --no-* flags in the order given
  std::optional<int> scaleMode;
  std::optional<int> preview;
  std::optional<TextPair> scale;
  std::optional<TextPair> offset;
};

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

bool IsCheckBoxFlag(const std::string& arg) {
  return arg == "--no-active" || arg == "--no-pressed" || arg == "--no-text" || arg == "--no-ir" ||
         arg == "--no-hard-keys";
}

// Parses the arguments; an error text when they are not valid.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        ConvertOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsCheckBoxFlag(arg)) {
      options.checkBoxes.push_back(arg);
      continue;
    }
    if (arg.rfind("--", 0) != 0 && arg != "-o") {
      if (!options.input.empty()) return "more than one input file";
      options.input = arg;
      continue;
    }
    if (i + 1 >= args.size()) return arg + " needs a value";
    const std::string& value = args[++i];
    if (arg == "-o") {
      options.output = value;
    } else if (arg == "--category") {
      options.categories.push_back(value);
    } else if (arg == "--unfiled") {
      options.unfiled.push_back(value);
    } else if (arg == "--scale-mode") {
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
      return "unknown option " + arg;
    }
  }
  if (options.input.empty()) return "no input file";
  if (options.output.empty()) return "no output file (-o OUT.pdb)";
  return std::nullopt;
}

void ApplyCheckBox(FormState& form, const std::string& flag, PreviewDrawer& drawer,
                   common::Messages& messages) {
  if (flag == "--no-active") form.activeButtonsCheck = false;
  if (flag == "--no-pressed") form.clickedButtonsCheck = false;
  if (flag == "--no-text") form.includeTextCheck = false;
  if (flag == "--no-ir") SetIncludeIRCheck(form, false, drawer, messages);
  if (flag == "--no-hard-keys") SetHKCheck(form, false, drawer, messages);
}

void ApplyLayoutOptions(FormState& form, const ConvertOptions& options,
                        common::Messages& messages) {
  NoPreviewDrawer drawer;
  for (const std::string& flag : options.checkBoxes) ApplyCheckBox(form, flag, drawer, messages);
  if (options.scaleMode) ScaleComboChange(form, *options.scaleMode, drawer, messages);
  if (options.preview) PreviewComboChange(form, *options.preview, drawer, messages);
  if (options.scale) {
    form.layoutEdits.scaleX = options.scale->first;
    form.layoutEdits.scaleY = options.scale->second;
  }
  if (options.offset) {
    form.layoutEdits.offsetX = options.offset->first;
    form.layoutEdits.offsetY = options.offset->second;
  }
}

// Adds the categories and unfiled buttons; an error text for a name that
// matches nothing.
std::optional<std::string> AddSelections(FormState& form, const ConvertOptions& options,
                                         common::Messages& messages) {
  for (const std::string& panel : options.categories) {
    std::optional<size_t> index = FindPanelEntry(form, panel);
    if (!index) return "no panel '" + panel + "'";
    SelectOnly(form.panelList, *index);
    AddPanelBtnClick(form, messages);
  }
  for (const std::string& button : options.unfiled) {
    std::optional<size_t> index = FindButtonEntry(form, button, messages);
    if (!index) return "no button '" + button + "'";
    SelectOnly(form.buttonList, *index);
    ButtonAddBtnClick(form);
  }
  return std::nullopt;
}

// The Save dialog answered with the path given by -o.
class FixedPathDialog : public SaveFileDialog {
 public:
  explicit FixedPathDialog(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> Run(std::string_view) override { return path_; }

 private:
  std::string path_;
};

}  // namespace

int RunConvert(CommandContext& context) {
  if (context.args.size() == 1 && (context.args[0] == "--help" || context.args[0] == "-h")) {
    context.out << kConvertUsage;
    return kExitOk;
  }
  ConvertOptions options;
  if (std::optional<std::string> error = ParseOptions(context.args, options)) {
    std::cerr << "velmora-cli convert: " << *error << '\n' << kConvertUsage;
    return kExitUsage;
  }
  FormState form;
  if (!LoadCcfFile(form, options.input, context.messages)) return kExitRejected;
  ApplyLayoutOptions(form, options, context.messages);
  if (std::optional<std::string> error = AddSelections(form, options, context.messages)) {
    std::cerr << "velmora-cli convert: " << *error << '\n';
    return kExitUsage;
  }
  FixedPathDialog dialog(options.output);
  return GoBtnClick(form, dialog, context.messages) ? kExitOk : kExitNotWritten;
}

}  // namespace velmora::cli
