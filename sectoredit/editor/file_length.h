// The length of an open file of any size, leaving it positioned at its start.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

namespace sectoredit {

// nullopt when the file cannot be measured.
std::optional<uint64_t> FileLength(std::FILE* file);

}  // namespace sectoredit
