// Select Disk's Open button, shared by the window and the command line.
#pragma once

#include <string>

#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/editor/sector_session.h"

namespace sectoredit {

// Opens `entry` in place of the disk open before and shows its sector 0,
// clean and read directly. A disk that fails to open or to read is reported
// once, by the "Data Error" box of the dialog; false then, and also while a
// search runs (Busy), when nothing is done.
bool OpenSelectedDisk(SectorSession& session, PlatformDisks& disks, const std::string& entry);

}  // namespace sectoredit
