#include "sectoredit/disk/disk_layer.h"
#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/disk/win32_kernel.h"

namespace sectoredit {

namespace {

// The kernel is constructed before the layer that refers to it.
struct KernelHolder {
  std::unique_ptr<DiskKernel> kernel = MakeWin32Kernel();
};

class Win32Disk : private KernelHolder, public DiskLayer {
 public:
  explicit Win32Disk(common::Messages& messages) : DiskLayer(*kernel, messages) {
    DetectDiskAccessMode();
  }
};

bool IsListEntry(const std::string& disk) {
  return disk.starts_with("Logical ") || disk.starts_with("Physical ");
}

}  // namespace

std::vector<std::string> ListPlatformDisks(common::Messages& messages) {
  return Win32Disk(messages).ListDisks();
}

std::unique_ptr<SectorDevice> OpenPlatformDisk(const std::string& disk,
                                               common::Messages& messages) {
  auto device = std::make_unique<Win32Disk>(messages);
  const bool open =
      IsListEntry(disk) ? device->OpenSelectedDisk(disk) : device->OpenDevicePath(disk);
  if (!open) return nullptr;
  return device;
}

}  // namespace sectoredit
