#include "sectoredit/cli/sector_cli_commands.h"

#include <iostream>

namespace sectoredit::cli {

// Defined in the commands' own files.
int RunInfo(const Args& args, std::ostream& out, common::Messages& messages);
int RunList(const Args& args, std::ostream& out, common::Messages& messages);
int RunDump(const Args& args, std::ostream& out, common::Messages& messages);
int RunSearch(const Args& args, std::ostream& out, common::Messages& messages);
int RunExport(const Args& args, std::ostream& out, common::Messages& messages);
int RunImport(const Args& args, std::ostream& out, common::Messages& messages);
int RunCopy(const Args& args, std::ostream& out, common::Messages& messages);

namespace {

const Command kCommands[] = {
    {"info", "DISK", "print \"LastSector N\", the index of the disk's last sector", RunInfo},
    {"list", "", "print the disks that can be opened, one entry a line", RunList},
    {"dump", "DISK SECTOR", "print the sector as the printed page shows it", RunDump},
    {"search", "DISK --from S (--hex DIGITS | --ascii TEXT)",
     "print the first sector from S (up to, not including, the last) holding the pattern,\n"
     "      or \"not found\" (exit 1); an even number of digits, at most 50, or 1..49 characters",
     RunSearch},
    {"export", "DISK --from S --count N -o FILE",
     "write N sectors from S (stopping before the last sector) to FILE", RunExport},
    {"import", "DISK --from S FILE [--count N] [--ignore-errors]",
     "write FILE to the sectors from S (N defaults to the file's sectors); a failed write\n"
     "      stops the import (exit 1) unless --ignore-errors", RunImport},
    {"copy", "DISK --from S --to D --count N", "copy N sectors from S to D", RunCopy},
};

void PrintHelp(std::ostream& out) {
  out << "usage: sector-cli [--yes] COMMAND [ARGS]\n"
         "  --yes  answer Yes to every question (default No)\n"
         "DISK is an image file or device path, or a disk list entry such as \"Logical D:\".\n"
         "commands:\n";
  for (const Command& command : Commands()) {
    out << "  " << command.name << (command.usage[0] ? " " : "") << command.usage << "\n      "
        << command.summary << "\n";
  }
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

int UsageError(const Command& command, std::ostream& err) {
  err << "usage: sector-cli " << command.name << (command.usage[0] ? " " : "") << command.usage
      << "\n";
  return kExitUsage;
}

int RunSectorCli(const Args& args, std::ostream& out, std::ostream& err) {
  size_t next = 0;
  bool answer_yes = false;
  if (next < args.size() && args[next] == "--yes") {
    answer_yes = true;
    ++next;
  }
  if (next < args.size() && (args[next] == "--help" || args[next] == "-h")) {
    PrintHelp(out);
    return kExitOk;
  }
  if (next >= args.size()) {
    PrintHelp(err);
    return kExitUsage;
  }
  const Command* command = FindCommand(args[next]);
  if (command == nullptr) {
    err << "sector-cli: unknown command \"" << args[next] << "\" (see sector-cli --help)\n";
    return kExitUsage;
  }
  common::StreamMessages messages(err, answer_yes);
  return command->run(Args(args.begin() + next + 1, args.end()), out, messages);
}

}  // namespace sectoredit::cli
