// velmora-cli list FILE.ccf
#include <iostream>

#include "converter/cli/cli_commands.h"
#include "converter/ui/form_state.h"
#include "converter/ui/load.h"

namespace velmora::cli {

int RunList(CommandContext& context) {
  if (context.args.size() != 1) {
    std::cerr << "usage: velmora-cli list FILE.ccf\n";
    return kExitUsage;
  }
  FormState form;
  if (!LoadCcfFile(form, context.args[0], context.messages)) return kExitRejected;
  for (const std::string& entry : form.panelList.items()) context.out << entry << '\n';
  return kExitOk;
}

}  // namespace velmora::cli
