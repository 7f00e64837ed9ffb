// Disks on POSIX systems: block devices and disk image files, whole-sector
// transfers with pread/pwrite, the same last-sector rule as on Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

class PosixDisk : public SectorDevice {
 public:
  explicit PosixDisk(common::Messages& messages) : messages_(messages) {}
  ~PosixDisk() override;
  PosixDisk(const PosixDisk&) = delete;
  PosixDisk& operator=(const PosixDisk&) = delete;

  // Opens read-write, or read-only when writing is refused (writes then fail).
  bool Open(const std::string& path);

  // A read while no disk is open reports "Error reading disk", as a failed
  // seek does on Windows; the direct form does not.
  uint32_t ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) override;
  SectorNumber LastSector() const override { return last_sector_; }

 private:
  void Close();

  common::Messages& messages_;
  int fd_ = -1;
  SectorNumber last_sector_ = 0;
};

// Size in bytes of an open disk: BLKGETSIZE64 for a block device, else the
// file length; nullopt when it cannot be read.
std::optional<uint64_t> PosixDiskSize(int fd);

// True when `path` opens for reading and delivers exactly one sector.
bool ProbeDiskPath(const std::string& path);

// The readable block devices named sd*, nvme*, loop* or mmcblk* in
// `sys_class_block` (with nodes in `dev_dir`): partitions first as
// "Logical /dev/sdb1", then whole disks as "Physical /dev/sdb", each by name.
std::vector<std::string> ListBlockDevices(const std::string& sys_class_block = "/sys/class/block",
                                          const std::string& dev_dir = "/dev");

// The path a "Logical "/"Physical " entry names (after its first space);
// any other text is a path itself.
std::string DiskPathFromEntry(const std::string& text);

}  // namespace sectoredit
