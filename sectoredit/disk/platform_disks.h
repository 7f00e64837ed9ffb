// The disks of the machine the program runs on: the Win32 disk layer on
// Windows, block devices and image files elsewhere.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

// The entries of the disk list, in list order.
std::vector<std::string> ListPlatformDisks(common::Messages& messages);

// Opens a list entry ("Logical D:", "Physical /dev/sdb") or a device path or
// image file; nullptr when it cannot be opened. `messages` gets the layer's
// "Error reading disk" and must outlive the device.
std::unique_ptr<SectorDevice> OpenPlatformDisk(const std::string& disk, common::Messages& messages);

}  // namespace sectoredit
