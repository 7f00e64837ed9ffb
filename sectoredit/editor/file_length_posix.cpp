#include "sectoredit/editor/file_length.h"

namespace sectoredit {

std::optional<uint64_t> FileLength(std::FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return std::nullopt;
  const int64_t length = ftello(file);
  if (fseeko(file, 0, SEEK_SET) != 0 || length < 0) return std::nullopt;
  return static_cast<uint64_t>(length);
}

}  // namespace sectoredit
