// Select Disk's Open button, shared by the window and the command line.
#pragma once

#include <string>
#include <string_view>

#include "sectoredit/disk/platform_disks.h"
#include "sectoredit/editor/sector_session.h"
#include "sectoredit/editor/sector_tools.h"

namespace sectoredit {

// Opens `entry` in place of the disk open before and shows its sector 0,
// clean and read directly. A disk that fails to open or to read is reported
// once, by the "Data Error" box of the dialog; false then, and also while a
// search runs (Busy), when nothing is done.
// `entry` may also be a device path or an image file.
bool OpenSelectedDisk(SectorSession& session, PlatformDisks& disks, const std::string& entry);

// The same for the text of the Select Disk box: read as a list entry unless it
// is an absolute path to an existing file that does not begin with "L" (which
// the list's rule reads as a drive letter).
bool OpenTypedDisk(SectorSession& session, PlatformDisks& disks, const std::string& text);
bool IsImageFilePath(const std::string& text);

// The last entry of the Select Disk list: chooses an image file to open.
inline constexpr char kImageFileEntry[] = "Image file...";
inline constexpr char kDiskImageFilterText[] =
    "Disk Images (*.img;*.ima;*.bin;*.iso;*.vhd)\0*.img;*.ima;*.bin;*.iso;*.vhd\0"
    "All Files (*.*)\0*.*\0";
inline constexpr FileDialogRequest kDiskImageDialog{
    "Open Disk Image", {kDiskImageFilterText, sizeof kDiskImageFilterText}, "img", false};

}  // namespace sectoredit
