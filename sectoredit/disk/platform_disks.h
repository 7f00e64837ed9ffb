// The disks of the machine the program runs on: the Win32 disk layer on
// Windows, block devices and image files elsewhere. One instance serves the
// program for its whole life, so the access method is detected once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/messages.h"
#include "sectoredit/disk/sector_device.h"

namespace sectoredit {

class PlatformDisks {
 public:
  virtual ~PlatformDisks() = default;
  // The entries of the disk list, in list order.
  virtual std::vector<std::string> List() = 0;
  // Opens a list entry ("Logical D:", "Physical /dev/sdb") or a device path or
  // image file in place of the disk open before; false when it cannot be opened.
  virtual bool Open(const std::string& disk) = 0;
  // Opens text as the disk list reads it, never as a path: on Windows text
  // beginning with "L" names a drive letter, any other a drive digit.
  virtual bool OpenListEntry(const std::string& text) = 0;
  // The open disk; its transfers fail while none is open.
  virtual SectorDevice& Disk() = 0;
  // True when the last open was refused with a box of its own (a disk whose
  // sectors this editor cannot edit): nothing more needs saying about it.
  virtual bool OpenRefused() const { return false; }
};

// Detects the access method. `messages` gets the layer's "Error reading disk"
// and must outlive the result.
std::unique_ptr<PlatformDisks> MakePlatformDisks(common::Messages& messages);

}  // namespace sectoredit
