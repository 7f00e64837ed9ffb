// The subcommands of velmora-cli. Each runs on the same form state and
// handlers as the window; messages go to stderr as "CAPTION: TEXT" lines.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "common/messages.h"

namespace velmora::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitRejected = 2;  // the input file could not be loaded

struct CommandContext {
  std::vector<std::string> args;  // the arguments after the command name
  std::ostream& out;
  common::Messages& messages;
};

// velmora-cli list FILE.ccf: the PanelList entries, one per line.
int RunList(CommandContext& context);

// velmora-cli buttons FILE.ccf PANEL: the panel's ButtonList entries, one per line.
int RunButtons(CommandContext& context);

// velmora-cli convert FILE.ccf -o OUT.pdb [options]: generates a database.
int RunConvert(CommandContext& context);

// velmora-cli preview FILE.ccf PANEL -o OUT.png [options]: the panel's preview
// image (or, with --button, a button's image) as a PNG file.
int RunPreview(CommandContext& context);

// velmora-cli inspect OUT.pdb: the database's header, categories and records.
int RunInspect(CommandContext& context);

}  // namespace velmora::cli
