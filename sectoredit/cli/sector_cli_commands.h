// The subcommands of sector-cli. Each command lives in its own file and is
// registered by one line in sector_cli_commands.cpp.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "common/messages.h"

namespace sectoredit::cli {

using Args = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  const char* name;
  const char* usage;    // arguments after the name, e.g. "DISK"
  const char* summary;  // one line for --help
  // Runs with the arguments after the command name; results go to `out`,
  // messages ("CAPTION: TEXT") through `messages`. Returns an exit code.
  int (*run)(const Args& args, std::ostream& out, common::Messages& messages);
};

std::span<const Command> Commands();
const Command* FindCommand(const std::string& name);

// Prints "usage: sector-cli NAME USAGE" to `err` and returns kExitUsage.
int UsageError(const Command& command, std::ostream& err);

// The whole command line after the program name; `err` gets usage and help.
int RunSectorCli(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace sectoredit::cli
