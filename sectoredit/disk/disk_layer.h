// The disk layer: chooses how disks are reached (device files on the NT
// family, the VWIN32 device and MS-DOS disk services on Windows 95/98/Me),
// lists and opens disks, sizes them and moves whole sectors. One instance
// holds the process's open disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "sectoredit/disk/disk_kernel.h"
#include "sectoredit/disk/sector_device.h"
#include "sectoredit/disk/vwin32_blocks.h"

namespace sectoredit {

enum class DiskAccessMode : uint8_t {
  kUndetected = 0,  // before DetectDiskAccessMode: every transfer fails
  kWin9xServices = 16,
  kDeviceFiles = 32,
};

// Entry texts are read with this limit, as the Select Disk box reads them.
inline constexpr size_t kDiskEntryLimit = 50;

class DiskLayer : public SectorDevice {
 public:
  // Both must outlive the layer; "Error reading disk" goes to `messages`.
  DiskLayer(DiskKernel& kernel, common::Messages& messages);
  ~DiskLayer() override;
  DiskLayer(const DiskLayer&) = delete;
  DiskLayer& operator=(const DiskLayer&) = delete;

  // Once, at start-up: platform 1 (the 9x family) selects Win9xServices.
  void DetectDiskAccessMode();
  // "Logical %c:" entries first, then "Physical %c" ones (DeviceFiles only).
  std::vector<std::string> ListDisks();
  // DeviceFiles: the path opens and delivers exactly 512 bytes.
  bool ProbeDisk(const std::string& path);
  // Win9xServices: one sector of drive `drive` (1 = A:) can be read.
  bool ProbeDrive(uint32_t drive);
  // Opens the disk a list entry names ("Logical D:", "Physical 0"); false
  // when the entry names no drive or the disk cannot be opened.
  bool OpenSelectedDisk(std::string_view entry);
  // DeviceFiles: opens any device path or image file as the disk. A disk whose
  // sectors are not 512 bytes is refused with a box naming its sector size.
  bool OpenDevicePath(const std::string& path);
  // True when the last open was refused for the disk's sector size.
  bool open_refused() const { return open_refused_; }
  SectorNumber QueryLastSector();
  // Positions `handle` at `sector`; false when the seek failed.
  bool SeekToSector(KernelHandle handle, SectorNumber sector);
  // Win9xServices: closes the VWIN32 device.
  void CloseDiskLayer();

  uint32_t ReadDiskSectors(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t ReadDiskSectorsDirect(SectorNumber first, uint32_t count, uint8_t* buffer) override;
  uint32_t WriteDiskSectors(SectorNumber first, uint32_t count, const uint8_t* buffer) override;
  SectorNumber LastSector() const override { return last_sector_; }

  DiskAccessMode disk_access_mode() const { return mode_; }
  bool extended_disk_services() const { return extended_; }
  KernelHandle vwin_handle() const { return vwin_handle_; }
  // DeviceFiles: the device-file handle; Win9xServices: the drive number.
  uintptr_t disk_ref() const { return disk_ref_; }

 private:
  uint32_t ReadSectors(SectorNumber first, uint32_t count, uint8_t* buffer, bool report_seek);
  uint32_t ReadDeviceFile(SectorNumber first, uint32_t count, uint8_t* buffer, bool report_seek);
  uint32_t WriteDeviceFile(SectorNumber first, uint32_t count, const uint8_t* buffer);
  uint32_t ReadDrive(SectorNumber first, uint32_t count, uint8_t* buffer);
  uint32_t WriteDrive(SectorNumber first, uint32_t count, const uint8_t* buffer);
  SectorNumber QueryDeviceFileLastSector();
  // The logical sector size the geometry query reports; nullopt when it fails.
  std::optional<uint32_t> QuerySectorSize();
  SectorNumber QueryDriveLastSector();
  bool TransferPacket(uint32_t drive, uint32_t first, uint32_t count, uint8_t* buffer, bool write);
  bool CallVwin32(uint32_t code, DiocRegisters& registers);
  // The extended form of a 440Dh call first (when available), then the old.
  bool CallIoctlWithFallback(DiocRegisters preset, uint32_t extended_ecx, uint32_t old_ecx);
  bool IsDriveOpen() const;
  void CloseDisk();

  DiskKernel& kernel_;
  common::Messages& messages_;
  DiskAccessMode mode_ = DiskAccessMode::kUndetected;
  bool extended_ = false;
  KernelHandle vwin_handle_ = kInvalidHandle;
  uintptr_t disk_ref_ = kInvalidHandle;
  SectorNumber last_sector_ = 0;
  bool open_refused_ = false;
};

}  // namespace sectoredit
