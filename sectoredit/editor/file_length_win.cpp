#include "sectoredit/editor/file_length.h"

namespace sectoredit {

std::optional<uint64_t> FileLength(std::FILE* file) {
  if (_fseeki64(file, 0, SEEK_END) != 0) return std::nullopt;
  const int64_t length = _ftelli64(file);
  if (_fseeki64(file, 0, SEEK_SET) != 0 || length < 0) return std::nullopt;
  return static_cast<uint64_t>(length);
}

}  // namespace sectoredit
