#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/disk/posix_disk.h"

namespace sectoredit {

namespace {

class PosixDisks : public PlatformDisks {
 public:
  explicit PosixDisks(common::Messages& messages) : disk_(messages) {}

  std::vector<std::string> List() override { return ListBlockDevices(); }
  bool Open(const std::string& disk) override { return disk_.Open(DiskPathFromEntry(disk)); }
  // Entries name their device paths: there are no drive letters to follow.
  bool OpenListEntry(const std::string& text) override { return Open(text); }
  SectorDevice& Disk() override { return disk_; }

 private:
  PosixDisk disk_;
};

}  // namespace

std::unique_ptr<PlatformDisks> MakePlatformDisks(common::Messages& messages) {
  return std::make_unique<PosixDisks>(messages);
}

}  // namespace sectoredit
