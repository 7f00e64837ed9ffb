// velmora-cli: the converter's handlers without the window. Each subcommand
// is one row of the table below.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "converter/cli/cli_commands.h"

namespace {

using velmora::cli::CommandContext;

struct Command {
  const char* name;
  const char* arguments;
  const char* summary;
  int (*run)(CommandContext&);
};

const Command kCommands[] = {
    {"list", "FILE.ccf", "print the panel list, one entry per line", velmora::cli::RunList},
    {"buttons", "FILE.ccf PANEL", "print a panel's button list, one entry per line",
     velmora::cli::RunButtons},
    {"convert", "FILE.ccf -o OUT.pdb [options]",
     "generate a Tessaly database (see `convert --help`)", velmora::cli::RunConvert},
    {"preview", "FILE.ccf PANEL -o OUT.png [options]",
     "write the panel's preview image as PNG (see `preview --help`)", velmora::cli::RunPreview},
    {"inspect", "OUT.pdb", "decode a Tessaly database: header, categories, one line per record",
     velmora::cli::RunInspect},
};

void PrintHelp(std::ostream& out) {
  out << "usage: velmora-cli COMMAND ARGUMENTS...\n\ncommands:\n";
  for (const Command& command : kCommands) {
    out << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary
        << '\n';
  }
  out << "\nMessages are printed to stderr as \"CAPTION: TEXT\".\n";
}

const Command* FindCommand(const char* name) {
  for (const Command& command : kCommands) {
    if (std::strcmp(command.name, name) == 0) return &command;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintHelp(std::cerr);
    return velmora::cli::kExitUsage;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintHelp(std::cout);
    return velmora::cli::kExitOk;
  }
  const Command* command = FindCommand(argv[1]);
  if (command == nullptr) {
    std::cerr << "velmora-cli: unknown command '" << argv[1] << "'\n";
    PrintHelp(std::cerr);
    return velmora::cli::kExitUsage;
  }
  common::StreamMessages messages(std::cerr, false);
  CommandContext context{std::vector<std::string>(argv + 2, argv + argc), std::cout, messages};
  return command->run(context);
}
