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
#include "converter/cli/cli_layout.h"
#include "converter/cli/cli_selection.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"

namespace velmora::cli {
namespace {

constexpr char kConvertUsageHead[] =
    "usage: velmora-cli convert FILE.ccf -o OUT.pdb [options]\n"
    "  --category PANEL     add a panel as the next category (repeatable, at most 15)\n"
    "  --unfiled BUTTON     add a button to the Unfiled category (repeatable)\n";
constexpr char kConvertUsageTail[] =
    "PANEL is an 8-digit offset as `list` prints it or an exact panel name (first match);\n"
    "BUTTON is an 8-digit offset as `buttons` prints it or PANEL/label.\n"
    "Without options the window's start-up settings apply. Messages go to stderr as\n"
    "\"CAPTION: TEXT\"; the exit status is 0 only when the database was written.\n";

constexpr int kExitNotWritten = 3;

struct ConvertOptions {
  std::string input;
  std::string output;
  std::vector<std::string> categories;
  std::vector<std::string> unfiled;
  LayoutOptions layout;
};

// Parses the arguments; an error text when they are not valid.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        ConvertOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsCheckBoxFlag(arg)) {
      options.layout.checkBoxes.push_back(arg);
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
    } else {
      bool known = false;
      if (auto error = ParseLayoutOption(arg, value, options.layout, known)) return error;
      if (!known) return "unknown option " + arg;
    }
  }
  if (options.input.empty()) return "no input file";
  if (options.output.empty()) return "no output file (-o OUT.pdb)";
  return std::nullopt;
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
  UnfiledSelection unfiled(form, messages);
  for (const std::string& button : options.unfiled) {
    if (!unfiled.Add(button)) return "no button '" + button + "'";
  }
  unfiled.Click();
  return std::nullopt;
}

}  // namespace

int RunConvert(CommandContext& context) {
  if (context.args.size() == 1 && (context.args[0] == "--help" || context.args[0] == "-h")) {
    context.out << kConvertUsageHead << kLayoutOptionsUsage << kConvertUsageTail;
    return kExitOk;
  }
  ConvertOptions options;
  if (std::optional<std::string> error = ParseOptions(context.args, options)) {
    std::cerr << "velmora-cli convert: " << *error << '\n'
              << kConvertUsageHead << kLayoutOptionsUsage << kConvertUsageTail;
    return kExitUsage;
  }
  FormState form;
  if (!LoadCcfFile(form, options.input, context.messages)) return kExitRejected;
  ApplyLayoutOptions(form, options.layout, context.messages);
  if (std::optional<std::string> error = AddSelections(form, options, context.messages)) {
    std::cerr << "velmora-cli convert: " << *error << '\n';
    return kExitUsage;
  }
  FixedPathDialog dialog(options.output);
  return GoBtnClick(form, dialog, context.messages) ? kExitOk : kExitNotWritten;
}

}  // namespace velmora::cli
