// sector-cli list: the entries of the disk list, one a line.
#include <iostream>

#include "sectoredit/cli/sector_cli_commands.h"
#include "sectoredit/disk/platform_disks.h"

namespace sectoredit::cli {

int RunList(const Args& args, std::ostream& out, common::Messages& messages) {
  if (!args.empty()) return UsageError(*FindCommand("list"), std::cerr);
  for (const std::string& entry : MakePlatformDisks(messages)->List()) out << entry << "\n";
  return kExitOk;
}

}  // namespace sectoredit::cli
