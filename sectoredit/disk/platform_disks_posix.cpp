#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/disk/posix_disk.h"

namespace sectoredit {

std::vector<std::string> ListPlatformDisks(common::Messages&) { return ListBlockDevices(); }

std::unique_ptr<SectorDevice> OpenPlatformDisk(const std::string& disk,
                                               common::Messages& messages) {
  auto device = std::make_unique<PosixDisk>(messages);
  if (!device->Open(DiskPathFromEntry(disk))) return nullptr;
  return device;
}

}  // namespace sectoredit
