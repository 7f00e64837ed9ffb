#include "sectoredit/cli/open_disk.h"

#include "sectoredit/editor/select_disk.h"

namespace sectoredit::cli {

std::unique_ptr<OpenedDisk> OpenDiskArgument(const std::string& disk, common::Messages& messages) {
  auto opened = std::make_unique<OpenedDisk>(messages);
  if (!OpenSelectedDisk(opened->session, *opened->disks, disk)) return nullptr;
  return opened;
}

}  // namespace sectoredit::cli
