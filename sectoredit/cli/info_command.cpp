// sector-cli info DISK: the index of the disk's last sector.
#include <iostream>

#include "sectoredit/cli/open_disk.h"
#include "sectoredit/cli/sector_cli_commands.h"

namespace sectoredit::cli {

int RunInfo(const Args& args, std::ostream& out, common::Messages& messages) {
  if (args.size() != 1) return UsageError(*FindCommand("info"), std::cerr);
  const auto opened = OpenDiskArgument(args[0], messages);
  if (!opened) return kExitFailure;
  out << "LastSector " << opened->session.LastSector() << "\n";
  return kExitOk;
}

}  // namespace sectoredit::cli
