// The two file operations the C runtime lacks, for files named by narrow
// paths. A path is read here exactly as fopen reads it (on Windows: in the
// ANSI code page), so that the file a program opened is the file it measures
// and replaces, whatever letters its folder holds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace common {

// Renames `from` to `to`, replacing a file of that name. False when the
// rename failed; `to` is then as it was, except on Windows 95/98/Me (see the
// Windows implementation).
bool RenameReplacing(const std::string& from, const std::string& to);

// The length of an open file of any size; its position does not move.
// nullopt when the file cannot be measured.
std::optional<uint64_t> FileLength(std::FILE* file);

}  // namespace common
