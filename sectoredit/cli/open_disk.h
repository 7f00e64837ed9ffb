// Opening the DISK argument of a sector-cli command.
#pragma once

#include <memory>
#include <string>

#include "common/messages.h"
#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/editor/sector_session.h"

namespace sectoredit::cli {

// The opened disk and the session the tools run on, sector 0 in view.
struct OpenedDisk {
  explicit OpenedDisk(common::Messages& messages)
      : disks(MakePlatformDisks(messages)), session(messages) {}
  std::unique_ptr<PlatformDisks> disks;
  SectorSession session;
};

// Opens `disk` (an image file or device path, or a disk list entry such as
// "Logical D:" or "Physical /dev/sdb") as the Select Disk box does. On failure
// reports "Error accessing contents of sector" / "Data Error" and returns
// nullptr. `messages` must outlive the result.
std::unique_ptr<OpenedDisk> OpenDiskArgument(const std::string& disk, common::Messages& messages);

}  // namespace sectoredit::cli
