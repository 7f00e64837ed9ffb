// velmora-cli preview FILE.ccf PANEL -o OUT.png [options]: a click on the
// panel, as the window's preview shows it, written as a PNG image of Image1 at
// its current size; with --button, ButtonImage after a click on that button
// (--pressed: while the mouse is held down on the image).
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "converter/cli/cli_commands.h"
#include "converter/cli/cli_layout.h"
#include "converter/cli/cli_selection.h"
#include "converter/cli/png_file.h"
#include "converter/ui/form_handlers.h"
#include "converter/ui/load.h"

namespace velmora::cli {
namespace {

constexpr char kPreviewUsageHead[] =
    "usage: velmora-cli preview FILE.ccf PANEL -o OUT.png [options]\n"
    "  --button BUTTON      write the image of this button of the panel instead\n"
    "  --pressed            with --button: its pressed image\n";
constexpr char kPreviewUsageTail[] =
    "PANEL is an 8-digit offset as `list` prints it or an exact panel name (first match);\n"
    "BUTTON is an 8-digit offset as `buttons` prints it or the button's label.\n";

constexpr int kExitNotWritten = 3;

struct PreviewOptions {
  std::vector<std::string> positional;  // FILE.ccf and PANEL
  std::string output;
  std::optional<std::string> button;
  bool pressed = false;
  LayoutOptions layout;
};

std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        PreviewOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsCheckBoxFlag(arg)) {
      options.layout.checkBoxes.push_back(arg);
    } else if (arg == "--pressed") {
      options.pressed = true;
    } else if (arg.rfind("--", 0) != 0 && arg != "-o") {
      options.positional.push_back(arg);
    } else if (i + 1 >= args.size()) {
      return arg + " needs a value";
    } else if (arg == "-o") {
      options.output = args[++i];
    } else if (arg == "--button") {
      options.button = args[++i];
    } else {
      bool known = false;
      if (auto error = ParseLayoutOption(arg, args[++i], options.layout, known)) return error;
      if (!known) return "unknown option " + arg;
    }
  }
  if (options.positional.size() != 2) return "give FILE.ccf and PANEL";
  if (options.output.empty()) return "no output file (-o OUT.png)";
  if (options.pressed && !options.button) return "--pressed needs --button";
  return std::nullopt;
}

// Clicks the button in the previewed panel's ButtonList; false when the
// panel has no such button.
bool ShowButton(FormState& form, const PreviewOptions& options, common::Messages& messages) {
  const std::string& panel = options.positional[1];
  std::optional<size_t> index = FindButtonEntry(form, *options.button, messages);
  if (!index) index = FindButtonEntry(form, panel + "/" + *options.button, messages);
  if (!index) return false;
  SelectOnly(form.buttonList, *index);
  if (options.pressed) {
    ButtonImageMouseDown(form, messages);
  } else {
    ButtonListClick(form, messages);
  }
  return true;
}

int Fail(const std::string& error) {
  std::cerr << "velmora-cli preview: " << error << '\n';
  return kExitUsage;
}

}  // namespace

int RunPreview(CommandContext& context) {
  if (context.args.size() == 1 && (context.args[0] == "--help" || context.args[0] == "-h")) {
    context.out << kPreviewUsageHead << kLayoutOptionsUsage << kPreviewUsageTail;
    return kExitOk;
  }
  PreviewOptions options;
  if (std::optional<std::string> error = ParseOptions(context.args, options)) {
    std::cerr << kPreviewUsageHead << kLayoutOptionsUsage << kPreviewUsageTail;
    return Fail(*error);
  }
  FormState form;
  if (!LoadCcfFile(form, options.positional[0], context.messages)) return kExitRejected;
  ApplyLayoutOptions(form, options.layout, context.messages);
  std::optional<size_t> panel = FindPanelEntry(form, options.positional[1]);
  if (!panel) return Fail("no panel '" + options.positional[1] + "'");
  SelectOnly(form.panelList, *panel);
  if (!PanelListClick(form, context.messages)) return kExitNotWritten;  // a field held no number
  if (options.button && !ShowButton(form, options, context.messages)) {
    return Fail("no button '" + *options.button + "' in the panel");
  }
  const Canvas& image = options.button ? form.buttonImageCanvas : form.image1Canvas;
  if (!WritePng(options.output, image)) {
    std::cerr << "velmora-cli preview: cannot write " << options.output << '\n';
    return kExitNotWritten;
  }
  return kExitOk;
}

}  // namespace velmora::cli
