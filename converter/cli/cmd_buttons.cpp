// velmora-cli buttons FILE.ccf PANEL
#include <iostream>

#include "converter/cli/cli_commands.h"
#include "converter/cli/cli_selection.h"
#include "converter/ui/load.h"

namespace velmora::cli {

int RunButtons(CommandContext& context) {
  if (context.args.size() != 2) {
    std::cerr << "usage: velmora-cli buttons FILE.ccf PANEL\n"
                 "  PANEL: the panel's 8-digit offset as `list` prints it, or its exact name\n";
    return kExitUsage;
  }
  FormState form;
  if (!LoadCcfFile(form, context.args[0], context.messages)) return kExitRejected;
  std::optional<size_t> panel = FindPanelEntry(form, context.args[1]);
  if (!panel) {
    std::cerr << "velmora-cli: no panel '" << context.args[1] << "'\n";
    return kExitUsage;
  }
  ShowPanelButtons(form, *panel, context.messages);
  for (const std::string& entry : form.buttonList.items()) context.out << entry << '\n';
  return kExitOk;
}

}  // namespace velmora::cli
