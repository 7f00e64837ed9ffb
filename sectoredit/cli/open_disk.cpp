#include "sectoredit/cli/open_disk.h"

#include "sectoredit/disk/aligned_buffer.h"
#include "sectoredit/disk/platform_disks.h"

namespace sectoredit::cli {

// As the Select Disk box does: open, then read sector 0 without the
// "Error reading disk" box, and report a disk that fails either.
std::unique_ptr<SectorDevice> OpenDiskArgument(const std::string& disk,
                                               common::Messages& messages) {
  auto device = OpenPlatformDisk(disk, messages);
  AlignedSectorBuffer sector(1);
  if (!device || device->ReadDiskSectorsDirect(0, 1, sector.data()) != kSectorSize) {
    messages.Show("Error accessing contents of sector", "Data Error");
    return nullptr;
  }
  return device;
}

}  // namespace sectoredit::cli
