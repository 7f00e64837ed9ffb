#include <sys/stat.h>

#include <cstdio>

#include "common/files.h"

namespace common {

bool RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<uint64_t> FileLength(std::FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || status.st_size < 0) return std::nullopt;
  return static_cast<uint64_t>(status.st_size);
}

}  // namespace common
