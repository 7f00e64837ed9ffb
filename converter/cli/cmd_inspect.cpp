// velmora-cli inspect OUT.pdb
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "converter/cli/cli_commands.h"
#include "converter/output/pdb_inspect.h"

namespace velmora::cli {

namespace {

// Read through the C runtime, as the database was written: file streams would
// import runtime functions that older Windows lack.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
  if (!file) return false;
  std::uint8_t chunk[65536];
  while (const size_t got = std::fread(chunk, 1, sizeof chunk, file.get())) {
    data.insert(data.end(), chunk, chunk + got);
  }
  return !std::ferror(file.get());
}

}  // namespace

int RunInspect(CommandContext& context) {
  if (context.args.size() != 1) {
    std::cerr << "usage: velmora-cli inspect OUT.pdb\n";
    return kExitUsage;
  }
  const std::string& path = context.args[0];
  std::vector<std::uint8_t> data;
  if (!ReadWholeFile(path, data)) {
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
