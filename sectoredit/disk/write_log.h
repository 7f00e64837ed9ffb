// A record of every sector the program writes, for the random-walk test
// build: it replays the record onto a copy of each disk and compares the
// result with the disk itself, which shows that nothing reached a disk except
// through these writes, and that each wrote what it was given.
#pragma once

#include <memory>
#include <string>

#include "sectoredit/disk/platform_disks.h"

namespace sectoredit {

// `disks` with each successful open and write appended to the file at
// `path`, flushed at once so that a watcher sees it while the program runs:
//   "O NAME\n"               the disk opened by that name (entry or path)
//   "W FIRST BYTES\n" DATA   BYTES bytes written at sector FIRST
// A log that cannot be opened or written throws: an unlogged write would make
// the comparison meaningless.
std::unique_ptr<PlatformDisks> LogWrites(std::unique_ptr<PlatformDisks> disks,
                                         const std::string& path);

}  // namespace sectoredit
