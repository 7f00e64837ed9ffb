#include "sectoredit/editor/select_disk.h"

namespace sectoredit {

bool OpenSelectedDisk(SectorSession& session, PlatformDisks& disks, const std::string& entry) {
  if (session.state.Busy) return false;  // the search thread reads the open disk
  // A disk that did not open reads nothing, so the read below reports it.
  const bool opened = disks.Open(entry);
  session.SetDevice(&disks.Disk());
  return session.ShowOpenedDisk() && opened;
}

}  // namespace sectoredit
