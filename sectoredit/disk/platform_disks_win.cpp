#include "sectoredit/disk/disk_layer.h"
#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/disk/win32_kernel.h"

namespace sectoredit {

namespace {

// The kernel is constructed before the layer that refers to it.
struct KernelHolder {
  std::unique_ptr<DiskKernel> kernel = MakeWin32Kernel();
};

class Win32Disks : private KernelHolder, public PlatformDisks {
 public:
  explicit Win32Disks(common::Messages& messages) : layer_(*kernel, messages) {
    layer_.DetectDiskAccessMode();
  }

  std::vector<std::string> List() override { return layer_.ListDisks(); }

  bool Open(const std::string& disk) override {
    const bool entry = disk.starts_with("Logical ") || disk.starts_with("Physical ");
    return entry ? layer_.OpenSelectedDisk(disk) : layer_.OpenDevicePath(disk);
  }

  bool OpenListEntry(const std::string& text) override { return layer_.OpenSelectedDisk(text); }

  SectorDevice& Disk() override { return layer_; }

  bool OpenRefused() const override { return layer_.open_refused(); }

 private:
  DiskLayer layer_;
};

}  // namespace

std::unique_ptr<PlatformDisks> MakePlatformDisks(common::Messages& messages) {
  return std::make_unique<Win32Disks>(messages);
}

}  // namespace sectoredit
