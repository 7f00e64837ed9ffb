// velmora-cli inspect OUT.pdb
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "converter/cli/cli_commands.h"
#include "converter/output/pdb_inspect.h"

namespace velmora::cli {

int RunInspect(CommandContext& context) {
  if (context.args.size() != 1) {
    std::cerr << "usage: velmora-cli inspect OUT.pdb\n";
    return kExitUsage;
  }
  const std::string& path = context.args[0];
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::cerr << "velmora-cli inspect: cannot read " << path << '\n';
    return kExitRejected;
  }
  InspectResult result = InspectDatabase(data);
  if (!result.database) {
    std::cerr << "velmora-cli inspect: " << path << ": " << result.error << '\n';
    return kExitRejected;
  }
  PrintDatabase(*result.database, context.out);
  return kExitOk;
}

}  // namespace velmora::cli
