// Opening the DISK argument of a sector-cli command.
#pragma once

#include <memory>
#include <string>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"

namespace sectoredit::cli {

// Opens `disk` (an image file or device path, or a disk list entry such as
// "Logical D:" or "Physical /dev/sdb") and reads sector 0 to make sure it can
// be read. On failure reports "Error accessing contents of sector" /
// "Data Error" and returns nullptr. `messages` must outlive the device.
std::unique_ptr<SectorDevice> OpenDiskArgument(const std::string& disk, common::Messages& messages);

}  // namespace sectoredit::cli
